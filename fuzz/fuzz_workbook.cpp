// The import's .xlsx reader on arbitrary bytes: it never crashes, and what it reads is a table
// the import can take: rows in the sheet's order, none wider than the header and one cell more.
#include "base/Workbook.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lendora::Csv::Table table = lendora::Workbook::firstSheet(bytes);
    if (!table.workbook)
        std::abort();
    if (!table.ok()) {
        if (table.problem != lendora::Csv::Problem::BadWorkbook
            && table.problem != lendora::Csv::Problem::Empty)
            std::abort();
        return 0;
    }
    if (table.header.isEmpty() || table.header.size() > 16384)
        std::abort();
    int line = 0;
    for (const lendora::Csv::Row &row : table.rows) {
        if (row.line <= line || row.line > 1048576 || row.cells.isEmpty()
            || row.cells.size() > table.header.size() + 1)
            std::abort();
        line = row.line;
    }
    return 0;
}
