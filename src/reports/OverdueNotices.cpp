#include "reports/OverdueNotices.h"

#include "base/DateText.h"
#include "base/Decimal.h"
#include "base/NumberText.h"

#include <QCoreApplication>
#include <QMap>

namespace lendora {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::OverdueNotices", text);
}
const char *const kTitle = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "催还通知单");
const char *const kReader =
    QT_TRANSLATE_NOOP("lendora::OverdueNotices", "读者编号:%1\n读者姓名:%2\n所在部门:%3");
const char *const kRequest = QT_TRANSLATE_NOOP(
    "lendora::OverdueNotices", "您借阅的下列图书已超过应还日期,请尽快归还并交纳罚款。");
const char *const kTotal = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "罚款合计 %1 元");
const char *const kAsOf = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "截至 %1");
const char *const kNobody =
    QT_TRANSLATE_NOOP("lendora::OverdueNotices", "截至 %1,没有逾期未还的图书。");

const char *const kBookId = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "书籍编号");
const char *const kBookName = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "书籍名称");
const char *const kLent = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "借书日期");
const char *const kDue = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "应还日期");
const char *const kDays = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "超出天数");
const char *const kFine = QT_TRANSLATE_NOOP("lendora::OverdueNotices", "应交罚款");

bool onNotice(const OverdueList::Entry &entry)
{
    return entry.problem == Fines::Problem::None && entry.overdueDays > 0;
}

// Each reader's books in the order given, the readers by number.
QMap<QString, QList<OverdueList::Entry>> byReader(const QList<OverdueList::Entry> &entries)
{
    QMap<QString, QList<OverdueList::Entry>> readers;
    for (const OverdueList::Entry &entry : entries) {
        if (onNotice(entry))
            readers[entry.readerId] << entry;
    }
    return readers;
}

void addNotice(Document &document, const QList<OverdueList::Entry> &books, const QDate &asOf)
{
    const OverdueList::Entry &reader = books.first();
    document.addHeading(tr(kTitle), 2, Qt::AlignHCenter)
        .addParagraph(tr(kReader).arg(reader.readerId, reader.readerName, reader.department))
        .addParagraph(tr(kRequest));
    QList<QStringList> rows;
    Decimal total;
    for (const OverdueList::Entry &book : books) {
        rows << QStringList{book.bookId,
                            book.bookName,
                            DateText::toText(book.lendDate),
                            DateText::toText(book.dueDate),
                            NumberText::fromInt(book.overdueDays),
                            book.fine};
        if (const std::optional<Decimal> fine = Decimal::parse(book.fine))
            total += *fine;
    }
    document.addTable({{tr(kBookId), Qt::AlignLeft, 1.4},
                       {tr(kBookName), Qt::AlignLeft, 3},
                       {tr(kLent), Qt::AlignHCenter, 1.3},
                       {tr(kDue), Qt::AlignHCenter, 1.3},
                       {tr(kDays), Qt::AlignRight, 1},
                       {tr(kFine), Qt::AlignRight, 1}},
                      rows);
    document.addParagraph(tr(kTotal).arg(total.toText()), Qt::AlignRight, true)
        .addParagraph(tr(kAsOf).arg(DateText::toText(asOf)), Qt::AlignRight);
}
}  // namespace

QStringList OverdueNotices::readers(const QList<OverdueList::Entry> &entries)
{
    return byReader(entries).keys();
}

Document OverdueNotices::build(const QList<OverdueList::Entry> &entries, const QString &libraryName,
                               const QDate &asOf)
{
    Document document;
    document.title = tr(kTitle);
    document.pageSize = QPageSize(QPageSize::A4);
    document.orientation = QPageLayout::Portrait;
    const QMap<QString, QList<OverdueList::Entry>> readers = byReader(entries);
    for (auto it = readers.cbegin(); it != readers.cend(); ++it) {
        if (it != readers.cbegin())
            document.addPageBreak();
        document.addHeading(libraryName, 1, Qt::AlignHCenter);
        addNotice(document, it.value(), asOf);
    }
    if (readers.isEmpty())
        document.addHeading(libraryName, 1, Qt::AlignHCenter)
            .addParagraph(tr(kNobody).arg(DateText::toText(asOf)));
    return document;
}

}  // namespace lendora
