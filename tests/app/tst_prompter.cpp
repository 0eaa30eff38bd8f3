#include "TestMain.h"
#include "app/QtPrompter.h"
#include "gui/widgets/Texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QtTest>

using namespace lendora;

// The real message box, made as the prompter makes it and shown without waiting for it.
class PrompterTest : public QObject {
    Q_OBJECT

private slots:
    void boxShowsWholeTitle_data();
    void boxShowsWholeTitle();
};

void PrompterTest::boxShowsWholeTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("application title, short message")
        << appTitle() << QString::fromUtf8("帐号不存在!") << false;
    QTest::newRow("application title, two lines")
        << appTitle() << QString::fromUtf8("帐号更改成功!\n你的用户名是:a") << false;
    QTest::newRow("hint title, OK and Cancel")
        << hintTitle() << QString::fromUtf8("确定要删除吗?") << true;
    QTest::newRow("long message")
        << appTitle() << QString::fromUtf8("数据库文件夹不能写入,借还记录无法保存。").repeated(6)
        << false;
}

void PrompterTest::boxShowsWholeTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, cancel);

    const auto box = QtPrompter::messageBox(
        {text, title, cancel ? Buttons::OkCancel : Buttons::Ok, Icon::None}, nullptr);
    box->show();  // not exec(): nothing waits for an answer
    QVERIFY(box->width() >= QtPrompter::widthForTitle(title));
    QCOMPARE(box->windowTitle(), title);
    QCOMPARE(box->text(), text);
    QCOMPARE(box->button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
    QCOMPARE(box->button(QMessageBox::Cancel) != nullptr, cancel);
    if (cancel)
        QCOMPARE(box->button(QMessageBox::Cancel)->text(), QString::fromUtf8("取消"));

    // Room beyond the title's own width for the frame's icon and buttons.
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    QVERIFY(QtPrompter::widthForTitle(title) >= metrics.horizontalAdvance(title) + 100);
}

LENDORA_TEST_CLASS(PrompterTest)
#include "tst_prompter.moc"
