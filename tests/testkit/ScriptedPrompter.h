#pragma once

#include "app/Prompter.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <optional>

namespace lendora::testkit {

// Records every prompt and answers confirmations and input boxes from a queue.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        enum Kind { Message, Confirm, Input } kind;
        Prompt prompt;        // an input box: its prompt, its title, Buttons::OkCancel
        QString answer;       // a confirm: "OK" or "Cancel"; an input: the text answered
        QString defaultText;  // an input box's default answer
    };

    void message(const Prompt &p) override;
    bool confirm(const Prompt &p) override;
    QString input(const QString &prompt, const QString &title, const QString &defaultText) override;

    void answerConfirm(bool ok);            // queued answers, used in order
    void answerInput(const QString &text);  // "" stands for Cancel
    // The answer to every confirmation nobody queued one for (a clerk who always says OK).
    void answerEveryConfirm(bool ok) { m_everyConfirm = ok; }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList texts() const;  // just the texts, in order
    // Forgets what was shown, keeps queued answers.
    void clear() { m_shown.clear(); }
    // Queued answers nobody asked for yet.
    int pendingAnswers() const { return m_confirms.size() + m_inputs.size(); }

private:
    void unexpected(const QString &what, const Prompt &p);

    QList<Shown> m_shown;
    QQueue<bool> m_confirms;
    QQueue<QString> m_inputs;
    std::optional<bool> m_everyConfirm;
    int m_unexpected = 0;
};

}  // namespace lendora::testkit
