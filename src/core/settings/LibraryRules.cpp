#include "core/settings/LibraryRules.h"

#include "base/Decimal.h"
#include "base/NumberText.h"
#include "data/SharedDatabase.h"

#include <QSqlRecord>
#include <cmath>
#include <limits>

namespace lendora {

QString Rules::fineText() const
{
    return hasFine() ? NumberText::fromDouble(finePerDay) : QString();
}

Rules Rules::from(const QVariant &bookLimit, const QVariant &finePerDay)
{
    Rules rules;
    rules.storedLimit = bookLimit;
    rules.storedFine = finePerDay;
    if (!bookLimit.isNull() && bookLimit.isValid()) {
        // Far beyond any count of loans, and still clear of overflow when loans are taken off.
        constexpr qint64 kFar = qint64(1) << 40;
        const std::optional<qint64> limit = NumberText::wholeNumber(bookLimit);
        if (limit && *limit >= -kFar && *limit <= kFar) {
            rules.limitProblem = Problem::None;
            rules.bookLimit = *limit;
        } else {
            rules.limitProblem = Problem::Invalid;
        }
    }
    if (!finePerDay.isNull() && finePerDay.isValid()) {
        bool ok = false;
        const double perDay = finePerDay.toDouble(&ok);
        if (ok && std::isfinite(perDay)) {
            rules.fineProblem = Problem::None;
            rules.finePerDay = perDay;
        } else {
            rules.fineProblem = Problem::Invalid;
        }
    }
    return rules;
}

std::optional<Rules> LibraryRules::read()
{
    clearError();
    const Row row = first(QStringLiteral("select 借出册数, 罚款 from basicSet"));
    if (!row.ok)
        return std::nullopt;
    if (!row.found)
        return Rules::from(QVariant(), QVariant());
    return Rules::from(row.record.value(0), row.record.value(1));
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
