#include "TestApp.h"
#include "core/settings/LibraryRules.h"
#include "core/settings/PaperSettings.h"
#include "gui/widgets/Texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTabWidget>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString kWin = QStringLiteral("FrmBasicSet");

void setRules(TestApp &t, const QVariant &limit, const QVariant &fine)
{
    t.exec("delete from basicSet");
    t.exec("insert into basicSet values (?, ?)", {limit, fine});
}

QVariant nullInt()
{
    return QVariant(QMetaType(QMetaType::Int));
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void showsStoredRules_data();
    void showsStoredRules();
    void savedRulesAreReadNext_data();
    void savedRulesAreReadNext();
    void refusesBadValues_data();
    void refusesBadValues();
    void closeSavesNothing();
    void missingRowIsMade();
    void onlyTheFirstRowIsWritten();
    void keepsItsSize();
    void printSettingsWrittenWhenChanged_data();
    void printSettingsWrittenWhenChanged();
    void printSettingsRefusedFile();
    void printersChosen_data();
    void printersChosen();
};

void SettingsTest::showsStoredRules_data()
{
    QTest::addColumn<QVariant>("limit");
    QTest::addColumn<QVariant>("fine");
    QTest::addColumn<QString>("limitText");
    QTest::addColumn<QString>("fineText");
    QTest::newRow("shipped") << QVariant(5) << QVariant(0.1) << "5"
                             << "0.1";
    QTest::newRow("quarter") << QVariant(7) << QVariant(0.25) << "7"
                             << "0.25";
    QTest::newRow("whole fine") << QVariant(0) << QVariant(2.0) << "0"
                                << "2";
    QTest::newRow("empty values") << nullInt() << QVariant(QMetaType(QMetaType::Double)) << ""
                                  << "";
}

void SettingsTest::showsStoredRules()
{
    QFETCH(QVariant, limit);
    QFETCH(QVariant, fine);
    QFETCH(QString, limitText);
    QFETCH(QString, fineText);
    TestApp t;
    setRules(t, limit, fine);
    t.login();
    t.trigger("mnuSetBasic");
    QVERIFY(t.window(kWin));
    QCOMPARE(t.text(kWin, kWin), QString::fromUtf8("基本设置"));
    auto *tabs = t.control<QTabWidget>(kWin, "SSTab1");
    QCOMPARE(tabs->tabText(0), QString::fromUtf8("最大借出册数设置"));
    QCOMPARE(tabs->tabText(1), QString::fromUtf8("罚款条件设置"));
    QCOMPARE(t.text(kWin, "txtBook"), limitText);
    QCOMPARE(t.text(kWin, "txtFakuan"), fineText);
}

void SettingsTest::savedRulesAreReadNext_data()
{
    QTest::addColumn<QString>("limitText");
    QTest::addColumn<QString>("fineText");
    QTest::addColumn<int>("limit");
    QTest::addColumn<double>("fine");
    QTest::newRow("three and a half") << "3"
                                      << "0.5" << 3 << 0.5;
    QTest::newRow("blanks around") << " 4 "
                                   << "1 " << 4 << 1.0;
    QTest::newRow("zeros") << "0"
                           << "0" << 0 << 0.0;
    QTest::newRow("whole written as decimal") << "12.0"
                                              << "2.50" << 12 << 2.5;
    QTest::newRow("top of range") << "32767"
                                  << "1000" << 32767 << 1000.0;
}

void SettingsTest::savedRulesAreReadNext()
{
    QFETCH(QString, limitText);
    QFETCH(QString, fineText);
    QFETCH(int, limit);
    QFETCH(double, fine);
    TestApp t;
    t.login();
    t.trigger("mnuSetBasic");
    t.type(kWin, "txtBook", limitText);
    t.type(kWin, "txtFakuan", fineText);
    t.click(kWin, "cmdSave");

    QCOMPARE(t.prompter().texts(), QStringList({"设置完毕!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QVERIFY(t.window(kWin));
    // The next lookup of the rules, as the circulation tabs make it, sees the change.
    const std::optional<Rules> rules = LibraryRules(t.app().database()).read();
    QVERIFY(rules);
    QVERIFY(rules->hasLimit() && rules->hasFine());
    QCOMPARE(rules->bookLimit, limit);
    QCOMPARE(rules->finePerDay, fine);
    QCOMPARE(t.scalar("select count(*) from basicSet").toInt(), 1);
}

void SettingsTest::refusesBadValues_data()
{
    QTest::addColumn<QString>("limitText");
    QTest::addColumn<QString>("fineText");
    QTest::newRow("empty limit") << ""
                                 << "0.5";
    QTest::newRow("blank limit") << " "
                                 << "0.5";
    QTest::newRow("text limit") << "abc"
                                << "0.5";
    QTest::newRow("number then text") << "3本"
                                      << "0.5";
    QTest::newRow("negative limit") << "-1"
                                    << "0.5";
    QTest::newRow("fractional limit") << "2.5"
                                      << "0.5";
    QTest::newRow("limit out of range") << "32768"
                                        << "0.5";
    QTest::newRow("empty fine") << "3"
                                << "";
    QTest::newRow("text fine") << "3"
                               << "一毛";
    QTest::newRow("negative fine") << "3"
                                   << "-0.1";
    QTest::newRow("fine with comma") << "3"
                                     << "0,5";
    QTest::newRow("infinite fine") << "3"
                                   << "inf";
}

void SettingsTest::refusesBadValues()
{
    QFETCH(QString, limitText);
    QFETCH(QString, fineText);
    TestApp t;
    t.login();
    t.trigger("mnuSetBasic");
    t.type(kWin, "txtBook", limitText);
    t.type(kWin, "txtFakuan", fineText);
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"输入的数值不正确,设置未保存!"}));
    QCOMPARE(t.prompter().shown().at(0).prompt.title, hintTitle());
    QCOMPARE(t.scalar("select 借出册数 from basicSet").toInt(), 5);
    QCOMPARE(t.scalar("select 罚款 from basicSet").toDouble(), 0.1);
    // The boxes keep what the clerk typed.
    QCOMPARE(t.text(kWin, "txtBook"), limitText);
    QCOMPARE(t.text(kWin, "txtFakuan"), fineText);
}

void SettingsTest::closeSavesNothing()
{
    TestApp t;
    t.login();
    t.trigger("mnuSetBasic");
    t.type(kWin, "txtBook", "9");
    t.click(kWin, "Command2");
    QVERIFY(!t.window(kWin));
    QCOMPARE(t.scalar("select 借出册数 from basicSet").toInt(), 5);
    QVERIFY(t.prompter().shown().isEmpty());
    // Opening again reloads the stored values.
    t.trigger("mnuSetBasic");
    QCOMPARE(t.text(kWin, "txtBook"), QStringLiteral("5"));
}

void SettingsTest::missingRowIsMade()
{
    TestApp t;
    t.exec("delete from basicSet");
    t.login();
    t.trigger("mnuSetBasic");
    QCOMPARE(t.text(kWin, "txtBook"), QString());
    QCOMPARE(t.text(kWin, "txtFakuan"), QString());
    t.type(kWin, "txtBook", "3");
    t.type(kWin, "txtFakuan", "0.5");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"设置完毕!"}));
    QCOMPARE(t.scalar("select count(*) from basicSet").toInt(), 1);
    QCOMPARE(t.scalar("select 借出册数 from basicSet").toInt(), 3);
    QCOMPARE(t.scalar("select 罚款 from basicSet").toDouble(), 0.5);
}

void SettingsTest::onlyTheFirstRowIsWritten()
{
    TestApp t;
    t.exec("insert into basicSet values (9, 9)");  // a second row from elsewhere
    t.login();
    t.trigger("mnuSetBasic");
    QCOMPARE(t.text(kWin, "txtBook"), QStringLiteral("5"));
    t.type(kWin, "txtBook", "3");
    t.type(kWin, "txtFakuan", "0.5");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"设置完毕!"}));
    QSqlQuery rows(t.db());
    QVERIFY(rows.exec("select 借出册数, 罚款 from basicSet order by rowid"));
    QVERIFY(rows.next());
    QCOMPARE(rows.value(0).toInt(), 3);
    QCOMPARE(rows.value(1).toDouble(), 0.5);
    QVERIFY(rows.next());
    QCOMPARE(rows.value(0).toInt(), 9);
    QCOMPARE(rows.value(1).toDouble(), 9.0);
}

void SettingsTest::keepsItsSize()
{
    TestApp t;
    t.login();
    t.trigger("mnuSetBasic");
    QWidget *window = t.window(kWin);
    const QSize outer = window->frameGeometry().size();
    QCOMPARE(outer, QSize(386, 331));
    window->resize(600, 500);
    QCOMPARE(window->frameGeometry().size(), outer);
    const QSize needed = window->layout()->minimumSize();
    QVERIFY(needed.width() <= window->width() && needed.height() <= window->height());
}

void SettingsTest::printSettingsWrittenWhenChanged_data()
{
    QTest::addColumn<QByteArray>("before");  // setting.ini as the clerk left it; "-": none
    QTest::addColumn<QString>("name");       // typed into 图书馆名称; "-": left alone
    QTest::addColumn<int>("paper");          // -1: left alone
    QTest::addColumn<int>("lendTick");       // -1: left alone, else 0 or 1
    QTest::addColumn<QByteArray>("after");   // "-": no file

    const QByteArray kept = "; the desk's own settings\r\nLoadStyle=2\r\n\r\nOther=x\r\n";
    QTest::newRow("nothing changed, no file")
        << QByteArray("-") << "-" << -1 << -1 << QByteArray("-");
    QTest::newRow("nothing changed, lines kept") << kept << "-" << -1 << -1 << kept;
    QTest::newRow("the name, added at the end")
        << kept << "城东区图书馆" << -1 << -1 << kept + "LibraryName=城东区图书馆\r\n";
    QTest::newRow("the name replaced in place")
        << QByteArray("LibraryName=旧馆\r\nLoadStyle=1\r\n") << "  新馆 " << -1 << -1
        << QByteArray("LibraryName=新馆\r\nLoadStyle=1\r\n");
    QTest::newRow("an emptied name is the default")
        << QByteArray("LibraryName=旧馆\r\n") << "" << -1 << -1
        << QByteArray("LibraryName=图书馆\r\n");
    QTest::newRow("the default typed, no file")
        << QByteArray("-") << "图书馆" << -1 << -1 << QByteArray("-");
    QTest::newRow("paper and tick")
        << QByteArray("-") << "-" << 1 << 1 << QByteArray("ReceiptPaper=A5\r\nLendReceipt=1\r\n");
    QTest::newRow("a tick cleared")
        << QByteArray("LendReceipt=1\r\nReceiptPaper=a5\r\n") << "-" << -1 << 0
        << QByteArray("LendReceipt=0\r\nReceiptPaper=a5\r\n");
    QTest::newRow("an unreadable value is the default, kept until changed")
        << QByteArray("LendReceipt=yes\r\n") << "-" << -1 << -1
        << QByteArray("LendReceipt=yes\r\n");
}

void SettingsTest::printSettingsWrittenWhenChanged()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, name);
    QFETCH(int, paper);
    QFETCH(int, lendTick);
    QFETCH(QByteArray, after);
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("setting.ini");
    if (before != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    t.login();
    t.trigger("mnuSetBasic");
    if (name != "-")
        t.type(kWin, "txtLibraryName", name);
    if (paper >= 0)
        t.control<QComboBox>(kWin, "cboPaper")->setCurrentIndex(paper);
    if (lendTick >= 0)
        t.control<QCheckBox>(kWin, "chkLendReceipt")->setChecked(lendTick == 1);
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"设置完毕!"}));
    QFile file(path);
    if (after == "-") {
        QVERIFY(!file.exists());
        return;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
    file.close();

    // Read back as the desk reads it when printing.
    const PaperSettings read = PaperSettings::load(DeskSettings(path));
    QCOMPARE(read.libraryName, t.text(kWin, "txtLibraryName"));
    QCOMPARE(int(read.receiptPaper), t.control<QComboBox>(kWin, "cboPaper")->currentIndex());
    QCOMPARE(read.receiptAfterLend, t.control<QCheckBox>(kWin, "chkLendReceipt")->isChecked());
}

void SettingsTest::printSettingsRefusedFile()
{
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("setting.ini");
    // A folder where the file should be: nothing can replace it.
    QVERIFY(QDir(t.appDir()).mkdir("setting.ini"));
    t.login();
    t.trigger("mnuSetBasic");
    t.type(kWin, "txtLibraryName", "城东区图书馆");
    t.type(kWin, "txtBook", "7");
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"设置文件 setting.ini 无法写入,打印设置未保存!"}));
    QVERIFY(QFileInfo(path).isDir());
    // The rules are in the database, which took them.
    QCOMPARE(t.scalar("select 借出册数 from basicSet").toInt(), 7);
}

void SettingsTest::printersChosen_data()
{
    QTest::addColumn<QByteArray>("before");  // setting.ini as the clerk left it; "-": none
    QTest::addColumn<QStringList>("shown");  // the receipt list's entries as it opens
    QTest::addColumn<QString>("receipt");    // chosen for receipts; "-": left alone
    QTest::addColumn<QString>("page");       // chosen for A4; "-": left alone
    QTest::addColumn<QByteArray>("after");   // "-": no file
    const QStringList queues = {"(每次询问)", "Roll", "Laser"};
    QTest::newRow("none chosen, none changed") << QByteArray("-") << queues << "-"
                                               << "-" << QByteArray("-");
    QTest::newRow("a printer for receipts and one for A4")
        << QByteArray("LoadStyle=2\r\n") << queues << "Roll"
        << "Laser" << QByteArray("LoadStyle=2\r\nReceiptPrinter=Roll\r\nPagePrinter=Laser\r\n");
    QTest::newRow("back to asking")
        << QByteArray("ReceiptPrinter=Roll\r\nLabelStock=a4-2x7\r\n") << queues << ""
        << "-" << QByteArray("ReceiptPrinter=\r\nLabelStock=a4-2x7\r\n");
    // A printer that is gone stays chosen, and said to be gone, until another is chosen.
    QTest::newRow("a gone printer kept")
        << QByteArray("ReceiptPrinter=Old\r\n") << (queues + QStringList{"Old(现在找不到)"}) << "-"
        << "-" << QByteArray("ReceiptPrinter=Old\r\n");
    QTest::newRow("a gone printer replaced") << QByteArray("ReceiptPrinter=Old\r\n")
                                             << (queues + QStringList{"Old(现在找不到)"}) << "Roll"
                                             << "-" << QByteArray("ReceiptPrinter=Roll\r\n");
}

void SettingsTest::printersChosen()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, shown);
    QFETCH(QString, receipt);
    QFETCH(QString, page);
    QFETCH(QByteArray, after);
    TestApp t;
    t.printer().queues = {"Roll", "Laser"};
    const QString path = QDir(t.appDir()).filePath("setting.ini");
    if (before != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    t.login();
    t.trigger("mnuSetBasic");
    auto *receipts = t.control<QComboBox>(kWin, "cboReceiptPrinter");
    QStringList entries;
    for (int i = 0; i < receipts->count(); ++i)
        entries << receipts->itemText(i);
    QCOMPARE(entries, shown);
    for (const char *name : {"cboLabelPrinter", "cboCardPrinter", "cboPagePrinter"})
        QCOMPARE(t.control<QComboBox>(kWin, name)->currentText(), QStringLiteral("(每次询问)"));
    const auto choose = [&](const char *list, const QString &queue) {
        auto *box = t.control<QComboBox>(kWin, list);
        box->setCurrentIndex(box->findData(queue));
        QCOMPARE(box->currentData().toString(), queue);
    };
    if (receipt != "-")
        choose("cboReceiptPrinter", receipt);
    if (page != "-")
        choose("cboPagePrinter", page);
    t.click(kWin, "cmdSave");
    QCOMPARE(t.prompter().texts(), QStringList({"设置完毕!"}));
    QFile file(path);
    if (after == "-") {
        QVERIFY(!file.exists());
        return;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
