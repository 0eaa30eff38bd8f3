#pragma once

#include "core/query/BookCriteria.h"

#include <QSqlDatabase>

namespace lendora {

// The loan search over open and returned loans alike: four criteria, each used when filled,
// matched exactly or all partially at once. Only loans whose reader, book and category all
// exist are listed.
struct LoanCriteria {
    QString bookId;      // lentInfo.书籍编号
    QString title;       // bookInfo.书籍名称
    QString readerId;    // lentInfo.读者编号
    QString readerName;  // readerInfo.读者姓名
    bool partial = false;

    // The conditions in use, in the order book number, title, reader number, reader name.
    QList<SqlCondition> conditions(const SqlDialect &dialect) const;
    BoundQuery query(const SqlDialect &dialect) const;
    // The same loans, the query shaped by how common the typed texts are in `db` where the
    // engine leaves that to the program: the loans are read in order and each tested when the
    // texts are common, else found through the index of the rarest text.
    BoundQuery query(const SqlDialect &dialect, const QSqlDatabase &db) const;
};

}  // namespace lendora
