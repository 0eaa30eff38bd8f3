#include "TestMain.h"
#include "base/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace lendora;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The permission bits of the file itself; the "user" bits describe whoever runs the test
// (root may write anything).
QFileDevice::Permissions modeOf(const QString &path)
{
    return QFile::permissions(path)
           & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

}  // namespace

class KeyValueTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void getValue_data();
    void getValue();
    void missingFileReadsEmpty();

    void setValue_data();
    void setValue();
    void newFileHoldsOneLine();
    void readOnlyFileIsLeftAsItWas();
    void staleWorkFileDoesNotLeak();
    void workFileThatCannotBeMadeKeepsTheFile();
    void oldGbkFileIsReadAndRewrittenInUtf8();
    void permissionsSurviveTheRewrite();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
    QString m_work;
};

void KeyValueTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath("setting.ini");
    m_work = m_dir->filePath("temp.ini");
}

void KeyValueTest::getValue_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QByteArray("LoadStyle=2\r\n") << "LoadStyle"
                           << "2";
    QTest::newRow("among others") << QByteArray("a=1\r\nLoadStyle=1\r\nb=2\r\n") << "LoadStyle"
                                  << "1";
    QTest::newRow("first line wins") << QByteArray("LoadStyle=1\r\nLoadStyle=2\r\n") << "LoadStyle"
                                     << "1";
    QTest::newRow("substring match") << QByteArray("xLoadStyle=5\r\n") << "LoadStyle"
                                     << "5";
    QTest::newRow("blanks kept") << QByteArray("LoadStyle= 2 \r\n") << "LoadStyle"
                                 << " 2 ";
    QTest::newRow("rest of line") << QByteArray("LoadStyle=a=b\r\n") << "LoadStyle"
                                  << "a=b";
    QTest::newRow("empty value") << QByteArray("LoadStyle=\r\n") << "LoadStyle"
                                 << "";
    QTest::newRow("case matters") << QByteArray("loadstyle=2\r\n") << "LoadStyle"
                                  << "";
    QTest::newRow("blank before =") << QByteArray("LoadStyle =2\r\n") << "LoadStyle"
                                    << "";
    QTest::newRow("key missing") << QByteArray("Other=2\r\n") << "LoadStyle"
                                 << "";
    QTest::newRow("LF line ends") << QByteArray("a=1\nLoadStyle=2\n") << "LoadStyle"
                                  << "2";
    QTest::newRow("no final line end") << QByteArray("a=1\r\nLoadStyle=2") << "LoadStyle"
                                       << "2";
    QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBFLoadStyle=1\r\n") << "LoadStyle"
                               << "1";
    QTest::newRow("Chinese value") << QString("UserName=管理员\r\n").toUtf8() << "UserName"
                                   << "管理员";
}

void KeyValueTest::getValue()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(QString, value);
    writeAll(m_file, content);
    QCOMPARE(GetKeyValue(m_file, key), value);
}

void KeyValueTest::missingFileReadsEmpty()
{
    QCOMPARE(GetKeyValue(m_file, "LoadStyle"), QString());
    QCOMPARE(GetKeyValue(m_dir->path(), "LoadStyle"), QString());  // a folder
    QVERIFY(!QFile::exists(m_file));
}

void KeyValueTest::setValue_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaced in place, others kept in order")
        << QByteArray("first=1\r\nLoadStyle=0\r\nlast=3\r\n") << "LoadStyle"
        << "2" << QByteArray("first=1\r\nLoadStyle=2\r\nlast=3\r\n");
    QTest::newRow("missing key appended last")
        << QByteArray("b=2\r\na=1\r\n") << "LoadStyle"
        << "1" << QByteArray("b=2\r\na=1\r\nLoadStyle=1\r\n");
    QTest::newRow("substring line replaced whole")
        << QByteArray("xLoadStyle=5\r\nz=9\r\n") << "LoadStyle"
        << "1" << QByteArray("LoadStyle=1\r\nz=9\r\n");
    QTest::newRow("every matching line replaced")
        << QByteArray("LoadStyle=1\r\nmid\r\nLoadStyle=2\r\n") << "LoadStyle"
        << "0" << QByteArray("LoadStyle=0\r\nmid\r\nLoadStyle=0\r\n");
    QTest::newRow("other case is another key")
        << QByteArray("loadstyle=1\r\n") << "LoadStyle"
        << "2" << QByteArray("loadstyle=1\r\nLoadStyle=2\r\n");
    QTest::newRow("LF file rewritten with CR LF") << QByteArray("a=1\nLoadStyle=0\n") << "LoadStyle"
                                                  << "2" << QByteArray("a=1\r\nLoadStyle=2\r\n");
    QTest::newRow("empty lines kept") << QByteArray("a=1\r\n\r\nb=2\r\n") << "LoadStyle"
                                      << "0" << QByteArray("a=1\r\n\r\nb=2\r\nLoadStyle=0\r\n");
    QTest::newRow("empty file gains the line") << QByteArray() << "LoadStyle"
                                               << "1" << QByteArray("LoadStyle=1\r\n");
    QTest::newRow("value with blanks and Chinese")
        << QByteArray("UserName=x\r\n") << "UserName"
        << " 管理 员 " << QString("UserName= 管理 员 \r\n").toUtf8();
}

void KeyValueTest::setValue()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeAll(m_file, before);
    QCOMPARE(SetKeyValue(m_file, key, value), TextFile::WriteResult::Written);
    QCOMPARE(readAll(m_file), after);
    QCOMPARE(GetKeyValue(m_file, key), value);
    QVERIFY(!QFile::exists(m_work));
}

void KeyValueTest::newFileHoldsOneLine()
{
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "2"), TextFile::WriteResult::Written);
    QCOMPARE(readAll(m_file), QByteArray("LoadStyle=2\r\n"));
    QVERIFY(!QFile::exists(m_work));
}

void KeyValueTest::readOnlyFileIsLeftAsItWas()
{
    const QByteArray before("a=1\r\nLoadStyle=1\r\n");
    writeAll(m_file, before);
    QVERIFY(QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    // Even where a rename would replace it (root, or any owner of the folder).
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "2"), TextFile::WriteResult::ReadOnly);
    QCOMPARE(readAll(m_file), before);
    QCOMPARE(modeOf(m_file), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    QVERIFY(!QFile::exists(m_work));
    QFile::setPermissions(m_file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void KeyValueTest::staleWorkFileDoesNotLeak()
{
    writeAll(m_work, "stale=1\r\nLoadStyle=9\r\n");
    writeAll(m_file, "a=1\r\nLoadStyle=0\r\n");
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "1"), TextFile::WriteResult::Written);
    QCOMPARE(readAll(m_file), QByteArray("a=1\r\nLoadStyle=1\r\n"));
    QVERIFY(!QFile::exists(m_work));

    // A leftover that is a link must not be written through either.
    const QString elsewhere = m_dir->filePath("elsewhere.txt");
    writeAll(elsewhere, "keep me\r\n");
    QVERIFY(QFile::link(elsewhere, m_work));
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "2"), TextFile::WriteResult::Written);
    QCOMPARE(readAll(m_file), QByteArray("a=1\r\nLoadStyle=2\r\n"));
    QCOMPARE(readAll(elsewhere), QByteArray("keep me\r\n"));
    QVERIFY(QFileInfo(m_file).isFile() && !QFileInfo(m_file).isSymLink());
}

void KeyValueTest::workFileThatCannotBeMadeKeepsTheFile()
{
    const QByteArray before("a=1\r\nLoadStyle=1\r\n");
    writeAll(m_file, before);
    QVERIFY(QDir().mkpath(m_work + "/in-the-way"));  // a folder where the work file goes
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "2"), TextFile::WriteResult::Failed);
    QCOMPARE(readAll(m_file), before);
}

void KeyValueTest::oldGbkFileIsReadAndRewrittenInUtf8()
{
    QStringEncoder gbk("GB18030");
    QVERIFY(gbk.isValid());
    const QByteArray old =
        gbk.encode(QString("; 岚枢图书馆的设置\r\n馆名=城东分馆\r\nLoadStyle=2\r\n"));
    QVERIFY(!old.contains(QString("城东分馆").toUtf8()));
    writeAll(m_file, old);
    QCOMPARE(GetKeyValue(m_file, "馆名"), QString("城东分馆"));
    QCOMPARE(GetKeyValue(m_file, "LoadStyle"), QString("2"));

    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "1"), TextFile::WriteResult::Written);
    QCOMPARE(readAll(m_file),
             QString("; 岚枢图书馆的设置\r\n馆名=城东分馆\r\nLoadStyle=1\r\n").toUtf8());
}

void KeyValueTest::permissionsSurviveTheRewrite()
{
    writeAll(m_file, "LoadStyle=0\r\n");
    const auto mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QVERIFY(QFile::setPermissions(m_file, mode));
    QCOMPARE(SetKeyValue(m_file, "LoadStyle", "2"), TextFile::WriteResult::Written);
    QCOMPARE(modeOf(m_file), mode);
}

LENDORA_TEST_CLASS(KeyValueTest)
#include "tst_keyvalue.moc"
