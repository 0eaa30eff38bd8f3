#include "CatalogueSteps.h"
#include "TestMain.h"

#include <QLayout>
#include <QtTest>

using namespace catalogue;

class CatalogueWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void entryWindowsKeepTheirSize_data();
    void entryWindowsKeepTheirSize();
    void deleteLoadsTheListsAgainInTheStyleInForce_data();
    void deleteLoadsTheListsAgainInTheStyleInForce();
};

void CatalogueWindowsTest::entryWindowsKeepTheirSize_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("outer");
    QTest::newRow("FrmAddnew") << "FrmAddnew" << QSize(433, 291);
    QTest::newRow("FrmUpdateBook") << "FrmUpdateBook" << QSize(498, 294);
    QTest::newRow("FrmSetBook") << "FrmSetBook" << QSize(514, 302);
}

void CatalogueWindowsTest::entryWindowsKeepTheirSize()
{
    QFETCH(QString, window);
    QFETCH(QSize, outer);
    TestApp t;
    seedBook(t, {"B1", "呐喊", "I", "不详", "鲁迅", "20", "不详", "2026-01-01", 0});
    t.login();
    if (window == "FrmUpdateBook") {
        t.trigger("mnuLendora");
        t.click("FrmLendora", "cmdModify");
    } else {
        t.trigger(window == "FrmAddnew" ? "meuAddNewBook" : "mnuSetBook");
    }
    QWidget *w = t.window(window);
    QVERIFY(w);
    QCOMPARE(w->frameGeometry().size(), outer);
    w->resize(outer * 2);
    QCOMPARE(w->frameGeometry().size(), outer);
    // The layout has the room it needs, so no control is squeezed over another.
    QVERIFY(w->layout());
    const QSize needed = w->layout()->minimumSize();
    QVERIFY2(needed.width() <= w->width() && needed.height() <= w->height(),
             qPrintable(QStringLiteral("needs %1x%2").arg(needed.width()).arg(needed.height())));
}

void CatalogueWindowsTest::deleteLoadsTheListsAgainInTheStyleInForce_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("book list") << "mnuLendora"
                               << "FrmLendora";
    QTest::newRow("categories") << "mnuSetBook"
                                << "FrmSetBook";
}

void CatalogueWindowsTest::deleteLoadsTheListsAgainInTheStyleInForce()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    TestApp t;
    seedBook(t, {"B1", "红楼梦", "I", "人民文学出版社", "曹雪芹", "59.7", "1606", "2026-03-02", 0});
    t.login();
    t.trigger(command);
    QWidget *list = t.window(window);
    QVERIFY(list);
    QVERIFY(list->styleSheet().isEmpty());
    // A style chosen while the window is open reaches it when it loads again: after a delete,
    // whatever the answer.
    t.trigger("meuLight");
    QVERIFY(list->styleSheet().isEmpty());
    t.prompter().answerConfirm(false);
    t.click(window, "cmdDel");
    QVERIFY(t.app().styles().isStyled(list));
    QVERIFY(!list->styleSheet().isEmpty());
    QCOMPARE(count(t, "bookInfo"), 1);
}

LENDORA_TEST_CLASS(CatalogueWindowsTest)
#include "tst_windows.moc"
