#include "LabelScan.h"
#include "PdfText.h"
#include "ScriptedPrompter.h"
#include "app/QtPrintSink.h"
#include "base/DeskSettings.h"
#include "base/KeyValueFile.h"
#include "core/circulation/Receipts.h"
#include "core/settings/LabelStock.h"
#include "reports/LabelSheet.h"
#include "reports/ReceiptDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <pwd.h>
#include <unistd.h>

using namespace lendora;
using lendora::testkit::ScriptedPrompter;

namespace {

const QString kQueue = QStringLiteral("LendoraPDF");
const QString kStopped = QStringLiteral("LendoraStopped");

// The folder cups-pdf writes a job of this user to, as its fixed configuration names it.
QString outputFolder(QString *why)
{
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (!conf.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("cannot read /etc/cups/cups-pdf.conf");
        return {};
    }
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    for (const QByteArray &line : conf.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QLatin1String("Out ")))
            out = text.mid(4).trimmed();
    }
    const passwd *user = getpwuid(geteuid());
    if (!user) {
        *why = QStringLiteral("no passwd entry for this user");
        return {};
    }
    return out.replace(QStringLiteral("${HOME}"), QString::fromLocal8Bit(user->pw_dir))
        .replace(QStringLiteral("${USER}"), QString::fromLocal8Bit(user->pw_name));
}

// A name no other job has, so its file is found among the folder's; letters and digits only,
// which cups-pdf keeps as they are in the file's name.
QString uniqueTitle(const char *what)
{
    static int next = 0;
    return QStringLiteral("lendora%1x%2x%3")
        .arg(QLatin1String(what))
        .arg(QCoreApplication::applicationPid())
        .arg(++next);
}

}  // namespace

// One run against a real print system: a cupsd of the tests' own with cups-pdf queues
// (tests/labels/cups-fixture). A job to a chosen printer goes without a dialog and arrives
// as a PDF whose text reads back; a stopped printer is said once and the dialog offered.
class CupsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void straightToItsPrinter_data();
    void straightToItsPrinter();
    void stoppedPrinterSaidOnce();

private:
    // Waits for cups-pdf's file of the job titled `title`; removes it after reading.
    QString arrived(const QString &title);

    QString m_output;
    QTemporaryDir m_dir;
};

void CupsTest::initTestCase()
{
    const QString fixture = qEnvironmentVariable("LENDORA_CUPS_DIR");
    if (fixture.isEmpty())
        QSKIP("run through ctest: the cups fixture starts the print system");
    QFile skip(QDir(fixture).filePath(QStringLiteral("skip")));
    if (skip.open(QIODevice::ReadOnly))
        QSKIP(qPrintable(QStringLiteral("CUPS could not be started: ")
                         + QString::fromUtf8(skip.readAll()).trimmed()));
    QString why;
    m_output = outputFolder(&why);
    QVERIFY2(!m_output.isEmpty(), qPrintable(why));
    QVERIFY2(!QPrinterInfo::printerInfo(kQueue).isNull(),
             "the fixture's queue is not seen through CUPS_SERVER");
}

QString CupsTest::arrived(const QString &title)
{
    QString found;
    const auto look = [&] {
        const QStringList names =
            QDir(m_output).entryList({title + QStringLiteral("*.pdf")}, QDir::Files);
        if (names.isEmpty())
            return false;
        const QString path = QDir(m_output).filePath(names.first());
        // cups-pdf writes the file in place: it is whole once the PDF's end is there.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.readAll().trimmed().endsWith("%%EOF"))
            return false;
        found = path;
        return true;
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(look(), 90000); }();
    if (found.isEmpty())
        return {};
    const QString copy = m_dir.filePath(QFileInfo(found).fileName());
    QFile::copy(found, copy);
    QFile::remove(found);
    return copy;
}

void CupsTest::straightToItsPrinter_data()
{
    QTest::addColumn<int>("paper");
    QTest::addColumn<QString>("key");
    QTest::newRow("a receipt") << int(PrinterKind::Receipt) << "ReceiptPrinter";
    QTest::newRow("labels on a roll") << int(PrinterKind::Label) << "LabelPrinter";
}

void CupsTest::straightToItsPrinter()
{
    QFETCH(int, paper);
    QFETCH(QString, key);
    const QString settings = m_dir.filePath(DeskSettings::fileName());
    QFile::remove(settings);
    SetKeyValue(settings, key, kQueue);
    ScriptedPrompter prompter;
    bool asked = false;
    QtPrintSink sink(
        prompter, [settings] { return DeskSettings(settings); },
        [&asked](QPrinter &) {
            asked = true;
            return false;
        });
    Document document;
    QStringList expected;
    if (PrinterKind(paper) == PrinterKind::Receipt) {
        LoanReceipt receipt;
        receipt.readerId = QStringLiteral("001");
        receipt.readerName = QStringLiteral("张伟");
        receipt.day = QDate(2026, 12, 7);
        receipt.books = {
            {QStringLiteral("B1003"), QStringLiteral("平凡的世界"), QDate(2027, 1, 6)}};
        document = ReceiptDocument::loan(receipt, QStringLiteral("城东图书馆"),
                                         PaperSettings::ReceiptPaper::Roll80mm);
        expected = {QStringLiteral("城东图书馆"), QStringLiteral("借书凭条"),
                    QStringLiteral("张伟"), QStringLiteral("平凡的世界")};
    } else {
        QString error;
        document = *LabelSheet::bookLabels(
            {{QStringLiteral("B1001"), QStringLiteral("红楼梦")},
             {QStringLiteral("B1002"), QStringLiteral("史记")}},
            QStringLiteral("城东图书馆"),
            *LabelStock::find(LabelStock::labelStocks(), QStringLiteral("roll-50x30")), 0, nullptr,
            &error);
        expected = {QStringLiteral("红楼梦"), QStringLiteral("史记")};
    }
    document.title = uniqueTitle(PrinterKind(paper) == PrinterKind::Receipt ? "receipt" : "label");
    QVERIFY(sink.print(document, PrinterKind(paper)));
    QVERIFY(!asked);
    QCOMPARE(prompter.texts(), QStringList());
    const QString pdf = arrived(document.title);
    QVERIFY2(!pdf.isEmpty(), qPrintable(document.title));
    const QString text = testkit::pdfText(pdf);
    for (const QString &part : expected)
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in: ") + text));
    if (PrinterKind(paper) == PrinterKind::Label) {
        // One label a page, each scanning to its number.
        QString problem;
        const QStringList scanned = testkit::scanLabels(
            pdf, *LabelStock::find(LabelStock::labelStocks(), QStringLiteral("roll-50x30")),
            &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(scanned, (QStringList{"B1001", "B1002"}));
    }
}

void CupsTest::stoppedPrinterSaidOnce()
{
    const QString settings = m_dir.filePath(DeskSettings::fileName());
    QFile::remove(settings);
    SetKeyValue(settings, QStringLiteral("PagePrinter"), kStopped);
    ScriptedPrompter prompter;
    int asked = 0;
    QtPrintSink sink(
        prompter, [settings] { return DeskSettings(settings); },
        [&asked](QPrinter &) {
            ++asked;
            return false;  // the clerk cancels the dialog
        });
    Document document;
    document.addParagraph(QStringLiteral("逾期催还单"));
    QVERIFY(!sink.print(document, PrinterKind::Page));
    QVERIFY(!sink.print(document, PrinterKind::Page));
    QCOMPARE(asked, 2);
    QCOMPARE(prompter.texts(),
             QStringList{QStringLiteral("打印机 LendoraStopped 已停止,不能打印。\n"
                                        "请在接下来的打印对话框中选择打印机。")});
}

QTEST_MAIN(CupsTest)
#include "tst_cups.moc"
