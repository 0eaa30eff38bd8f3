#include "Desk.h"
#include "TestMain.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace desk;

namespace {
// The controls a clerk works with: named by us, not Qt's inner parts.
QList<QWidget *> controls(QWidget *page)
{
    QList<QWidget *> found;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        const bool kind = qobject_cast<QLabel *>(w) || qobject_cast<QLineEdit *>(w)
                          || qobject_cast<QAbstractButton *>(w) || qobject_cast<QDateEdit *>(w)
                          || qobject_cast<QTableView *>(w);
        if (kind && w->isVisible() && !w->objectName().isEmpty()
            && !w->objectName().startsWith("qt_"))
            found << w;
    }
    return found;
}
}  // namespace

class TabsTest : public QObject {
    Q_OBJECT

private slots:
    void captions_data();
    void captions();
    void boxesAtStart();
    void tabsFitTheWindow();
};

void TabsTest::captions_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("texts");  // labels, frames and buttons of the tab, sorted

    QStringList lending = {"读者信息",
                           "图书信息",
                           "读者编号:",
                           "<输完按回车>",
                           "读者姓名:",
                           "添加新读者",
                           "书籍编号:",
                           "<输完按回车>",
                           "书籍名称:",
                           "书籍价格:",
                           "书籍类别:",
                           "出版社:",
                           "书籍页码:",
                           "借出日期:",
                           "借出当前图书",
                           "显示已借图书信息:",
                           "已借图书册数:",
                           "还允许借出册数:",
                           ""};
    QStringList renewal = {"读者编号:", "<输完按回车>", "读者姓名:",     "所借图书", "书籍编号:",
                           "书籍名称:", "借书日期:",    "借书日期改为:", "确  定"};
    QStringList giving = {
        "读者编号:", "<输完按回车>", "读者姓名:", "书籍编号:", "<输完按回车>", "书籍名称:",
        "书籍价格:", "书籍类别:",    "书籍页码:", "借出日期:", "规定天数:",    "还书日期:",
        "实际天数:", "超出天数:",    "罚款金额:", "归还图书"};
    lending.sort();
    renewal.sort();
    giving.sort();
    QTest::newRow("正常借书") << 0 << lending;
    QTest::newRow("续借图书") << 1 << renewal;
    QTest::newRow("还  书") << 2 << giving;
}

void TabsTest::captions()
{
    QFETCH(int, tab);
    QFETCH(QStringList, texts);

    TestApp t;
    t.login();
    showTab(t, Tab(tab));
    QWidget *page = t.control<QTabWidget>(kMain, "SSTab1")->currentWidget();
    QStringList shown;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w))
            shown << label->text();
        else if (auto *button = qobject_cast<QPushButton *>(w))
            shown << button->text();
        else if (auto *frame = qobject_cast<QGroupBox *>(w))
            shown << frame->title();
    }
    shown.sort();
    QCOMPARE(shown, texts);
}

void TabsTest::boxesAtStart()
{
    TestApp t(QDate(2026, 3, 15));
    t.login();
    for (const char *name :
         {"txtReaderID", "txtBookID", "txtReaderIDRenew", "txtReadIDReturn", "txtBookIDReturn"}) {
        auto *box = t.control<QLineEdit>(kMain, name);
        QVERIFY2(!box->isReadOnly() && box->property("lendoraInput").toBool(), name);
    }
    for (const char *name : {"txtReaderName",
                             "txtBookPrice",
                             "txtBookName",
                             "txtBookLeibie",
                             "txtBookConcern",
                             "txtBookPage",
                             "txtReaderNameRenew",
                             "txtBookIDRenew",
                             "txtBookNameRenew",
                             "txtLendDate",
                             "txtReaderNameReturn",
                             "txtBookNameReturn",
                             "txtBookPriceReturn",
                             "txtBookLeibieReturn",
                             "txtBookPageReturn",
                             "txtLendDateReturn",
                             "txtDay",
                             "txtReturnDate",
                             "txtFactDay",
                             "txtDayCount",
                             "txtFakuan"}) {
        auto *box = t.control<QLineEdit>(kMain, name);
        QVERIFY2(box->isReadOnly() && box->text().isEmpty(), name);
    }
    QVERIFY(enabled(t, "cmdLendBook"));
    QVERIFY(!enabled(t, "cmdOK"));
    QVERIFY(!enabled(t, "cmdReturn"));
    for (const char *name : {"dtpLendDate", "dtpLendDateChange"}) {
        auto *picker = t.control<QDateEdit>(kMain, name);
        QCOMPARE(picker->date(), QDate(2026, 3, 15));
        QCOMPARE(picker->text(), QStringLiteral("2026-03-15"));
    }
    auto *image = t.control<QLabel>(kMain, "Image1");
    QVERIFY(image && !image->pixmap().isNull());
    QCOMPARE(image->pixmap().size(), QSize(32, 32));
    QCOMPARE(focused(t), QStringLiteral("txtReaderID"));
}

void TabsTest::tabsFitTheWindow()
{
    TestApp t;
    seedLibrary(t);
    t.login();
    auto *main = qobject_cast<QMainWindow *>(t.window(kMain));
    QVERIFY(main);
    // Room is left for a title bar and borders of the desktop's own.
    QVERIFY2(main->minimumSizeHint().height() <= 480 - 40,
             qPrintable(QString::number(main->minimumSizeHint().height())));
    QVERIFY2(main->minimumSizeHint().width() <= 681 - 10,
             qPrintable(QString::number(main->minimumSizeHint().width())));

    // With the longest texts the desk shows in place, nothing overlaps or is cut off.
    scan(t, "txtReaderID", "001");
    scan(t, "txtBookID", "B1001");
    for (int tab = 0; tab < 3; ++tab) {
        showTab(t, Tab(tab));
        QApplication::processEvents();
        QWidget *page = t.control<QTabWidget>(kMain, "SSTab1")->currentWidget();
        const QList<QWidget *> all = controls(page);
        QVERIFY(all.size() > 10);
        for (int i = 0; i < all.size(); ++i) {
            const QRect a(all[i]->mapTo(page, QPoint(0, 0)), all[i]->size());
            QVERIFY2(page->rect().contains(a), qPrintable(all[i]->objectName()));
            const QSize wanted =
                qobject_cast<QLabel *>(all[i]) || qobject_cast<QPushButton *>(all[i])
                    ? all[i]->sizeHint()
                    : all[i]->minimumSizeHint();
            QVERIFY2(all[i]->width() >= wanted.width() && all[i]->height() >= wanted.height(),
                     qPrintable(all[i]->objectName()));
            for (int j = i + 1; j < all.size(); ++j) {
                const QRect b(all[j]->mapTo(page, QPoint(0, 0)), all[j]->size());
                QVERIFY2(!a.intersects(b),
                         qPrintable(all[i]->objectName() + " / " + all[j]->objectName()));
            }
        }
    }
}

LENDORA_TEST_CLASS(TabsTest)
#include "tst_tabs.moc"
