#include "widgets/GridExport.h"

#include "base/Csv.h"
#include "base/TextFile.h"
#include "widgets/FileChooser.h"
#include "widgets/Prompter.h"
#include "widgets/Texts.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>

namespace lendora {

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::GridExport", text);
}
const char *const kCaption = QT_TRANSLATE_NOOP("lendora::GridExport", "导出");
const char *const kFilter = QT_TRANSLATE_NOOP("lendora::GridExport", "CSV 文件 (*.csv)");
const char *const kDone = QT_TRANSLATE_NOOP("lendora::GridExport", "已导出 %1 行到 %2。");
const char *const kFailed = QT_TRANSLATE_NOOP("lendora::GridExport", "无法写入文件 %1,没有导出。");
}  // namespace

bool exportGrid(const QAbstractItemModel &model, FileChooser &files, Prompter &prompter,
                const QString &suggestedPath)
{
    const QString path = files.saveFileName(tr(kCaption), suggestedPath, tr(kFilter));
    if (path.isEmpty())
        return false;
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << model.headerData(column, Qt::Horizontal).toString();
    QList<QStringList> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells;
    }
    // Through a work file and a rename: a failed write leaves no half file under the name.
    const bool written =
        TextFile::replace(path, path + QStringLiteral(".part"), Csv::write(header, rows))
        == TextFile::WriteResult::Written;
    const QString shown = QDir::toNativeSeparators(path);
    prompter.message(
        {written ? tr(kDone).arg(rows.size()).arg(shown) : tr(kFailed).arg(shown), hintTitle()});
    return written;
}

}  // namespace lendora
