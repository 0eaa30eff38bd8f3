#include "catalogue/CategoryStore.h"

#include "data/SharedDatabase.h"

#include <QLocale>
#include <QSqlQuery>
#include <cmath>
#include <limits>

namespace lendora {

QString Category::codeOf(const QString &entry)
{
    if (entry.isEmpty())
        return {};
    // One character, never half of a surrogate pair.
    if (entry.size() > 1 && entry.at(0).isHighSurrogate() && entry.at(1).isLowSurrogate())
        return entry.left(2);
    return entry.left(1);
}

QList<Category> CategoryStore::all() const
{
    QList<Category> categories;
    QSqlQuery &query = m_database.prepared(QStringLiteral("select * from bookType"));
    if (!query.exec())
        return categories;
    while (query.next())
        categories.append({query.value(0).toString(), query.value(1).toString(), query.value(2)});
    query.finish();
    return categories;
}

std::optional<qint16> CategoryStore::loanDaysFrom(const QString &text)
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
    // The default floating-point rounding mode rounds halves to the even neighbour.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint16>::min()
        || rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

bool CategoryStore::exists(const QString &code, bool *ok) const
{
    QSqlQuery &query =
        m_database.prepared(QStringLiteral("select 类别代码 from bookType where 类别代码=?"));
    query.bindValue(0, code.isNull() ? QStringLiteral("")
                                     : code);  // never NULL, which matches nothing
    *ok = query.exec();
    const bool found = *ok && query.next();
    query.finish();
    return found;
}

CategoryStore::Result CategoryStore::add(const QString &code, const QString &name,
                                         const QString &loanDaysText)
{
    const std::optional<qint16> days = loanDaysFrom(loanDaysText);
    if (!days)
        return Result::BadLoanDays;
    bool ok = false;
    if (exists(code, &ok))
        return Result::Duplicate;
    if (!ok)
        return Result::Failed;
    if (m_database.change(
            QStringLiteral("insert into bookType (类别代码, 书籍类别, 借出天数) values (?, ?, ?)"),
            {code, name, static_cast<int>(*days)})
        > 0)
        return Result::Done;
    // The table keys the code too; a row added elsewhere in between still counts as taken.
    return exists(code, &ok) ? Result::Duplicate : Result::Failed;
}

CategoryStore::Result CategoryStore::modify(const QString &code, const QString &name,
                                            const QString &loanDaysText)
{
    const std::optional<qint16> days = loanDaysFrom(loanDaysText);
    if (!days)
        return Result::BadLoanDays;
    const int changed = m_database.change(
        QStringLiteral("update bookType set 书籍类别=?, 借出天数=? where 类别代码=?"),
        {name, static_cast<int>(*days), code});
    if (changed < 0)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

bool CategoryStore::remove(const QString &code)
{
    return m_database.change(QStringLiteral("delete from bookType where 类别代码=?"), {code}) >= 0;
}

}  // namespace lendora
