#include "data/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace lendora {

namespace {

const char *const kCreateStatements[] = {
    "CREATE TABLE bookInfo (书籍编号 TEXT NOT NULL UNIQUE, 书籍名称 TEXT, 类别代码 TEXT, 出版社 TEXT,"
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
    if (ok) {
        ok = query.prepare(QStringLiteral(
            "INSERT INTO bookType (类别代码, 书籍类别, 借出天数) VALUES (?, ?, ?)"));
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

bool Schema::upgrade(QSqlDatabase &db, int fromVersion, QString *error)
{
    Q_UNUSED(db);
    if (fromVersion >= kVersion)
        return true;
    // Version 1 is the first; later versions add their steps here, each from the one before.
    if (error)
        *error = QStringLiteral("unknown schema version %1").arg(fromVersion);
    return false;
}

}  // namespace lendora
