#include "core/exchange/LibraryCheck.h"

#include "core/catalogue/CategoryStore.h"
#include "core/circulation/OpenLoans.h"
#include "data/SharedDatabase.h"

#include <QCoreApplication>
#include <QSqlRecord>

namespace lendora {

namespace {
const char *const kMarkedNotLent =
    QT_TRANSLATE_NOOP("lendora::LibraryCheck", "书籍 %1 标为已借出,但没有未还的借阅记录");
const char *const kLentNotMarked =
    QT_TRANSLATE_NOOP("lendora::LibraryCheck", "书籍 %1 有未还的借阅记录,但没有标为已借出");
const char *const kEngine = QT_TRANSLATE_NOOP("lendora::LibraryCheck", "数据库检查:%1");
const char *const kLongCode = QT_TRANSLATE_NOOP(
    "lendora::LibraryCheck", "类别“%1-%2”的代码不是一个字符,图书窗口中不能选择它");

const QString kMarkedWithoutLoan =
    QStringLiteral("select 书籍编号 from bookInfo where 是否借出<>0 and not exists (select 1 from"
                   " lentInfo where lentInfo.书籍编号=bookInfo.书籍编号 and ")
    + OpenLoans::condition(QStringLiteral("lentInfo")) + QStringLiteral(") order by 书籍编号");
const QString kLoanWithoutMark =
    QStringLiteral("select distinct lentInfo.书籍编号 from lentInfo join bookInfo on"
                   " bookInfo.书籍编号=lentInfo.书籍编号 where ")
    + OpenLoans::condition(QStringLiteral("lentInfo"))
    + QStringLiteral(" and bookInfo.是否借出=0 order by 1");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::LibraryCheck", text);
}
}  // namespace

std::optional<QStringList> LibraryCheck::problems()
{
    clearError();
    QStringList found;
    QStringList engine;
    const QString integrity = m_database.copies()->integrityCheck();
    if (!integrity.isEmpty() && !forEach(integrity, {}, [&](const QSqlRecord &record) {
            engine << record.value(0).toString();
        }))
        return std::nullopt;
    if (!integrity.isEmpty() && engine != QStringList{QStringLiteral("ok")}) {
        for (const QString &line : engine)
            found << tr(kEngine).arg(line);
    }
    const struct {
        const QString &sql;
        const char *text;
    } rules[] = {{kMarkedWithoutLoan, kMarkedNotLent}, {kLoanWithoutMark, kLentNotMarked}};
    for (const auto &rule : rules) {
        if (!forEach(rule.sql, {}, [&](const QSqlRecord &record) {
                found << tr(rule.text).arg(record.value(0).toString());
            }))
            return std::nullopt;
    }
    CategoryStore categories(m_database);
    const QList<Category> unchoosable = categories.unchoosable();
    if (categories.lastError().isError())
        return failed(categories.lastError(), std::optional<QStringList>());
    for (const Category &category : unchoosable)
        found << tr(kLongCode).arg(category.code, category.name);
    return found;
}

}  // namespace lendora
