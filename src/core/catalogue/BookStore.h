#pragma once

#include "data/Store.h"

#include <QDate>
#include <QString>
#include <optional>

namespace lendora {

// One row of bookInfo. Texts are stored exactly as typed.
struct Book {
    QString id;         // 书籍编号
    QString name;       // 书籍名称
    QString category;   // 类别代码
    QString publisher;  // 出版社
    QString writer;     // 作者姓名
    QString price;      // 书籍价格, as typed
    QString pages;      // 书籍页码, as typed
    QDate date;         // 登记日期; invalid when the row holds none
    bool lent = false;  // 是否借出
};

// The book catalogue.
class BookStore : public Store {
public:
    enum class Result {
        Done,
        Duplicate,   // add: the book number is taken already; nothing written
        Missing,     // update: no book has the number (any more); nothing written
        NoCategory,  // no category has the book's code; nothing written
        Failed,      // the database refused the write; nothing written
    };

    using Store::Store;

    // Adds a new book, never lent. A book must carry the code of a category: the book list
    // and the lending desk find books through their category.
    Result add(const Book &book);
    // Writes everything but the number and the lent flag into the book with book.id; its
    // category must exist too.
    Result update(const Book &book);
    // Deletes the book; its loan rows stay. False when the database refused.
    bool remove(const QString &id);
    // nullopt when no book has the number, or when the engine failed (lastError() says).
    std::optional<Book> find(const QString &id);

private:
    // Done when a category has the code, NoCategory when none has, Failed when the engine
    // failed.
    Result checkCategory(const QString &code);
};

}  // namespace lendora
