#pragma once

#include <QSqlDatabase>
#include <QString>

namespace lendora {

class SqlDialect;

// Copies every row of the library's five tables from one connection to another, in their
// entry order, the books' and loans' entry numbers kept; the target's tables are emptied
// first. Both connections' transactions are the caller's. Each side is read and written in
// its engine's dialect: the entry number is its row key (SqlDialect::rowKey). Dates arrive as
// dates from one engine and as ISO text from the other; they are written as ISO text, which
// both read.
class LibraryCopy {
public:
    static bool copy(QSqlDatabase &from, const SqlDialect &fromDialect, QSqlDatabase &to,
                     const SqlDialect &toDialect, QString *error);
    // A table's rows as one value: row counts and the sum of 64-bit hashes of each row's
    // canonical text, so two engines holding the same rows give the same value.
    struct Digest {
        qint64 rows = 0;
        quint64 sum = 0;
        bool operator==(const Digest &) const = default;
    };
    static bool digest(QSqlDatabase &db, const SqlDialect &dialect, const QString &table,
                       Digest *into, QString *error);
    // The first row of `table` whose text the server cannot store (a NUL character), as
    // "table row n"; empty when there is none.
    static QString unstorable(QSqlDatabase &db, const SqlDialect &dialect, QString *error);
};

}  // namespace lendora
