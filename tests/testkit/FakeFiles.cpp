#include "FakeFiles.h"

#include <QTest>

namespace lendora::testkit {

QString FakeFiles::next(QQueue<QString> &queue, const QString &dialog, const QString &caption)
{
    asked.append(caption);
    if (!queue.isEmpty())
        return queue.dequeue();
    const QString text = QStringLiteral("unexpected %1 dialog nobody queued an answer for: \"%2\"")
                             .arg(dialog, caption);
    QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    return {};
}

QString FakeFiles::openFileName(const QString &caption, const QString &)
{
    return next(m_opens, QStringLiteral("open"), caption);
}

QString FakeFiles::saveFileName(const QString &caption, const QString &, const QString &filter,
                                QString *chosenFilter)
{
    const QString wanted = m_saveFilters.isEmpty() ? QString() : m_saveFilters.dequeue();
    const QStringList offered = filter.split(QStringLiteral(";;"));
    if (!wanted.isEmpty() && !offered.contains(wanted)) {
        const QString text =
            QStringLiteral("save dialog \"%1\" offers no file type \"%2\"").arg(caption, wanted);
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    }
    if (chosenFilter)
        *chosenFilter = wanted.isEmpty() ? offered.value(0) : wanted;
    return next(m_saves, QStringLiteral("save"), caption);
}

void FakeFiles::answerOpen(const QString &path)
{
    m_opens.enqueue(path);
}

void FakeFiles::answerSave(const QString &path, const QString &filter)
{
    m_saves.enqueue(path);
    m_saveFilters.enqueue(filter);
}

}  // namespace lendora::testkit
