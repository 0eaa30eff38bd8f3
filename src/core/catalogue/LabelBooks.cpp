#include "core/catalogue/LabelBooks.h"

#include "base/DateText.h"

#include <QSqlRecord>

namespace lendora {

namespace {
const QString kColumns = QStringLiteral("select 书籍编号,书籍名称 from bookInfo");

LabelBook bookOf(const QSqlRecord &record)
{
    return {record.value(0).toString(), record.value(1).toString()};
}
}  // namespace

std::optional<QList<LabelBook>> LabelBooks::range(const QString &from, const QString &to)
{
    clearError();
    QList<LabelBook> books;
    if (!forEach(kColumns + QStringLiteral(" where 书籍编号>=? and 书籍编号<=? order by 书籍编号"),
                 {from, to}, [&books](const QSqlRecord &record) { books << bookOf(record); }))
        return std::nullopt;
    return books;
}

std::optional<QList<LabelBook>> LabelBooks::added(const QDate &first, const QDate &last)
{
    clearError();
    QList<LabelBook> books;
    if (!forEach(kColumns + QStringLiteral(" where 登记日期>=? and 登记日期<=? order by 书籍编号"),
                 {DateText::toSql(first), DateText::toSql(last)},
                 [&books](const QSqlRecord &record) { books << bookOf(record); }))
        return std::nullopt;
    return books;
}

std::optional<QList<LabelBook>> LabelBooks::listed(const QStringList &ids, QStringList *missing)
{
    clearError();
    QList<LabelBook> books;
    for (const QString &id : ids) {
        const Row row = first(kColumns + QStringLiteral(" where 书籍编号=?"), {id});
        if (!row.ok)
            return std::nullopt;
        if (row.found)
            books << bookOf(row.record);
        else if (!missing->contains(id))
            *missing << id;
    }
    return books;
}

}  // namespace lendora
