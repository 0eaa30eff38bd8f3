#include "gui/widgets/GridExport.h"

#include "data/SharedDatabase.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QTableView>

namespace lendora {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::GridExport", text);
}
const char *const kCaption = QT_TRANSLATE_NOOP("lendora::GridExport", "导出");
const char *const kMenuText = QT_TRANSLATE_NOOP("lendora::GridExport", "导出…");
const char *const kCsvUtf8 = QT_TRANSLATE_NOOP("lendora::GridExport", "CSV 文件 UTF-8 (*.csv)");
const char *const kCsvGb18030 =
    QT_TRANSLATE_NOOP("lendora::GridExport", "CSV 文件 GB18030 (*.csv)");
const char *const kXlsx = QT_TRANSLATE_NOOP("lendora::GridExport", "Excel 工作簿 (*.xlsx)");
const char *const kDone = QT_TRANSLATE_NOOP("lendora::GridExport", "已导出 %1 行到 %2。");
const char *const kFailed = QT_TRANSLATE_NOOP("lendora::GridExport", "无法写入文件 %1,没有导出。");
const char *const kUnreadable =
    QT_TRANSLATE_NOOP("lendora::GridExport", "数据库无法读取,没有导出。");

// The file types in the order the dialog offers them.
const struct {
    const char *filter;
    SheetFile::Format format;
} kTypes[] = {
    {kCsvUtf8, SheetFile::Format::CsvUtf8},
    {kCsvGb18030, SheetFile::Format::CsvGb18030},
    {kXlsx, SheetFile::Format::Xlsx},
};

bool report(Prompter &prompter, const ExportTarget &target, bool written, qint64 rows)
{
    const QString shown = QDir::toNativeSeparators(target.path);
    prompter.message(
        {written ? tr(kDone).arg(rows).arg(shown) : tr(kFailed).arg(shown), hintTitle()});
    return written;
}
}  // namespace

std::optional<ExportTarget> chooseExportFile(FileChooser &files, const QString &caption,
                                             const QString &suggestedPath)
{
    QStringList filters;
    for (const auto &type : kTypes)
        filters << tr(type.filter);
    QString chosen;
    ExportTarget target;
    target.path =
        files.saveFileName(caption, suggestedPath, filters.join(QStringLiteral(";;")), &chosen);
    if (target.path.isEmpty())
        return std::nullopt;
    const qsizetype index = filters.indexOf(chosen);
    target.format = kTypes[index < 0 ? 0 : index].format;
    // A dialog keeps the suggested name's extension when the clerk picks another type: an
    // .xlsx file named .csv would open as garbage.
    const QString suffix = QFileInfo(target.path).suffix().toLower();
    const QString wanted = SheetFile::suffix(target.format);
    if (suffix != wanted) {
        const bool ours = suffix == QLatin1String("csv") || suffix == QLatin1String("xlsx");
        if (ours)
            target.path.chop(suffix.size() + 1);
        if (ours || suffix.isEmpty())
            target.path += QLatin1Char('.') + wanted;
    }
    return target;
}

bool exportGrid(const QTableView &grid, FileChooser &files, Prompter &prompter,
                const QString &suggestedPath)
{
    if (!grid.model())
        return false;
    const std::optional<ExportTarget> target = chooseExportFile(files, tr(kCaption), suggestedPath);
    if (!target)
        return false;
    const QAbstractItemModel &model = *grid.model();
    const QHeaderView &header = *grid.horizontalHeader();
    QList<int> columns;
    for (int visual = 0; visual < header.count(); ++visual) {
        const int column = header.logicalIndex(visual);
        if (!grid.isColumnHidden(column))
            columns << column;
    }
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(target->path, target->format);
    QStringList cells;
    for (int column : columns)
        cells << model.headerData(column, Qt::Horizontal).toString();
    sheet->addRow(cells);
    const int rows = model.rowCount();
    for (int row = 0; row < rows; ++row) {
        cells.clear();
        for (int column : columns)
            cells << model.index(row, column).data().toString();
        sheet->addRow(cells);
    }
    return report(prompter, *target, sheet->finish(), rows);
}

bool exportRows(const QStringList &headings, const QList<QStringList> &rows, FileChooser &files,
                Prompter &prompter, const QString &suggestedPath)
{
    const std::optional<ExportTarget> target = chooseExportFile(files, tr(kCaption), suggestedPath);
    if (!target)
        return false;
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(target->path, target->format);
    sheet->addRow(headings);
    for (const QStringList &row : rows)
        sheet->addRow(row);
    return report(prompter, *target, sheet->finish(), rows.size());
}

QAction *addExportMenu(QTableView *grid, std::function<void()> exportIt)
{
    auto *action = new QAction(tr(kMenuText), grid);
    action->setObjectName(QStringLiteral("mnuExportGrid"));
    grid->addAction(action);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(action, &QAction::triggered, grid, std::move(exportIt));
    return action;
}

QAction *addExportMenu(QTableView *grid, WindowContext &context,
                       std::function<QString()> suggestedPath)
{
    return addExportMenu(grid, [grid, &context, suggestedPath = std::move(suggestedPath)] {
        exportGrid(*grid, context.files(), context.prompter(), suggestedPath());
    });
}

bool exportTable(TableExport::Table table, SharedDatabase &database, FileChooser &files,
                 Prompter &prompter, const QString &caption, const QString &suggestedPath)
{
    const std::optional<ExportTarget> target = chooseExportFile(files, caption, suggestedPath);
    if (!target)
        return false;
    const std::unique_ptr<SheetFile> sheet = SheetFile::toFile(target->path, target->format);
    TableExport exporter(database);
    const std::optional<qint64> rows = exporter.write(table, *sheet);
    if (!rows && exporter.lastError().kind != DbError::None) {
        prompter.message({tr(kUnreadable), hintTitle()});
        return false;
    }
    return report(prompter, *target, rows && sheet->finish(), rows.value_or(0));
}

}  // namespace lendora
