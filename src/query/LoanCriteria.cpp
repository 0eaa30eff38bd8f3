#include "query/LoanCriteria.h"

#include "circulation/LoanStore.h"
#include "data/Backend.h"
#include "data/GridModel.h"

#include <algorithm>

namespace lendora {

QList<SqlCondition> LoanCriteria::conditions(const Backend &backend) const
{
    // The join makes a loan's book and reader numbers equal to those of its book and reader,
    // so they are matched there: the book and reader tables are far smaller than the loans,
    // and the book numbers have a text index.
    QList<SqlCondition> used;
    if (!bookId.isEmpty())
        used << backend.match(QStringLiteral("bookInfo.书籍编号"), bookId, partial);
    if (!title.isEmpty())
        used << backend.match(QStringLiteral("bookInfo.书籍名称"), title, partial);
    if (!readerId.isEmpty())
        used << backend.match(QStringLiteral("readerInfo.读者编号"), readerId, partial);
    if (!readerName.isEmpty())
        used << backend.match(QStringLiteral("readerInfo.读者姓名"), readerName, partial);
    return used;
}

namespace {

// One filled box: its column, text, and the table the column belongs to.
struct Box {
    QString column;
    QString text;
    QString table;
};

// The first rows a grid reads, which the clerk waits for.
constexpr double kFirstRows = GridModel::kBlockRows;
// Finding a loan through an index of its book or reader and sorting it into place costs
// about as much as testing four loans read in order.
constexpr double kFoundCost = 4;
// Candidates counted beyond this say only that the text is common.
constexpr qint64 kEnough = 50000;

}  // namespace

BoundQuery LoanCriteria::query(const Backend &backend, const QSqlDatabase &db) const
{
    QList<Box> boxes;
    const auto add = [&boxes](const QString &table, const QString &column, const QString &text) {
        if (!text.isEmpty())
            boxes << Box{table + QLatin1Char('.') + column, text, table};
    };
    add(QStringLiteral("bookInfo"), QStringLiteral("书籍编号"), bookId);
    add(QStringLiteral("bookInfo"), QStringLiteral("书籍名称"), title);
    add(QStringLiteral("readerInfo"), QStringLiteral("读者编号"), readerId);
    add(QStringLiteral("readerInfo"), QStringLiteral("读者姓名"), readerName);
    const qint64 loans = backend.rowsAbout(db, QStringLiteral("lentInfo"));
    if (boxes.isEmpty() || loans <= 0)
        return query(backend);

    // Each text's share of its table, from its index's candidates; a text no index serves
    // (or one its own unique index finds) leaves the engine's plan as it is.
    double share = 1;  // of the loans, taking the texts as independent
    int rarest = -1;
    double rarestLoans = 0;  // the loans joined to the rarest text's candidates
    for (int i = 0; i < boxes.size(); ++i) {
        const Box &box = boxes.at(i);
        const std::optional<qint64> found =
            backend.candidates(db, box.column, box.text, partial, kEnough);
        const qint64 rows = backend.rowsAbout(db, box.table);
        if (!found || rows < 0)
            return query(backend);
        const double part = rows > 0 ? std::min(1.0, double(*found) / double(rows)) : 0;
        share *= part;
        const double joined = part * double(loans);
        if (rarest < 0 || joined < rarestLoans) {
            rarest = i;
            rarestLoans = joined;
        }
    }
    const double readInOrder = share > 0 ? std::min(double(loans), kFirstRows / share) : loans;
    const bool scan = readInOrder < rarestLoans * kFoundCost;

    const QString key = backend.rowKey(QStringLiteral("lentInfo"));
    const auto shaped = [&](bool readInOrder) {
        QList<SqlCondition> used;
        for (int i = 0; i < boxes.size(); ++i) {
            const Box &box = boxes.at(i);
            used << (!readInOrder && i == rarest
                         ? backend.match(box.column, box.text, partial)
                         : backend.matchEach(box.column, box.text, partial, key));
        }
        return BoundQuery::of(LoanStore::loanRowsSql(), LoanStore::loanJoinSql(), used);
    };
    BoundQuery query = shaped(scan);
    query.sql += QStringLiteral(" order by ") + key;
    if (scan) {
        // Counting needs every loan found, in no order: through the rarest text's index.
        const BoundQuery found = shaped(false);
        query.countSql =
            QStringLiteral("select count(*) from (") + found.sql + QStringLiteral(") as found");
        query.countValues = found.values;
    }
    return query;
}

BoundQuery LoanCriteria::query(const Backend &backend) const
{
    // Open and returned loans alike, joined as the desk lists loans everywhere.
    BoundQuery query =
        BoundQuery::of(LoanStore::loanRowsSql(), LoanStore::loanJoinSql(), conditions(backend));
    query.sql += QStringLiteral(" order by ") + backend.rowKey(QStringLiteral("lentInfo"));
    return query;
}

}  // namespace lendora
