#pragma once

#include "data/Store.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace lendora {

class SheetFile;

// A whole table of the library as a list: its columns in schema order headed by their names,
// dates as yyyy-MM-dd, 是否借出 as 是 or 否, rows in key order (loans by lending date, then
// book). Rows go to the sheet as the engine reads them, so a large table is never held whole.
class TableExport : public Store {
public:
    enum class Table { Books, Readers, Categories, Loans };

    using Store::Store;

    // The table a command line names: books, readers, categories or loans.
    static std::optional<Table> named(const QString &name);
    static QStringList columns(Table table);

    // The headings, then every row, into `sheet` (not finished here). The rows written, or
    // nullopt when the engine failed (lastError() says why) or the sheet did (its error()).
    std::optional<qint64> write(Table table, SheetFile &sheet);
};

}  // namespace lendora
