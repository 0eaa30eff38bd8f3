#include "TestApp.h"
#include "TestMain.h"
#include "Unprivileged.h"
#include "base/AppDirectory.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/widgets/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

using namespace lendora;
using lendora::testkit::runsUnprivileged;
using lendora::testkit::TestApp;

namespace {

// Writes every shipped file into `dir`, each holding "<label>:<its name>".
void fillShipped(const QString &dir, const QString &label)
{
    for (const QString &f : AppDirectory::shippedFiles()) {
        const QString path = QDir(dir).filePath(f);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write((label + ':' + f).toUtf8());
    }
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class AppDirTest : public QObject {
    Q_OBJECT

private slots:
    void installedOrNot_data();
    void installedOrNot();
    void unwritableLibrary_data();
    void unwritableLibrary();
    void unwritableFolderStopsTheStart();
};

void AppDirTest::installedOrNot_data()
{
    QTest::addColumn<QStringList>("folders");  // made under a fresh root, each with shipped files
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("seededFrom");  // empty: not installed

    QTest::newRow("installed under a prefix")
        << QStringList{"usr/bin", "usr/share/lendora"} << "usr/bin"
        << "usr/share/lendora";
    QTest::newRow("a build's bin folder")
        << QStringList{"build/release/bin"} << "build/release/bin" << QString();
    QTest::newRow("an unpacked folder") << QStringList{"lendora-1.1"} << "lendora-1.1" << QString();
    QTest::newRow("bin without share/lendora")
        << QStringList{"opt/bin", "opt/share/other"} << "opt/bin" << QString();
    QTest::newRow("share/lendora beside a folder not named bin")
        << QStringList{"opt/libexec", "opt/share/lendora"} << "opt/libexec" << QString();
    // Root or not, nobody creates files here: the copy still keeps its own folder.
    QTest::newRow("a folder nobody can write") << QStringList() << "/proc/self" << QString();
}

void AppDirTest::installedOrNot()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, executableDir);
    QFETCH(QString, seededFrom);
    QTemporaryDir root;
    const QDir top(root.path());
    for (const QString &folder : folders) {
        QVERIFY(top.mkpath(folder));
        fillShipped(top.filePath(folder), folder);
    }
    const QString exe =
        QDir::isAbsolutePath(executableDir) ? executableDir : top.filePath(executableDir);
    const QString userDir = top.filePath("home/.local/share/lendora");

    const QString chosen = AppDirectory::resolve(exe, userDir);
    if (seededFrom.isEmpty()) {
        QCOMPARE(chosen, exe);
        QVERIFY(!QFileInfo::exists(userDir));
        return;
    }
    QCOMPARE(chosen, userDir);
    // Seeded from share/lendora, never from bin.
    for (const QString &f : AppDirectory::shippedFiles())
        QCOMPARE(contentOf(QDir(userDir).filePath(f)), (seededFrom + ':' + f).toUtf8());
    // What the clerk changed stays at the next start.
    fillShipped(userDir, "mine");
    AppDirectory::resolve(exe, userDir);
    QCOMPARE(contentOf(QDir(userDir).filePath("readme.txt")), QByteArray("mine:readme.txt"));
}

void AppDirTest::unwritableLibrary_data()
{
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("readOnlyBits");   // the file lacks its owner's write bit
    QTest::addColumn<QStringList>("denied");  // what the system refuses to write: folder, file
    QTest::addColumn<QString>("said");        // what is named: folder, file or nothing

    QTest::newRow("both writable") << true << false << QStringList() << QString();
    QTest::newRow("folder not writable") << true << false << QStringList{"folder"} << "folder";
    QTest::newRow("file not writable") << true << false << QStringList{"file"} << "file";
    QTest::newRow("neither writable") << true << false << QStringList{"folder", "file"} << "folder";
    // Creation says itself why it fails.
    QTest::newRow("no library yet") << false << false << QStringList{"folder"} << QString();
    // The backend names a read-only file as such.
    QTest::newRow("read-only file") << true << true << QStringList{"file"} << QString();
    QTest::newRow("read-only file, folder not writable")
        << true << true << QStringList{"folder", "file"} << "folder";
}

void AppDirTest::unwritableLibrary()
{
    QFETCH(bool, fileThere);
    QFETCH(bool, readOnlyBits);
    QFETCH(QStringList, denied);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString path = DatabaseFile::pathIn(dir.path());
    const QString folder = QFileInfo(path).absolutePath();
    QVERIFY(QDir().mkpath(folder));
    if (fileThere) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    if (readOnlyBits)
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));

    const auto canWrite = [&](const QString &asked) {
        return !denied.contains(asked == folder ? "folder" : asked == path ? "file" : "other");
    };
    const QString expected = said == "folder" ? folder : said == "file" ? path : QString();
    QCOMPARE(AppDirectory::unwritablePart(path, canWrite), expected);
}

void AppDirTest::unwritableFolderStopsTheStart()
{
    // Root writes into any folder: the case runs as nobody.
    if (!runsUnprivileged(this))
        return;
    TestApp t;
    t.db();  // the library exists
    const QString folder = QFileInfo(DatabaseFile::pathIn(t.appDir())).absolutePath();
    const auto before = QFile::permissions(folder);
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool started = t.start();
    QFile::setPermissions(folder, before);
    QVERIFY(!started);
    QCOMPARE(t.app().ending(), Application::Ending::DatabaseRefused);
    QCOMPARE(t.prompter().texts(),
             QStringList{QString::fromUtf8("数据库文件夹 %1 不能写入,借还记录无法保存。\n"
                                           "请让管理员给予写入权限后再启动程序。")
                             .arg(QDir::toNativeSeparators(folder))});
    QCOMPARE(t.prompter().shown().first().prompt.title, appTitle());
    QVERIFY(!t.window("FrmLogon"));
}

LENDORA_TEST_CLASS(AppDirTest)
#include "tst_appdir.moc"
