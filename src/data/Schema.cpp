#include "data/Schema.h"

#include <QSqlError>

namespace lendora {

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

const QList<Schema::Category> &Schema::defaultCategories()
{
    // The 22 main classes of the Chinese Library Classification.
    static const QList<Category> all = {
        {QStringLiteral("A"), QStringLiteral("马克思主义、列宁主义、毛泽东思想、邓小平理论")},
        {QStringLiteral("B"), QStringLiteral("哲学、宗教")},
        {QStringLiteral("C"), QStringLiteral("社会科学总论")},
        {QStringLiteral("D"), QStringLiteral("政治、法律")},
        {QStringLiteral("E"), QStringLiteral("军事")},
        {QStringLiteral("F"), QStringLiteral("经济")},
        {QStringLiteral("G"), QStringLiteral("文化、科学、教育、体育")},
        {QStringLiteral("H"), QStringLiteral("语言、文字")},
        {QStringLiteral("I"), QStringLiteral("文学")},
        {QStringLiteral("J"), QStringLiteral("艺术")},
        {QStringLiteral("K"), QStringLiteral("历史、地理")},
        {QStringLiteral("N"), QStringLiteral("自然科学总论")},
        {QStringLiteral("O"), QStringLiteral("数理科学和化学")},
        {QStringLiteral("P"), QStringLiteral("天文学、地球科学")},
        {QStringLiteral("Q"), QStringLiteral("生物科学")},
        {QStringLiteral("R"), QStringLiteral("医药、卫生")},
        {QStringLiteral("S"), QStringLiteral("农业科学")},
        {QStringLiteral("T"), QStringLiteral("工业技术")},
        {QStringLiteral("U"), QStringLiteral("交通运输")},
        {QStringLiteral("V"), QStringLiteral("航空、航天")},
        {QStringLiteral("X"), QStringLiteral("环境科学、安全科学")},
        {QStringLiteral("Z"), QStringLiteral("综合性图书")},
    };
    return all;
}

bool Schema::upgrade(QSqlDatabase &db, int fromVersion, const QList<Step> &steps,
                     const Versioning &versioning, QString *notice, QString *error)
{
    const auto engineFailed = [&](const QSqlError &failed) {
        if (error)
            *error = failed.text();
        return false;
    };
    for (const Step &step : steps) {
        if (step.version <= fromVersion)
            continue;
        if (!db.transaction())
            return engineFailed(db.lastError());
        Taken taken = Taken::Failed;
        bool takenElsewhere = false;
        {
            QSqlQuery query(db);
            const std::optional<int> now = versioning.read(query, error);
            if (now && *now >= step.version)
                takenElsewhere = true;  // by another desk, while this one waited for it
            else if (now)
                taken = step.build(query, notice, error);
            if (taken == Taken::Yes && !versioning.write(query, step.version, error))
                taken = Taken::Failed;
        }
        if (takenElsewhere) {
            db.rollback();
            continue;
        }
        if (taken == Taken::Yes) {
            if (db.commit())
                continue;
            const QSqlError failed = db.lastError();
            db.rollback();
            return engineFailed(failed);
        }
        db.rollback();
        // Held back, the later steps wait for it; the desk runs on.
        return taken == Taken::HeldBack;
    }
    return true;
}

bool Schema::insertDefaults(QSqlQuery &query, QString *error)
{
    bool ok = query.prepare(QStringLiteral("INSERT INTO basicSet (借出册数, 罚款) VALUES (?, ?)"));
    if (ok) {
        query.addBindValue(kDefaultLoanLimit);
        query.addBindValue(kDefaultFine);
        ok = query.exec();
    }
    ok = ok
         && query.prepare(QStringLiteral(
             "INSERT INTO bookType (类别代码, 书籍类别, 借出天数) VALUES (?, ?, ?)"));
    for (const Category &category : defaultCategories()) {
        if (!ok)
            break;
        query.bindValue(0, category.code);
        query.bindValue(1, category.name);
        query.bindValue(2, kDefaultLoanDays);
        ok = query.exec();
    }
    if (!ok && error)
        *error = query.lastError().text();
    return ok;
}

}  // namespace lendora
