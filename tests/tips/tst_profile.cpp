#include "TestMain.h"
#include "base/PrivateProfile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;

namespace {
QByteArray gb18030(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A tips file as a clerk may have edited it: comments, other sections, blank lines, a key
// spelled in another case, Chinese text, a value with "=" in it.
const QByteArray kEdited =
    "; \xe6\xaf\x8f\xe6\x97\xa5\xe5\xb0\x8f\xe6\x8a\x80\xe5\xb7\xa7 (tips)\r\n"
    "[Other]\r\n"
    "CURRENT=77\r\n"
    "\r\n"
    "[tip]\r\n"
    "  Start = T  \r\n"
    ";CURRENT=9\r\n"
    "Current = 2\r\n"
    "1=\xe6\x89\xab\xe7\xa0\x81\xe6\x9e\xaa\xe5\x80\x9f\xe4\xb9\xa6\r\n"
    "2=a=b\r\n"
    "CURRENT=5\r\n"
    "\r\n"
    "[Last]\r\n"
    "x=1\r\n";
}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void valueLimit_data();
    void valueLimit();
    void writeKeepsEveryOtherLine();
    void writeAddsWhatIsMissing_data();
    void writeAddsWhatIsMissing();
    void writeRefuses_data();
    void writeRefuses();
    void carriedOverFileIsRewrittenInUtf8();
};

void ProfileTest::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");  // invalid: missing
    const QVariant missing;
    QTest::newRow("names without regard to case") << kEdited << "TIP"
                                                  << "START" << QVariant("T");
    QTest::newRow("first occurrence wins, comments skipped") << kEdited << "Tip"
                                                             << "current" << QVariant("2");
    QTest::newRow("Chinese value") << kEdited << "TIP"
                                   << "1" << QVariant(QStringLiteral("扫码枪借书"));
    QTest::newRow("value holding =") << kEdited << "TIP"
                                     << "2" << QVariant("a=b");
    QTest::newRow("key of another section") << kEdited << "TIP"
                                            << "x" << missing;
    QTest::newRow("section missing") << kEdited << "None"
                                     << "x" << missing;
    QTest::newRow("key missing") << kEdited << "TIP"
                                 << "3" << missing;
    QTest::newRow("empty value") << QByteArray("[TIP]\r\nCURRENT=\r\n") << "TIP"
                                 << "CURRENT" << QVariant("");
    QTest::newRow("blank value") << QByteArray("[TIP]\nCURRENT=   \n") << "TIP"
                                 << "CURRENT" << QVariant("");
    QTest::newRow("key before any section") << QByteArray("CURRENT=1\n[TIP]\n") << "TIP"
                                            << "CURRENT" << missing;
    QTest::newRow("LF line ends") << QByteArray("[TIP]\nSTART=F\n") << "TIP"
                                  << "START" << QVariant("F");
    QTest::newRow("carried over in GB18030")
        << gb18030(QStringLiteral("[TIP]\r\n1=借书时按回车\r\n")) << "TIP"
        << "1" << QVariant(QStringLiteral("借书时按回车"));
    QTest::newRow("UTF-8 with a byte-order mark")
        << QByteArray("\xEF\xBB\xBF[TIP]\r\nSTART=T\r\n") << "TIP"
        << "START" << QVariant("T");
}

void ProfileTest::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QVariant, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("QUICKTIP.INI");
    writeBytes(path, content);
    const auto value = PrivateProfile::read(path, section, key);
    QCOMPARE(value.has_value(), expected.isValid());
    if (value)
        QCOMPARE(*value, expected.toString());
    QVERIFY(!PrivateProfile::read(dir.filePath("missing.ini"), section, key));
}

void ProfileTest::valueLimit_data()
{
    QTest::addColumn<QByteArray>("value");  // as stored
    QTest::addColumn<QString>("expected");
    const QString han = QStringLiteral("书");  // 3 bytes in UTF-8, 2 in GB18030
    QTest::newRow("999 ASCII bytes kept") << QByteArray(999, 'a') << QString(999, 'a');
    QTest::newRow("1000 ASCII bytes cut") << QByteArray(1000, 'a') << QString(999, 'a');
    QTest::newRow("UTF-8 cut at a whole character")
        << (QString(400, han[0])).toUtf8() << QString(333, han[0]);
    QTest::newRow("UTF-8 character that would straddle the limit")
        << (QString(997, 'a') + han).toUtf8() << QString(997, 'a');
    QTest::newRow("no half of a surrogate pair")
        << (QString(997, 'a') + QStringLiteral("😀")).toUtf8() << QString(997, 'a');
    QTest::newRow("GB18030 counts two bytes a character")
        << gb18030(QStringLiteral("a") + QString(600, han[0]))
        << QStringLiteral("a") + QString(499, han[0]);
}

void ProfileTest::valueLimit()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath("QUICKTIP.INI");
    writeBytes(path, "[TIP]\r\n1=" + value + "\r\n");
    QCOMPARE(PrivateProfile::read(path, "TIP", "1").value_or("<missing>"), expected);
}

void ProfileTest::writeKeepsEveryOtherLine()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QUICKTIP.INI");
    writeBytes(path, kEdited);
    QVERIFY(PrivateProfile::write(path, "TIP", "CURRENT", "3"));
    QByteArray expected = kEdited;
    expected.replace("Current = 2\r\n", "Current=3\r\n");
    QCOMPARE(readBytes(path), expected);
    QCOMPARE(PrivateProfile::read(path, "TIP", "CURRENT").value_or(""), QStringLiteral("3"));
    // No work file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"QUICKTIP.INI"});

    // A byte-order mark stays where it was.
    writeBytes(path, "\xEF\xBB\xBF[TIP]\r\nSTART=T\r\n");
    QVERIFY(PrivateProfile::write(path, "tip", "start", "F"));
    QCOMPARE(readBytes(path), QByteArray("\xEF\xBB\xBF[TIP]\r\nSTART=F\r\n"));
}

void ProfileTest::writeAddsWhatIsMissing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("no file") << QByteArray() << QByteArray("[TIP]\r\nCURRENT=1\r\n");
    QTest::newRow("key at the end of its section, before the blank line")
        << QByteArray("[TIP]\r\n1=a\r\n\r\n[Other]\r\nk=v\r\n")
        << QByteArray("[TIP]\r\n1=a\r\nCURRENT=1\r\n\r\n[Other]\r\nk=v\r\n");
    QTest::newRow("section at the end of the file")
        << QByteArray("; only a comment\r\n")
        << QByteArray("; only a comment\r\n[TIP]\r\nCURRENT=1\r\n");
    QTest::newRow("empty section")
        << QByteArray("[TIP]\r\n[Other]\r\n") << QByteArray("[TIP]\r\nCURRENT=1\r\n[Other]\r\n");
}

void ProfileTest::writeAddsWhatIsMissing()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath("QUICKTIP.INI");
    if (!before.isEmpty())
        writeBytes(path, before);
    QVERIFY(PrivateProfile::write(path, "TIP", "CURRENT", "1"));
    QCOMPARE(readBytes(path), after);
}

void ProfileTest::writeRefuses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("read-only file") << "read-only"
                                    << "CURRENT"
                                    << "2";
    QTest::newRow("a folder in its place") << "folder"
                                           << "CURRENT"
                                           << "2";
    QTest::newRow("no such folder") << "no folder"
                                    << "CURRENT"
                                    << "2";
    QTest::newRow("value with a line break") << ""
                                             << "CURRENT"
                                             << "2\r\n3=x";
    QTest::newRow("key holding =") << ""
                                   << "A=B"
                                   << "2";
    QTest::newRow("empty key") << ""
                               << ""
                               << "2";
}

void ProfileTest::writeRefuses()
{
    QFETCH(QString, how);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QTemporaryDir dir;
    QString path = dir.filePath("QUICKTIP.INI");
    const QByteArray before("[TIP]\r\nCURRENT=1\r\n");
    if (how == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (how == "no folder")
        path = dir.filePath("gone/QUICKTIP.INI");
    else
        writeBytes(path, before);
    if (how == "read-only")
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadUser));

    QVERIFY(!PrivateProfile::write(path, "TIP", key, value));
    if (how.isEmpty() || how == "read-only")
        QCOMPARE(readBytes(path), before);
    QVERIFY(!QFileInfo::exists(path + ".new"));
}

void ProfileTest::carriedOverFileIsRewrittenInUtf8()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("QUICKTIP.INI");
    writeBytes(path, gb18030(QStringLiteral("; 旧文件\r\n[TIP]\r\nCURRENT=1\r\n1=还书\r\n")));
    QVERIFY(PrivateProfile::write(path, "TIP", "CURRENT", "2"));
    QCOMPARE(readBytes(path),
             QStringLiteral("; 旧文件\r\n[TIP]\r\nCURRENT=2\r\n1=还书\r\n").toUtf8());
}

LENDORA_TEST_CLASS(ProfileTest)
#include "tst_profile.moc"
