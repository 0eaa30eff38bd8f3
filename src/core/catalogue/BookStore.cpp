#include "core/catalogue/BookStore.h"

#include "base/DateText.h"

#include <QSqlRecord>

namespace lendora {

BookStore::Result BookStore::add(const Book &book)
{
    clearError();
    if (find(book.id))
        return Result::Duplicate;
    if (lastError().isError())
        return Result::Failed;
    if (const Result category = checkCategory(book.category); category != Result::Done)
        return category;
    const int added =
        write(QStringLiteral(
                  "insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名,"
                  " 书籍价格, 书籍页码, 登记日期, 是否借出) values (?, ?, ?, ?, ?, ?, ?, ?, 0)"),
              {book.id, book.name, book.category, book.publisher, book.writer, book.price,
               book.pages, DateText::toSql(book.date)});
    if (added > 0)
        return Result::Done;
    // The table keys the number too; a book added elsewhere in between still counts as taken.
    return lastError().kind == DbError::UniqueViolation ? Result::Duplicate : Result::Failed;
}

BookStore::Result BookStore::update(const Book &book)
{
    clearError();
    if (const Result category = checkCategory(book.category); category != Result::Done)
        return category;
    const int changed =
        write(QStringLiteral("update bookInfo set 书籍名称=?, 类别代码=?, 出版社=?, 作者姓名=?,"
                             " 书籍价格=?, 书籍页码=?, 登记日期=? where 书籍编号=?"),
              {book.name, book.category, book.publisher, book.writer, book.price, book.pages,
               DateText::toSql(book.date), book.id});
    if (changed < 0)
        return Result::Failed;
    return changed > 0 ? Result::Done : Result::Missing;
}

BookStore::Result BookStore::checkCategory(const QString &code)
{
    const Row row = first(QStringLiteral("select 类别代码 from bookType where 类别代码=?"), {code});
    if (!row.ok)
        return Result::Failed;
    return row.found ? Result::Done : Result::NoCategory;
}

bool BookStore::remove(const QString &id)
{
    clearError();
    return write(QStringLiteral("delete from bookInfo where 书籍编号=?"), {id}) >= 0;
}

std::optional<Book> BookStore::find(const QString &id)
{
    const Row row = first(
        QStringLiteral("select 书籍编号, 书籍名称, 类别代码, 出版社, 作者姓名, 书籍价格, 书籍页码,"
                       " 登记日期, 是否借出 from bookInfo where 书籍编号=?"),
        {id});
    if (!row.found)
        return std::nullopt;
    const QSqlRecord &r = row.record;
    return Book{r.value(0).toString(), r.value(1).toString(),         r.value(2).toString(),
                r.value(3).toString(), r.value(4).toString(),         r.value(5).toString(),
                r.value(6).toString(), DateText::fromSql(r.value(7)), r.value(8).toInt() != 0};
}

}  // namespace lendora
