#pragma once

#include "base/SheetFile.h"
#include "core/exchange/TableExport.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QAction;
class QTableView;

namespace lendora {

class FileChooser;
class Prompter;
class SharedDatabase;
class WindowContext;

// Where a list goes: the file the clerk names, in the format of the file type chosen.
struct ExportTarget {
    QString path;
    SheetFile::Format format = SheetFile::Format::CsvUtf8;
};
// Asks for the file in the save dialog: CSV in UTF-8 (offered first), CSV in GB18030, or an
// Excel workbook. A name ending in the other format's extension, or in none, gets the
// chosen format's. nullopt when cancelled.
std::optional<ExportTarget> chooseExportFile(FileChooser &files, const QString &caption,
                                             const QString &suggestedPath);

// Writes what a grid shows to a file the clerk names: its headings as shown, then every row
// in the grid's order, the columns in their shown order without hidden ones. The file is
// written whole or not at all; the clerk is told either way. False when cancelled or not
// written.
bool exportGrid(const QTableView &grid, FileChooser &files, Prompter &prompter,
                const QString &suggestedPath);

// Writes rows worked out elsewhere, headed by `headings`, as exportGrid writes a grid's.
bool exportRows(const QStringList &headings, const QList<QStringList> &rows, FileChooser &files,
                Prompter &prompter, const QString &suggestedPath);

// Gives a grid 导出… in its context menu (the action mnuExportGrid), doing what `exportIt` does.
QAction *addExportMenu(QTableView *grid, std::function<void()> exportIt);

// Gives a grid 导出… in its context menu (the action mnuExportGrid), exporting as above with
// the file name `suggestedPath` gives at that moment. A window whose list can be incomplete
// disables the action returned meanwhile.
QAction *addExportMenu(QTableView *grid, WindowContext &context,
                       std::function<QString()> suggestedPath);

// A whole table of the library to a file the clerk names, read from the library as it is.
bool exportTable(TableExport::Table table, SharedDatabase &database, FileChooser &files,
                 Prompter &prompter, const QString &caption, const QString &suggestedPath);

}  // namespace lendora
