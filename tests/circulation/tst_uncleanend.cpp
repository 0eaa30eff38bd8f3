#include "Desk.h"
#include "TestMain.h"
#include "data/Backups.h"
#include "data/DbError.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace desk;
using lendora::Backups;
using lendora::DatabaseFile;
using lendora::DbError;

namespace {

const QString kRefused = DbError{DbError::Unchecked, {}}.forClerk();

const QString kWaiting = QStringLiteral("正在检查数据库文件,检查完成后才能保存,请稍候...");

// The note shown while a write waits for the check, when it is up.
const QLabel *waitingNote()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("lblWaitingForCheck") && w->isVisible())
            return qobject_cast<const QLabel *>(w);
    }
    return nullptr;
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Readers enough for many pages; the last leaf page of their table is overwritten, which only
// the whole-file check notices: the readers and books the desk looks up stay readable.
void damageReaders(TestApp &t)
{
    QSqlQuery q(t.db());
    QVERIFY(q.exec("begin"));
    for (int i = 0; i < 2000; ++i)
        QVERIFY(q.exec(QStringLiteral("insert into readerInfo values ('R%1', '%2', '男', '', '')")
                           .arg(i, 5, 10, QLatin1Char('0'))
                           .arg(QString(40, QChar(0x8BFB)))));
    QVERIFY(q.exec("commit"));
    QVERIFY(q.exec("PRAGMA wal_checkpoint(TRUNCATE)"));
    QVERIFY(q.exec("select max(pageno) from dbstat where name='readerInfo' and pagetype='leaf'")
            && q.next());
    const qint64 page = q.value(0).toLongLong();
    QVERIFY(q.exec("PRAGMA page_size") && q.next());
    const qint64 pageSize = q.value(0).toLongLong();
    q.finish();
    t.db().close();
    QFile file(DatabaseFile::pathIn(t.appDir()));
    QVERIFY(file.open(QIODevice::ReadWrite));
    // The page header stays, so the table still looks like one.
    QVERIFY(file.seek((page - 1) * pageSize + 8));
    QCOMPARE(file.write(QByteArray(pageSize - 8, char(0x5A))), pageSize - 8);
}

void keepBackup(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile copy(path);
    QVERIFY(copy.open(QIODevice::WriteOnly));
    copy.write("a copy");
}

}  // namespace

class UncleanEndTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (TestApp::onServer())
            QSKIP("a server checks its own data after a crash");
    }
    void writesWaitForTheCheck_data();
    void writesWaitForTheCheck();
};

void UncleanEndTest::writesWaitForTheCheck_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("backup");
    QTest::addColumn<bool>("openBackup");  // the clerk's answer to the offered backup

    QTest::newRow("sound file, lend") << "lend" << false << false << false;
    QTest::newRow("sound file, return") << "return" << false << false << false;
    QTest::newRow("sound file, renewal") << "renew" << false << false << false;
    QTest::newRow("damaged file, lend, no backup") << "lend" << true << false << false;
    QTest::newRow("damaged file, return, backup opened") << "return" << true << true << true;
    QTest::newRow("damaged file, renewal, backup declined") << "renew" << true << true << false;
}

// The login comes while the whole-file check is held; the write the clerk makes waits for it
// under a note, then lands, or, when the check fails, the clerk is told once and every write
// is refused without touching the file.
void UncleanEndTest::writesWaitForTheCheck()
{
    QFETCH(QString, write);
    QFETCH(bool, damaged);
    QFETCH(bool, backup);
    QFETCH(bool, openBackup);
    TestApp t;
    const QString path = DatabaseFile::pathIn(t.appDir());
    seedForWrites(t);
    if (damaged)
        damageReaders(t);
    t.db().close();
    const QString newest = Backups(t.appDir()).pathFor(QDate(2026, 12, 6), QTime(18, 0));
    if (backup) {
        keepBackup(Backups(t.appDir()).pathFor(QDate(2026, 12, 1), QTime(18, 0)));
        keepBackup(newest);
    }
    QFile marker(DatabaseFile::markerPath(path));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    const QByteArray before = hashOf(path);

    t.holdFileCheck();
    QVERIFY(t.start());
    QVERIFY(t.window("FrmLogon"));
    QVERIFY(t.app().database().isChecking());
    readyWrite(t, write);
    QVERIFY(t.app().database().isChecking());
    const QString rows = snapshot(t);

    // While the write waits, the note is up and nothing is written yet; then the check ends.
    bool noted = false;
    QString whileWaiting;
    QTimer watch;
    watch.setInterval(0);
    connect(&watch, &QTimer::timeout, [&] {
        const QLabel *note = waitingNote();
        if (!note)
            return;
        watch.stop();
        noted = note->text() == kWaiting;
        whileWaiting = snapshot(t);
        t.releaseFileCheck();
    });
    if (damaged && backup)
        t.prompter().answerConfirm(openBackup);
    watch.start();
    finishWrite(t, write);
    watch.stop();
    QVERIFY(noted);
    QCOMPARE(whileWaiting, rows);
    QVERIFY(!waitingNote());
    QVERIFY(!t.app().database().isChecking());

    const QList<ScriptedPrompter::Shown> shown = t.prompter().shown();
    t.prompter().clear();
    if (!damaged) {
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.first().prompt.text.endsWith("完毕!"));
        QVERIFY(snapshot(t) != rows);
        t.app().end(lendora::Application::Ending::ExitCommand);
        QVERIFY(!QFile::exists(DatabaseFile::markerPath(path)));
        return;
    }

    // Told once what was found and what to do, then the write itself refused.
    QCOMPARE(shown.size(), 2);
    const ScriptedPrompter::Shown &told = shown.first();
    QCOMPARE(told.kind,
             backup ? ScriptedPrompter::Shown::Confirm : ScriptedPrompter::Shown::Message);
    QCOMPARE(told.prompt.icon, lendora::Icon::Error);
    QVERIFY2(told.prompt.text.contains("已损坏") && told.prompt.text.contains("不再保存任何改动"),
             qPrintable(told.prompt.text));
    if (backup) {
        QVERIFY2(told.prompt.text.contains(QDir::toNativeSeparators(newest))
                     && told.prompt.text.contains("系统设置 → 备份与恢复"),
                 qPrintable(told.prompt.text));
    } else {
        QVERIFY2(told.prompt.text.contains("没有找到备份"), qPrintable(told.prompt.text));
    }
    QCOMPARE(bool(t.window("FrmBackup")), openBackup);
    QCOMPARE(shown.at(1).prompt.text, kRefused);
    QVERIFY(kRefused.contains("没有做任何改动"));

    // Every later write is refused the same way, without telling the failure again.
    finishWrite(t, write);
    QCOMPARE(t.prompter().texts(), QStringList{kRefused});
    QCOMPARE(snapshot(t), rows);
    t.app().end(lendora::Application::Ending::ExitCommand);
    QCOMPARE(hashOf(path), before);
    // Not known to be sound: the next start checks it again.
    QVERIFY(QFile::exists(DatabaseFile::markerPath(path)));
}

LENDORA_TEST_CLASS(UncleanEndTest)
#include "tst_uncleanend.moc"
