#include "catalogue/BookStore.h"

#include "base/DateText.h"
#include "data/SharedDatabase.h"

#include <QSqlQuery>

namespace lendora {

BookStore::Result BookStore::add(const Book &book)
{
    if (find(book.id))
        return Result::Duplicate;
    const int added = m_database.change(
        QStringLiteral(
            "insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名,"
            " 书籍价格, 书籍页码, 登记日期, 是否借出) values (?, ?, ?, ?, ?, ?, ?, ?, 0)"),
        {book.id, book.name, book.category, book.publisher, book.writer, book.price, book.pages,
         DateText::toSql(book.date)});
    if (added > 0)
        return Result::Done;
    // The table keys the number too; a book added elsewhere in between still counts as taken.
    return find(book.id) ? Result::Duplicate : Result::Failed;
}

BookStore::Result BookStore::update(const Book &book)
{
    const int changed = m_database.change(
        QStringLiteral("update bookInfo set 书籍名称=?, 类别代码=?, 出版社=?, 作者姓名=?,"
                       " 书籍价格=?, 书籍页码=?, 登记日期=? where 书籍编号=?"),
        {book.name, book.category, book.publisher, book.writer, book.price, book.pages,
         DateText::toSql(book.date), book.id});
    if (changed < 0)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

bool BookStore::remove(const QString &id)
{
    return m_database.change(QStringLiteral("delete from bookInfo where 书籍编号=?"), {id}) >= 0;
}

std::optional<Book> BookStore::find(const QString &id) const
{
    QSqlQuery &query =
        m_database.prepared(QStringLiteral("select 书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名, "
                                           "书籍价格, 书籍页码, 登记日期, 是否借出"
                                           " from bookInfo where 书籍编号=?"));
    query.bindValue(0, id.isNull() ? QStringLiteral("") : id);  // never NULL, which matches nothing
    std::optional<Book> book;
    if (query.exec() && query.next()) {
        book = Book{query.value(0).toString(),  query.value(1).toString(),
                    query.value(2).toString(),  query.value(3).toString(),
                    query.value(4).toString(),  query.value(5).toString(),
                    query.value(6).toString(),  DateText::fromSql(query.value(7)),
                    query.value(8).toInt() != 0};
    }
    query.finish();
    return book;
}

}  // namespace lendora
