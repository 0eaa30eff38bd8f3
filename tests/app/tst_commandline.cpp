#include "TestMain.h"
#include "app/DeskCommandLine.h"
#include "base/Language.h"
#include "base/Version.h"

#include <QProcess>
#include <QtTest>

using lendora::DeskCommandLine;
using lendora::Language;
using lendora::Translations;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
};

void CommandLineTest::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<DeskCommandLine::Answer>("answer");
    using A = DeskCommandLine::Answer;
    QTest::newRow("nothing") << QStringList{} << A::Run;
    QTest::newRow("--version") << QStringList{"--version"} << A::Version;
    QTest::newRow("--help") << QStringList{"--help"} << A::Help;
    QTest::newRow("-h") << QStringList{"-h"} << A::Help;
    QTest::newRow("Qt's own options") << QStringList{"-platform", "offscreen"} << A::Run;
    QTest::newRow("after Qt's options")
        << QStringList{"-style", "fusion", "--version"} << A::Version;
    QTest::newRow("the first of the two") << QStringList{"--help", "--version"} << A::Help;
    QTest::newRow("the first of the two, reversed")
        << QStringList{"--version", "--help"} << A::Version;
    QTest::newRow("a longer word") << QStringList{"--versions"} << A::Run;
    QTest::newRow("no dashes") << QStringList{"version"} << A::Run;
}

void CommandLineTest::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(DeskCommandLine::Answer, answer);
    QCOMPARE(DeskCommandLine::parse(arguments), answer);
}

void CommandLineTest::answersWithoutADisplay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString version = "lendora " + lendora::GetVersionText() + "\n";
    const QString chinese = DeskCommandLine::helpText();
    QString english;
    {
        const Translations translations(Language::English, LENDORA_TRANSLATIONS_DIR);
        english = DeskCommandLine::helpText();
    }
    QTest::newRow("--version") << "--version"
                               << "C.UTF-8" << version;
    QTest::newRow("--version, English system") << "--version"
                                               << "en_US.UTF-8" << version;
    QTest::newRow("--help, C locale: Chinese") << "--help"
                                               << "C.UTF-8" << chinese;
    QTest::newRow("--help, Chinese system") << "--help"
                                            << "zh_CN.UTF-8" << chinese;
    QTest::newRow("--help, English system") << "--help"
                                            << "en_GB.UTF-8" << english;
}

void CommandLineTest::answersWithoutADisplay()
{
    QFETCH(QString, option);
    QFETCH(QString, locale);
    QFETCH(QString, expected);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name :
         {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LC_MESSAGES", "LANG"})
        environment.remove(name);
    environment.insert("LC_ALL", locale);
    QProcess desk;
    desk.setProcessEnvironment(environment);
    desk.start(LENDORA_DESK, {option});
    QVERIFY(desk.waitForFinished(120000));
    QCOMPARE(desk.exitStatus(), QProcess::NormalExit);
    QCOMPARE(desk.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(desk.readAllStandardOutput()), expected);
}

LENDORA_TEST_CLASS(CommandLineTest)
#include "tst_commandline.moc"
