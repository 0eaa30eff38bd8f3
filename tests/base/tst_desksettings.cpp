#include "TestMain.h"
#include "base/DeskSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using lendora::DeskSettings;
using lendora::Language;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// One setting as text, whatever its type, so one table covers every key.
QString read(const DeskSettings &settings, const QString &setting)
{
    if (setting == "style") {
        const auto style = settings.windowStyle();
        return style ? QString::number(int(*style)) : QStringLiteral("bad");
    }
    if (setting == "language")
        return settings.language() == Language::English ? "en" : "zh";
    if (setting == "database")
        return settings.database();
    if (setting == "keep")
        return QString::number(settings.backupKeep());
    if (setting == "library")
        return settings.libraryName();
    if (setting == "paper")
        return settings.receiptPaper() == DeskSettings::ReceiptPaper::A5 ? "A5" : "roll";
    if (setting == "lend")
        return settings.receiptAfterLend() ? "yes" : "no";
    if (setting == "return")
        return settings.receiptAfterReturn() ? "yes" : "no";
    if (setting == "labels")
        return settings.printerFor(lendora::PrinterKind::Label);
    if (setting == "pages")
        return settings.printerFor(lendora::PrinterKind::Page);
    if (setting == "stock")
        return settings.labelStock();
    return "<unknown setting " + setting + ">";
}

// Sets one setting from the same text read() gives.
bool write(const DeskSettings &settings, const QString &setting, const QString &value)
{
    if (setting == "style")
        return settings.setWindowStyle(DeskSettings::WindowStyle(value.toInt()));
    if (setting == "language")
        return settings.setLanguage(value == "en" ? Language::English : Language::Chinese);
    if (setting == "database")
        return settings.setDatabase(value);
    if (setting == "keep")
        return settings.setBackupKeep(value.toInt());
    if (setting == "library")
        return settings.setLibraryName(value);
    if (setting == "paper")
        return settings.setReceiptPaper(value == "A5" ? DeskSettings::ReceiptPaper::A5
                                                      : DeskSettings::ReceiptPaper::Roll80mm);
    if (setting == "lend")
        return settings.setReceiptAfterLend(value == "yes");
    if (setting == "return")
        return settings.setReceiptAfterReturn(value == "yes");
    if (setting == "labels")
        return settings.setPrinterFor(lendora::PrinterKind::Label, value);
    if (setting == "pages")
        return settings.setPrinterFor(lendora::PrinterKind::Page, value);
    if (setting == "stock")
        return settings.setLabelStock(value);
    return false;
}

const QByteArray kAround = "; the desk's own settings\r\nOther=x\r\n";

}  // namespace

class DeskSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void writesOneLine_data();
    void writesOneLine();
    void readOnlyFileKeepsItsLines();
};

void DeskSettingsTest::reads_data()
{
    QTest::addColumn<QByteArray>("file");  // "-": no file at all
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("value");

    const struct {
        const char *setting, *value;
    } defaults[] = {{"style", "0"},        {"language", "zh"}, {"database", ""}, {"keep", "30"},
                    {"library", "图书馆"}, {"paper", "roll"},  {"lend", "no"},   {"return", "no"},
                    {"labels", ""},        {"stock", ""}};
    for (const auto &d : defaults)
        QTest::addRow("no file, %s", d.setting) << QByteArray("-") << d.setting << d.value;

    QTest::newRow("style 2.0") << QByteArray("LoadStyle=2.0\r\n") << "style"
                               << "2";
    QTest::newRow("style with words after") << QByteArray("LoadStyle=1abc\r\n") << "style"
                                            << "1";
    QTest::newRow("style blank") << QByteArray("LoadStyle=\r\n") << "style"
                                 << "0";
    QTest::newRow("style 3") << QByteArray("LoadStyle=3\r\n") << "style"
                             << "bad";
    QTest::newRow("style 1.5") << QByteArray("LoadStyle=1.5\r\n") << "style"
                               << "bad";
    QTest::newRow("language en") << QByteArray("Language=en\r\n") << "language"
                                 << "en";
    QTest::newRow("language unknown") << QByteArray("Language=fr\r\n") << "language"
                                      << "zh";
    QTest::newRow("database trimmed")
        << QByteArray("Database= postgresql://desk@db/lib \r\n") << "database"
        << "postgresql://desk@db/lib";
    QTest::newRow("keep 7") << QByteArray("BackupKeep= 7\r\n") << "keep"
                            << "7";
    QTest::newRow("keep 999") << QByteArray("BackupKeep=999\r\n") << "keep"
                              << "999";
    QTest::newRow("keep 0") << QByteArray("BackupKeep=0\r\n") << "keep"
                            << "30";
    QTest::newRow("keep 1000") << QByteArray("BackupKeep=1000\r\n") << "keep"
                               << "30";
    QTest::newRow("keep not a number") << QByteArray("BackupKeep=7x\r\n") << "keep"
                                       << "30";
    QTest::newRow("library trimmed") << QByteArray("LibraryName= 城东分馆 \r\n") << "library"
                                     << "城东分馆";
    QTest::newRow("library blank") << QByteArray("LibraryName=  \r\n") << "library"
                                   << "图书馆";
    QTest::newRow("paper a5") << QByteArray("ReceiptPaper=a5\r\n") << "paper"
                              << "A5";
    QTest::newRow("paper A4") << QByteArray("ReceiptPaper=A4\r\n") << "paper"
                              << "roll";
    QTest::newRow("lend 1") << QByteArray("LendReceipt=1\r\n") << "lend"
                            << "yes";
    QTest::newRow("lend yes") << QByteArray("LendReceipt=yes\r\n") << "lend"
                              << "no";
    QTest::newRow("return 1, lend unset") << QByteArray("ReturnReceipt= 1\r\n") << "return"
                                          << "yes";
    QTest::newRow("the other receipt's key") << QByteArray("ReturnReceipt=1\r\n") << "lend"
                                             << "no";
    QTest::newRow("label printer trimmed")
        << QByteArray("LabelPrinter= Roll labels \r\nPagePrinter=Laser\r\n") << "labels"
        << "Roll labels";
    QTest::newRow("another paper's printer") << QByteArray("LabelPrinter=Roll\r\n") << "pages"
                                             << "";
}

void DeskSettingsTest::reads()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, setting);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const DeskSettings settings = DeskSettings::inFolder(dir.path());
    QCOMPARE(settings.path(), dir.filePath("setting.ini"));
    if (file != "-")
        writeFile(settings.path(), file);
    // Without a language of its own, the file leaves it to a Chinese system here.
    const QByteArray locale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "zh_CN.UTF-8");
    const QString got = read(settings, setting);
    qputenv("LC_ALL", locale);
    QCOMPARE(got, value);
}

void DeskSettingsTest::writesOneLine_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("line");  // as the file holds it
    QTest::newRow("style") << "style"
                           << "2" << QByteArray("LoadStyle=2");
    QTest::newRow("language") << "language"
                              << "en" << QByteArray("Language=en");
    QTest::newRow("database") << "database"
                              << "postgresql://desk@db/lib"
                              << QByteArray("Database=postgresql://desk@db/lib");
    QTest::newRow("keep") << "keep"
                          << "12" << QByteArray("BackupKeep=12");
    QTest::newRow("library") << "library"
                             << "城东分馆" << QByteArray("LibraryName=城东分馆");
    QTest::newRow("paper") << "paper"
                           << "A5" << QByteArray("ReceiptPaper=A5");
    QTest::newRow("roll") << "paper"
                          << "roll" << QByteArray("ReceiptPaper=80mm");
    QTest::newRow("lend") << "lend"
                          << "yes" << QByteArray("LendReceipt=1");
    QTest::newRow("return") << "return"
                            << "no" << QByteArray("ReturnReceipt=0");
    QTest::newRow("label printer") << "labels"
                                   << "Roll labels" << QByteArray("LabelPrinter=Roll labels");
    QTest::newRow("stock") << "stock"
                           << "a4-4x10" << QByteArray("LabelStock=a4-4x10");
}

void DeskSettingsTest::writesOneLine()
{
    QFETCH(QString, setting);
    QFETCH(QString, value);
    QFETCH(QByteArray, line);
    QTemporaryDir dir;
    const DeskSettings settings = DeskSettings::inFolder(dir.path());
    const QByteArray key = line.left(line.indexOf('=') + 1);

    // A missing key is added after every other line.
    writeFile(settings.path(), kAround);
    QVERIFY(write(settings, setting, value));
    QCOMPARE(readFile(settings.path()), kAround + line + "\r\n");
    QCOMPARE(read(settings, setting), value);

    // A present one is replaced where it stands.
    writeFile(settings.path(), kAround + key + "old\r\nlast=1\r\n");
    QVERIFY(write(settings, setting, value));
    QCOMPARE(readFile(settings.path()), kAround + line + "\r\nlast=1\r\n");
    QCOMPARE(read(settings, setting), value);
}

void DeskSettingsTest::readOnlyFileKeepsItsLines()
{
    QTemporaryDir dir;
    const DeskSettings settings = DeskSettings::inFolder(dir.path());
    const QByteArray before = kAround + "BackupKeep=5\r\n";
    writeFile(settings.path(), before);
    QVERIFY(QFile::setPermissions(settings.path(), QFile::ReadOwner));
    QVERIFY(!settings.setBackupKeep(9));
    QCOMPARE(readFile(settings.path()), before);
    QCOMPARE(settings.backupKeep(), 5);
}

LENDORA_TEST_CLASS(DeskSettingsTest)
#include "tst_desksettings.moc"
