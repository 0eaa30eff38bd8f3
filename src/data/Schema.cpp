#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace lendora {

namespace {

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
    "CREATE INDEX lentInfo_reader_open ON lentInfo (读者编号, 还书日期)",
    "CREATE INDEX lentInfo_book_open ON lentInfo (书籍编号, 还书日期)",
    "INSERT INTO basicSet (借出册数, 罚款) VALUES (5, 0.1)",
};

// The 22 main classes of the Chinese Library Classification.
const char *const kCategories[][2] = {
    {"A", "马克思主义、列宁主义、毛泽东思想、邓小平理论"},
    {"B", "哲学、宗教"},
    {"C", "社会科学总论"},
    {"D", "政治、法律"},
    {"E", "军事"},
    {"F", "经济"},
    {"G", "文化、科学、教育、体育"},
    {"H", "语言、文字"},
    {"I", "文学"},
    {"J", "艺术"},
    {"K", "历史、地理"},
    {"N", "自然科学总论"},
    {"O", "数理科学和化学"},
    {"P", "天文学、地球科学"},
    {"Q", "生物科学"},
    {"R", "医药、卫生"},
    {"S", "农业科学"},
    {"T", "工业技术"},
    {"U", "交通运输"},
    {"V", "航空、航天"},
    {"X", "环境科学、安全科学"},
    {"Z", "综合性图书"},
};

constexpr int kDefaultLoanDays = 30;

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
QStringList textIndexStatements(const Schema::TextIndex &index)
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

// The planner's picture of a library, written instead of measured: loans far outnumber books,
// books readers, readers categories; a reader has many loans, a book a few. It holds for any
// library that has grown for a while and needs no ANALYZE (which would write at every close).
// Without it the engine guesses every table equally large and joins a reader's search by
// running through all the loans first.
const char *const kStatistics[][3] = {
    {"bookInfo", "sqlite_autoindex_bookInfo_1", "1000000 1"},
    {"readerInfo", "sqlite_autoindex_readerInfo_1", "100000 1"},
    {"bookType", "sqlite_autoindex_bookType_1", "22 1"},
    {"lentInfo", "lentInfo_reader_open", "3000000 30 1"},
    {"lentInfo", "lentInfo_book_open", "3000000 3 1"},
};

bool writeStatistics(QSqlQuery &query, QString *error)
{
    // ANALYZE of the schema table alone makes sqlite_stat1 without measuring anything.
    if (!exec(query, QStringLiteral("ANALYZE sqlite_master"), error)
        || !exec(query, QStringLiteral("DELETE FROM sqlite_stat1"), error)
        || !query.prepare(
            QStringLiteral("INSERT INTO sqlite_stat1 (tbl, idx, stat) VALUES (?, ?, ?)")))
        return false;
    for (const auto &row : kStatistics) {
        for (int i = 0; i < 3; ++i)
            query.bindValue(i, QString::fromUtf8(row[i]));
        if (!query.exec()) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool createTextIndexes(QSqlQuery &query, bool fromRows, QString *error)
{
    for (const Schema::TextIndex &index : Schema::textIndexes()) {
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

}  // namespace

const QList<Schema::Table> &Schema::tables()
{
    static const QList<Table> all = {
        {QStringLiteral("bookInfo"),
         {QStringLiteral("书籍编号"), QStringLiteral("书籍名称"), QStringLiteral("类别代码"),
          QStringLiteral("出版社"), QStringLiteral("作者姓名"), QStringLiteral("书籍价格"),
          QStringLiteral("书籍页码"), QStringLiteral("登记日期"), QStringLiteral("是否借出")}},
        {QStringLiteral("bookType"),
         {QStringLiteral("类别代码"), QStringLiteral("书籍类别"), QStringLiteral("借出天数")}},
        {QStringLiteral("readerInfo"),
         {QStringLiteral("读者编号"), QStringLiteral("读者姓名"), QStringLiteral("读者性别"),
          QStringLiteral("联系电话"), QStringLiteral("所在部门")}},
        {QStringLiteral("lentInfo"),
         {QStringLiteral("读者编号"), QStringLiteral("书籍编号"), QStringLiteral("借书日期"),
          QStringLiteral("还书日期"), QStringLiteral("超出天数"), QStringLiteral("罚款金额")}},
        {QStringLiteral("basicSet"), {QStringLiteral("借出册数"), QStringLiteral("罚款")}},
    };
    return all;
}

const QList<Schema::TextIndex> &Schema::textIndexes()
{
    static const QList<TextIndex> all = {
        {QStringLiteral("bookInfo"), QStringLiteral("书籍名称"),
         QStringLiteral("bookTitleTrigrams"), true},
        {QStringLiteral("bookInfo"), QStringLiteral("出版社"),
         QStringLiteral("bookPublisherTrigrams"), true},
        // A book number is UNIQUE: its own index finds an exact number at once.
        {QStringLiteral("bookInfo"), QStringLiteral("书籍编号"),
         QStringLiteral("bookNumberTrigrams"), false},
    };
    return all;
}

bool Schema::create(QSqlDatabase &db, QString *error)
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
        ok = createTextIndexes(query, false, error) && writeStatistics(query, error);
    if (ok) {
        ok = query.prepare(
            QStringLiteral("INSERT INTO bookType (类别代码, 书籍类别, 借出天数) VALUES (?, ?, ?)"));
        for (const auto &category : kCategories) {
            if (!ok)
                break;
            query.bindValue(0, QString::fromUtf8(category[0]));
            query.bindValue(1, QString::fromUtf8(category[1]));
            query.bindValue(2, kDefaultLoanDays);
            ok = query.exec();
        }
        if (!ok && error)
            *error = query.lastError().text();
    }
    if (ok)
        ok = exec(query, QStringLiteral("PRAGMA application_id=%1").arg(kApplicationId), error)
             && exec(query, QStringLiteral("PRAGMA user_version=%1").arg(kVersion), error);
    if (ok && db.commit())
        return true;
    if (ok && error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

QString Schema::firstRowOnly(const QString &table)
{
    return QStringLiteral("rowid=(select min(rowid) from %1)").arg(table);
}

bool Schema::upgrade(QSqlDatabase &db, int fromVersion, QString *error)
{
    if (fromVersion >= kVersion)
        return true;
    if (fromVersion < 1) {
        if (error)
            *error = QStringLiteral("unknown schema version %1").arg(fromVersion);
        return false;
    }
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    bool ok = true;
    if (fromVersion < 2) {
        // The text indexes over the rows already there, and the planner's picture.
        ok = createTextIndexes(query, true, error) && writeStatistics(query, error);
    }
    if (ok)
        ok = exec(query, QStringLiteral("PRAGMA user_version=%1").arg(kVersion), error);
    query.finish();
    if (ok && db.commit())
        return true;
    if (ok && error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

}  // namespace lendora
