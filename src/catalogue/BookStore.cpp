#include "catalogue/BookStore.h"

#include "data/DateText.h"
#include "data/SharedDatabase.h"

#include <QSqlQuery>

namespace lendora {

namespace {
// An empty field is stored as empty text, never as null.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}
}  // namespace

BookStore::Result BookStore::add(const Book &book)
{
    if (find(book.id))
        return Result::Duplicate;
    QSqlQuery &insert = m_database.prepared(QStringLiteral(
        "insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名, 书籍价格, 书籍页码,"
        " 登记日期, 是否借出) values (?, ?, ?, ?, ?, ?, ?, ?, 0)"));
    const QVariantList values = {text(book.id),     text(book.name),   text(book.category),
                                 text(book.publisher), text(book.writer), text(book.price),
                                 text(book.pages),  DateText::toSql(book.date)};
    for (int i = 0; i < values.size(); ++i)
        insert.bindValue(i, values.at(i));
    const bool ok = insert.exec();
    insert.finish();
    if (ok)
        return Result::Done;
    // The table keys the number too; a book added elsewhere in between still counts as taken.
    return find(book.id) ? Result::Duplicate : Result::Failed;
}

BookStore::Result BookStore::update(const Book &book)
{
    QSqlQuery &update = m_database.prepared(QStringLiteral(
        "update bookInfo set 书籍名称=?, 类别代码=?, 出版社=?, 作者姓名=?, 书籍价格=?, 书籍页码=?,"
        " 登记日期=? where 书籍编号=?"));
    const QVariantList values = {text(book.name),   text(book.category), text(book.publisher),
                                 text(book.writer), text(book.price),    text(book.pages),
                                 DateText::toSql(book.date), text(book.id)};
    for (int i = 0; i < values.size(); ++i)
        update.bindValue(i, values.at(i));
    const bool ok = update.exec();
    const int changed = ok ? update.numRowsAffected() : 0;
    update.finish();
    if (!ok)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

bool BookStore::remove(const QString &id)
{
    QSqlQuery &remove = m_database.prepared(QStringLiteral("delete from bookInfo where 书籍编号=?"));
    remove.bindValue(0, text(id));
    const bool ok = remove.exec();
    remove.finish();
    return ok;
}

std::optional<Book> BookStore::find(const QString &id) const
{
    QSqlQuery &query = m_database.prepared(QStringLiteral(
        "select 书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名, 书籍价格, 书籍页码, 登记日期, 是否借出"
        " from bookInfo where 书籍编号=?"));
    query.bindValue(0, text(id));
    std::optional<Book> book;
    if (query.exec() && query.next()) {
        book = Book{query.value(0).toString(), query.value(1).toString(),
                    query.value(2).toString(), query.value(3).toString(),
                    query.value(4).toString(), query.value(5).toString(),
                    query.value(6).toString(), DateText::fromSql(query.value(7)),
                    query.value(8).toInt() != 0};
    }
    query.finish();
    return book;
}

}  // namespace lendora
