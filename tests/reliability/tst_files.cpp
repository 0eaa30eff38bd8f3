// Broken, odd and foreign files beside the program, met through the real start and the real
// windows: each gives a clear message or the usual default, never a crash, and a file the
// program must not write keeps its bytes (checked by hash).
#include "TestApp.h"
#include "TestMain.h"
#include "base/AccountFile.h"
#include "base/KeyValueFile.h"
#include "base/PrivateProfile.h"
#include "data/Schema.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/widgets/Texts.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString kTipWriteFailed = QStringLiteral("读取时出错");
const QString kAccountWriteFailed = QStringLiteral("无法写入帐号文件 dat/userdata.dat,帐号未更改!");
const QString kNoSuchUser = QStringLiteral("帐号不存在!");

QByteArray hashOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<no file>");
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray gbk(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

// Bytes that are neither UTF-8 nor GB18030 (a Latin-1 accent, a stray 0x80 and 0xFF).
const QByteArray kNoEncoding("; caf\xe9 cr\xe8me \x80\xff\r\n");

QByteArray junk(int size)
{
    QRandomGenerator random(8);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(random.bounded(256));
    bool lossy = false;
    TextFile::decode(bytes, nullptr, &lossy);
    if (!lossy)
        qFatal("the junk happens to decode");
    return bytes;
}

// Lines padding a file to about `size` bytes, none holding a key the program looks for.
QByteArray padding(qsizetype size)
{
    QByteArray bytes;
    bytes.reserve(size + 100);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "Other" + QByteArray::number(i) + "=" + QByteArray(80, 'x') + "\r\n";
    return bytes;
}

constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;

void makeReadOnly(const QString &path)
{
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
}

bool checked(TestApp &t, const char *styleItem)
{
    auto *item = t.control<QAction>("Frmmain", styleItem);
    return item && item->isChecked();
}

QString tipShown(TestApp &t)
{
    auto *label = t.control<QLabel>("FrmHelp", "tip_text");
    return label ? label->text() : QString();
}

int countOf(const QStringList &texts, const QString &text)
{
    return int(texts.count(text));
}

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void settingsFile_data();
    void settingsFile();
    void tipsFile_data();
    void tipsFile();
    void accountFile_data();
    void accountFile();
    void databaseFile_data();
    void databaseFile();
};

void FilesTest::settingsFile_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"gbk", "no encoding", "junk", "10 MB", "read-only", "folder"})
        QTest::newRow(kind) << kind;
}

// Start-up reads the style; choosing another one rewrites the file, unless the program must
// not: then the new style holds for this run and the file keeps its bytes.
void FilesTest::settingsFile()
{
    QFETCH(QString, kind);
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("setting.ini");
    const char *startStyle = "meuWinStyle";
    bool mayWrite = false;
    if (kind == "gbk") {
        writeBytes(path, gbk("; 界面风格: 轻松一刻\r\nLoadStyle=2\r\n"));
        startStyle = "meuLight";
        mayWrite = true;
    } else if (kind == "no encoding") {
        writeBytes(path, kNoEncoding + "LoadStyle=2\r\n");
        startStyle = "meuLight";
    } else if (kind == "junk") {
        writeBytes(path, junk(4096));
    } else if (kind == "10 MB") {
        writeBytes(path, padding(kTenMegabytes) + "LoadStyle=2\r\n");
        startStyle = "meuLight";
        mayWrite = true;
    } else if (kind == "read-only") {
        writeBytes(path, "LoadStyle=2\r\n");
        makeReadOnly(path);
        startStyle = "meuLight";
    } else {
        QVERIFY(QDir().mkpath(path));
    }
    const QByteArray before = hashOf(path);

    t.login();
    QVERIFY(t.window("Frmmain"));
    QVERIFY2(t.prompter().shown().isEmpty(), qPrintable(t.prompter().texts().join('|')));
    QVERIFY(checked(t, startStyle));

    // The clerk picks another style: it is in force whatever happens to the file.
    const bool light = QString::fromLatin1(startStyle) != "meuLight";
    t.trigger(light ? "meuLight" : "meuWinStyle");
    QVERIFY(checked(t, light ? "meuLight" : "meuWinStyle"));
    QVERIFY2(t.prompter().shown().isEmpty(), qPrintable(t.prompter().texts().join('|')));
    QVERIFY(!QFile::exists(QDir(t.appDir()).filePath("temp.ini")));
    if (!mayWrite) {
        QCOMPARE(hashOf(path), before);
        QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
        return;
    }
    // Rewritten in UTF-8, every other line kept.
    QCOMPARE(GetKeyValue(path, "LoadStyle"), light ? QString("2") : QString("0"));
    const QStringList lines = TextFile::readLines(path).value_or(QStringList());
    QCOMPARE(lines.first(), kind == "gbk" ? QString("; 界面风格: 轻松一刻")
                                          : QString("Other0=" + QString(80, 'x')));
    QVERIFY(QFileInfo(path).size() >= (kind == "gbk" ? 20 : kTenMegabytes));
}

void FilesTest::tipsFile_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"gbk", "no encoding", "junk", "10 MB", "read-only", "folder"})
        QTest::newRow(kind) << kind;
}

// The tips window shows a tip and moves CURRENT on; where it must not write, it says so with
// its write-failure message and the file keeps its bytes.
void FilesTest::tipsFile()
{
    QFETCH(QString, kind);
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("QUICKTIP.INI");
    QFile::remove(path);
    QString expectedTip = "unknown";
    bool mayWrite = false;
    if (kind == "gbk") {
        // START=T: the window opens by itself after the login.
        writeBytes(path, gbk("[TIP]\r\nSTART=T\r\nCURRENT=1\r\n1=先扫描读者证,再扫描图书。\r\n"
                             "2=第二条\r\n"));
        expectedTip = "先扫描读者证,再扫描图书。";
        mayWrite = true;
    } else if (kind == "no encoding") {
        writeBytes(path, "[TIP]\r\nSTART=F\r\nCURRENT=2\r\n" + kNoEncoding + "2=Second tip\r\n");
        expectedTip = "Second tip";
    } else if (kind == "junk") {
        writeBytes(path, junk(4096));
    } else if (kind == "10 MB") {
        // A tip far longer than the 999 bytes of a value that are used.
        writeBytes(path, "[TIP]\r\nSTART=F\r\nCURRENT=2\r\n1=one\r\n2="
                             + QByteArray(kTenMegabytes, 'y') + "\r\n3=three\r\n");
        expectedTip = QString(PrivateProfile::kMaxValueBytes, 'y');
        mayWrite = true;
    } else if (kind == "read-only") {
        writeBytes(path, "[TIP]\r\nSTART=F\r\nCURRENT=1\r\n1=First tip\r\n");
        makeReadOnly(path);
        expectedTip = "First tip";
    } else {
        QVERIFY(QDir().mkpath(path));
    }
    const QByteArray before = hashOf(path);

    t.login();
    QVERIFY(t.window("Frmmain"));
    if (!t.window("FrmHelp"))
        t.trigger("meuHowToUse");
    QVERIFY(t.window("FrmHelp"));
    QCOMPARE(tipShown(t), "\n" + expectedTip);
    const QStringList texts = t.prompter().texts();
    if (mayWrite) {
        QVERIFY2(texts.isEmpty(), qPrintable(texts.join('|')));
        QCOMPARE(PrivateProfile::read(path, "TIP", "CURRENT"), QString(kind == "gbk" ? "2" : "3"));
        QCOMPARE(PrivateProfile::read(path, "TIP", "1").value_or(""),
                 QString(kind == "gbk" ? "先扫描读者证,再扫描图书。" : "one"));
        return;
    }
    QCOMPARE(countOf(texts, "非法条目> TIP/CURRENT"), 1);
    QCOMPARE(t.prompter().shown().last().prompt.title, kTipWriteFailed);
    QCOMPARE(t.prompter().shown().last().prompt.icon, Icon::Error);
    // The window stays usable, and the file keeps its bytes.
    t.click("FrmHelp", "Next_Tip_Button");
    t.click("FrmHelp", "Quick_Tip_OK_Button");
    QCOMPARE(countOf(t.prompter().texts(), "非法条目> TIP/CURRENT"), 2);
    QCOMPARE(countOf(t.prompter().texts(), "非法条目> TIP/START"), 1);
    QVERIFY(!t.window("FrmHelp"));
    QCOMPARE(hashOf(path), before);
    QVERIFY(!QFile::exists(path + ".new"));
}

void FilesTest::accountFile_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"gbk", "no encoding", "junk", "10 MB", "read-only", "folder"})
        QTest::newRow(kind) << kind;
}

// The login window reads the account; the login and a failed change leave the file as it was.
void FilesTest::accountFile()
{
    QFETCH(QString, kind);
    TestApp t;
    const QString path = QDir(t.appDir()).filePath("dat/userdata.dat");
    const QByteArray admin = "UserName=nimda\r\nPassword=dcb\r\n";
    Account expected{"admin", "abc"};
    if (kind == "gbk") {
        // Written by an older installation: the user name in GBK.
        writeBytes(path, gbk("UserName=员理管\r\nPassword=dcb\r\n"));
        expected = {"管理员", "abc"};
    } else if (kind == "no encoding") {
        writeBytes(path, admin + kNoEncoding);
    } else if (kind == "junk") {
        writeBytes(path, junk(4096));
        expected = {"", ""};  // a file without the keys: nobody logs in until it is changed
    } else if (kind == "10 MB") {
        writeBytes(path, padding(kTenMegabytes) + admin);
    } else if (kind == "read-only") {
        writeBytes(path, admin);
        makeReadOnly(path);
    } else {
        // No account file: the built-in account.
        QVERIFY(QDir().mkpath(path));
        expected = AccountFile::builtIn();
    }
    const QByteArray before = hashOf(path);

    QVERIFY(t.start());
    QCOMPARE(t.text("FrmLogon", "txtUserName"), expected.userName);
    if (kind == "read-only") {
        // Changing the account cannot be saved: said so, the old account stays.
        for (const QString &answer : {QString("abc"), QString("bob"), QString("pw")})
            t.prompter().answerInput(answer);
        t.control<QAction>("FrmLogon", "meuAddUser")->trigger();
        QCOMPARE(t.prompter().texts().last(), kAccountWriteFailed);
        t.prompter().clear();
    }
    if (expected.password.isEmpty()) {
        t.type("FrmLogon", "txtUserName", "user");
        t.type("FrmLogon", "txtPassword", "741");
        t.click("FrmLogon", "cmdOK");
        QCOMPARE(t.prompter().texts(), QStringList{kNoSuchUser});
        QVERIFY(!t.window("Frmmain"));
    } else {
        t.type("FrmLogon", "txtUserName", expected.userName);
        t.type("FrmLogon", "txtPassword", expected.password);
        t.click("FrmLogon", "cmdOK");
        QVERIFY2(t.prompter().shown().isEmpty(), qPrintable(t.prompter().texts().join('|')));
        QVERIFY(t.window("Frmmain"));
    }
    QCOMPARE(hashOf(path), before);
    QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
}

void FilesTest::databaseFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("text") << "text"
                          << "不是数据库文件";
    QTest::newRow("empty") << "empty"
                           << "不是数据库文件";
    QTest::newRow("10 MB of junk") << "junk"
                                   << "不是数据库文件";
    QTest::newRow("truncated") << "truncated"
                               << "不完整";
    QTest::newRow("other program's database") << "foreign"
                                              << "不是本程序的数据库";
    QTest::newRow("damaged table list") << "damaged"
                                        << "数据表";
    QTest::newRow("newer version") << "newer"
                                   << "更新版本";
    QTest::newRow("read-only") << "read-only"
                               << "只读";
    QTest::newRow("folder in its place") << "folder"
                                         << "文件夹";
    QTest::newRow("file in place of mdb") << "mdb file"
                                          << "无法建立";
}

// Refused through the real start: one message with the file's place, the program ends before
// the login, and the file keeps its bytes.
void FilesTest::databaseFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    TestApp t;
    const QString path = DatabaseFile::pathIn(t.appDir());
    QString watched = path;
    const auto build = [&](const QStringList &statements) {
        QString error;
        QVERIFY2(DatabaseFile::create(path, &error), qPrintable(error));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "files-test");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString &sql : statements + QStringList{"pragma journal_mode=delete"})
                QVERIFY2(q.exec(sql), qPrintable(sql));
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase("files-test");
    };
    if (kind == "text") {
        writeBytes(path, "书籍编号,书籍名称\r\nB1,三国演义\r\n");
    } else if (kind == "empty") {
        writeBytes(path, "");
    } else if (kind == "junk") {
        writeBytes(path, junk(kTenMegabytes));
    } else if (kind == "truncated") {
        build({});
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(f.size() - 4096));
    } else if (kind == "foreign") {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "files-test");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec("create table customers (id integer, name text)"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("files-test");
    } else if (kind == "damaged") {
        build({});
        // The rest of the first page, the list of tables, overwritten; the header stays.
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.seek(100));
        f.write(QByteArray(4096 - 100, char(0x5A)));
    } else if (kind == "newer") {
        build({QString("pragma user_version=%1").arg(Schema::kVersion + 1)});
    } else if (kind == "read-only") {
        build({"insert into readerInfo values ('R1','读者','男','','')"});
        makeReadOnly(path);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else {
        watched = QFileInfo(path).absolutePath();
        writeBytes(watched, "not a folder\n");
    }
    const QByteArray before = hashOf(watched);

    QVERIFY(!t.start());
    QVERIFY(t.ended());
    QCOMPARE(t.app().ending(), Application::Ending::DatabaseRefused);
    QCOMPARE(t.prompter().shown().size(), 1);
    const Prompt shown = t.prompter().shown().first().prompt;
    QCOMPARE(shown.title, appTitle());
    QVERIFY2(shown.text.contains(says) && shown.text.contains(QDir::toNativeSeparators(path)),
             qPrintable(shown.text));
    QVERIFY(!t.window("FrmLogon") && !t.window("Frmmain"));
    QCOMPARE(hashOf(watched), before);
    QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
    QVERIFY(!QFile::exists(DatabaseFile::markerPath(path)));
}

LENDORA_TEST_CLASS(FilesTest)
#include "tst_files.moc"
