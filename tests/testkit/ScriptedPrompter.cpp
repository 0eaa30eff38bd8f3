#include "ScriptedPrompter.h"

#include <QTest>

namespace lendora::testkit {

namespace {
constexpr int kMaxUnexpected = 20;
}

void ScriptedPrompter::message(const Prompt &p)
{
    m_shown.append({Shown::Message, p, QString(), QString()});
}

void ScriptedPrompter::unexpected(const QString &what, const Prompt &p)
{
    const QString text = QStringLiteral("unexpected %1 nobody queued an answer for: \"%2\" (%3)")
                             .arg(what, p.text, p.title);
    QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    if (++m_unexpected >= kMaxUnexpected)
        qFatal("ScriptedPrompter: %d unanswered prompts; a dialogue keeps asking", m_unexpected);
}

bool ScriptedPrompter::confirm(const Prompt &p)
{
    bool ok = false;
    if (m_confirms.isEmpty() && m_everyConfirm)
        ok = *m_everyConfirm;
    else if (m_confirms.isEmpty())
        unexpected(QStringLiteral("confirmation"), p);
    else
        ok = m_confirms.dequeue();
    m_shown.append(
        {Shown::Confirm, p, ok ? QStringLiteral("OK") : QStringLiteral("Cancel"), QString()});
    return ok;
}

QString ScriptedPrompter::input(const QString &prompt, const QString &title,
                                const QString &defaultText)
{
    const Prompt p{prompt, title, Buttons::OkCancel, Icon::None};
    QString answer;
    if (m_inputs.isEmpty())
        unexpected(QStringLiteral("input box"), p);
    else
        answer = m_inputs.dequeue();
    m_shown.append({Shown::Input, p, answer, defaultText});
    return answer;
}

void ScriptedPrompter::answerConfirm(bool ok)
{
    m_confirms.enqueue(ok);
}

void ScriptedPrompter::answerInput(const QString &text)
{
    m_inputs.enqueue(text);
}

QStringList ScriptedPrompter::texts() const
{
    QStringList all;
    for (const Shown &s : m_shown)
        all << s.prompt.text;
    return all;
}

}  // namespace lendora::testkit
