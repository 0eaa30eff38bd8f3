#include "settings/LibraryRules.h"

#include "data/Schema.h"
#include "data/SharedDatabase.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>
#include <limits>

namespace lendora {

namespace {

// A plain decimal number ("3", "0.5", "-2", "1e2"); blanks around it are allowed, nothing
// else is.
std::optional<double> numberFrom(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<Rules> LibraryRules::read()
{
    QSqlQuery &query = m_database.prepared(QStringLiteral("select * from basicSet"));
    std::optional<Rules> rules;
    m_lastError.clear();
    if (!query.exec())
        m_lastError = query.lastError().text();
    else if (query.next())
        rules = Rules{query.value(0), query.value(1)};
    query.finish();
    return rules;
}

std::optional<int> LibraryRules::bookLimitFrom(const QString &text)
{
    const std::optional<double> value = numberFrom(text);
    if (!value || *value < 0 || *value > std::numeric_limits<qint16>::max()
        || std::floor(*value) != *value)
        return std::nullopt;
    return static_cast<int>(*value);
}

std::optional<double> LibraryRules::fineFrom(const QString &text)
{
    const std::optional<double> value = numberFrom(text);
    if (!value || *value < 0)
        return std::nullopt;
    return *value + 0.0;  // never a negative zero
}

LibraryRules::SaveResult LibraryRules::save(const QString &bookLimitText, const QString &fineText)
{
    const std::optional<int> limit = bookLimitFrom(bookLimitText);
    const std::optional<double> fine = fineFrom(fineText);
    if (!limit || !fine)
        return SaveResult::BadValue;

    // The table holds one row; a missing row is made rather than leaving the rules unsaved.
    Transaction transaction(m_database.db());
    if (!transaction.isActive())
        return SaveResult::Failed;
    // Only the first row is read anywhere, so only the first row is written.
    const int changed =
        m_database.change(QStringLiteral("update basicSet set 借出册数=?, 罚款=? where ")
                              + Schema::firstRowOnly(QStringLiteral("basicSet")),
                          {*limit, *fine});
    bool ok = changed >= 0;
    if (changed == 0)
        ok =
            m_database.change(QStringLiteral("insert into basicSet (借出册数, 罚款) values (?, ?)"),
                              {*limit, *fine})
            > 0;
    if (!ok || !transaction.commit())
        return SaveResult::Failed;
    return SaveResult::Saved;
}

}  // namespace lendora
