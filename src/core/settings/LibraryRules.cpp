#include "core/settings/LibraryRules.h"

#include "base/Decimal.h"
#include "data/SharedDatabase.h"

#include <QSqlRecord>
#include <limits>

namespace lendora {

std::optional<Rules> LibraryRules::read()
{
    clearError();
    const Row row = first(QStringLiteral("select * from basicSet"));
    if (!row.found)
        return std::nullopt;
    return Rules{row.record.value(0), row.record.value(1)};
}

std::optional<int> LibraryRules::bookLimitFrom(const QString &text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value || value->isNegative() || !value->isWhole()
        || *value > Decimal::fromInt(std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<int>(*value->toWholeNumber());
}

std::optional<double> LibraryRules::fineFrom(const QString &text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value || value->isNegative())
        return std::nullopt;
    return value->toDouble() + 0.0;  // never a negative zero
}

LibraryRules::SaveResult LibraryRules::save(const QString &bookLimitText, const QString &fineText)
{
    clearError();
    const std::optional<int> limit = bookLimitFrom(bookLimitText);
    const std::optional<double> fine = fineFrom(fineText);
    if (!limit || !fine)
        return SaveResult::BadValue;

    // The table holds one row; a missing row is made rather than leaving the rules unsaved.
    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), SaveResult::Failed);
    // Only the first row is read anywhere, so only the first row is written.
    const int changed = write(QStringLiteral("update basicSet set 借出册数=?, 罚款=? where ")
                                  + m_database.dialect()->firstRowOnly(QStringLiteral("basicSet")),
                              {*limit, *fine});
    bool ok = changed >= 0;
    if (changed == 0)
        ok = write(QStringLiteral("insert into basicSet (借出册数, 罚款) values (?, ?)"),
                   {*limit, *fine})
             > 0;
    if (!ok)
        return SaveResult::Failed;
    if (!transaction.commit())
        return failed(transaction.error(), SaveResult::Failed);
    return SaveResult::Saved;
}

}  // namespace lendora
