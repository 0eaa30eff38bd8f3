// Screenshots of the real windows for docs/: each scene starts the application in a fresh
// directory with scripted prompts, puts data in and drives the windows as a clerk would, then
// saves the window it shows. Run under Xvfb with the xcb platform:
//   xvfb-run -a build/test/bin/lendora_docshots docs [scene ...]
#include "TestApp.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <functional>

using lendora::testkit::TestApp;

namespace {

struct Scene {
    const char *file;                             // docs/<file>.png
    std::function<QWidget *(TestApp &)> prepare;  // the window to save
};

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

// A small library in use: three readers, eight books, loans of the last weeks.
void seedLibrary(TestApp &t)
{
    const QList<QVariantList> readers = {
        {"001", "张伟", "男", "13800138001", "计算机系"},
        {"002", "李娜", "女", "13912345678", "外语学院"},
        {"003", "王芳", "女", "13698765432", "图书馆办公室"},
    };
    for (const QVariantList &r : readers)
        t.exec("insert into readerInfo values (?,?,?,?,?)", r);
    const QList<QVariantList> books = {
        {"B1001", "红楼梦", "I", "人民文学出版社", "曹雪芹", "59.70", "1606", "2026-03-02", 1},
        {"B1002", "围城", "I", "人民文学出版社", "钱钟书", "39.00", "359", "2026-03-02", 1},
        {"B1003", "平凡的世界", "I", "北京十月文艺出版社", "路遥", "108.00", "1631", "2026-04-11", 1},
        {"B1004", "三体", "I", "重庆出版社", "刘慈欣", "23.00", "302", "2026-04-11", 0},
        {"B1005", "万历十五年", "K", "中华书局", "黄仁宇", "28.00", "274", "2026-05-20", 1},
        {"B1006", "数学分析(上册)", "O", "高等教育出版社", "华东师范大学数学系", "45.20", "407",
         "2026-05-20", 1},
        {"B1007", "算法导论", "T", "机械工业出版社", "Cormen", "128.00", "780", "2026-06-08", 1},
        {"B1008", "乡土中国", "C", "北京大学出版社", "费孝通", "38.00", "188", "2026-06-08", 0},
    };
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo values (?,?,?,?,?,?,?,?,?)", b);
    const QList<QVariantList> loans = {
        {"001", "B1001", "2026-11-20"}, {"001", "B1005", "2026-12-01"},
        {"002", "B1002", "2026-10-30"}, {"002", "B1006", "2026-11-15"},
        {"002", "B1007", "2026-11-28"}, {"003", "B1003", "2026-10-20"},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo (读者编号,书籍编号,借书日期) values (?,?,?)", l);
}

QWidget *onTab(TestApp &t, int index)
{
    seedLibrary(t);
    t.login();
    t.control<QTabWidget>("Frmmain", "SSTab1")->setCurrentIndex(index);
    return t.window("Frmmain");
}

const QList<Scene> &scenes()
{
    static const QList<Scene> all = {
        {"main-window",
         [](TestApp &t) {
             t.login();
             return t.window("Frmmain");
         }},
        {"lending-tab",
         [](TestApp &t) {
             QWidget *main = onTab(t, 0);
             t.type("Frmmain", "txtReaderID", "001");
             t.enter("Frmmain", "txtReaderID");
             t.type("Frmmain", "txtBookID", "B1004");
             t.enter("Frmmain", "txtBookID");
             return main;
         }},
        {"renewal-tab",
         [](TestApp &t) {
             QWidget *main = onTab(t, 1);
             t.type("Frmmain", "txtReaderIDRenew", "002");
             t.enter("Frmmain", "txtReaderIDRenew");
             t.control<QTableView>("Frmmain", "dtgrdLendBookRenew")->selectRow(1);
             return main;
         }},
        {"return-tab",
         [](TestApp &t) {
             QWidget *main = onTab(t, 2);
             t.type("Frmmain", "txtReadIDReturn", "003");
             t.enter("Frmmain", "txtReadIDReturn");
             t.type("Frmmain", "txtBookIDReturn", "B1003");
             t.enter("Frmmain", "txtBookIDReturn");
             return main;
         }},
    };
    return all;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    QDir().mkpath(out);
    int failures = 0;
    for (const Scene &scene : scenes()) {
        const QString name = QString::fromLatin1(scene.file);
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        TestApp t;
        QWidget *window = scene.prepare(t);
        if (!window) {
            qWarning("scene %s showed no window", scene.file);
            ++failures;
            continue;
        }
        window->raise();
        window->activateWindow();
        settle();
        const QPixmap shot = window->screen()->grabWindow(window->winId());
        const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
        if (!shot.save(path)) {
            ++failures;
            continue;
        }
        qInfo("saved %s", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
