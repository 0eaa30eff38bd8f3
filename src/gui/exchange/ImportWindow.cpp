#include "gui/exchange/ImportWindow.h"

#include "data/Columns.h"
#include "gui/widgets/ColumnFit.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/GridLook.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace lendora {

namespace {
const char *const kBooksTitle = QT_TRANSLATE_NOOP("lendora::ImportWindow", "导入图书");
const char *const kReadersTitle = QT_TRANSLATE_NOOP("lendora::ImportWindow", "导入读者");
const char *const kFileFrame = QT_TRANSLATE_NOOP("lendora::ImportWindow", "文件");
const char *const kChoose = QT_TRANSLATE_NOOP("lendora::ImportWindow", "选择文件…");
const char *const kEncoding = QT_TRANSLATE_NOOP("lendora::ImportWindow", "编码:");
const char *const kMappingFrame =
    QT_TRANSLATE_NOOP("lendora::ImportWindow", "列对应(每一项取文件的哪一列)");
const char *const kNotImported = QT_TRANSLATE_NOOP("lendora::ImportWindow", "(不导入)");
const char *const kPreviewFrame = QT_TRANSLATE_NOOP("lendora::ImportWindow", "预览(前 %1 行)");
const char *const kRejectsFrame = QT_TRANSLATE_NOOP("lendora::ImportWindow", "不能导入的行");
const char *const kSkipExisting = QT_TRANSLATE_NOOP("lendora::ImportWindow", "跳过已有的编号");
const char *const kImport = QT_TRANSLATE_NOOP("lendora::ImportWindow", "导入");
const char *const kClose = QT_TRANSLATE_NOOP("lendora::ImportWindow", "关闭");
const char *const kCaption =
    QT_TRANSLATE_NOOP("lendora::ImportWindow", "选择要导入的 CSV 文件或 Excel 工作簿");
const char *const kFilter = QT_TRANSLATE_NOOP("lendora::ImportWindow",
                                              "CSV 文件或工作簿 (*.csv *.txt *.xlsx);;CSV 文件 "
                                              "(*.csv *.txt);;Excel 工作簿 (*.xlsx);;所有文件 (*)");
const char *const kSummary =
    QT_TRANSLATE_NOOP("lendora::ImportWindow", "共 %1 行:可导入 %2 行,跳过 %3 行,不能导入 %4 行");
const char *const kNoFile = QT_TRANSLATE_NOOP("lendora::ImportWindow", "请先选择要导入的文件。");
const char *const kCannotRead =
    QT_TRANSLATE_NOOP("lendora::ImportWindow", "无法读取文件 %1,没有导入任何数据。");
const int kPreviewRows = 100;
// What the encoding list offers, in the order of TextFile::Encoding.
const char *const kEncodings[] = {"UTF-8", "GB18030"};
}  // namespace

ImportWindow::ImportWindow(WindowContext &context, Import::Kind kind)
    : m_context(context), m_kind(kind)
{
    m_context.applyWindowStyle(this);
    const bool books = kind == Import::Kind::Books;
    setObjectName(books ? QStringLiteral("FrmImportBooks") : QStringLiteral("FrmImportReaders"));
    setWindowTitle(tr(books ? kBooksTitle : kReadersTitle));
    auto *layout = new QVBoxLayout(this);

    auto *fileFrame = new QGroupBox(tr(kFileFrame), this);
    fileFrame->setObjectName(QStringLiteral("fraFile"));
    auto *fileRow = new QHBoxLayout(fileFrame);
    m_file = new QLineEdit(fileFrame);
    m_file->setObjectName(QStringLiteral("txtImportFile"));
    markDisplay(m_file);
    auto *choose = new QPushButton(tr(kChoose), fileFrame);
    choose->setObjectName(QStringLiteral("cmdChooseFile"));
    auto *encodingLabel = new QLabel(tr(kEncoding), fileFrame);
    m_encoding = new QComboBox(fileFrame);
    m_encoding->setObjectName(QStringLiteral("cboEncoding"));
    for (const char *name : kEncodings)
        m_encoding->addItem(QString::fromLatin1(name));
    fitListToEntries(m_encoding);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(choose);
    fileRow->addWidget(encodingLabel);
    fileRow->addWidget(m_encoding);
    layout->addWidget(fileFrame);

    auto *mappingFrame = new QGroupBox(tr(kMappingFrame), this);
    mappingFrame->setObjectName(QStringLiteral("fraMapping"));
    auto *grid = new QGridLayout(mappingFrame);
    QStringList labels;
    for (const QString &field : Import::fields(kind))
        labels << Columns::label(field);
    for (int i = 0; i < labels.size(); ++i) {
        auto *label = new QLabel(labels.at(i), mappingFrame);
        auto *box = new QComboBox(mappingFrame);
        box->setObjectName(QStringLiteral("cboColumn%1").arg(i));
        box->addItem(tr(kNotImported));
        fitListToEntries(box);
        label->setBuddy(box);
        grid->addWidget(label, i / 4, (i % 4) * 2);
        grid->addWidget(box, i / 4, (i % 4) * 2 + 1);
        m_mapping << box;
        connect(box, &QComboBox::currentIndexChanged, this, &ImportWindow::refresh);
    }
    layout->addWidget(mappingFrame);

    auto *previewFrame = new QGroupBox(tr(kPreviewFrame).arg(kPreviewRows), this);
    previewFrame->setObjectName(QStringLiteral("fraPreview"));
    auto *previewLayout = new QVBoxLayout(previewFrame);
    m_preview = new QStandardItemModel(0, int(labels.size()), this);
    m_preview->setHorizontalHeaderLabels(labels);
    m_previewGrid = new QTableView(previewFrame);
    m_previewGrid->setObjectName(QStringLiteral("dtgrdPreview"));
    m_previewGrid->setModel(m_preview);
    setupGrid(m_previewGrid);
    fitHeadings(m_previewGrid);
    previewLayout->addWidget(m_previewGrid);
    layout->addWidget(previewFrame, 2);

    auto *rejectsFrame = new QGroupBox(tr(kRejectsFrame), this);
    rejectsFrame->setObjectName(QStringLiteral("fraRejects"));
    auto *rejectsLayout = new QVBoxLayout(rejectsFrame);
    m_rejects = new QListWidget(rejectsFrame);
    m_rejects->setObjectName(QStringLiteral("lstRejects"));
    rejectsLayout->addWidget(m_rejects);
    layout->addWidget(rejectsFrame, 1);

    auto *bottom = new QHBoxLayout;
    m_skipExisting = new QCheckBox(tr(kSkipExisting), this);
    m_skipExisting->setObjectName(QStringLiteral("chkSkipExisting"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("lblSummary"));
    m_import = new QPushButton(tr(kImport), this);
    m_import->setObjectName(QStringLiteral("cmdImport"));
    auto *close = new QPushButton(tr(kClose), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    bottom->addWidget(m_skipExisting);
    bottom->addWidget(m_summary, 1);
    bottom->addWidget(m_import);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    resize(760, 560);

    connect(choose, &QPushButton::clicked, this, &ImportWindow::chooseFile);
    connect(m_encoding, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_loaded)
            readFile(static_cast<TextFile::Encoding>(index));
    });
    connect(m_skipExisting, &QCheckBox::toggled, this, &ImportWindow::refresh);
    connect(m_import, &QPushButton::clicked, this, &ImportWindow::runImport);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

void ImportWindow::chooseFile()
{
    const QString path = m_context.files().openFileName(tr(kCaption), tr(kFilter));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_context.prompter().message({tr(kCannotRead).arg(QDir::toNativeSeparators(path)),
                                      hintTitle(), Buttons::Ok, Icon::Error});
        return;
    }
    m_bytes = file.readAll();
    m_loaded = true;
    m_file->setText(QDir::toNativeSeparators(path));
    readFile(std::nullopt);
}

void ImportWindow::readFile(std::optional<TextFile::Encoding> encoding)
{
    m_table = Import::readFile(m_bytes, encoding);
    // A workbook says what its texts are; only CSV has an encoding to choose.
    m_encoding->setEnabled(!m_table.workbook);
    if (!encoding && !m_table.workbook && m_table.problem != Csv::Problem::UnknownEncoding) {
        const QSignalBlocker quiet(m_encoding);
        m_encoding->setCurrentIndex(int(m_table.encoding));
    }
    fillMapping();
    refresh();
}

void ImportWindow::fillMapping()
{
    const QList<int> chosen = Import::defaultMapping(m_kind, m_table.header);
    for (int i = 0; i < m_mapping.size(); ++i) {
        QComboBox *box = m_mapping.at(i);
        const QSignalBlocker quiet(box);
        box->clear();
        box->addItem(tr(kNotImported));
        for (int c = 0; c < m_table.header.size(); ++c) {
            const QString heading = m_table.header.at(c);
            box->addItem(heading.isEmpty() ? QStringLiteral("#%1").arg(c + 1) : heading);
        }
        box->setCurrentIndex(chosen.at(i) + 1);
        fitListToEntries(box);
    }
}

Import::Options ImportWindow::options() const
{
    Import::Options chosen;
    chosen.kind = m_kind;
    for (const QComboBox *box : m_mapping)
        chosen.mapping << box->currentIndex() - 1;
    chosen.skipExisting = m_skipExisting->isChecked();
    return chosen;
}

void ImportWindow::refresh()
{
    m_preview->removeRows(0, m_preview->rowCount());
    m_rejects->clear();
    m_summary->clear();
    if (!m_loaded)
        return;
    const Import::Options chosen = options();
    for (int r = 0; r < m_table.rows.size() && r < kPreviewRows; ++r) {
        QList<QStandardItem *> items;
        for (const int column : chosen.mapping)
            items << new QStandardItem(m_table.rows.at(r).cells.value(column));
        m_preview->appendRow(items);
    }
    Import importer(m_context.database());
    const Import::Outcome outcome = importer.check(m_table, chosen);
    if (!outcome.problem.isEmpty())
        m_rejects->addItem(outcome.problem);
    if (outcome.error.isError())
        m_rejects->addItem(outcome.error.forClerk());
    for (const Import::Reject &reject : outcome.rejects)
        m_rejects->addItem(reject.text());
    QSet<int> refusedLines;
    for (const Import::Reject &reject : outcome.rejects)
        refusedLines.insert(reject.line);
    const int total = int(m_table.rows.size());
    m_summary->setText(tr(kSummary)
                           .arg(total)
                           .arg(outcome.refused() ? 0 : outcome.added)
                           .arg(outcome.skipped)
                           .arg(refusedLines.size()));
}

void ImportWindow::runImport()
{
    if (!m_loaded) {
        m_context.prompter().message({tr(kNoFile), hintTitle(), Buttons::Ok, Icon::Error});
        return;
    }
    Import importer(m_context.database());
    const Import::Outcome outcome = importer.run(m_table, options());
    m_context.prompter().message({outcome.message(m_kind), hintTitle(), Buttons::Ok,
                                  outcome.refused() ? Icon::Error : Icon::Information});
    refresh();
}

}  // namespace lendora
