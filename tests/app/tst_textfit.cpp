// Every text a clerk must read is shown whole, in each language and each of the three styles:
// labels, buttons, tick boxes, option buttons, frame titles, tab titles, grid headers and the
// entries of drop-down lists, measured against the room each has. Every window is looked at:
// the login and main windows, and every window the registry can open, so a window added
// later is measured without a word here.
#include "TestApp.h"
#include "TestMain.h"
#include "base/Language.h"

#include "gui/readers/ReaderWindow.h"
#include "gui/widgets/WindowRegistry.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using lendora::Language;
using lendora::Translations;
using lendora::testkit::TestApp;

namespace {

QString shown(QString text)
{
    return text.remove(QLatin1Char('&'));
}

// The texts of `window` that do not fit their room, each as "<control>: <text>".
QStringList cutTexts(QWidget *window)
{
    QStringList cut;
    const auto report = [&cut](const QWidget *w, const QString &text, int need, int room) {
        cut << QStringLiteral("%1: %2 (%3 > %4)").arg(w->objectName(), text).arg(need).arg(room);
    };
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (!button->isVisibleTo(window) || button->text().isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        // The room the style leaves inside the button, its style sheet's padding included.
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const int need = button->fontMetrics().horizontalAdvance(shown(button->text()));
        if (need > room.width())
            report(button, button->text(), need, room.width());
    }
    // Tick boxes and option buttons: the text beside the indicator.
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        const bool check = qobject_cast<QCheckBox *>(button) != nullptr;
        if ((!check && !qobject_cast<QRadioButton *>(button)) || !button->isVisibleTo(window)
            || button->text().isEmpty())
            continue;
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(
            check ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &option, button);
        const int need = button->fontMetrics().horizontalAdvance(shown(button->text()));
        if (need > room.width())
            report(button, button->text(), need, room.width());
    }
    // Frame titles: the title's place, as the style draws it, inside the frame.
    for (QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        if (!frame->isVisibleTo(window) || frame->title().isEmpty())
            continue;
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.lineWidth = 1;
        option.midLineWidth = 0;
        option.textAlignment = frame->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (frame->isCheckable())
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
        if (frame->isFlat())
            option.features |= QStyleOptionFrame::Flat;
        const QRect title = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frame);
        const int need = frame->fontMetrics().horizontalAdvance(shown(frame->title()));
        if (need > title.width() || !frame->rect().contains(title))
            report(frame, frame->title(), need, frame->width());
    }
    // Tab titles: each tab whole, and every tab within the bar (no scroll buttons).
    for (QTabBar *bar : window->findChildren<QTabBar *>()) {
        if (!bar->isVisibleTo(window))
            continue;
        for (int tab = 0; tab < bar->count(); ++tab) {
            QStyleOptionTab option;
            option.initFrom(bar);
            option.shape = bar->shape();
            option.text = bar->tabText(tab);
            option.icon = bar->tabIcon(tab);
            option.iconSize = bar->iconSize();
            option.rect = bar->tabRect(tab);
            const QRect room = bar->style()->subElementRect(QStyle::SE_TabBarTabText, &option, bar);
            const int need = bar->fontMetrics().horizontalAdvance(shown(option.text));
            if (need > room.width() || !bar->rect().contains(option.rect))
                report(bar, option.text, need, room.width());
        }
    }
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(window) || label->text().isEmpty() || label->wordWrap()
            || label->textFormat() == Qt::RichText || Qt::mightBeRichText(label->text()))
            continue;
        const int room =
            label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
        for (const QString &line : label->text().split(QLatin1Char('\n'))) {
            const int need = label->fontMetrics().horizontalAdvance(shown(line));
            if (need > room)
                report(label, line, need, room);
        }
    }
    for (QTableView *grid : window->findChildren<QTableView *>()) {
        if (!grid->isVisibleTo(window))
            continue;
        QHeaderView *header = grid->horizontalHeader();
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section))
                continue;
            const int need = header->sectionSizeHint(section);
            // The last section stretches to what is left; it must still hold its heading.
            const int room = header->sectionSize(section);
            if (need > room)
                report(grid, grid->model()->headerData(section, Qt::Horizontal).toString(), need,
                       room);
        }
    }
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        if (!combo->isVisibleTo(window))
            continue;
        QAbstractItemView *list = combo->view();
        const int room = std::max(list->minimumWidth(), combo->width()) - 2 * list->frameWidth();
        for (int row = 0; row < combo->count(); ++row) {
            const int need = list->sizeHintForIndex(combo->model()->index(row, 0)).width();
            if (need > room)
                report(combo, combo->itemText(row), need, room);
        }
    }
    return cut;
}

// How a registered window is opened: as its menu item or its opener opens it.
void open(lendora::WindowRegistry &registry, const QString &window)
{
    if (window == "FrmReader")  // the view with every button
        registry.show(
            window, lendora::ReaderWindow::Opening{lendora::ReaderFormMode::Management, QString()});
    else if (window == "FrmReaderHistory")
        registry.show(window, QStringLiteral("R1"));
    else if (window == "FrmReadme")
        registry.show(window,
                      QStringLiteral("岚枢图书管理系统 使用帮助\nLendora desk, how to use it"));
    else
        registry.show(window);
}

}  // namespace

class TextFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyTextFits_data();
    void everyTextFits();
};

void TextFitTest::everyTextFits_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QByteArray>("style");  // LoadStyle in setting.ini
    const QList<std::pair<const char *, QByteArray>> styles = {
        {"Windows默认", "0"}, {"经典传奇", "1"}, {"轻松一刻", "2"}};
    for (const auto &[languageName, language] :
         {std::pair{"中文", Language::Chinese}, std::pair{"English", Language::English}}) {
        for (const auto &[name, value] : styles)
            QTest::addRow("%s, %s", languageName, name) << language << value;
    }
}

void TextFitTest::everyTextFits()
{
    QFETCH(Language, language);
    QFETCH(QByteArray, style);
    // Installed before the desk is made, as the program does at start.
    const Translations translations(language, LENDORA_TRANSLATIONS_DIR);
    QCOMPARE(Translations::inForce(), language);
    TestApp t;
    QFile settings(t.appDir() + "/setting.ini");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("LoadStyle=" + style + "\r\n");
    settings.close();
    // Rows in the grids, so their headers are laid out as the clerk sees them.
    t.exec(
        "insert into bookInfo values ('B1','红楼梦','A','人民文学出版社','曹雪芹','59.70','1606',"
        "'2026-03-02',0)");
    t.exec("insert into readerInfo values ('R1','林黛玉','女','13800000000','中文系')");
    t.exec("insert into lentInfo values ('R1','B1','2026-11-02','2026-12-05',3,0.3)");

    QStringList cut;
    // Every page of a window's tabs, not only the one in front.
    const auto measure = [&cut](QWidget *window) {
        QStringList found = cutTexts(window);
        for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
            for (int page = 0; page < tabs->count(); ++page) {
                tabs->setCurrentIndex(page);
                QCoreApplication::processEvents();
                found << cutTexts(window);
            }
        }
        found.removeDuplicates();
        for (const QString &text : std::as_const(found))
            cut << window->objectName() + " " + text;
    };

    QVERIFY(t.start());
    QVERIFY(t.window("FrmLogon"));
    measure(t.window("FrmLogon"));
    t.login();
    QVERIFY(t.window("Frmmain"));
    measure(t.window("Frmmain"));
    lendora::WindowRegistry &registry = t.app().windows();
    const QStringList names = registry.names();
    // The walk reaches the windows of every stage, those opened from other windows too.
    for (const char *known : {"FrmBackup", "FrmImportBooks", "FrmImportReaders", "FrmStatistics",
                              "FrmReadme", "FrmReaderHistory", "FrmUpdateBook", "FrmOverdue"})
        QVERIFY2(names.contains(QString::fromLatin1(known)), known);
    for (const QString &name : names) {
        if (name == "FrmUpdateBook") {
            // Opened from the book list, on its current book.
            registry.show("FrmLendora");
            auto *books = t.control<QTableView>("FrmLendora", "DataGrid1");
            books->setCurrentIndex(books->model()->index(0, 0));
            t.click("FrmLendora", "cmdModify");
        } else {
            open(registry, name);
        }
        QWidget *opened = t.window(name);
        QVERIFY2(opened, qPrintable(name));
        QCoreApplication::processEvents();
        measure(opened);
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("\n"))));
    QVERIFY(t.prompter().shown().isEmpty());
}

LENDORA_TEST_CLASS(TextFitTest)
#include "tst_textfit.moc"
