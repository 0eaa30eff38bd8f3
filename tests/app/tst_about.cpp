#include "TestApp.h"
#include "TestMain.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

QLabel *label(TestApp &t, const char *name)
{
    return t.control<QLabel>("FrmAbout", name);
}

bool looksLikeLink(QLabel *l)
{
    return l->palette().color(QPalette::WindowText) == QColor(0, 0, 255) && l->font().underline();
}

bool looksPlain(QLabel *l)
{
    return l->palette().color(QPalette::WindowText) == QColor(0, 0, 0) && !l->font().underline();
}

// A plain mouse move (no button held) over a point of a widget, delivered the way the window
// system's would be: a widget that does not track the mouse never sees it.
void hover(QWidget *w, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void aboutBox();
    void labelsPerStyle_data();
    void labelsPerStyle();
    void linksLightUpUnderTheMouse();
    void pressOnALinkOpensIt_data();
    void pressOnALinkOpensIt();
    void underASkinOnlyTheLogoOpens();
    void okCloses();
};

void AboutTest::aboutBox()
{
    TestApp t;
    t.login();
    t.trigger("meuAbout");
    QWidget *about = t.window("FrmAbout");
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QString::fromUtf8("关于Lanshu"));
    QCOMPARE(about->size(), QSize(4365 / 15, 4635 / 15));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(about->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!about->isModal());

    QVERIFY(!label(t, "Picture1")->pixmap().isNull());
    QCOMPARE(t.text("FrmAbout", "Label1"), QString::fromUtf8("公司网站："));
    QCOMPARE(t.text("FrmAbout", "Label3"), QString::fromUtf8("关于界面皮肤，请参见："));
    QCOMPARE(t.text("FrmAbout", "Command2"), QString::fromUtf8("确定(&O)"));
    // Each address stands in both of its labels.
    QCOMPARE(t.text("FrmAbout", "Label2"), t.text("FrmAbout", "Label5"));
    QCOMPARE(t.text("FrmAbout", "Label4"), t.text("FrmAbout", "Label6"));
    for (const char *name : {"Label5", "Label6"}) {
        const QUrl url(t.text("FrmAbout", name));
        QVERIFY2(url.isValid() && url.scheme() == "http" && !url.host().isEmpty(), name);
        QCOMPARE(label(t, name)->cursor().shape(), Qt::PointingHandCursor);
    }
    QVERIFY(t.text("FrmAbout", "Label5") != t.text("FrmAbout", "Label6"));

    // Nothing overlaps and nothing is cut off.
    QList<QWidget *> shown;
    for (const char *name : {"Picture1", "Label1", "Label5", "Label3", "Label6", "Command2"}) {
        auto *w = t.control<QWidget>("FrmAbout", name);
        QVERIFY2(about->rect().contains(w->geometry()), name);
        QVERIFY2(w->width() >= w->sizeHint().width(), name);
        for (QWidget *other : shown)
            QVERIFY2(!other->geometry().intersects(w->geometry()), name);
        shown << w;
    }
}

void AboutTest::labelsPerStyle_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("links");
    QTest::newRow("Windows默认") << "meuWinStyle" << true;
    QTest::newRow("经典传奇") << "meuTypeStyle" << false;
    QTest::newRow("轻松一刻") << "meuLight" << false;
}

void AboutTest::labelsPerStyle()
{
    QFETCH(QString, style);
    QFETCH(bool, links);

    TestApp t;
    t.login();
    // Switch away first, so that each opening has to work the visibility out afresh.
    t.trigger(links ? "meuLight" : "meuWinStyle");
    t.trigger("meuAbout");
    t.control<QWidget>("FrmAbout", "FrmAbout")->close();
    QTRY_VERIFY(!t.app().windows().find("FrmAbout"));

    t.trigger(style);
    t.trigger("meuAbout");
    QVERIFY(t.window("FrmAbout"));
    QCOMPARE(label(t, "Label5")->isVisible(), links);
    QCOMPARE(label(t, "Label6")->isVisible(), links);
    QCOMPARE(label(t, "Label2")->isVisible(), !links);
    QCOMPARE(label(t, "Label4")->isVisible(), !links);
    QVERIFY(label(t, "Label1")->isVisible());
    QVERIFY(label(t, "Label3")->isVisible());
    QCOMPARE(t.window("FrmAbout")->styleSheet().isEmpty(), links);
    QCOMPARE(t.window("FrmAbout")->styleSheet(), t.app().mainWindow()->styleSheet());
}

void AboutTest::linksLightUpUnderTheMouse()
{
    TestApp t;
    t.login();
    t.trigger("meuAbout");
    QWidget *about = t.window("FrmAbout");
    QVERIFY(about);
    QLabel *maker = label(t, "Label5");
    QLabel *skin = label(t, "Label6");
    QVERIFY(looksPlain(maker));
    QVERIFY(looksPlain(skin));

    hover(maker, maker->rect().center());
    QVERIFY(looksLikeLink(maker));
    QVERIFY(looksPlain(skin));

    // From one link straight onto the other: both lit until the background is reached.
    hover(skin, skin->rect().center());
    QVERIFY(looksLikeLink(skin));
    QVERIFY(looksLikeLink(maker));

    // Over another label nothing changes.
    QLabel *caption = label(t, "Label3");
    hover(caption, caption->rect().center());
    hover(label(t, "Picture1"), QPoint(1, 1));
    QVERIFY(looksLikeLink(maker) && looksLikeLink(skin));

    // Over the bare window: both back to black without underline.
    hover(about, QPoint(3, about->height() / 2));
    QVERIFY(looksPlain(maker));
    QVERIFY(looksPlain(skin));
    QVERIFY(t.launcher().openedUrls.isEmpty());
}

void AboutTest::pressOnALinkOpensIt_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("maker, left") << "Label5" << Qt::LeftButton;
    QTest::newRow("maker, right") << "Label5" << Qt::RightButton;
    QTest::newRow("skins, left") << "Label6" << Qt::LeftButton;
    QTest::newRow("skins, middle") << "Label6" << Qt::MiddleButton;
}

void AboutTest::pressOnALinkOpensIt()
{
    QFETCH(QString, link);
    QFETCH(Qt::MouseButton, button);

    TestApp t;
    t.login();
    t.trigger("meuAbout");
    QLabel *l = t.control<QLabel>("FrmAbout", link);
    QTest::mousePress(l, button, {}, l->rect().center());
    QCOMPARE(t.launcher().openedUrls, QStringList{l->text()});
    QTest::mouseRelease(l, button, {}, l->rect().center());
    QCOMPARE(t.launcher().openedUrls.size(), 1);

    // The logo opens the maker's site.
    QLabel *logo = label(t, "Picture1");
    QTest::mouseClick(logo, Qt::LeftButton, {}, logo->rect().center());
    QCOMPARE(t.launcher().openedUrls, (QStringList{l->text(), t.text("FrmAbout", "Label5")}));
    QVERIFY(t.prompter().shown().isEmpty());
    QVERIFY(t.window("FrmAbout"));  // opening an address leaves the box open
}

void AboutTest::underASkinOnlyTheLogoOpens()
{
    TestApp t;
    t.login();
    t.trigger("meuTypeStyle");
    t.trigger("meuAbout");
    for (const char *name : {"Label2", "Label4", "Label1", "Label3"})
        QTest::mouseClick(label(t, name), Qt::LeftButton);
    QVERIFY(t.launcher().openedUrls.isEmpty());
    QTest::mouseClick(label(t, "Picture1"), Qt::LeftButton);
    QCOMPARE(t.launcher().openedUrls, QStringList{t.text("FrmAbout", "Label2")});
}

void AboutTest::okCloses()
{
    TestApp t;
    t.login();
    t.trigger("meuAbout");
    QVERIFY(t.window("FrmAbout"));
    t.click("FrmAbout", "Command2");
    QVERIFY(!t.window("FrmAbout"));
    QTRY_VERIFY(!t.app().windows().find("FrmAbout"));
    QVERIFY(t.window("Frmmain"));
    t.trigger("meuAbout");
    QVERIFY(t.window("FrmAbout"));
}

LENDORA_TEST_CLASS(AboutTest)
#include "tst_about.moc"
