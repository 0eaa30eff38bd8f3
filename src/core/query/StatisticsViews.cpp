#include "core/query/StatisticsViews.h"

#include "base/DateText.h"

#include <algorithm>
#include <limits>

namespace lendora {

namespace {

QString percent(double share)
{
    return QString::number(share * 100, 'f', 1) + QLatin1Char('%');
}

QString count(qint64 value)
{
    return QString::number(value);
}

// The name a chart labels a ranked book or reader with: its name, or its number once deleted.
QString rankedLabel(const LoanStatistics::Ranked &row)
{
    return row.name.isEmpty() ? row.id : row.name;
}

}  // namespace

QList<StatisticsView::Kind> StatisticsViews::kinds()
{
    return {Kind::Months,    Kind::Categories, Kind::TopBooks, Kind::TopReaders,
            Kind::NeverLent, Kind::Collection, Kind::Fines};
}

QString StatisticsViews::title(Kind kind)
{
    switch (kind) {
    case Kind::Months:
        return tr("每月借阅与归还");
    case Kind::Categories:
        return tr("各类别借阅");
    case Kind::TopBooks:
        return tr("借阅最多的 %1 种图书").arg(LoanStatistics::kTop);
    case Kind::TopReaders:
        return tr("借阅最多的 %1 位读者").arg(LoanStatistics::kTop);
    case Kind::NeverLent:
        return tr("从未借出的图书");
    case Kind::Collection:
        return tr("馆藏与在借");
    case Kind::Fines:
        return tr("每月罚款");
    }
    return {};
}

namespace {
const char *const kContext = "lendora::StatisticsViews";
// The headings as the library names its columns; the window shows them translated.
QList<const char *> columnTexts(StatisticsView::Kind kind)
{
    using Kind = StatisticsView::Kind;
    switch (kind) {
    case Kind::Months:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "月份"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "借出册次"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "归还册次")};
    case Kind::Categories:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "类别代码"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍类别"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "借阅次数"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "占比")};
    case Kind::TopBooks:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍编号"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍名称"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "借阅次数")};
    case Kind::TopReaders:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "读者编号"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "读者姓名"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "借阅次数")};
    case Kind::NeverLent:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍编号"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍名称"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍类别"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "登记日期")};
    case Kind::Collection:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "类别代码"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "书籍类别"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "藏书册数"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "在借册数"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "在借比例")};
    case Kind::Fines:
        return {QT_TRANSLATE_NOOP("lendora::StatisticsViews", "月份"),
                QT_TRANSLATE_NOOP("lendora::StatisticsViews", "罚款金额")};
    }
    return {};
}
}  // namespace

QStringList StatisticsViews::headers(Kind kind)
{
    QStringList shown;
    for (const char *text : columnTexts(kind))
        shown << QCoreApplication::translate(kContext, text);
    return shown;
}

QStringList StatisticsViews::columnNames(Kind kind)
{
    QStringList names;
    for (const char *text : columnTexts(kind))
        names << QString::fromUtf8(text);
    return names;
}

QString StatisticsViews::fileName(Kind kind)
{
    switch (kind) {
    case Kind::Months:
        return QStringLiteral("loans-by-month");
    case Kind::Categories:
        return QStringLiteral("loans-by-category");
    case Kind::TopBooks:
        return QStringLiteral("top-books");
    case Kind::TopReaders:
        return QStringLiteral("top-readers");
    case Kind::NeverLent:
        return QStringLiteral("never-lent");
    case Kind::Collection:
        return QStringLiteral("collection");
    case Kind::Fines:
        return QStringLiteral("fines-by-month");
    }
    return {};
}

std::pair<QDate, QDate> StatisticsViews::lastYear(const QDate &today)
{
    const QDate first = today.addMonths(-11);
    return {QDate(first.year(), first.month(), 1), today};
}

QString StatisticsViews::rangeText(const QDate &from, const QDate &to)
{
    return tr("%1 至 %2").arg(DateText::toText(from), DateText::toText(to));
}

std::optional<StatisticsView> StatisticsViews::load(LoanStatistics &statistics, Kind kind,
                                                    const QDate &from, const QDate &to,
                                                    int neverLentRows)
{
    StatisticsView view;
    view.kind = kind;
    view.title = title(kind);
    view.headers = headers(kind);
    bool read = false;
    switch (kind) {
    case Kind::Months:
        read = fillMonths(view, statistics, from, to);
        break;
    case Kind::Categories:
        read = fillCategories(view, statistics, from, to);
        break;
    case Kind::TopBooks:
    case Kind::TopReaders:
        read = fillRanked(view, statistics, from, to);
        break;
    case Kind::NeverLent:
        read = fillNeverLent(view, statistics, neverLentRows);
        break;
    case Kind::Collection:
        read = fillCollection(view, statistics);
        break;
    case Kind::Fines:
        read = fillFines(view, statistics, from, to);
        break;
    }
    if (!read)
        return std::nullopt;
    return view;
}

bool StatisticsViews::fillMonths(StatisticsView &view, LoanStatistics &statistics,
                                 const QDate &from, const QDate &to)
{
    const auto months = statistics.byMonth(from, to);
    if (!months)
        return false;
    view.figures = {false, true, true};
    view.seriesNames = {tr("借出"), tr("归还")};
    view.series = {{}, {}};
    for (const LoanStatistics::Month &m : *months) {
        view.rows << QStringList{m.month, count(m.loans), count(m.returns)};
        view.labels << m.month;
        view.series[0] << double(m.loans);
        view.series[1] << double(m.returns);
    }
    return true;
}

bool StatisticsViews::fillCategories(StatisticsView &view, LoanStatistics &statistics,
                                     const QDate &from, const QDate &to)
{
    const auto categories = statistics.byCategory(from, to);
    if (!categories)
        return false;
    view.figures = {false, false, true, true};
    view.seriesNames = {tr("借阅次数")};
    view.series = {{}};
    view.horizontal = true;
    for (const LoanStatistics::Category &c : *categories) {
        view.rows << QStringList{c.code, c.name, count(c.count), percent(c.share)};
        view.labels << c.name;
        view.shares << percent(c.share);
        view.series[0] << double(c.count);
    }
    return true;
}

bool StatisticsViews::fillRanked(StatisticsView &view, LoanStatistics &statistics,
                                 const QDate &from, const QDate &to)
{
    const auto ranked = view.kind == Kind::TopBooks ? statistics.topBooks(from, to)
                                                    : statistics.topReaders(from, to);
    if (!ranked)
        return false;
    view.figures = {false, false, true};
    view.seriesNames = {tr("借阅次数")};
    view.series = {{}};
    view.horizontal = true;
    for (const LoanStatistics::Ranked &r : *ranked) {
        view.rows << QStringList{r.id, r.name, count(r.count)};
        view.labels << rankedLabel(r);
        view.series[0] << double(r.count);
    }
    return true;
}

bool StatisticsViews::fillNeverLent(StatisticsView &view, LoanStatistics &statistics,
                                    int neverLentRows)
{
    auto holdings = statistics.collection(LoanStatistics::Also::NeverLent);
    const auto books =
        statistics.neverLent(neverLentRows < 0 ? std::numeric_limits<int>::max() : neverLentRows);
    if (!holdings || !books)
        return false;
    view.figures = {false, false, false, false};
    view.seriesNames = {tr("从未借出")};
    view.series = {{}};
    view.horizontal = true;
    // The categories with the most to weed first; the share is of the category's books.
    std::stable_sort(holdings->begin(), holdings->end(),
                     [](const LoanStatistics::Holding &a, const LoanStatistics::Holding &b) {
                         return a.neverLent > b.neverLent;
                     });
    qint64 total = 0;
    for (const LoanStatistics::Holding &h : std::as_const(*holdings)) {
        if (h.neverLent == 0)
            continue;
        view.labels << h.name;
        view.shares << percent(h.shareNeverLent);
        view.series[0] << double(h.neverLent);
        total += h.neverLent;
    }
    for (const LoanStatistics::Book &b : *books)
        view.rows << QStringList{b.id, b.name, b.category, b.registered};
    view.note =
        view.rows.size() < total
            ? tr("共 %1 册图书从未借出,这里列出编号最小的 %2 册。").arg(total).arg(view.rows.size())
            : tr("共 %1 册图书从未借出。").arg(total);
    return true;
}

bool StatisticsViews::fillCollection(StatisticsView &view, LoanStatistics &statistics)
{
    const auto holdings = statistics.collection();
    if (!holdings)
        return false;
    view.figures = {false, false, true, true, true};
    view.seriesNames = {tr("藏书"), tr("在借")};
    view.series = {{}, {}};
    view.horizontal = true;
    for (const LoanStatistics::Holding &h : *holdings) {
        view.rows << QStringList{h.code, h.name, count(h.books), count(h.onLoan),
                                 percent(h.shareOnLoan)};
        if (h.books == 0)
            continue;  // the table lists every category, the chart the ones with books
        view.labels << h.name;
        view.shares << percent(h.shareOnLoan);
        view.series[0] << double(h.books);
        view.series[1] << double(h.onLoan);
    }
    return true;
}

bool StatisticsViews::fillFines(StatisticsView &view, LoanStatistics &statistics, const QDate &from,
                                const QDate &to)
{
    const auto fines = statistics.finesByMonth(from, to);
    if (!fines)
        return false;
    view.figures = {false, true};
    view.seriesNames = {tr("罚款金额")};
    view.series = {{}};
    for (const LoanStatistics::MonthFine &f : *fines) {
        view.rows << QStringList{f.month, f.text()};
        view.labels << f.month;
        view.series[0] << f.total.toDouble();
    }
    return true;
}

}  // namespace lendora
