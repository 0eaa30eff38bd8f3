// Screenshots of the real windows for docs/: each scene starts the application in a fresh
// directory with scripted prompts, puts data in and drives the windows as a clerk would, then
// saves the window it shows. Run under Xvfb with the xcb platform:
//   xvfb-run -a build/test/bin/lendora_docshots docs [scene ...]
#include "TestApp.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>
#include <QDir>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <functional>

using lendora::testkit::TestApp;

namespace {

struct Scene {
    const char *file;                             // docs/<file>.png
    std::function<QWidget *(TestApp &)> prepare;  // the window to save
};

// A shelf of books for the catalogue scenes.
void seedShelf(TestApp &t)
{
    const QVariantList books[] = {
        {"B1001", "红楼梦", "I", "人民文学出版社", "曹雪芹", "59.7", "1606", "2026-03-02", 0},
        {"B1002", "史记", "K", "中华书局", "司马迁", "125", "3322", "2026-03-02", 1},
        {"B1003", "论语译注", "B", "中华书局", "杨伯峻", "36", "316", "2026-04-18", 0},
        {"B1004", "C程序设计语言", "T", "机械工业出版社", "克尼汉", "30", "258", "2026-05-09", 0},
        {"B1005", "数据库系统概论", "T", "高等教育出版社", "王珊", "39.6", "410", "2026-05-09", 1},
        {"B1006", "中国文化要义", "G", "上海人民出版社", "梁漱溟", "42", "355", "2026-06-21", 0},
        {"B1007", "天工开物", "T", "清华大学出版社", "宋应星", "48", "不详", "2026-08-30", 0},
        {"B1008", "本草纲目", "R", "人民卫生出版社", "李时珍", "88", "1892", "2026-10-12", 0},
    };
    for (const QVariantList &book : books)
        t.exec(QStringLiteral("insert into bookInfo values (?, ?, ?, ?, ?, ?, ?, ?, ?)"), book);
}

void settle()
{
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

const QList<Scene> &scenes()
{
    static const QList<Scene> all = {
        {"main-window",
         [](TestApp &t) {
             t.login();
             return t.window("Frmmain");
         }},
        {"basic-settings",
         [](TestApp &t) {
             t.login();
             t.trigger("mnuSetBasic");
             return t.window("FrmBasicSet");
         }},
        {"categories",
         [](TestApp &t) {
             t.login();
             t.trigger("mnuSetBook");
             auto *grid = t.control<QTableView>("FrmSetBook", "DataGrid1");
             grid->setCurrentIndex(grid->model()->index(8, 0));
             t.click("FrmSetBook", "cmdModify");
             return t.window("FrmSetBook");
         }},
        {"add-book",
         [](TestApp &t) {
             t.login();
             t.trigger("meuAddNewBook");
             t.type("FrmAddnew", "txtBookID", "B1009");
             t.type("FrmAddnew", "txtBookName", "围城");
             auto *types = t.control<QComboBox>("FrmAddnew", "cboType");
             types->setCurrentIndex(types->findText(QStringLiteral("I-文学")));
             t.type("FrmAddnew", "txtWriter", "钱锺书");
             t.type("FrmAddnew", "txtPage", "359");
             t.type("FrmAddnew", "txtBookPrice", "39");
             t.type("FrmAddnew", "txtBookConcern", " ");
             // Opened once the window is up, or its activation would close the list again.
             QComboBox *publishers = t.control<QComboBox>("FrmAddnew", "Combo1");
             QTimer::singleShot(50, publishers, [publishers] { publishers->showPopup(); });
             return t.window("FrmAddnew");
         }},
        {"book-list",
         [](TestApp &t) {
             seedShelf(t);
             t.login();
             t.trigger("mnuLendora");
             return t.window("FrmLendora");
         }},
        {"update-book",
         [](TestApp &t) {
             seedShelf(t);
             t.login();
             t.trigger("mnuLendora");
             auto *grid = t.control<QTableView>("FrmLendora", "DataGrid1");
             grid->setCurrentIndex(grid->model()->index(3, 0));
             t.click("FrmLendora", "cmdModify");
             return t.window("FrmUpdateBook");
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
