// The print dialog's "print to file" writes a PDF as lendora-cli does: drawn whole, then put
// in place under its name; a file that cannot be written is named to the clerk and nothing is
// left behind.
#include "ScriptedPrompter.h"
#include "TestMain.h"
#include "app/QtPrintSink.h"
#include "gui/widgets/Texts.h"
#include "reports/Document.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using lendora::Document;
using lendora::QtPrintSink;
using lendora::testkit::ScriptedPrompter;

class PrintSinkTest : public QObject {
    Q_OBJECT

private slots:
    void printToFile_data();
    void printToFile();
};

void PrintSinkTest::printToFile_data()
{
    QTest::addColumn<QString>("name");       // under a fresh folder
    QTest::addColumn<QByteArray>("before");  // what the file held; empty: no file
    QTest::addColumn<bool>("written");
    QTest::newRow("a new file") << "day.pdf" << QByteArray() << true;
    QTest::newRow("over an old file") << "day.pdf" << QByteArray("old notes") << true;
    QTest::newRow("a folder that is not there") << "gone/day.pdf" << QByteArray() << false;
    QTest::newRow("a name that is a folder") << "folder" << QByteArray() << false;
}

void PrintSinkTest::printToFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(bool, written);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    const QString path = dir.filePath(name);
    if (!before.isEmpty()) {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(before);
    }
    const QStringList entriesBefore =
        QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    Document document;
    document.title = "今日汇总";
    document.addHeading("今日汇总").addParagraph("借出(含续借) 1 册,还书 0 册,罚款合计 0 元");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ScriptedPrompter prompter;
    QtPrintSink sink(prompter);
    QCOMPARE(sink.printTo(printer, document), written);

    // Nothing beside the file: no work file left over.
    QStringList entriesAfter = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    if (written) {
        QVERIFY(prompter.shown().isEmpty());
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        entriesAfter.removeAll(name);
        QStringList expected = entriesBefore;
        expected.removeAll(name);
        QCOMPARE(entriesAfter, expected);
        return;
    }
    QCOMPARE(prompter.shown().size(), 1);
    const lendora::Prompt &said = prompter.shown().first().prompt;
    QVERIFY2(said.text.contains(QDir::toNativeSeparators(path)), qPrintable(said.text));
    QCOMPARE(said.title, lendora::hintTitle());
    QCOMPARE(said.icon, lendora::Icon::Error);
    QCOMPARE(entriesAfter, entriesBefore);
}

LENDORA_TEST_CLASS(PrintSinkTest)
#include "tst_printsink.moc"
