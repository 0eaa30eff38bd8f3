#include "app/MainWindow.h"

#include "base/DateText.h"
#include "base/DeskSettings.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "base/Version.h"
#include "gui/circulation/CirculationDesk.h"
#include "gui/readers/ReaderWindow.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GridExport.h"
#include "gui/widgets/Launcher.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/StyleEngine.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"
#include "ui_MainWindow.h"

#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace lendora {

namespace {
// The whole tables to a file: the dialog's caption and the name it suggests, with the day.
const char *const kExportBooks = QT_TRANSLATE_NOOP("lendora::MainWindow", "导出图书");
const char *const kExportBooksName = QT_TRANSLATE_NOOP("lendora::MainWindow", "图书-%1.csv");
const char *const kExportReaders = QT_TRANSLATE_NOOP("lendora::MainWindow", "导出读者");
const char *const kExportReadersName = QT_TRANSLATE_NOOP("lendora::MainWindow", "读者-%1.csv");
const char *const kBadSetting = QT_TRANSLATE_NOOP("lendora::MainWindow", "不正确的设定值!");
const char *const kLibraryOnServer = QT_TRANSLATE_NOOP("lendora::MainWindow", "图书馆:%1");
// The two differ in their leading ".", and are shown as they stand.
const char *const kTypeStyleMissing =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "文件 .\\style\\type-style.skn 不存在!");
const char *const kLightStyleMissing =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "文件 \\style\\light-hearted.skn 不存在!");
const char *const kSkinUnreadable =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "界面风格文件 %1 无法读取!");
const char *const kLanguageNextStart =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "界面语言将在下次启动程序时生效。");
const char *const kLanguageNotSaved =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "设置文件 %1 无法写入,界面语言没有改变。");
const char *const kHelpMissing =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "帮助文件 readme.txt 未找到!");
const char *const kHelpNotOpened =
    QT_TRANSLATE_NOOP("lendora::MainWindow", "无法打开帮助文件 readme.txt!");

const QString kHelpFile = QStringLiteral("readme.txt");
const QString kEnglishHelpFile = QStringLiteral("readme_en.txt");

// Outer size held at 10215 x 7200 twips.
const QSize kOuterSize(twips(10215), twips(7200));
}  // namespace

struct MainWindow::SkinStyle {
    QAction *item;
    QString file;         // below the application directory
    const char *missing;  // the message, translated when shown
    DeskSettings::WindowStyle style;
};

MainWindow::MainWindow(WindowContext &context, StyleEngine &styles)
    : m_context(context), m_styles(styles), m_ui(std::make_unique<Ui::MainWindow>())
{
    m_ui->setupUi(this);
    buildTabs();
    FixedOuterSize::holdWindow(this, kOuterSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    connectMenu();
    markLanguage(Translations::inForce());
}

MainWindow::~MainWindow() = default;

void MainWindow::connectMenu()
{
    // Each command shows its window as a single modeless instance; a command whose window
    // nobody registered does nothing.
    const struct {
        QAction *action;
        const char *window;
    } commands[] = {
        {m_ui->meuAddNewBook, "FrmAddnew"},       {m_ui->mnuLendora, "FrmLendora"},
        {m_ui->mnuImportBooks, "FrmImportBooks"}, {m_ui->mnuImportReaders, "FrmImportReaders"},
        {m_ui->mnuBookLabels, "FrmBookLabels"},   {m_ui->mnuReaderCards, "FrmReaderCards"},
        {m_ui->mnuBookQuery, "FrmBookQuery"},     {m_ui->mnuLendQuery, "FrmLendQuery"},
        {m_ui->mnuOverdue, "FrmOverdue"},         {m_ui->mnuDaySheet, "FrmDaySheet"},
        {m_ui->mnuStatistics, "FrmStatistics"},   {m_ui->mnuSetBasic, "FrmBasicSet"},
        {m_ui->mnuSetBook, "FrmSetBook"},         {m_ui->mnuBackup, "FrmBackup"},
        {m_ui->meuHowToUse, "FrmHelp"},           {m_ui->meuAbout, "FrmAbout"},
    };
    for (const auto &command : commands) {
        const QString window = QString::fromLatin1(command.window);
        connect(command.action, &QAction::triggered, this,
                [this, window] { m_context.windows().show(window); });
    }
    // The reader register opens in the view its command names.
    connect(m_ui->meuReaderSort, &QAction::triggered, this,
            [this] { emit readerAsked(ReaderFormMode::Query); });
    connect(m_ui->meuReaderSet, &QAction::triggered, this,
            [this] { emit readerAsked(ReaderFormMode::Management); });
    const struct {
        QAction *action;
        TableExport::Table table;
        const char *caption;
        const char *name;
    } exports[] = {
        {m_ui->mnuExportBooks, TableExport::Table::Books, kExportBooks, kExportBooksName},
        {m_ui->mnuExportReaders, TableExport::Table::Readers, kExportReaders, kExportReadersName},
    };
    for (const auto &e : exports) {
        connect(e.action, &QAction::triggered, this, [this, e] {
            exportTable(e.table, m_context.database(), m_context.files(), m_context.prompter(),
                        tr(e.caption), tr(e.name).arg(DateText::toText(m_context.today())));
        });
    }
    connect(m_ui->mnuReceipt, &QAction::triggered, this, [this] { m_desk->reprintLoanReceipt(); });
    connect(m_ui->meuExit, &QAction::triggered, this, &MainWindow::exitCommand);
    connect(m_ui->meuUseHelper, &QAction::triggered, this, &MainWindow::showHelp);

    // A checkable action flips its own mark before it reports the trigger; the commands set
    // the marks themselves (a missing skin must leave them as they were), so undo the flip.
    const struct {
        QAction *action;
        void (MainWindow::*command)();
    } styles[] = {
        {m_ui->meuWinStyle, &MainWindow::chooseSystemLook},
        {m_ui->meuTypeStyle, &MainWindow::chooseTypeStyle},
        {m_ui->meuLight, &MainWindow::chooseLightStyle},
    };
    // Each language is named in its own words (the .ui marks them not to be translated), so
    // a clerk who cannot read the one in force still finds their own.
    connect(m_ui->mnuLanguageChinese, &QAction::triggered, this,
            [this] { chooseLanguage(Language::Chinese); });
    connect(m_ui->mnuLanguageEnglish, &QAction::triggered, this,
            [this] { chooseLanguage(Language::English); });
    for (const auto &style : styles) {
        QAction *action = style.action;
        const auto command = style.command;
        connect(action, &QAction::triggered, this, [this, action, command](bool checked) {
            action->setChecked(!checked);
            (this->*command)();
        });
    }
}

void MainWindow::LoadSetting()
{
    const std::optional<DeskSettings::WindowStyle> style = m_context.settings().windowStyle();
    if (!style)
        m_context.prompter().message({tr(kBadSetting), appTitle()});
    else if (*style == DeskSettings::WindowStyle::Type)
        chooseTypeStyle();
    else if (*style == DeskSettings::WindowStyle::Light)
        chooseLightStyle();
    // The system look is marked at design time.
}

void MainWindow::chooseSystemLook()
{
    m_ui->meuTypeStyle->setChecked(false);
    m_ui->meuLight->setChecked(false);
    m_styles.removeSkin();
    m_ui->meuWinStyle->setChecked(true);
    // A read-only settings file keeps the old choice; the style holds for this run.
    m_context.settings().setWindowStyle(DeskSettings::WindowStyle::System);
}

void MainWindow::chooseTypeStyle()
{
    chooseSkin({m_ui->meuTypeStyle, QStringLiteral("style/type-style.skn"), kTypeStyleMissing,
                DeskSettings::WindowStyle::Type});
}

void MainWindow::chooseLightStyle()
{
    chooseSkin({m_ui->meuLight, QStringLiteral("style/light-hearted.skn"), kLightStyleMissing,
                DeskSettings::WindowStyle::Light});
}

void MainWindow::chooseSkin(const SkinStyle &style)
{
    const QString path = m_context.filePath(style.file);
    if (!QFileInfo(path).isFile()) {
        m_context.prompter().message({tr(style.missing), appTitle()});
        return;
    }
    // Read before anything changes, so a skin that cannot be read leaves the style in force.
    if (!m_styles.loadSkin(path)) {
        m_context.prompter().message(
            {tr(kSkinUnreadable).arg(QDir::toNativeSeparators(path)), appTitle()});
        return;
    }
    for (QAction *item : {m_ui->meuWinStyle, m_ui->meuTypeStyle, m_ui->meuLight}) {
        if (item != style.item)
            item->setChecked(false);
    }
    m_styles.applySkin(this);
    style.item->setChecked(true);
    m_context.settings().setWindowStyle(style.style);
}

void MainWindow::markLanguage(Language language)
{
    m_language = language;
    m_ui->mnuLanguageChinese->setChecked(language == Language::Chinese);
    m_ui->mnuLanguageEnglish->setChecked(language == Language::English);
}

void MainWindow::chooseLanguage(Language language)
{
    // The trigger flipped the chosen action's own mark; the marks follow what was saved.
    markLanguage(m_language);
    if (language == m_language)
        return;
    const DeskSettings settings = m_context.settings();
    if (!settings.setLanguage(language)) {
        m_context.prompter().message(
            {tr(kLanguageNotSaved).arg(QDir::toNativeSeparators(settings.path())), appTitle()});
        return;
    }
    markLanguage(language);
    m_context.prompter().message({tr(kLanguageNextStart), appTitle()});
}

void MainWindow::showHelp()
{
    const QString path = m_context.filePath(
        Translations::inForce() == Language::English ? kEnglishHelpFile : kHelpFile);
    if (!QFileInfo(path).isFile()) {
        m_context.prompter().message({tr(kHelpMissing), appTitle()});
        return;
    }
    if (m_context.launcher().openDocument(path))
        return;
    // Nothing on this desktop opens a text file: the program shows it itself.
    const auto lines = TextFile::readLines(path);
    if (!lines) {
        m_context.prompter().message({tr(kHelpNotOpened), appTitle()});
        return;
    }
    emit readmeAsked(lines->join(QLatin1Char('\n')));
}

void MainWindow::load()
{
    LoadSetting();
    m_desk->setToday(m_context.today());
}

void MainWindow::showVersionInTitle()
{
    setWindowTitle(windowTitle() + QStringLiteral(" Ver") + GetVersionText());
}

void MainWindow::showLibrary(const QString &location)
{
    if (!m_library) {
        m_library = new QLabel(this);
        m_library->setObjectName(QStringLiteral("lblLibrary"));
        statusBar()->addPermanentWidget(m_library, 1);
    }
    m_library->setText(tr(kLibraryOnServer).arg(location));
}

void MainWindow::buildTabs()
{
    m_desk = new CirculationDesk(m_context, m_ui->tabLend, m_ui->tabRenew, m_ui->tabReturn, this);

    auto *image = new QLabel(m_ui->menubar);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(QStringLiteral(":/icons/lendora-32.png")));
    image->setFixedSize(32, 32);
    image->setContentsMargins(0, 0, 0, 0);
    m_ui->menubar->setCornerWidget(image, Qt::TopRightCorner);
}

bool MainWindow::systemLookChecked() const
{
    return m_ui->meuWinStyle->isChecked();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

}  // namespace lendora
