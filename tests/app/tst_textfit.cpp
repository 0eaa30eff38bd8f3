// Every text a clerk must read is shown whole, in each language and each of the three styles:
// labels, buttons, grid headers and the entries of drop-down lists, measured against the room
// each has.
#include "TestApp.h"
#include "TestMain.h"
#include "base/Language.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>
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
    QTest::addColumn<QString>("command");   // the menu item that opens the window; empty: none
    QTest::addColumn<QString>("window");
    const QList<std::pair<const char *, QByteArray>> styles = {
        {"Windows默认", "0"}, {"经典传奇", "1"}, {"轻松一刻", "2"}};
    const QList<std::pair<QString, QString>> windows = {
        {"", "FrmLogon"},
        {"", "Frmmain"},
        {"meuAddNewBook", "FrmAddnew"},
        {"mnuLendora", "FrmLendora"},
        {"mnuBookQuery", "FrmBookQuery"},
        {"mnuLendQuery", "FrmLendQuery"},
        {"mnuOverdue", "FrmOverdue"},
        {"mnuDaySheet", "FrmDaySheet"},
        {"mnuStatistics", "FrmStatistics"},
        {"meuReaderSet", "FrmReader"},
        {"mnuSetBasic", "FrmBasicSet"},
        {"mnuSetBook", "FrmSetBook"},
        {"meuHowToUse", "FrmHelp"},
        {"meuAbout", "FrmAbout"},
        {"mnuLendora", "FrmUpdateBook"},       // opened from the book list
        {"meuReaderSet", "FrmReaderHistory"},  // opened from the reader window
    };
    for (const auto &[languageName, language] :
         {std::pair{"中文", Language::Chinese}, std::pair{"English", Language::English}}) {
        for (const auto &[name, value] : styles) {
            for (const auto &[command, window] : windows)
                QTest::addRow("%s, %s, %s", languageName, name, qPrintable(window))
                    << language << value << command << window;
        }
    }
}

void TextFitTest::everyTextFits()
{
    QFETCH(Language, language);
    QFETCH(QByteArray, style);
    QFETCH(QString, command);
    QFETCH(QString, window);
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
    if (window == "FrmLogon") {
        QVERIFY(t.start());
    } else {
        t.login();
        if (QWidget *tips = t.window("FrmHelp"))
            tips->close();
        if (!command.isEmpty())
            t.trigger(command);
        if (window == "FrmUpdateBook") {
            auto *books = t.control<QTableView>("FrmLendora", "DataGrid1");
            books->setCurrentIndex(books->model()->index(0, 0));
            t.click("FrmLendora", "cmdModify");
        }
        if (window == "FrmReaderHistory") {
            t.type("FrmReader", "txtReaderNo", "R1");
            t.click("FrmReader", "Command1");
            t.click("FrmReader", "cmdHistory");
        }
    }
    QWidget *opened = t.window(window);
    QVERIFY2(opened, qPrintable(window));
    QCoreApplication::processEvents();
    QStringList cut = cutTexts(opened);
    // Every tab of the desk, not only the one in front.
    if (auto *tabs = opened->findChild<QTabWidget *>()) {
        for (int page = 1; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QCoreApplication::processEvents();
            cut << cutTexts(opened);
        }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1String("\n"))));
}

LENDORA_TEST_CLASS(TextFitTest)
#include "tst_textfit.moc"
