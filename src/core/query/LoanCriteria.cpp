#include "core/query/LoanCriteria.h"

#include "core/circulation/LoanStore.h"
#include "data/GridModel.h"
#include "data/SqlDialect.h"

#include <algorithm>

namespace lendora {

QList<SqlCondition> LoanCriteria::conditions(const SqlDialect &dialect) const
{
    // The join makes a loan's book and reader numbers equal to those of its book and reader,
    // so they are matched there: the book and reader tables are far smaller than the loans,
    // and the book numbers have a text index.
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << dialect.match(QStringLiteral("bookInfo.书籍名称"), title, partial);
    if (!readerId.isEmpty())
        used << dialect.match(QStringLiteral("readerInfo.读者编号"), readerId, partial);
    if (!readerName.isEmpty())
        used << dialect.match(QStringLiteral("readerInfo.读者姓名"), readerName, partial);
    return used;
}

namespace {

// One filled box: its column and text, the table the column belongs to, and the column of
// that table the loans refer to it by.
struct Box {
    QString column;
    QString text;
    QString table;
    QString key;
    qint64 candidates = 0;  // its index's candidates, up to kEnough
    double share = 1;       // of its table's rows
};

// The first rows a grid reads, which the clerk waits for.
constexpr double kFirstRows = GridModel::kBlockRows;
// Costs, in microseconds on a large library (a million books, three million loans):
// a loan read in order, joined to its book and reader and tested there;
constexpr double kJoinCost = 2;
// a loan read in order and tested against sets only, with no join;
constexpr double kReadCost = 0.2;
// a loan read by its row key;
constexpr double kFetchCost = 1;
// a loan's entry read from the index of its book or reader, its row key kept;
constexpr double kEntryCost = 0.7;
// a candidate read into a set.
constexpr double kMemberCost = 1.6;
// Candidates counted beyond this say only that the text is common.
constexpr qint64 kEnough = 200000;

// How the loans are found. Read in order: all loans, in their order, each tested. Or found:
// the loans of one text's candidates, through its index of the loans, kept as a set of row
// keys that is then read in order. Either way the other texts are each a set the loan's
// book or reader is looked up in (in that index, for loans found), or a join tested on each
// loan that reaches it.
struct Shape {
    int found = -1;  // the text whose loans are found; -1: all loans read in order
    QList<bool> asSet;
    double cost = 0;
};

// The texts other than `found`, tested on `reaching` loans: those with fewest candidates
// become sets while reading them costs less than joining the loans that reach their test.
Shape tested(const QList<Box> &boxes, int found, double reaching)
{
    QList<int> byCandidates;
    for (int i = 0; i < boxes.size(); ++i) {
        if (i != found)
            byCandidates << i;
    }
    std::stable_sort(byCandidates.begin(), byCandidates.end(), [&boxes](int a, int b) {
        return boxes.at(a).candidates < boxes.at(b).candidates;
    });
    Shape shape{found, QList<bool>(boxes.size(), false), 0};
    bool joined = false;
    for (const int i : byCandidates) {
        const Box &box = boxes.at(i);
        const double setCost = double(box.candidates) * kMemberCost;
        if (box.candidates < kEnough && setCost < reaching * kJoinCost) {
            shape.asSet[i] = true;
            shape.cost += setCost;
            reaching *= box.share;
        } else {
            joined = true;
        }
    }
    if (joined)
        shape.cost += reaching * kJoinCost;
    return shape;
}

// The cheaper shape for the first rows, and the shape that counts every loan found.
struct Shapes {
    Shape first;
    Shape count;
};

Shapes shapesFor(const QList<Box> &boxes, double loans)
{
    double share = 1;  // of the loans, taking the texts as independent
    int rarest = -1;   // the text joined to the fewest loans
    for (int i = 0; i < boxes.size(); ++i) {
        share *= boxes.at(i).share;
        if (rarest < 0 || boxes.at(i).share < boxes.at(rarest).share
            || (boxes.at(i).share == boxes.at(rarest).share
                && boxes.at(i).candidates < boxes.at(rarest).candidates))
            rarest = i;
    }
    // Loans read in order until the first rows are found.
    const double readInOrder = share > 0 ? std::min(loans, kFirstRows / share) : loans;
    Shape inOrder = tested(boxes, -1, readInOrder);
    inOrder.cost += readInOrder * kReadCost;

    // The rarest text's loans found, then read in order until the first rows pass the rest.
    const Box &box = boxes.at(rarest);
    const double foundLoans = box.share * loans;
    const double rest = box.share > 0 ? share / box.share : 0;
    const double read = rest > 0 ? std::min(foundLoans, kFirstRows / rest) : foundLoans;
    Shape found = tested(boxes, rarest, read);
    found.cost +=
        double(box.candidates) * kMemberCost + foundLoans * kEntryCost + read * kFetchCost;
    // Counting reads every loan found; read in order, it would read every loan.
    const Shape count = tested(boxes, rarest, foundLoans);
    return {found.cost < inOrder.cost ? found : inOrder, count};
}

}  // namespace

BoundQuery LoanCriteria::query(const SqlDialect &dialect, const QSqlDatabase &db) const
{
    QList<Box> boxes;
    const auto add = [&boxes](const QString &table, const QString &column, const QString &key,
                              const QString &text) {
        if (!text.isEmpty())
            boxes << Box{table + QLatin1Char('.') + column, text, table, key};
    };
    const QString book = QStringLiteral("书籍编号");
    const QString reader = QStringLiteral("读者编号");
    add(QStringLiteral("bookInfo"), book, book, bookId);
    add(QStringLiteral("bookInfo"), QStringLiteral("书籍名称"), book, title);
    add(QStringLiteral("readerInfo"), reader, reader, readerId);
    add(QStringLiteral("readerInfo"), QStringLiteral("读者姓名"), reader, readerName);
    const qint64 loans = dialect.rowsAbout(db, QStringLiteral("lentInfo"));
    if (boxes.isEmpty() || loans <= 0)
        return query(dialect);

    // Each text's share of its table, from its index's candidates; a text no index serves
    // (or one its own unique index finds) leaves the engine's plan as it is.
    for (Box &box : boxes) {
        const std::optional<qint64> found =
            dialect.candidates(db, box.column, box.text, partial, kEnough);
        const qint64 rows = dialect.rowsAbout(db, box.table);
        if (!found || rows < 0)
            return query(dialect);
        box.candidates = *found;
        box.share = rows > 0 ? std::min(1.0, double(*found) / double(rows)) : 0;
    }
    const Shapes shapes = shapesFor(boxes, double(loans));

    const QString key = dialect.rowKey(QStringLiteral("lentInfo"));
    const auto shaped = [&](const Shape &shape) {
        const auto among = [&](const Box &box, bool findThrough) {
            return dialect.matchAmong(box.column, box.text, partial,
                                      QStringLiteral("lentInfo.") + box.key,
                                      box.table + QLatin1Char('.') + box.key, findThrough);
        };
        QList<SqlCondition> used;
        // The loans found, kept as their row keys: the set is read in key order, and only the
        // rows shown are read whole. The other sets are tested in the same index.
        SqlCondition found;
        if (shape.found >= 0)
            found = among(boxes.at(shape.found), true);
        for (int i = 0; i < boxes.size(); ++i) {
            const Box &box = boxes.at(i);
            if (i == shape.found)
                continue;
            if (!shape.asSet.at(i)) {
                used << dialect.matchEach(box.column, box.text, partial, key);
            } else if (shape.found >= 0) {
                const SqlCondition set = among(box, false);
                found.sql += QStringLiteral(" and ") + set.sql;
                found.values << set.values;
            } else {
                used << among(box, false);
            }
        }
        if (shape.found >= 0) {
            found.sql =
                QStringLiteral("%1 in (select %1 from lentInfo where %2)").arg(key, found.sql);
            used.prepend(found);
        }
        return BoundQuery::of(LoanStore::loanRowsSql(), LoanStore::loanJoinSql(), used);
    };
    BoundQuery query = shaped(shapes.first);
    query.sql += QStringLiteral(" order by ") + key;
    if (shapes.first.found < 0) {
        const BoundQuery found = shaped(shapes.count);
        query.countSql =
            QStringLiteral("select count(*) from (") + found.sql + QStringLiteral(") as found");
        query.countValues = found.values;
    }
    return query;
}

BoundQuery LoanCriteria::query(const SqlDialect &dialect) const
{
    // Open and returned loans alike, joined as the desk lists loans everywhere.
    BoundQuery query =
        BoundQuery::of(LoanStore::loanRowsSql(), LoanStore::loanJoinSql(), conditions(dialect));
    query.sql += QStringLiteral(" order by ") + dialect.rowKey(QStringLiteral("lentInfo"));
    return query;
}

}  // namespace lendora
