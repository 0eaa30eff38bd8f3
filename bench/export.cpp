// Exporting every book of a large library, against the floor: the same SELECT stepped through
// the SQLite C API with every column read as text. Run on a copy of a generated library:
//   build/bench/bench/lendora_bench_export APPDIR OUTDIR [runs]
#include "base/SheetFile.h"
#include "core/exchange/TableExport.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

using namespace lendora;

namespace {

// Milliseconds of one export to `path`, or -1.
double exportOnce(SharedDatabase &database, const QString &path, SheetFile::Format format,
                  qint64 *rows)
{
    QElapsedTimer timer;
    timer.start();
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(path, format);
    TableExport exporter(database);
    const std::optional<qint64> written = exporter.write(TableExport::Table::Books, *sheet);
    if (!written || !sheet->finish()) {
        std::fprintf(stderr, "export failed: %s %s\n", qPrintable(exporter.lastError().text),
                     qPrintable(sheet->error()));
        return -1;
    }
    *rows = *written;
    return double(timer.nsecsElapsed()) / 1e6;
}

double floorOnce(const QString &path, qint64 *rows)
{
    const QString sql = QStringLiteral("select %1 from bookInfo order by 书籍编号")
                            .arg(TableExport::columns(TableExport::Table::Books).join(','));
    QElapsedTimer timer;
    timer.start();
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
        != SQLITE_OK)
        return -1;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    const int columns = sqlite3_column_count(stmt);
    size_t bytes = 0;
    *rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            sqlite3_column_text(stmt, c);
            bytes += size_t(sqlite3_column_bytes(stmt, c));
        }
        ++*rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    return bytes > 0 ? ms : -1;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s APPDIR OUTDIR [runs]\n", argv[0]);
        return 2;
    }
    const QString path = DatabaseFile::pathIn(args.at(1));
    const QDir out(args.at(2));
    const int runs = args.size() > 3 ? std::max(1, args.at(3).toInt()) : 3;
    SharedDatabase database(QStringLiteral("bench-export"));
    DbError error;
    if (!database.openReadOnly(std::make_unique<SqliteBackend>(path), &error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(path), qPrintable(error.text));
        return 3;
    }
    const struct {
        const char *name;
        SheetFile::Format format;
    } formats[] = {{"books.csv", SheetFile::Format::CsvUtf8},
                   {"books-gb18030.csv", SheetFile::Format::CsvGb18030},
                   {"books.xlsx", SheetFile::Format::Xlsx}};
    std::printf("%-22s %8s %10s %10s %12s\n", "export", "rows", "best ms", "worst ms", "bytes");
    for (int r = 0; r < 2; ++r) {
        // The floor first and last: the second shows the file's pages in the cache.
        qint64 rows = 0;
        QList<double> times;
        for (int i = 0; i < runs; ++i)
            times << floorOnce(path, &rows);
        std::sort(times.begin(), times.end());
        std::printf("%-22s %8lld %10.0f %10.0f %12s\n", "floor (C API SELECT)", rows, times.first(),
                    times.last(), "-");
        if (r == 1)
            break;
        for (const auto &f : formats) {
            const QString file = out.filePath(QString::fromLatin1(f.name));
            QList<double> ms;
            for (int i = 0; i < runs; ++i)
                ms << exportOnce(database, file, f.format, &rows);
            std::sort(ms.begin(), ms.end());
            std::printf("%-22s %8lld %10.0f %10.0f %12lld\n", f.name, rows, ms.first(), ms.last(),
                        QFileInfo(file).size());
        }
    }
    return 0;
}
