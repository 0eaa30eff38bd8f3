#include "catalogue/CategoryStore.h"

#include "data/SharedDatabase.h"

#include <QLocale>
#include <QSqlQuery>
#include <cmath>
#include <limits>

namespace lendora {

namespace {
// An empty field is stored as empty text, never as null.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}
}  // namespace

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
    query.bindValue(0, text(code));
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
    QSqlQuery &insert = m_database.prepared(
        QStringLiteral("insert into bookType (类别代码, 书籍类别, 借出天数) values (?, ?, ?)"));
    insert.bindValue(0, text(code));
    insert.bindValue(1, text(name));
    insert.bindValue(2, static_cast<int>(*days));
    ok = insert.exec();
    insert.finish();
    if (ok)
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
    QSqlQuery &update = m_database.prepared(
        QStringLiteral("update bookType set 书籍类别=?, 借出天数=? where 类别代码=?"));
    update.bindValue(0, text(name));
    update.bindValue(1, static_cast<int>(*days));
    update.bindValue(2, text(code));
    const bool ok = update.exec();
    const int changed = ok ? update.numRowsAffected() : 0;
    update.finish();
    if (!ok)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

bool CategoryStore::remove(const QString &code)
{
    QSqlQuery &remove = m_database.prepared(QStringLiteral("delete from bookType where 类别代码=?"));
    remove.bindValue(0, text(code));
    const bool ok = remove.exec();
    remove.finish();
    return ok;
}

}  // namespace lendora
