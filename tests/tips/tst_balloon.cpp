#include "TestMain.h"
#include "gui/widgets/BalloonWidget.h"
#include "gui/widgets/clsToolTip.h"

#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>
#include <QtTest>

using namespace lendora;

namespace {
// A window with two controls, shown and active, for the balloon to attach to.
struct Form {
    QWidget window;
    QPushButton *button;
    QLineEdit *box;

    Form()
    {
        auto *layout = new QVBoxLayout(&window);
        box = new QLineEdit(&window);
        button = new QPushButton(QStringLiteral(">>"), &window);
        layout->addWidget(box);
        layout->addWidget(button);
        window.resize(240, 120);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};
}  // namespace

class BalloonTest : public QObject {
    Q_OBJECT

private slots:
    void titleAndIcon_data();
    void titleAndIcon();
    void colours_data();
    void colours();
    void timings();
    void noTargetUntilSetHandle();
    void toolAreaOfAControlInsideItsWindow();
    void showsWhileTheMouseRests();
};

void BalloonTest::titleAndIcon_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("shownIcon");
    QTest::newRow("information with a title") << QStringLiteral("提示") << 1 << 1;
    QTest::newRow("warning") << QStringLiteral("注意") << 2 << 2;
    QTest::newRow("error") << QStringLiteral("出错") << 3 << 3;
    QTest::newRow("no icon") << QStringLiteral("提示") << 0 << 0;
    QTest::newRow("empty title hides the icon") << QString() << 1 << 0;
    QTest::newRow("unknown icon number") << QStringLiteral("提示") << 9 << 0;
}

void BalloonTest::titleAndIcon()
{
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(int, shownIcon);
    Form form;
    clsToolTip tip;
    tip.CreateBalloon(form.button, form.button, QStringLiteral("点击此按钮更改您的帐号!"),
                      clsToolTip::BalloonStyle, false, title, icon, QString(), QString());
    BalloonWidget *balloon = tip.tipWindow();
    QVERIFY(balloon);
    QCOMPARE(balloon->title(), title);
    QCOMPARE(balloon->text(), QStringLiteral("点击此按钮更改您的帐号!"));
    QCOMPARE(balloon->shownIcon(), shownIcon);
    QVERIFY(balloon->isBalloonShape());
    QCOMPARE(balloon->parentWidget(), &form.window);  // owned by the control's window
    // Without a title the balloon is no taller than the text needs.
    Form other;
    clsToolTip untitled;
    untitled.CreateBalloon(other.button, other.button, QStringLiteral("点击此按钮更改您的帐号!"),
                           clsToolTip::BalloonStyle, false, QString(), 0, QString(), QString());
    if (title.isEmpty())
        QCOMPARE(balloon->sizeHint(), untitled.tipWindow()->sizeHint());
    else
        QVERIFY(balloon->sizeHint().height() > untitled.tipWindow()->sizeHint().height());
}

void BalloonTest::colours_data()
{
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("fore");
    QTest::addColumn<QColor>("backColour");
    QTest::addColumn<QColor>("foreColour");
    const QColor systemBack = QToolTip::palette().color(QPalette::ToolTipBase);
    const QColor systemFore = QToolTip::palette().color(QPalette::ToolTipText);
    QTest::newRow("system colours") << ""
                                    << "" << systemBack << systemFore;
    // Red in the low byte, blue in the high one.
    QTest::newRow("red on blue") << "16711680"
                                 << "255" << QColor(0, 0, 255) << QColor(255, 0, 0);
    QTest::newRow("mixed") << "12648447"
                           << "32768" << QColor(0xFF, 0xFF, 0xC0) << QColor(0, 0x80, 0);
    QTest::newRow("not a number keeps the system's") << "abc"
                                                     << "16777216" << systemBack << systemFore;
}

void BalloonTest::colours()
{
    QFETCH(QString, back);
    QFETCH(QString, fore);
    QFETCH(QColor, backColour);
    QFETCH(QColor, foreColour);
    Form form;
    clsToolTip tip;
    tip.CreateBalloon(form.button, form.button, "text", clsToolTip::BalloonStyle, false, "提示", 1,
                      back, fore);
    QCOMPARE(tip.tipWindow()->backColour(), backColour);
    QCOMPARE(tip.tipWindow()->foreColour(), foreColour);
}

void BalloonTest::timings()
{
    const int wakeUp = QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay);
    clsToolTip tip;
    QCOMPARE(tip.DelayTime(), -1);
    QCOMPARE(tip.VisibleTime(), -1);
    QCOMPARE(tip.initialDelay(), wakeUp);
    QVERIFY(tip.autoHideTime() > wakeUp);
    // The timings are set before the tool is added, and take effect when it is.
    tip.setDelayTime(50);
    tip.setVisibleTime(1500);
    QCOMPARE(tip.initialDelay(), wakeUp);
    Form form;
    tip.CreateBalloon(form.button, form.button, "text", clsToolTip::BalloonStyle, false, "提示", 1,
                      "", "");
    QCOMPARE(tip.initialDelay(), 50);
    QCOMPARE(tip.autoHideTime(), 1500);
    // Set afterwards, they change nothing for the tool already there.
    tip.setDelayTime(900);
    tip.setVisibleTime(-1);
    QCOMPARE(tip.initialDelay(), 50);
    QCOMPARE(tip.autoHideTime(), 1500);
}

void BalloonTest::noTargetUntilSetHandle()
{
    Form form;
    clsToolTip tip;
    tip.CreateBalloon(form.button, nullptr, "text", clsToolTip::BalloonStyle, false, "提示", 1,
                      QString(), QString());
    QVERIFY(tip.tipWindow());
    QCOMPARE(tip.toolCount(), 0);
    QVERIFY(!tip.targetWindow());

    QCursor::setPos(form.button->mapToGlobal(form.button->rect().center()));
    QCOMPARE(QApplication::widgetAt(QCursor::pos()), form.button);
    tip.SetHandle(form.button);
    QCOMPARE(tip.toolCount(), 1);
    QCOMPARE(tip.targetWindow(), form.button);

    // A second call, with the mouse elsewhere, changes nothing.
    QCursor::setPos(form.box->mapToGlobal(form.box->rect().center()));
    tip.SetHandle(form.box);
    QCOMPARE(tip.toolCount(), 1);
    QCOMPARE(tip.targetWindow(), form.button);
}

void BalloonTest::toolAreaOfAControlInsideItsWindow()
{
    Form form;
    clsToolTip whole, part;
    whole.CreateBalloon(form.button, form.button, "t", 64, false, "提示", 1, "", "");
    part.CreateBalloon(form.button, &form.window, "t", 64, false, "提示", 1, "", "");
    QCOMPARE(whole.toolRect(), form.button->rect());
    QCOMPARE(part.toolRect(), form.button->geometry());
}

void BalloonTest::showsWhileTheMouseRests()
{
    Form form;
    clsToolTip tip;
    tip.setDelayTime(10);
    tip.CreateBalloon(form.button, form.button, QStringLiteral("点击此按钮更改您的帐号!"), 64,
                      false, QStringLiteral("提示"), 1, QString(), QString());
    BalloonWidget *balloon = tip.tipWindow();
    QVERIFY(!balloon->isVisible());

    QTest::mouseMove(form.button, form.button->rect().center());
    QTRY_VERIFY(balloon->isVisible());
    // Its stem points just below the mouse, over the button.
    const QPoint mouse = form.button->mapToGlobal(form.button->rect().center());
    QVERIFY(balloon->geometry().left() <= mouse.x() && balloon->geometry().right() >= mouse.x());
    QVERIFY(qAbs(balloon->geometry().top() - mouse.y()) <= 30
            || qAbs(balloon->geometry().bottom() - mouse.y()) <= 30);

    QTest::mouseMove(form.box, form.box->rect().center());
    QTRY_VERIFY(!balloon->isVisible());

    // A click on the control puts the balloon away too.
    QTest::mouseMove(form.button, form.button->rect().center());
    QTRY_VERIFY(balloon->isVisible());
    QTest::mousePress(form.button, Qt::LeftButton);
    QVERIFY(!balloon->isVisible());
    QTest::mouseRelease(form.button, Qt::LeftButton);
}

LENDORA_TEST_CLASS(BalloonTest)
#include "tst_balloon.moc"
