#include "data/sqlite/SqliteSchema.h"

#include "data/Schema.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>

namespace lendora {

namespace {

// Schema version 3: a book is lent to one reader at a time, whatever writes to the file.
const char *const kOneOpenLoan = "CREATE UNIQUE INDEX lentInfo_one_open_loan ON lentInfo (书籍编号)"
                                 " WHERE 还书日期 IS NULL";

// Schema version 4: the newest lending and return dates are read off the end of an index, not
// found by reading every loan. A file whose number was set back by hand may hold them already.
const char *const kDateIndexes[] = {
    "CREATE INDEX IF NOT EXISTS lentInfo_lend_date ON lentInfo (借书日期)",
    "CREATE INDEX IF NOT EXISTS lentInfo_return_date ON lentInfo (还书日期)",
};

// Schema version 5: the open loans in lending-date order, with the columns the overdue list
// joins on, so its first rows come from the oldest loans without a sort of every open loan.
// The planner's line says what holds: the open loans are a small part, each day a few hundred.
const char *const kOpenByDate =
    "CREATE INDEX IF NOT EXISTS lentInfo_open_by_date ON lentInfo (还书日期, 借书日期, 读者编号,"
    " 书籍编号) WHERE 还书日期 IS NULL";
const char *const kOpenByDateStatistics[][3] = {
    {"lentInfo", "lentInfo_open_by_date", "60000 400 2 1 1"},
};

// Schema version 6: the loan statistics count over a range of lending or return dates, per
// month, book, reader or fine, and books per category, from indexes alone: on a large library
// a read of each loan's row takes seconds. A fine takes a few dozen amounts.
const char *const kStatisticsIndexes[] = {
    "CREATE INDEX IF NOT EXISTS lentInfo_lend_book_reader ON lentInfo (借书日期, 书籍编号,"
    " 读者编号)",
    "CREATE INDEX IF NOT EXISTS lentInfo_return_fine ON lentInfo (还书日期, 罚款金额)",
    "CREATE INDEX IF NOT EXISTS bookInfo_category ON bookInfo (类别代码)",
};
const char *const kStatisticsIndexStatistics[][3] = {
    {"lentInfo", "lentInfo_lend_book_reader", "3000000 400 1 1"},
    {"lentInfo", "lentInfo_return_fine", "3000000 400 40"},
    {"bookInfo", "bookInfo_category", "1000000 45000"},
};

// Schema version 8: a reader's loans with their books, a book's with their readers. A search
// of a reader's name and a title together reads the one from the other in the index alone:
// reading each loan's row for it takes a few microseconds, on a hundred thousand loans.
const char *const kLoanKeyIndexes[] = {
    "CREATE INDEX lentInfo_reader_open ON lentInfo (读者编号, 还书日期, 书籍编号)",
    "CREATE INDEX lentInfo_book_open ON lentInfo (书籍编号, 还书日期, 读者编号)",
};

const char *const kCreateStatements[] = {
    "CREATE TABLE bookInfo (书籍编号 TEXT NOT NULL UNIQUE, 书籍名称 TEXT, 类别代码 TEXT, 出版社 "
    "TEXT,"
    " 作者姓名 TEXT, 书籍价格 TEXT, 书籍页码 TEXT,"
    " 登记日期 TEXT CHECK (登记日期 IS NULL OR date(登记日期, '+0 days') IS 登记日期),"
    " 是否借出 INTEGER NOT NULL DEFAULT 0 CHECK (是否借出 IN (0, 1))) STRICT",
    "CREATE TABLE bookType (类别代码 TEXT NOT NULL UNIQUE, 书籍类别 TEXT, 借出天数 INTEGER) STRICT",
    "CREATE TABLE readerInfo (读者编号 TEXT NOT NULL UNIQUE, 读者姓名 TEXT, 读者性别 TEXT,"
    " 联系电话 TEXT, 所在部门 TEXT) STRICT",
    "CREATE TABLE lentInfo (读者编号 TEXT, 书籍编号 TEXT,"
    " 借书日期 TEXT CHECK (借书日期 IS NULL OR date(借书日期, '+0 days') IS 借书日期),"
    " 还书日期 TEXT CHECK (还书日期 IS NULL OR date(还书日期, '+0 days') IS 还书日期),"
    " 超出天数 INTEGER, 罚款金额 REAL) STRICT",
    "CREATE TABLE basicSet (借出册数 INTEGER, 罚款 REAL) STRICT",
    kLoanKeyIndexes[0],
    kLoanKeyIndexes[1],
    kOneOpenLoan,
};

bool exec(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

// The statements that make one text index and keep it in step with its table: an external-
// content FTS5 table (it holds no copy of the text), fed by triggers on insert, delete and
// on an update of its own column only, so that writing the lent flag costs nothing more.
QStringList textIndexStatements(const SqliteSchema::TextIndex &index)
{
    const QString t = index.table;
    const QString c = index.column;
    const QString i = index.name;
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='%3',"
                       " tokenize='trigram', columnsize=0)")
            .arg(i, c, t),
        QStringLiteral("CREATE TRIGGER %1_insert AFTER INSERT ON %2 BEGIN"
                       " INSERT INTO %1 (rowid, %3) VALUES (new.rowid, new.%3); END")
            .arg(i, t, c),
        QStringLiteral("CREATE TRIGGER %1_delete AFTER DELETE ON %2 BEGIN"
                       " INSERT INTO %1 (%1, rowid, %3) VALUES ('delete', old.rowid, old.%3); END")
            .arg(i, t, c),
        QStringLiteral("CREATE TRIGGER %1_update AFTER UPDATE OF %3 ON %2 BEGIN"
                       " INSERT INTO %1 (%1, rowid, %3) VALUES ('delete', old.rowid, old.%3);"
                       " INSERT INTO %1 (rowid, %3) VALUES (new.rowid, new.%3); END")
            .arg(i, t, c),
    };
}

// Schema version 7: the character indexes read the first kGramPositions characters of a text
// through a table of positions (a trigger may not count with WITH); a longer text is a
// candidate of every search, which the plain comparison then decides.
constexpr int kGramPositions = 128;
constexpr int kPairsVersion = 7;

// The statements that make one character index and keep it in step with its table: a
// contentless FTS5 table (it holds neither the text nor the tokens' places, only which rows
// hold each token), fed by triggers like the trigram index's. Deleting from it takes the
// tokens the row was indexed under, which the same expression over the old text makes again.
QStringList gramIndexStatements(const SqliteSchema::TextIndex &index)
{
    const QString t = index.table;
    const QString c = index.column;
    const QString g = index.grams;
    const QString oldGrams = SqliteSchema::gramsOf(QStringLiteral("old.") + c);
    const QString newGrams = SqliteSchema::gramsOf(QStringLiteral("new.") + c);
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(grams, content='', detail=none,"
                       " columnsize=0, tokenize='ascii')")
            .arg(g),
        QStringLiteral("CREATE TRIGGER %1_insert AFTER INSERT ON %2 BEGIN"
                       " INSERT INTO %1 (rowid, grams) VALUES (new.rowid, %3); END")
            .arg(g, t, newGrams),
        QStringLiteral("CREATE TRIGGER %1_delete AFTER DELETE ON %2 BEGIN"
                       " INSERT INTO %1 (%1, rowid, grams) VALUES ('delete', old.rowid, %3); END")
            .arg(g, t, oldGrams),
        QStringLiteral("CREATE TRIGGER %1_update AFTER UPDATE OF %3 ON %2 BEGIN"
                       " INSERT INTO %1 (%1, rowid, grams) VALUES ('delete', old.rowid, %4);"
                       " INSERT INTO %1 (rowid, grams) VALUES (new.rowid, %5); END")
            .arg(g, t, c, oldGrams, newGrams),
    };
}

// The planner's picture of a library, written instead of measured: loans far outnumber books,
// books readers, readers categories; a reader has many loans, a book a few. It holds for any
// library that has grown for a while and needs no ANALYZE (which would write at every close).
// Without it the engine guesses every table equally large and joins a reader's search by
// running through all the loans first.
const char *const kStatistics[][3] = {
    {"bookInfo", "sqlite_autoindex_bookInfo_1", "1000000 1"},
    {"readerInfo", "sqlite_autoindex_readerInfo_1", "100000 1"},
    {"bookType", "sqlite_autoindex_bookType_1", "22 1"},
};
// A reader has many loans, a book a few.
const char *const kLoanKeyStatistics[][3] = {
    {"lentInfo", "lentInfo_reader_open", "3000000 30 1 1"},
    {"lentInfo", "lentInfo_book_open", "3000000 3 1 1"},
};
// Version 4's date indexes: twenty years of lending days, a few hundred loans each.
const char *const kDateStatistics[][3] = {
    {"lentInfo", "lentInfo_lend_date", "3000000 400"},
    {"lentInfo", "lentInfo_return_date", "3000000 400"},
};

// Writes the planner's lines given, each in place of any its index had.
template <size_t N>
bool replaceStatistics(QSqlQuery &query, const char *const (&rows)[N][3], QString *error)
{
    const auto run = [&](const QString &sql, int values, const char *const(&row)[3]) {
        if (!query.prepare(sql))
            return false;
        for (int i = 0; i < values; ++i)
            query.bindValue(i, QString::fromUtf8(row[i]));
        return query.exec();
    };
    for (const auto &row : rows) {
        if (!run(QStringLiteral("DELETE FROM sqlite_stat1 WHERE tbl=? AND idx=?"), 2, row)
            || !run(QStringLiteral("INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES (?, ?, ?)"), 3,
                    row)) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool writeStatistics(QSqlQuery &query, QString *error)
{
    // ANALYZE of the schema table alone makes sqlite_stat1 without measuring anything.
    return exec(query, QStringLiteral("ANALYZE sqlite_master"), error)
           && exec(query, QStringLiteral("DELETE FROM sqlite_stat1"), error)
           && replaceStatistics(query, kStatistics, error)
           && replaceStatistics(query, kLoanKeyStatistics, error);
}

bool createOpenByDate(QSqlQuery &query, QString *error)
{
    return exec(query, QString::fromUtf8(kOpenByDate), error)
           && replaceStatistics(query, kOpenByDateStatistics, error);
}

bool createStatisticsIndexes(QSqlQuery &query, QString *error)
{
    for (const char *sql : kStatisticsIndexes) {
        if (!exec(query, QString::fromUtf8(sql), error))
            return false;
    }
    return replaceStatistics(query, kStatisticsIndexStatistics, error);
}

bool createLoanKeyIndexes(QSqlQuery &query, QString *error)
{
    for (const char *sql : kLoanKeyIndexes) {
        const QString create = QString::fromUtf8(sql);
        const QString name = create.section(QLatin1Char(' '), 2, 2);
        if (!exec(query, QStringLiteral("DROP INDEX IF EXISTS ") + name, error)
            || !exec(query, create, error))
            return false;
    }
    // Dropping an index drops its line of the planner's picture.
    return replaceStatistics(query, kLoanKeyStatistics, error);
}

// Version 4's indexes and their lines of the planner's picture, which version 2 began.
bool createDateIndexes(QSqlQuery &query, QString *error)
{
    for (const char *sql : kDateIndexes) {
        if (!exec(query, QString::fromUtf8(sql), error))
            return false;
    }
    return replaceStatistics(query, kDateStatistics, error);
}

bool createTextIndexes(QSqlQuery &query, bool fromRows, QString *error)
{
    for (const SqliteSchema::TextIndex &index : SqliteSchema::textIndexes()) {
        if (index.name.isEmpty())
            continue;
        for (const QString &sql : textIndexStatements(index)) {
            if (!exec(query, sql, error))
                return false;
        }
        if (fromRows
            && !exec(query,
                     QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(index.name),
                     error))
            return false;
    }
    return true;
}

// Version 7's positions and character indexes; from the rows already there when upgrading,
// after dropping what a file whose number was set back by hand may hold.
bool createGramIndexes(QSqlQuery &query, bool fromRows, QString *error)
{
    if (fromRows) {
        QStringList drops = {QStringLiteral("DROP TABLE IF EXISTS gramPositions")};
        for (const SqliteSchema::TextIndex &index : SqliteSchema::textIndexes()) {
            drops << QStringLiteral("DROP TABLE IF EXISTS %1").arg(index.grams);
            for (const char *event : {"insert", "delete", "update"})
                drops << QStringLiteral("DROP TRIGGER IF EXISTS %1_%2")
                             .arg(index.grams, QLatin1String(event));
        }
        for (const QString &sql : std::as_const(drops)) {
            if (!exec(query, sql, error))
                return false;
        }
    }
    if (!exec(query, QStringLiteral("CREATE TABLE gramPositions (n INTEGER PRIMARY KEY) STRICT"),
              error)
        || !exec(query,
                 QStringLiteral("WITH RECURSIVE p(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM p"
                                " WHERE n < %1) INSERT INTO gramPositions (n) SELECT n FROM p")
                     .arg(kGramPositions),
                 error))
        return false;
    for (const SqliteSchema::TextIndex &index : SqliteSchema::textIndexes()) {
        for (const QString &sql : gramIndexStatements(index)) {
            if (!exec(query, sql, error))
                return false;
        }
        if (fromRows
            && !exec(query,
                     QStringLiteral("INSERT INTO %1 (rowid, grams) SELECT rowid, %2 FROM %3")
                         .arg(index.grams, SqliteSchema::gramsOf(index.column), index.table),
                     error))
            return false;
    }
    return true;
}

}  // namespace

const QList<SqliteSchema::TextIndex> &SqliteSchema::textIndexes()
{
    static const QList<TextIndex> all = {
        {QStringLiteral("bookInfo"), QStringLiteral("书籍名称"),
         QStringLiteral("bookTitleTrigrams"), QStringLiteral("bookTitleGrams"), true},
        {QStringLiteral("bookInfo"), QStringLiteral("出版社"),
         QStringLiteral("bookPublisherTrigrams"), QStringLiteral("bookPublisherGrams"), true},
        // A book number is UNIQUE: its own index finds an exact number at once.
        {QStringLiteral("bookInfo"), QStringLiteral("书籍编号"),
         QStringLiteral("bookNumberTrigrams"), QStringLiteral("bookNumberGrams"), false},
        // A reader's name is two or three characters, and the readers few enough to read
        // through for a longer text.
        {QStringLiteral("readerInfo"), QStringLiteral("读者姓名"), QString(),
         QStringLiteral("readerNameGrams"), true},
    };
    return all;
}

QString SqliteSchema::gramsOf(const QString &value)
{
    return QStringLiteral(
               "coalesce((SELECT group_concat(hex(lower(substr(%1, n, 1)))"
               " || CASE WHEN n < length(%1) THEN ' ' || hex(lower(substr(%1, n, 2))) ELSE '' END,"
               " ' ') FROM gramPositions WHERE n <= length(%1)), '')"
               " || CASE WHEN length(%1) > %2 THEN ' long' ELSE '' END")
        .arg(value)
        .arg(kGramPositions);
}

bool SqliteSchema::holdsPairs(QSqlDatabase &db)
{
    QSqlQuery version(db);
    return version.exec(QStringLiteral("PRAGMA user_version")) && version.next()
           && version.value(0).toInt() >= kPairsVersion;
}

QString SqliteSchema::gramQuery()
{
    return QStringLiteral("('\"' || hex(lower(?)) || '\" OR long')");
}

bool SqliteSchema::create(QSqlDatabase &db, QString *error)
{
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    bool ok = true;
    for (const char *sql : kCreateStatements) {
        ok = exec(query, QString::fromUtf8(sql), error);
        if (!ok)
            break;
    }
    if (ok)
        ok = createTextIndexes(query, false, error) && writeStatistics(query, error)
             && createDateIndexes(query, error) && createOpenByDate(query, error)
             && createStatisticsIndexes(query, error) && createGramIndexes(query, false, error);
    if (ok)
        ok = Schema::insertDefaults(query, error);
    if (ok)
        ok = exec(query, QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId), error)
             && exec(query, QStringLiteral("PRAGMA user_version=%1").arg(Schema::kVersion), error);
    if (ok && db.commit())
        return true;
    if (ok && error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

QString SqliteSchema::firstRowOnly(const QString &table)
{
    return QStringLiteral("rowid=(select min(rowid) from %1)").arg(table);
}

namespace {

const char *const kLentTwice = QT_TRANSLATE_NOOP(
    "SqliteSchema",
    "数据库中以下图书有多条未还的借阅记录:%1\n"
    "请在还书页把这些图书逐条归还。在此之前,数据库暂不启用“一本书同时只能借出一次”的检查,"
    "程序照常运行。");

// The books that hold more than one open loan, which the rule of version 3 forbids; empty
// when there are none. `ok` is false when the engine failed.
QStringList booksLentTwice(QSqlQuery &query, bool *ok, QString *error)
{
    QStringList books;
    *ok = exec(query,
               QStringLiteral("SELECT 书籍编号 FROM lentInfo WHERE 还书日期 IS NULL"
                              " GROUP BY 书籍编号 HAVING count(*) > 1 ORDER BY 书籍编号"),
               error);
    while (*ok && query.next())
        books << query.value(0).toString();
    return books;
}

Schema::Taken taken(bool ok)
{
    return ok ? Schema::Taken::Yes : Schema::Taken::Failed;
}

// 2 -> 3: the rule goes in only when every book already keeps it.
Schema::Taken takeOneOpenLoan(QSqlQuery &query, QString *notice, QString *error)
{
    bool ok = false;
    const QStringList lentTwice = booksLentTwice(query, &ok, error);
    if (ok && !lentTwice.isEmpty()) {
        if (notice)
            *notice = QCoreApplication::translate("SqliteSchema", kLentTwice)
                          .arg(lentTwice.join(QStringLiteral("、")));
        return Schema::Taken::HeldBack;
    }
    return taken(ok && exec(query, QString::fromUtf8(kOneOpenLoan), error));
}

// The file's steps, each to the version it names.
const QList<Schema::Step> &steps()
{
    using Query = QSqlQuery;
    static const QList<Schema::Step> all = {
        // 1 -> 2: the text indexes over the rows already there, and the planner's picture.
        {2,
         [](Query &query, QString *, QString *error) {
             return taken(createTextIndexes(query, true, error) && writeStatistics(query, error));
         }},
        {3, takeOneOpenLoan},
        // 3 -> 4: the date indexes, built from the loans already there.
        {4, [](Query &query, QString *,
               QString *error) { return taken(createDateIndexes(query, error)); }},
        // 4 -> 5: the open loans by lending date.
        {5, [](Query &query, QString *,
               QString *error) { return taken(createOpenByDate(query, error)); }},
        // 5 -> 6: the statistics' indexes.
        {6, [](Query &query, QString *,
               QString *error) { return taken(createStatisticsIndexes(query, error)); }},
        // 6 -> 7: the character indexes, built from the rows already there.
        {kPairsVersion,
         [](Query &query, QString *, QString *error) {
             return taken(createGramIndexes(query, true, error));
         }},
        // 7 -> 8: the loans' reader and book indexes each hold the other.
        {8, [](Query &query, QString *,
               QString *error) { return taken(createLoanKeyIndexes(query, error)); }},
        // 8 -> 9: a server's library catches up with the indexes a file has had all along.
        {9, [](Query &, QString *, QString *) { return Schema::Taken::Yes; }},
    };
    return all;
}

}  // namespace

bool SqliteSchema::upgrade(QSqlDatabase &db, int fromVersion, QString *notice, QString *error)
{
    if (fromVersion >= Schema::kVersion)
        return true;
    if (fromVersion < 1) {
        if (error)
            *error = QStringLiteral("unknown schema version %1").arg(fromVersion);
        return false;
    }
    const Schema::Versioning versioning = {
        [](QSqlQuery &query, QString *error) -> std::optional<int> {
            if (!exec(query, QStringLiteral("PRAGMA user_version"), error) || !query.next())
                return std::nullopt;
            return query.value(0).toInt();
        },
        [](QSqlQuery &query, int version, QString *error) {
            return exec(query, QStringLiteral("PRAGMA user_version=%1").arg(version), error);
        },
    };
    return Schema::upgrade(db, fromVersion, steps(), versioning, notice, error);
}

}  // namespace lendora
