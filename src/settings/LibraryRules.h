#pragma once

#include <QVariant>
#include <optional>

namespace lendora {

class SharedDatabase;

// The two library-wide lending rules, the first row of basicSet.
struct Rules {
    QVariant bookLimit;   // 借出册数: most books one reader may hold; null when not set
    QVariant finePerDay;  // 罚款: fine per overdue day in yuan; null when not set
};

class LibraryRules {
public:
    explicit LibraryRules(SharedDatabase &database) : m_database(database) {}

    // The first row; nullopt when the table has none.
    std::optional<Rules> read() const;

private:
    SharedDatabase &m_database;
};

}  // namespace lendora
