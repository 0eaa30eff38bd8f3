#include "TestApp.h"
#include "TestMain.h"
#include "base/PrivateProfile.h"
#include "gui/tips/TipsWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace lendora;
using lendora::testkit::ScriptedPrompter;
using lendora::testkit::TestApp;

namespace {
QString tipsPath(const TestApp &t)
{
    return QDir(t.appDir()).filePath("QUICKTIP.INI");
}

void writeTips(const TestApp &t, const QByteArray &content)
{
    QFile file(tipsPath(t));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray readTips(const TestApp &t)
{
    QFile file(tipsPath(t));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString current(const TestApp &t)
{
    return PrivateProfile::read(tipsPath(t), "TIP", "CURRENT").value_or("<missing>");
}

QString shownTip(const TestApp &t)
{
    return t.text("FrmHelp", "tip_text");
}

// A closed window goes once control is back in the event loop; tests get there at once.
void closeTips(const TestApp &t)
{
    if (QWidget *open = t.window("FrmHelp"))
        open->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool startTicked(const TestApp &t)
{
    auto *box = t.control<QCheckBox>("FrmHelp", "show_tip");
    return box && box->isChecked();
}

// Logs in (closing the tips window that start-up may open), puts the tips file in place (none
// when empty) and opens the tips window from the menu, as the clerk does.
void openTips(TestApp &t, const QByteArray &file = {})
{
    t.login();
    closeTips(t);
    if (file.isEmpty())
        QFile::remove(tipsPath(t));
    else
        writeTips(t, file);
    t.prompter().clear();
    t.trigger("meuHowToUse");
}

const QByteArray kThreeTips = "[TIP]\r\nSTART=F\r\nCURRENT=1\r\n1=one\r\n2=two\r\n3=three\r\n";
}  // namespace

class TipsTest : public QObject {
    Q_OBJECT

private slots:
    void windowTexts();
    void rotation_data();
    void rotation();
    void nextTwiceAdvancesTwice();
    void rememberedAcrossOpenings();
    void editedFileKeepsEveryOtherLine();
    void exitSavesStartChoice_data();
    void exitSavesStartChoice();
    void closeBoxLeavesStartAlone();
    void failedWriteIsReported();
    void startUpOpensTips_data();
    void startUpOpensTips();
    void shippedTips();
};

void TipsTest::windowTexts()
{
    TestApp t;
    openTips(t, kThreeTips);
    QWidget *help = t.window("FrmHelp");
    QVERIFY(help);
    QCOMPARE(help->windowTitle(), QStringLiteral("每日小技巧"));
    QCOMPARE(t.text("FrmHelp", "SkinLabel1"), QStringLiteral("你知道吗？"));
    QCOMPARE(t.text("FrmHelp", "Label1"), QString());
    QCOMPARE(t.text("FrmHelp", "show_tip"), QStringLiteral("启动时显示"));
    auto *next = t.control<QPushButton>("FrmHelp", "Next_Tip_Button");
    auto *exit = t.control<QPushButton>("FrmHelp", "Quick_Tip_OK_Button");
    QVERIFY(next && exit);
    QCOMPARE(next->text(), QStringLiteral("下一个(&N)"));
    QCOMPARE(next->toolTip(), QStringLiteral("显示下一条帮助信息"));
    QCOMPARE(exit->text(), QStringLiteral("退出(&X)"));
    QCOMPARE(exit->toolTip(), QStringLiteral("退出帮助系统"));
    QVERIFY(t.control<QLabel>("FrmHelp", "Picture1"));

    // One instance: the menu brings the open window forward without showing a new tip.
    const QString tip = shownTip(t);
    t.trigger("meuHowToUse");
    QCOMPARE(shownTip(t), tip);
}

void TipsTest::rotation_data()
{
    QTest::addColumn<QByteArray>("file");  // empty: no tips file at all
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("next");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QStringList>("prompts");
    const QStringList none;
    QTest::newRow("CURRENT=3 of 3")
        << QByteArray("[TIP]\r\nSTART=T\r\nCURRENT=3\r\n1=a\r\n2=b\r\n3=c\r\n") << "c"
        << "1" << true << none;
    QTest::newRow("CURRENT=2 without 3")
        << QByteArray("[TIP]\r\nSTART=T\r\nCURRENT=2\r\n1=a\r\n2=b\r\n") << "b"
        << "1" << true << none;
    QTest::newRow("lower-case t") << QByteArray("[TIP]\r\nSTART=t\r\nCURRENT=1\r\n1=a\r\n2=b\r\n")
                                  << "a"
                                  << "2" << false << none;
    QTest::newRow("T with blanks")
        << QByteArray("[TIP]\r\nSTART= T \r\nCURRENT=1\r\n1=a\r\n") << "a"
        << "1" << true << none;
    QTest::newRow("F") << QByteArray("[TIP]\r\nSTART=F\r\nCURRENT=1\r\n1=a\r\n2=b\r\n") << "a"
                       << "2" << false << none;
    QTest::newRow("missing file") << QByteArray() << "unknown"
                                  << "1" << false << none;
    QTest::newRow("CURRENT missing") << QByteArray("[TIP]\r\nSTART=F\r\n1=a\r\n") << "unknown"
                                     << "1" << false << none;
    QTest::newRow("CURRENT empty")
        << QByteArray("[TIP]\r\nSTART=F\r\nCURRENT=\r\n1=a\r\n") << "unknown"
        << "1" << false << QStringList{"非法条目> TIP/CURRENT"};
    QTest::newRow("START empty") << QByteArray("[TIP]\r\nSTART=\r\nCURRENT=1\r\n1=a\r\n2=b\r\n")
                                 << "a"
                                 << "2" << false << QStringList{"非法条目> TIP/START"};
    QTest::newRow("CURRENT not a number")
        << QByteArray("[TIP]\r\nCURRENT=abc\r\n1=a\r\n") << "unknown"
        << "1" << false << none;
    QTest::newRow("CURRENT past the last tip")
        << QByteArray("[TIP]\r\nCURRENT=7\r\n1=a\r\n") << "unknown"
        << "1" << false << none;
    QTest::newRow("a tip reading unknown counts as missing")
        << QByteArray("[TIP]\r\nCURRENT=1\r\n1=a\r\n2=unknown\r\n3=c\r\n") << "a"
        << "1" << false << none;
    QTest::newRow("names in lower case")
        << QByteArray("[tip]\r\nstart=T\r\ncurrent=2\r\n1=a\r\n2=b\r\n") << "b"
        << "1" << true << none;
}

void TipsTest::rotation()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, tip);
    QFETCH(QString, next);
    QFETCH(bool, ticked);
    QFETCH(QStringList, prompts);
    TestApp t;
    openTips(t, file);
    QVERIFY(t.window("FrmHelp"));
    QCOMPARE(shownTip(t), "\n" + tip);
    QCOMPARE(current(t), next);
    QCOMPARE(startTicked(t), ticked);
    QCOMPARE(t.prompter().texts(), prompts);
    for (const auto &shown : t.prompter().shown()) {
        QCOMPARE(shown.prompt.title, QStringLiteral("找不到所需字段"));
        QCOMPARE(shown.prompt.icon, Icon::Error);
        QCOMPARE(shown.prompt.buttons, Buttons::Ok);
    }
    if (file.isEmpty())
        QCOMPARE(readTips(t), QByteArray("[TIP]\r\nCURRENT=1\r\n"));
}

void TipsTest::nextTwiceAdvancesTwice()
{
    TestApp t;
    openTips(t, kThreeTips);
    QCOMPARE(shownTip(t), QStringLiteral("\none"));
    QCOMPARE(current(t), QStringLiteral("2"));
    t.click("FrmHelp", "Next_Tip_Button");
    QCOMPARE(shownTip(t), QStringLiteral("\ntwo"));
    QCOMPARE(current(t), QStringLiteral("3"));
    t.click("FrmHelp", "Next_Tip_Button");
    QCOMPARE(shownTip(t), QStringLiteral("\nthree"));
    QCOMPARE(current(t), QStringLiteral("1"));
    t.click("FrmHelp", "Next_Tip_Button");
    QCOMPARE(shownTip(t), QStringLiteral("\none"));
    QVERIFY(t.prompter().shown().isEmpty());
}

void TipsTest::rememberedAcrossOpenings()
{
    TestApp t;
    openTips(t, kThreeTips);
    QCOMPARE(shownTip(t), QStringLiteral("\none"));
    t.click("FrmHelp", "Quick_Tip_OK_Button");
    QVERIFY(!t.window("FrmHelp"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    t.trigger("meuHowToUse");
    QCOMPARE(shownTip(t), QStringLiteral("\ntwo"));
}

void TipsTest::editedFileKeepsEveryOtherLine()
{
    const QByteArray before = QStringLiteral("; 每日小技巧,由图书馆自己编写\r\n"
                                             "[TIP]\r\n"
                                             "; 下一条要显示的编号\r\n"
                                             "Current = 2\r\n"
                                             "START=F\r\n"
                                             "\r\n"
                                             "1=借书时先扫读者证\r\n"
                                             "2=还书后罚款自动算好\r\n"
                                             "\r\n"
                                             "[馆内]\r\n"
                                             "电话=1234\r\n")
                                  .toUtf8();
    TestApp t;
    openTips(t, before);
    QCOMPARE(shownTip(t), QStringLiteral("\n还书后罚款自动算好"));
    QByteArray after = before;
    after.replace("Current = 2\r\n", "Current=1\r\n");
    QCOMPARE(readTips(t), after);
}

void TipsTest::exitSavesStartChoice_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("start");
    QTest::newRow("ticked") << true << "T";
    QTest::newRow("unticked") << false << "F";
}

void TipsTest::exitSavesStartChoice()
{
    QFETCH(bool, tick);
    QFETCH(QString, start);
    TestApp t;
    openTips(t, tick ? kThreeTips : QByteArray(kThreeTips).replace("START=F", "START=T"));
    QCOMPARE(startTicked(t), !tick);
    t.click("FrmHelp", "show_tip");
    QCOMPARE(startTicked(t), tick);
    t.click("FrmHelp", "Quick_Tip_OK_Button");
    QVERIFY(!t.window("FrmHelp"));
    QCOMPARE(PrivateProfile::read(tipsPath(t), "TIP", "START").value_or(""), start);
}

void TipsTest::closeBoxLeavesStartAlone()
{
    TestApp t;
    openTips(t, kThreeTips);
    t.click("FrmHelp", "show_tip");
    QVERIFY(t.window("FrmHelp")->close());
    QCOMPARE(PrivateProfile::read(tipsPath(t), "TIP", "START").value_or(""), QStringLiteral("F"));
}

void TipsTest::failedWriteIsReported()
{
    TestApp t;
    t.login();
    closeTips(t);
    writeTips(t, kThreeTips);
    QVERIFY(QFile::setPermissions(tipsPath(t), QFileDevice::ReadOwner | QFileDevice::ReadUser));
    t.prompter().clear();
    t.trigger("meuHowToUse");
    QCOMPARE(shownTip(t), QStringLiteral("\none"));
    QCOMPARE(t.prompter().texts(), QStringList{"非法条目> TIP/CURRENT"});
    QCOMPARE(t.prompter().shown().first().prompt.title, QStringLiteral("读取时出错"));
    QCOMPARE(t.prompter().shown().first().prompt.icon, Icon::Error);
    QCOMPARE(readTips(t), kThreeTips);
    // The window stays usable.
    t.click("FrmHelp", "Next_Tip_Button");
    QCOMPARE(shownTip(t), QStringLiteral("\none"));
    QCOMPARE(t.prompter().shown().size(), 2);
}

void TipsTest::startUpOpensTips_data()
{
    QTest::addColumn<QByteArray>("start");  // the START line; empty: no tips file
    QTest::addColumn<bool>("opens");
    QTest::newRow("T") << QByteArray("START=T") << true;
    QTest::newRow("T with blanks") << QByteArray("START = T ") << true;
    QTest::newRow("F") << QByteArray("START=F") << false;
    QTest::newRow("lower-case t") << QByteArray("START=t") << false;
    QTest::newRow("no START") << QByteArray("; none") << false;
    QTest::newRow("no tips file") << QByteArray() << false;
}

void TipsTest::startUpOpensTips()
{
    QFETCH(QByteArray, start);
    QFETCH(bool, opens);
    TestApp t;
    if (start.isEmpty())
        QVERIFY(QFile::remove(tipsPath(t)));
    else
        writeTips(t, "[TIP]\r\n" + start + "\r\nCURRENT=2\r\n1=a\r\n2=b\r\n");
    QVERIFY(t.start());
    QVERIFY(!t.window("FrmHelp"));  // not before the login
    t.login();
    QVERIFY(t.window("Frmmain"));
    QCOMPARE(t.window("FrmHelp") != nullptr, opens);
    if (opens) {
        QCOMPARE(shownTip(t), QStringLiteral("\nb"));
        // Left open behind the main window, which the clerk works in.
        QCOMPARE(QApplication::activeWindow(), t.window("Frmmain"));
    }
    QVERIFY(t.prompter().shown().isEmpty());
}

void TipsTest::shippedTips()
{
    TestApp t;
    const QString path = tipsPath(t);
    QCOMPARE(PrivateProfile::read(path, "TIP", "START").value_or(""), QStringLiteral("T"));
    QCOMPARE(PrivateProfile::read(path, "TIP", "CURRENT").value_or(""), QStringLiteral("1"));
    int count = 0;
    while (const auto tip = PrivateProfile::read(path, "TIP", QString::number(count + 1))) {
        ++count;
        QVERIFY2(tip->size() >= 20, qPrintable(QString::number(count)));
        QVERIFY(tip->toUtf8().size() <= PrivateProfile::kMaxValueBytes);
        QVERIFY(std::any_of(tip->cbegin(), tip->cend(),
                            [](QChar c) { return c.script() == QChar::Script_Han; }));
    }
    QVERIFY(count >= 12);

    // The first login shows tip 1; pressing on shows every tip once, then tip 1 again.
    t.login();
    QVERIFY(t.window("FrmHelp"));
    QCOMPARE(shownTip(t), "\n" + *PrivateProfile::read(path, "TIP", "1"));
    for (int i = 2; i <= count; ++i) {
        t.click("FrmHelp", "Next_Tip_Button");
        QCOMPARE(shownTip(t), "\n" + *PrivateProfile::read(path, "TIP", QString::number(i)));
    }
    t.click("FrmHelp", "Next_Tip_Button");
    QCOMPARE(shownTip(t), "\n" + *PrivateProfile::read(path, "TIP", "1"));
    QVERIFY(t.prompter().shown().isEmpty());
}

LENDORA_TEST_CLASS(TipsTest)
#include "tst_tips.moc"
