#pragma once

#include "widgets/FileChooser.h"

#include <QQueue>
#include <QStringList>

namespace lendora::testkit {

// Answers file dialogs from queues and records what was asked.
class FakeFiles : public FileChooser {
public:
    QString openFileName(const QString &caption, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggestedPath,
                         const QString &filter) override;

    void answerOpen(const QString &path);  // queued answers, used in order; "" = Cancel
    void answerSave(const QString &path);
    // Queued answers nobody asked for yet.
    int pendingAnswers() const { return int(m_opens.size() + m_saves.size()); }

    QStringList asked;  // captions asked, in order
    // a dialog with no queued answer records a test failure naming it and answers ""

private:
    QString next(QQueue<QString> &queue, const QString &dialog, const QString &caption);

    QQueue<QString> m_opens;
    QQueue<QString> m_saves;
};

}  // namespace lendora::testkit
