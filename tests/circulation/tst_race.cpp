#include "TestApp.h"

#include <QProcess>
#include <QtTest>

using lendora::testkit::TestApp;

namespace {

class RaceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!TestApp::onServer())
            QSKIP("desks sharing a server: LENDORA_TEST_SERVER");
    }
    void desksNeverBreakTheRules();
};

void RaceTest::desksNeverBreakTheRules()
{
    constexpr int kDesks = 4;
    constexpr int kLimit = 2;
    TestApp t;
    for (int r = 1; r <= 3; ++r)
        t.exec("insert into readerInfo (读者编号, 读者姓名) values (?, '读者')",
               {QStringLiteral("R%1").arg(r)});
    for (int b = 1; b <= 12; ++b)
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 书籍价格, 书籍页码)"
               " values (?, '争抢的书', 'I', '不详', '1', '1')",
               {QStringLiteral("B%1").arg(b, 2, 10, QChar('0'))});
    t.exec("update basicSet set 借出册数 = ?", {kLimit});
    t.db().close();

    // Desk processes of their own, each with its own connection, on the same few books and
    // readers at once.
    QList<QProcess *> desks;
    for (int d = 0; d < kDesks; ++d) {
        auto *desk = new QProcess(this);
        desk->start(LENDORA_RACER, {t.serverLibrary(), QString::number(20261207 + d), "4000"});
        desks << desk;
    }
    int lent = 0;
    int returned = 0;
    int renewed = 0;
    int removed = 0;
    for (QProcess *desk : std::as_const(desks)) {
        QVERIFY(desk->waitForFinished(120000));
        const QString out = QString::fromUtf8(desk->readAllStandardOutput());
        QVERIFY2(desk->exitCode() == 0, qPrintable(out + desk->readAllStandardError()));
        // Only a clean refusal may fail: a lock waited for too long, or a deadlock the server
        // broke (DbError::Busy, DbError::Retry); nothing else.
        for (const QString &line : out.split('\n')) {
            if (line.startsWith("failed "))
                QVERIFY2(line.startsWith("failed 2 ") || line.startsWith("failed 3 "),
                         qPrintable(line));
        }
        const QStringList totals = out.trimmed().split('\n').last().split(' ');
        QCOMPARE(totals.value(0), QString("lent"));
        lent += totals.value(1).toInt();
        returned += totals.value(3).toInt();
        renewed += totals.value(5).toInt();
        removed += totals.value(7).toInt();
    }
    qDeleteAll(desks);
    qInfo("%d desks: lent %d, returned %d, renewed %d, readers removed %d", kDesks, lent, returned,
          renewed, removed);
    // The race took place: every kind of write happened, many times.
    QVERIFY2(lent > 20 && returned > 10 && renewed > 5 && removed > 5,
             qPrintable(QString("lent %1 returned %2 renewed %3 removed %4")
                            .arg(lent)
                            .arg(returned)
                            .arg(renewed)
                            .arg(removed)));

    QCOMPARE(t.scalar("select count(*) from (select 书籍编号 from lentInfo where 还书日期 is null"
                      " group by 书籍编号 having count(*) > 1) as twice")
                 .toInt(),
             0);
    QCOMPARE(t.scalar("select count(*) from bookInfo where 是否借出 <> case when exists (select 1"
                      " from lentInfo where lentInfo.书籍编号 = bookInfo.书籍编号 and"
                      " lentInfo.还书日期 is null) then 1 else 0 end")
                 .toInt(),
             0);
    QCOMPARE(t.scalar("select count(*) from (select 读者编号 from lentInfo where 还书日期 is null"
                      " group by 读者编号 having count(*) > ?) as over",
                      {kLimit})
                 .toInt(),
             0);
    QCOMPARE(t.scalar("select count(*) from lentInfo where 读者编号 not in (select 读者编号 from"
                      " readerInfo) or 书籍编号 not in (select 书籍编号 from bookInfo)")
                 .toInt(),
             0);
    QCOMPARE(t.scalar("select count(*) from lentInfo").toInt(), lent);
}

}  // namespace

QTEST_MAIN(RaceTest)
#include "tst_race.moc"
