#include "core/query/LoanStatistics.h"

#include "base/DateText.h"
#include "core/circulation/OpenLoans.h"

#include <QCoreApplication>
#include <QHash>
#include <QSqlRecord>
#include <algorithm>

namespace lendora {

namespace {

const char *const kUnknownCategory = QT_TRANSLATE_NOOP("lendora::LoanStatistics", "(未知类别)");

// Dates read as text are 'yyyy-MM-dd' on every engine: the month is the first seven characters.
const QString kLoansByMonth = QStringLiteral("select substr(cast(借书日期 as text),1,7),count(*) "
                                             "from lentInfo where 借书日期>=? and 借书日期<=?"
                                             " group by substr(cast(借书日期 as text),1,7)");
const QString kReturnsByMonth = QStringLiteral("select substr(cast(还书日期 as text),1,7),count(*) "
                                               "from lentInfo where 还书日期>=? and 还书日期<=?"
                                               " group by substr(cast(还书日期 as text),1,7)");
// One row per distinct amount: the sum is made exactly from the amounts, never in the engine.
const QString kFinesByMonth = QStringLiteral(
    "select substr(cast(还书日期 as text),1,7),罚款金额,count(*) from lentInfo where 还书日期>=? "
    "and"
    " 还书日期<=? and 罚款金额 is not null group by substr(cast(还书日期 as text),1,7),罚款金额");
// The loans of the range per book first: a book's category is looked up once, not per loan.
const QString kLoansPerBook =
    QStringLiteral("(select 书籍编号,count(*) as n from lentInfo where 借书日期>=? and"
                   " 借书日期<=? group by 书籍编号) as l");
const QString kByCategory =
    QStringLiteral("select bookType.类别代码,bookType.书籍类别,sum(l.n) from ") + kLoansPerBook
    + QStringLiteral(" left join bookInfo on bookInfo.书籍编号=l.书籍编号"
                     " left join bookType on bookType.类别代码=bookInfo.类别代码"
                     " group by bookType.类别代码,bookType.书籍类别");
const QString kTopBooks = QStringLiteral(
    "select l.书籍编号,bookInfo.书籍名称,l.n from (select 书籍编号,count(*) as n from lentInfo"
    " where 借书日期>=? and 借书日期<=? group by 书籍编号 order by n desc,书籍编号 limit ?) as l"
    " left join bookInfo on bookInfo.书籍编号=l.书籍编号 order by l.n desc,l.书籍编号");
const QString kTopReaders = QStringLiteral(
    "select l.读者编号,readerInfo.读者姓名,l.n from (select 读者编号,count(*) as n from lentInfo"
    " where 借书日期>=? and 借书日期<=? group by 读者编号 order by n desc,读者编号 limit ?) as l"
    " left join readerInfo on readerInfo.读者编号=l.读者编号 order by l.n desc,l.读者编号");
const QString kNeverLent = QStringLiteral(
    "select bookInfo.书籍编号,bookInfo.书籍名称,bookType.书籍类别,bookInfo.登记日期 from bookInfo"
    " left join bookType on bookType.类别代码=bookInfo.类别代码 where not exists (select 1 from"
    " lentInfo where lentInfo.书籍编号=bookInfo.书籍编号) order by bookInfo.书籍编号 limit ? "
    "offset ?");
const QString kCategories = QStringLiteral("select 类别代码,书籍类别 from bookType");
const QString kBooksPerCategory =
    QStringLiteral("select 类别代码,count(*) from bookInfo group by 类别代码");
// Read in the books' own order, the probes into the loans' book index come in its order too;
// through the category index they would sweep it once per category, several times slower on
// a large library. Grouping by an expression keeps the planner off that index.
const QString kNeverLentPerCategory = QStringLiteral(
    "select coalesce(类别代码,''),count(*) from bookInfo where not exists (select 1 from"
    " lentInfo where lentInfo.书籍编号=bookInfo.书籍编号) group by coalesce(类别代码,'')");
// On loan now: an open loan, which the desk keeps one of per book at most.
const QString kOnLoanPerCategory =
    QStringLiteral(
        "select bookInfo.类别代码,count(distinct bookInfo.书籍编号) from lentInfo join bookInfo on"
        " bookInfo.书籍编号=lentInfo.书籍编号 where ")
    + OpenLoans::condition(QStringLiteral("lentInfo"))
    + QStringLiteral(" group by bookInfo.类别代码");

bool validRange(const QDate &from, const QDate &to)
{
    return from.isValid() && to.isValid() && from <= to;
}

QVariantList rangeValues(const QDate &from, const QDate &to)
{
    return {DateText::toSql(from), DateText::toSql(to)};
}

double ratio(qint64 part, qint64 whole)
{
    return whole > 0 ? double(part) / double(whole) : 0.0;
}

}  // namespace

QStringList LoanStatistics::months(const QDate &from, const QDate &to)
{
    QStringList all;
    if (!validRange(from, to))
        return all;
    for (QDate month(from.year(), from.month(), 1); month <= to; month = month.addMonths(1))
        all << month.toString(QStringLiteral("yyyy-MM"));
    return all;
}

QString LoanStatistics::unknownCategoryText()
{
    return QCoreApplication::translate("lendora::LoanStatistics", kUnknownCategory);
}

std::optional<QList<LoanStatistics::Month>> LoanStatistics::byMonth(const QDate &from,
                                                                    const QDate &to)
{
    clearError();
    QList<Month> rows;
    QHash<QString, qsizetype> at;
    for (const QString &month : months(from, to)) {
        at.insert(month, rows.size());
        rows << Month{month, 0, 0};
    }
    if (rows.isEmpty())
        return rows;
    const QVariantList range = rangeValues(from, to);
    const auto add = [&](qint64 Month::*field) {
        return [&, field](const QSqlRecord &record) {
            const auto found = at.constFind(record.value(0).toString());
            if (found != at.constEnd())
                rows[*found].*field += record.value(1).toLongLong();
        };
    };
    if (!forEach(kLoansByMonth, range, add(&Month::loans))
        || !forEach(kReturnsByMonth, range, add(&Month::returns)))
        return std::nullopt;
    return rows;
}

std::optional<QList<LoanStatistics::Category>> LoanStatistics::byCategory(const QDate &from,
                                                                          const QDate &to)
{
    clearError();
    QList<Category> rows;
    if (!validRange(from, to))
        return rows;
    qint64 total = 0;
    const bool ran = forEach(kByCategory, rangeValues(from, to), [&](const QSqlRecord &record) {
        Category row;
        row.unknown = record.value(0).isNull();
        row.code = row.unknown ? QString() : record.value(0).toString();
        row.name = row.unknown ? unknownCategoryText() : record.value(1).toString();
        row.count = record.value(2).toLongLong();
        total += row.count;
        rows << row;
    });
    if (!ran)
        return std::nullopt;
    for (Category &row : rows)
        row.share = ratio(row.count, total);
    std::sort(rows.begin(), rows.end(), [](const Category &a, const Category &b) {
        return a.count != b.count ? a.count > b.count : a.code < b.code;
    });
    return rows;
}

std::optional<QList<LoanStatistics::Ranked>>
LoanStatistics::ranked(const QString &sql, const QDate &from, const QDate &to, int count)
{
    clearError();
    QList<Ranked> rows;
    if (!validRange(from, to) || count <= 0)
        return rows;
    QVariantList values = rangeValues(from, to);
    values << count;
    if (!forEach(sql, values, [&](const QSqlRecord &record) {
            rows << Ranked{record.value(0).toString(), record.value(1).toString(),
                           record.value(2).toLongLong()};
        }))
        return std::nullopt;
    return rows;
}

std::optional<QList<LoanStatistics::Ranked>> LoanStatistics::topBooks(const QDate &from,
                                                                      const QDate &to, int count)
{
    return ranked(kTopBooks, from, to, count);
}

std::optional<QList<LoanStatistics::Ranked>> LoanStatistics::topReaders(const QDate &from,
                                                                        const QDate &to, int count)
{
    return ranked(kTopReaders, from, to, count);
}

std::optional<QList<LoanStatistics::Book>> LoanStatistics::neverLent(int limit, int offset)
{
    clearError();
    QList<Book> rows;
    if (limit <= 0)
        return rows;
    const bool ran =
        forEach(kNeverLent, {limit, std::max(offset, 0)}, [&](const QSqlRecord &record) {
            rows << Book{record.value(0).toString(), record.value(1).toString(),
                         record.value(2).toString(), record.value(3).toString()};
        });
    if (!ran)
        return std::nullopt;
    return rows;
}

std::optional<QList<LoanStatistics::Holding>> LoanStatistics::collection(Also also)
{
    clearError();
    QList<Holding> rows;
    QHash<QString, qsizetype> at;
    if (!forEach(kCategories, {}, [&](const QSqlRecord &record) {
            Holding row;
            row.code = record.value(0).toString();
            row.name = record.value(1).toString();
            rows << row;
        }))
        return std::nullopt;
    std::sort(rows.begin(), rows.end(),
              [](const Holding &a, const Holding &b) { return a.code < b.code; });
    for (qsizetype i = 0; i < rows.size(); ++i)
        at.insert(rows.at(i).code, i);
    Holding unknown;
    unknown.unknown = true;
    unknown.name = unknownCategoryText();
    // A null code or one no category has any more: the unknown row.
    const auto holdingOf = [&](const QVariant &code) -> Holding & {
        if (code.isNull())
            return unknown;
        const auto found = at.constFind(code.toString());
        return found == at.constEnd() ? unknown : rows[*found];
    };
    const auto add = [&](qint64 Holding::*field) {
        return [&, field](const QSqlRecord &record) {
            holdingOf(record.value(0)).*field += record.value(1).toLongLong();
        };
    };
    const bool onLoan = also == Also::OnLoan;
    if (!forEach(kBooksPerCategory, {}, add(&Holding::books))
        || !forEach(onLoan ? kOnLoanPerCategory : kNeverLentPerCategory, {},
                    add(onLoan ? &Holding::onLoan : &Holding::neverLent)))
        return std::nullopt;
    if (unknown.books > 0)
        rows << unknown;
    for (Holding &row : rows) {
        row.shareOnLoan = ratio(row.onLoan, row.books);
        row.shareNeverLent = ratio(row.neverLent, row.books);
    }
    return rows;
}

std::optional<QList<LoanStatistics::MonthFine>> LoanStatistics::finesByMonth(const QDate &from,
                                                                             const QDate &to)
{
    clearError();
    QList<MonthFine> rows;
    QHash<QString, qsizetype> at;
    for (const QString &month : months(from, to)) {
        at.insert(month, rows.size());
        rows << MonthFine{month, Decimal()};
    }
    if (rows.isEmpty())
        return rows;
    const bool ran = forEach(kFinesByMonth, rangeValues(from, to), [&](const QSqlRecord &record) {
        const auto found = at.constFind(record.value(0).toString());
        const std::optional<Decimal> amount = Decimal::fromDouble(record.value(1).toDouble());
        if (found == at.constEnd() || !amount)
            return;
        rows[*found].total += *amount * Decimal::fromInt(record.value(2).toLongLong());
    });
    if (!ran)
        return std::nullopt;
    return rows;
}

}  // namespace lendora
