#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace lendora {

class SharedDatabase;

struct Category {
    QString code;      // 类别代码
    QString name;      // 书籍类别
    QVariant loanDays; // 借出天数; null when the row holds none
};

// The categories table.
class CategoryStore {
public:
    explicit CategoryStore(SharedDatabase &database) : m_database(database) {}

    // Every category in the table's own order.
    QList<Category> all() const;

private:
    SharedDatabase &m_database;
};

}  // namespace lendora
