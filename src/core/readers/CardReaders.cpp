#include "core/readers/CardReaders.h"

#include <QSqlRecord>

namespace lendora {

namespace {
const QString kColumns = QStringLiteral("select 读者编号,读者姓名,所在部门 from readerInfo");

CardReader readerOf(const QSqlRecord &record)
{
    return {record.value(0).toString(), record.value(1).toString(), record.value(2).toString()};
}
}  // namespace

std::optional<QList<CardReader>> CardReaders::range(const QString &from, const QString &to)
{
    clearError();
    QList<CardReader> readers;
    if (!forEach(kColumns + QStringLiteral(" where 读者编号>=? and 读者编号<=? order by 读者编号"),
                 {from, to}, [&readers](const QSqlRecord &record) { readers << readerOf(record); }))
        return std::nullopt;
    return readers;
}

std::optional<QList<CardReader>> CardReaders::listed(const QStringList &numbers,
                                                     QStringList *missing)
{
    clearError();
    QList<CardReader> readers;
    for (const QString &number : numbers) {
        const Row row = first(kColumns + QStringLiteral(" where 读者编号=?"), {number});
        if (!row.ok)
            return std::nullopt;
        if (row.found)
            readers << readerOf(row.record);
        else if (!missing->contains(number))
            *missing << number;
    }
    return readers;
}

}  // namespace lendora
