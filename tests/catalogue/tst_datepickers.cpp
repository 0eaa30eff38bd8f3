#include "CatalogueSteps.h"
#include "TestMain.h"

#include <QDateEdit>
#include <QTabWidget>
#include <QtTest>

using namespace catalogue;

// Every date picker of the desk, worked from the keyboard: one Tab leaves it, the arrow keys
// step through its parts, digits stay in the part they are typed into.

namespace {

const QDate kToday(2026, 12, 7);

// Opens the window holding the picker, ready for the clerk's keys.
void openWindowOf(TestApp &t, const QString &window, const QString &picker)
{
    seedCategories(t, {{"I", "文学", 30}});
    seedBook(t, {"B1", "围城", "I", "人民文学出版社", "钱锺书", "28", "359", "2026-04-18", 0});
    t.login();
    if (window == "FrmAddnew") {
        t.trigger("meuAddNewBook");
    } else if (window == "FrmUpdateBook") {
        t.trigger("mnuLendora");
        clickRow(grid(t, "FrmLendora"), 0);
        t.click("FrmLendora", "cmdModify");
    } else if (window == "FrmBookQuery") {
        t.trigger("mnuBookQuery");
        t.click(window, "chkRigDate");  // the picker takes part once its box is ticked
    } else if (auto *tabs = t.control<QTabWidget>(window, "SSTab1")) {
        tabs->setCurrentIndex(picker == "dtpLendDate" ? 0 : 1);
        if (picker == "dtpLendDateChange") {
            // A reader found enables the renewal button after the picker.
            t.exec("insert into readerInfo values ('R1', '张伟', '男', '', '')");
            t.type(window, "txtReaderIDRenew", "R1");
            t.enter(window, "txtReaderIDRenew");
        }
    }
}

}  // namespace

class DatePickerTest : public QObject {
    Q_OBJECT

private slots:
    void oneTabLeaves_data();
    void oneTabLeaves();
    void keysStayInTheirPart_data();
    void keysStayInTheirPart();
};

void DatePickerTest::oneTabLeaves_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("book entry") << "FrmAddnew"
                                << "dtpRigDate"
                                << "txtWriter"
                                << "txtPage";
    QTest::newRow("book change") << "FrmUpdateBook"
                                 << "dtpRigDate"
                                 << "txtWriter"
                                 << "txtPage";
    QTest::newRow("book query") << "FrmBookQuery"
                                << "dtpRigDate"
                                << "chkRigDate"
                                << "chkMoHu";
    QTest::newRow("lending") << "Frmmain"
                             << "dtpLendDate"
                             << "txtBookID"
                             << "cmdLendBook";
    QTest::newRow("renewal") << "Frmmain"
                             << "dtpLendDateChange"
                             << "dtgrdLendBookRenew"
                             << "cmdOK";
}

void DatePickerTest::oneTabLeaves()
{
    QFETCH(QString, window);
    QFETCH(QString, picker);
    QFETCH(QString, before);
    QFETCH(QString, after);
    TestApp t(kToday);
    openWindowOf(t, window, picker);
    QWidget *w = t.window(window);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto *dates = t.control<QDateEdit>(window, picker);
    QVERIFY(dates);
    const QDate shown = dates->date();

    dates->setFocus(Qt::TabFocusReason);
    QCOMPARE(focusName(w), picker);
    QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
    QCOMPARE(focusName(w), after);

    dates->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focusName(w), before);

    dates->setFocus(Qt::BacktabFocusReason);
    QTest::keyClick(w->focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focusName(w), before);
    // Passing through changes nothing.
    QCOMPARE(dates->date(), shown);
}

void DatePickerTest::keysStayInTheirPart_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QTestEventList>("keys");  // after Tab took it in, its year selected
    QTest::addColumn<QDate>("date");

    const struct {
        const char *name;
        const char *window;
        const char *picker;
    } pickers[] = {
        {"book entry", "FrmAddnew", "dtpRigDate"},
        {"book change", "FrmUpdateBook", "dtpRigDate"},
        {"book query", "FrmBookQuery", "dtpRigDate"},
        {"lending", "Frmmain", "dtpLendDate"},
        {"renewal", "Frmmain", "dtpLendDateChange"},
    };
    for (const auto &p : pickers) {
        const auto row = [&](const char *what) -> QTestData & {
            return QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(p.name, what)))
                   << QString(p.window) << QString(p.picker);
        };
        row("more digits than the year holds") << keyScript("202511") << QDate(2025, 12, 7);
        row("every part by the arrows") << keyScript("2025>03>15") << QDate(2025, 3, 15);
        if (&p != &pickers[0])
            continue;  // the same filter serves every picker: the finer points once
        row("a month that does not fit") << keyScript(">45") << QDate(2026, 4, 7);
        row("back to the year") << keyScript(">>1<<2024") << QDate(2024, 12, 1);
        row("right stops at the day") << keyScript(">>>>^") << QDate(2026, 12, 8);
        row("left stops at the year") << keyScript("<<v") << QDate(2025, 12, 7);
        row("up and down change the part selected") << keyScript(">vv^") << QDate(2026, 11, 7);
    }
}

void DatePickerTest::keysStayInTheirPart()
{
    QFETCH(QString, window);
    QFETCH(QString, picker);
    QFETCH(QTestEventList, keys);
    QFETCH(QDate, date);
    TestApp t(kToday);
    openWindowOf(t, window, picker);
    QWidget *w = t.window(window);
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    auto *dates = t.control<QDateEdit>(window, picker);
    QVERIFY(dates);
    dates->setDate(kToday);

    dates->setFocus(Qt::TabFocusReason);
    keys.simulate(dates);
    QCOMPARE(focusName(w), picker);
    QTest::keyClick(dates, Qt::Key_Tab);
    QVERIFY(focusName(w) != picker);
    QCOMPARE(dates->date(), date);
}

LENDORA_TEST_CLASS(DatePickerTest)
#include "tst_datepickers.moc"
