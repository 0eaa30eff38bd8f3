#include "core/catalogue/CategoryStore.h"

#include "base/Decimal.h"

#include <QSqlRecord>
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

bool Category::isOneCharacter(const QString &code)
{
    return !code.isEmpty() && codeOf(code) == code;
}

QList<Category> CategoryStore::all()
{
    clearError();
    QList<Category> categories;
    forEach(QStringLiteral("select * from bookType"), {}, [&](const QSqlRecord &row) {
        categories.append({row.value(0).toString(), row.value(1).toString(), row.value(2)});
    });
    return categories;
}

QList<Category> CategoryStore::unchoosable()
{
    QList<Category> found = all();
    found.removeIf([](const Category &c) { return Category::isOneCharacter(c.code); });
    return found;
}

std::optional<qint16> CategoryStore::loanDaysFrom(const QString &text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    const std::optional<qint64> days = value ? value->toWholeNumber() : std::nullopt;
    if (!days || *days < std::numeric_limits<qint16>::min()
        || *days > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(*days);
}

CategoryStore::Result CategoryStore::add(const QString &code, const QString &name,
                                         const QString &loanDaysText)
{
    clearError();
    if (code.isEmpty())
        return Result::NoCode;
    if (!Category::isOneCharacter(code))
        return Result::LongCode;
    const std::optional<qint16> days = loanDaysFrom(loanDaysText);
    if (!days)
        return Result::BadLoanDays;
    const Row taken =
        first(QStringLiteral("select 类别代码 from bookType where 类别代码=?"), {code});
    if (!taken.ok)
        return Result::Failed;
    if (taken.found)
        return Result::Duplicate;
    if (write(
            QStringLiteral("insert into bookType (类别代码, 书籍类别, 借出天数) values (?, ?, ?)"),
            {code, name, static_cast<int>(*days)})
        > 0)
        return Result::Done;
    // The table keys the code too; a row added elsewhere in between still counts as taken.
    return lastError().kind == DbError::UniqueViolation ? Result::Duplicate : Result::Failed;
}

CategoryStore::Result CategoryStore::modify(const QString &code, const QString &name,
                                            const QString &loanDaysText)
{
    clearError();
    const std::optional<qint16> days = loanDaysFrom(loanDaysText);
    if (!days)
        return Result::BadLoanDays;
    const int changed =
        write(QStringLiteral("update bookType set 书籍类别=?, 借出天数=? where 类别代码=?"),
              {name, static_cast<int>(*days), code});
    if (changed < 0)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

bool CategoryStore::remove(const QString &code)
{
    clearError();
    return write(QStringLiteral("delete from bookType where 类别代码=?"), {code}) >= 0;
}

}  // namespace lendora
