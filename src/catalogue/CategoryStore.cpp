#include "catalogue/CategoryStore.h"

#include "data/SharedDatabase.h"

#include <QSqlQuery>

namespace lendora {

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

}  // namespace lendora
