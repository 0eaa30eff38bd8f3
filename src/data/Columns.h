#pragma once

#include <QString>

namespace lendora {

// What the clerk sees for a column of the library's tables. Code names a column by its key, the
// name the SQL uses; grid headings and messages show its label, which a translation may change.
// In Chinese every label reads as its key.
class Columns {
public:
    // The label of a column key; a key of no table is shown as it stands.
    static QString label(const QString &key);
};

}  // namespace lendora
