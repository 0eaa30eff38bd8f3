#pragma once

#include "gui/widgets/FileChooser.h"

#include <QQueue>
#include <QStringList>

namespace lendora::testkit {

// Answers file dialogs from queues and records what was asked.
class FakeFiles : public FileChooser {
public:
    QString openFileName(const QString &caption, const QString &filter) override;
    QString saveFileName(const QString &caption, const QString &suggestedPath,
                         const QString &filter, QString *chosenFilter = nullptr) override;

    void answerOpen(const QString &path);  // queued answers, used in order; "" = Cancel
    // `filter` is the file type the clerk picks, one the dialog offers (a failure names it
    // otherwise); "" leaves the first one offered.
    void answerSave(const QString &path, const QString &filter = {});
    // Queued answers nobody asked for yet.
    int pendingAnswers() const { return int(m_opens.size() + m_saves.size()); }

    QStringList asked;  // captions asked, in order
    // a dialog with no queued answer records a test failure naming it and answers ""

private:
    QString next(QQueue<QString> &queue, const QString &dialog, const QString &caption);

    QQueue<QString> m_opens;
    QQueue<QString> m_saves;
    QQueue<QString> m_saveFilters;
};

}  // namespace lendora::testkit
