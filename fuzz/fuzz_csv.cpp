// The import's CSV reader on arbitrary bytes: it never crashes, and whatever it reads, written
// out again and read back, is what it read (header, cells and the number of rows).
#include "base/Csv.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const lendora::Csv::Table table = lendora::Csv::read(bytes);
    if (!table.ok()) {
        if (table.problem == lendora::Csv::Problem::UnclosedQuote && table.problemLine < 1)
            std::abort();
        return 0;
    }
    QList<QStringList> rows;
    int line = 1;
    for (const lendora::Csv::Row &row : table.rows) {
        if (row.line <= line)  // rows start on later and later lines
            std::abort();
        line = row.line;
        rows << row.cells;
    }
    const lendora::Csv::Table again = lendora::Csv::read(lendora::Csv::write(table.header, rows));
    if (!again.ok() || again.header != table.header || again.rows.size() != rows.size())
        std::abort();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (again.rows.at(i).cells != rows.at(i))
            std::abort();
    }
    return 0;
}
