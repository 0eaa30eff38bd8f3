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

LENDORA_TEST_CLASS(CatalogueWindowsTest)
#include "tst_windows.moc"
