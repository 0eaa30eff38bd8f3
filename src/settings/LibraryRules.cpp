#include "settings/LibraryRules.h"

#include "data/SharedDatabase.h"

#include <QSqlQuery>

namespace lendora {

std::optional<Rules> LibraryRules::read() const
{
    QSqlQuery &query = m_database.prepared(QStringLiteral("select * from basicSet"));
    std::optional<Rules> rules;
    if (query.exec() && query.next())
        rules = Rules{query.value(0), query.value(1)};
    query.finish();
    return rules;
}

}  // namespace lendora
