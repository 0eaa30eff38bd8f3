#include "core/readers/ReaderStore.h"

#include "core/circulation/LoanStore.h"
#include "data/SharedDatabase.h"

namespace lendora {

namespace {

const QString kFind = QStringLiteral(
    "select 读者编号,读者姓名,读者性别,联系电话,所在部门 from readerInfo where 读者编号=?");
const QString kAdd = QStringLiteral(
    "insert into readerInfo (读者编号,读者姓名,读者性别,联系电话,所在部门) values (?,?,?,?,?)");
const QString kChange =
    QStringLiteral("update readerInfo set 读者编号=?,读者姓名=?,读者性别=?,联系电话=?,所在部门=? "
                   "where 读者编号=?");
const QString kDelete = QStringLiteral("delete from readerInfo where 读者编号=?");

QVariantList columnsOf(const Reader &reader)
{
    return {reader.number, reader.name, reader.sex, reader.phone, reader.department};
}

}  // namespace

ReaderStore::Outcome ReaderStore::find(const QString &number, Reader *reader)
{
    clearError();
    const Row row = first(kFind, {number});
    if (!row.ok)
        return Outcome::Failed;
    if (!row.found)
        return Outcome::NotFound;
    // A null column (a row written by another program) reads as empty text.
    const QSqlRecord &r = row.record;
    *reader = {r.value(0).toString(), r.value(1).toString(), r.value(2).toString(),
               r.value(3).toString(), r.value(4).toString()};
    return Outcome::Done;
}

ReaderStore::Outcome ReaderStore::add(const Reader &reader)
{
    clearError();
    return write(kAdd, columnsOf(reader)) == 1 ? Outcome::Done : Outcome::Failed;
}

ReaderStore::Outcome ReaderStore::change(const Reader &reader)
{
    clearError();
    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), Outcome::Failed);
    const int changed = write(kChange, columnsOf(reader) << reader.number);
    if (changed < 0)
        return Outcome::Failed;
    if (changed == 0)
        return Outcome::NotFound;
    return transaction.commit() ? Outcome::Done : failed(transaction.error(), Outcome::Failed);
}

ReaderStore::Outcome ReaderStore::remove(const QString &number)
{
    clearError();
    // The check and the delete see the same rows.
    WriteTransaction transaction(m_database);
    if (!transaction.isActive())
        return failed(transaction.error(), Outcome::Failed);
    if (!lockRows(QStringLiteral("readerInfo"), QStringLiteral("读者编号=?"), {number}))
        return Outcome::Failed;
    LoanStore loans(m_database);
    const std::optional<qint64> open = loans.openLoanCount(number);
    if (!open)
        return failed(loans.lastError(), Outcome::Failed);
    // Deleting the reader would strand the books: the return could never find the loan again
    // and the lent flag would stay set.
    if (*open > 0)
        return Outcome::HasOpenLoans;
    const int deleted = write(kDelete, {number});
    if (deleted < 0)
        return Outcome::Failed;
    if (deleted == 0)
        return Outcome::NotFound;
    return transaction.commit() ? Outcome::Done : failed(transaction.error(), Outcome::Failed);
}

}  // namespace lendora
