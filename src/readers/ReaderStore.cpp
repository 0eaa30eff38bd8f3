#include "readers/ReaderStore.h"

#include "data/SharedDatabase.h"

#include <QSqlQuery>

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
// The same join and conditions as the lending tab's current-loans grid.
const QString kOpenLoans = QStringLiteral(
    "select count(*) from readerInfo,bookInfo,lentInfo,bookType "
    "where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号 and "
    "lentInfo.读者编号=? and bookType.类别代码=bookInfo.类别代码 and lentInfo.还书日期 is null");

void bindReader(QSqlQuery &query, const Reader &reader)
{
    query.bindValue(0, reader.number);
    query.bindValue(1, reader.name);
    query.bindValue(2, reader.sex);
    query.bindValue(3, reader.phone);
    query.bindValue(4, reader.department);
}

}  // namespace

ReaderStore::Outcome ReaderStore::find(const QString &number, Reader *reader) const
{
    QSqlQuery &query = m_database.prepared(kFind);
    query.bindValue(0, number);
    if (!query.exec()) {
        query.finish();
        return Outcome::Failed;
    }
    if (!query.next()) {
        query.finish();
        return Outcome::NotFound;
    }
    // A null column (a row written by another program) reads as empty text.
    *reader = {query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
               query.value(3).toString(), query.value(4).toString()};
    query.finish();
    return Outcome::Done;
}

ReaderStore::Outcome ReaderStore::add(const Reader &reader)
{
    QSqlQuery &query = m_database.prepared(kAdd);
    bindReader(query, reader);
    const bool ok = query.exec();
    query.finish();
    return ok ? Outcome::Done : Outcome::Failed;
}

ReaderStore::Outcome ReaderStore::change(const Reader &reader)
{
    Transaction transaction(m_database.db());
    if (!transaction.isActive())
        return Outcome::Failed;
    QSqlQuery &query = m_database.prepared(kChange);
    bindReader(query, reader);
    query.bindValue(5, reader.number);
    if (!query.exec()) {
        query.finish();
        return Outcome::Failed;
    }
    const int changed = query.numRowsAffected();
    query.finish();
    if (changed == 0)
        return Outcome::NotFound;
    return transaction.commit() ? Outcome::Done : Outcome::Failed;
}

ReaderStore::Outcome ReaderStore::remove(const QString &number)
{
    // The check and the delete see the same rows.
    Transaction transaction(m_database.db());
    if (!transaction.isActive())
        return Outcome::Failed;
    const std::optional<int> open = openLoans(number);
    if (!open)
        return Outcome::Failed;
    // Deleting the reader would strand the books: the return could never find the loan again
    // and the lent flag would stay set.
    if (*open > 0)
        return Outcome::HasOpenLoans;
    QSqlQuery &query = m_database.prepared(kDelete);
    query.bindValue(0, number);
    if (!query.exec()) {
        query.finish();
        return Outcome::Failed;
    }
    const int deleted = query.numRowsAffected();
    query.finish();
    if (deleted == 0)
        return Outcome::NotFound;
    return transaction.commit() ? Outcome::Done : Outcome::Failed;
}

std::optional<int> ReaderStore::openLoans(const QString &number) const
{
    QSqlQuery &query = m_database.prepared(kOpenLoans);
    query.bindValue(0, number);
    if (!query.exec() || !query.next()) {
        query.finish();
        return std::nullopt;
    }
    const int count = query.value(0).toInt();
    query.finish();
    return count;
}

}  // namespace lendora
