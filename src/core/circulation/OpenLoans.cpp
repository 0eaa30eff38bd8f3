#include "core/circulation/OpenLoans.h"

namespace lendora {

QString OpenLoans::condition(const QString &table)
{
    const QString column = QStringLiteral("还书日期 is null");
    return table.isEmpty() ? column : table + QLatin1Char('.') + column;
}

}  // namespace lendora
