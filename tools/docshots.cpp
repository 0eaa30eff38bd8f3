// Screenshots of the real windows for docs/: each scene starts the application in a fresh
// directory with scripted prompts, puts data in and drives the windows as a clerk would, then
// saves the window it shows. A few scenes are taken again in English, as <scene>-en. Run under
// Xvfb with the xcb platform:
//   xvfb-run -a build/test/bin/lendora_docshots docs [scene ...]
#include "TestApp.h"
#include "base/Language.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QSet>
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

// The login window as it opens when setting.ini chose the style `loadStyle`.
QWidget *loginInStyle(TestApp &t, const QByteArray &loadStyle)
{
    QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
    if (!settings.open(QIODevice::WriteOnly))
        return nullptr;
    settings.write("LoadStyle=" + loadStyle + "\r\n");
    settings.close();
    if (!t.start())
        return nullptr;
    t.type("FrmLogon", "txtPassword", "741");
    return t.window("FrmLogon");
}

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

// A small library: readers, books across a few categories, open and returned loans.
void seedLibrary(TestApp &t)
{
    const QList<QVariantList> readers = {
        {"001", "张伟", "男", "13800138001", "计算机系"},
        {"002", "王芳", "女", "13800138002", "外语系"},
        {"003", "李娜", "女", "13800138003", "图书馆"},
        {"004", "刘洋", "男", "13800138004", "数学系"},
    };
    for (const QVariantList &r : readers)
        t.exec("insert into readerInfo values (?,?,?,?,?)", r);
    const QList<QVariantList> books = {
        {"B101", "C++程序设计", "T", "清华大学出版社", "谭浩强", "39.5", "420", "2026-03-02", 1},
        {"B102", "数据结构", "T", "清华大学出版社", "严蔚敏", "35", "335", "2026-03-02", 1},
        {"B103", "围城", "I", "人民文学出版社", "钱锺书", "28", "359", "2026-04-18", 0},
        {"B104", "数据库系统概论", "T", "高等教育出版社", "王珊", "42", "448", "2026-05-06", 0},
        {"B110", "线性代数", "O", "清华大学出版社", "居余马", "26", "276", "2026-05-06", 0},
        {"B201", "中国通史", "K", "中华书局", "吕思勉", "58", "690", "2026-06-11", 0},
    };
    for (const QVariantList &b : books)
        t.exec("insert into bookInfo values (?,?,?,?,?,?,?,?,?)", b);
    const QList<QVariantList> loans = {
        {"001", "B101", "2026-11-20", QVariant(), QVariant(), QVariant()},
        {"001", "B103", "2026-09-01", "2026-10-15", 14, 1.4},
        {"002", "B102", "2026-11-28", QVariant(), QVariant(), QVariant()},
        {"003", "B201", "2026-10-02", "2026-10-20", 0, 0.0},
        {"004", "B110", "2026-08-15", "2026-09-10", 0, 0.0},
    };
    for (const QVariantList &l : loans)
        t.exec("insert into lentInfo values (?,?,?,?,?,?)", l);
}

// The shelf, a sheet of labels' worth and more, two of its numbers Chinese (QR codes).
void seedLabelShelf(TestApp &t)
{
    seedShelf(t);
    const char *const titles[] = {"西游记",   "水浒传",   "三国演义",   "儒林外史", "聊斋志异",
                                  "老残游记", "镜花缘",   "官场现形记", "孽海花",   "东周列国志",
                                  "封神演义", "说岳全传", "隋唐演义",   "杨家将",   "七侠五义",
                                  "包公案",   "济公全传"};
    int n = 9;
    for (const char *title : titles)
        t.exec("insert into bookInfo values (?, ?, 'I', '人民文学出版社', '', '', '', "
               "'2026-09-01', 0)",
               {QStringLiteral("B%1").arg(1000 + n++), QString::fromUtf8(title)});
    t.exec("insert into bookInfo values ('馆藏001', '永乐大典(残卷影印本)', 'Z', '中华书局', '', "
           "'', '', '2026-10-12', 0)");
    t.exec("insert into bookInfo values ('馆藏002', '四库全书总目提要', 'Z', '中华书局', '', '', "
           "'', '2026-10-12', 0)");
}

// A year at a small library: some forty books in eight categories, ten readers, loans in
// every month with the school holidays quieter, the late returns fined.
void seedYear(TestApp &t)
{
    const char *const names[] = {"张伟", "王芳", "李娜", "刘洋", "陈静",
                                 "杨帆", "赵磊", "黄敏", "周杰", "吴婷"};
    for (int r = 0; r < 10; ++r)
        t.exec("insert into readerInfo values (?,?,?,?,?)",
               {QStringLiteral("%1").arg(r + 1, 3, 10, QLatin1Char('0')),
                QString::fromUtf8(names[r]), QString::fromUtf8(r % 2 ? "女" : "男"),
                QStringLiteral("1380013800%1").arg(r), QString::fromUtf8("计算机系")});
    const struct {
        const char *category, *title;
    } books[] = {
        {"I", "红楼梦"},
        {"I", "围城"},
        {"I", "平凡的世界"},
        {"I", "三体"},
        {"I", "活着"},
        {"I", "边城"},
        {"I", "骆驼祥子"},
        {"I", "白鹿原"},
        {"I", "呐喊"},
        {"I", "家"},
        {"K", "万历十五年"},
        {"K", "中国通史"},
        {"K", "史记"},
        {"K", "明朝那些事儿"},
        {"K", "人类简史"},
        {"T", "算法导论"},
        {"T", "数据库系统概论"},
        {"T", "C程序设计语言"},
        {"T", "深入理解计算机系统"},
        {"T", "编译原理"},
        {"O", "数学分析(上册)"},
        {"O", "线性代数"},
        {"O", "概率论与数理统计"},
        {"B", "论语译注"},
        {"B", "中国哲学简史"},
        {"G", "乡土中国"},
        {"G", "中国文化要义"},
        {"R", "本草纲目"},
        {"R", "黄帝内经"},
        {"Z", "辞海"},
        {"Z", "现代汉语词典"},
        {"J", "艺术的故事"},
        {"J", "美的历程"},
        {"I", "城南旧事"},
        {"K", "国史大纲"},
        {"T", "人月神话"},
    };
    const int bookCount = int(std::size(books));
    for (int b = 0; b < bookCount; ++b)
        t.exec("insert into bookInfo values (?,?,?,?,?,?,?,?,?)",
               {QStringLiteral("B%1").arg(1001 + b), QString::fromUtf8(books[b].title),
                QString::fromLatin1(books[b].category), QString::fromUtf8("人民文学出版社"),
                QString::fromUtf8("佚名"), QStringLiteral("30"), QStringLiteral("300"),
                QStringLiteral("2025-09-01"), 0});
    const int perMonth[] = {22, 16, 34, 38, 31, 27, 12, 9, 41, 36, 33, 14};
    const QDate today(2026, 12, 7);  // the test kit's today
    QSet<int> open;
    for (int m = 0; m < 12; ++m) {
        for (int i = 0; i < perMonth[m]; ++i) {
            // The popular books often, the rest now and then; a few never.
            const int book = (i * i + 3 * m) % (i % 3 == 0 ? 8 : bookCount - 4);
            const QDate lent(2026, m + 1, 1 + (i * 7 + m) % 28);
            if (lent > today)
                continue;
            const int kept = 10 + (i * 13 + m * 5) % 35;
            QDate back = lent.addDays(kept);
            if (back >= today && open.contains(book))
                back = today.addDays(-1);
            const int late = std::max(0, kept - 30);
            if (back >= today) {
                open.insert(book);
                t.exec("insert into lentInfo values (?,?,?,null,null,null)",
                       {QStringLiteral("%1").arg(1 + (i * 3 + m) % 10, 3, 10, QLatin1Char('0')),
                        QStringLiteral("B%1").arg(1001 + book), lent.toString(Qt::ISODate)});
                continue;
            }
            t.exec("insert into lentInfo values (?,?,?,?,?,?)",
                   {QStringLiteral("%1").arg(1 + (i * 3 + m) % 10, 3, 10, QLatin1Char('0')),
                    QStringLiteral("B%1").arg(1001 + book), lent.toString(Qt::ISODate),
                    back.toString(Qt::ISODate), late, late * 0.1});
        }
    }
}

// Waits, with events running, until `done` holds (at most a few seconds).
void waitFor(const std::function<bool()> &done)
{
    for (int i = 0; i < 150 && !done(); ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

// A small library in use: three readers, eight books, loans of the last weeks.
void seedDesk(TestApp &t)
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
        {"B1003", "平凡的世界", "I", "北京十月文艺出版社", "路遥", "108.00", "1631", "2026-04-11",
         1},
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
    seedDesk(t);
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
        {"reader",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("meuReaderSet");
             t.type("FrmReader", "txtReaderNo", "002");
             t.enter("FrmReader", "txtReaderNo");
             return t.window("FrmReader");
         }},
        {"book-query",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuBookQuery");
             t.type("FrmBookQuery", "txtBookID", "B1");
             t.type("FrmBookQuery", "txtBookConcern", "清华大学出版社");
             t.click("FrmBookQuery", "chkMoHu");
             t.click("FrmBookQuery", "cmdFind");
             return t.window("FrmBookQuery");
         }},
        {"loan-query",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuLendQuery");
             t.click("FrmLendQuery", "cmdFind");
             return t.window("FrmLendQuery");
         }},
        {"overdue",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuOverdue");
             t.control<QDateEdit>("FrmOverdue", "dtpAsOf")->setDate(QDate(2027, 1, 20));
             return t.window("FrmOverdue");
         }},
        {"statistics",
         [](TestApp &t) {
             t.login();
             seedYear(t);
             t.trigger("mnuStatistics");
             t.window("FrmStatistics")->resize(1000, 620);
             return t.window("FrmStatistics");
         }},
        {"statistics-categories",
         [](TestApp &t) {
             t.login();
             seedYear(t);
             t.trigger("mnuStatistics");
             t.window("FrmStatistics")->resize(1000, 620);
             t.control<QTabWidget>("FrmStatistics", "tabViews")->setCurrentIndex(1);
             return t.window("FrmStatistics");
         }},
        {"day-sheet",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             // A day at the desk: a loan, a renewal, a late return and one on time.
             t.exec("update lentInfo set 借书日期='2026-10-15',还书日期=null,超出天数=null,"
                    "罚款金额=null where 书籍编号='B103'");
             t.exec("insert into lentInfo values ('003','B104','2026-12-07',null,null,null)");
             t.exec("update lentInfo set 借书日期='2026-12-07' where 书籍编号='B102'");
             t.exec("update lentInfo set 还书日期='2026-12-07',超出天数=23,罚款金额=2.3"
                    " where 书籍编号='B103'");
             t.exec("insert into lentInfo values ('004','B110','2026-11-30','2026-12-07',0,0.0)");
             t.trigger("mnuDaySheet");
             return t.window("FrmDaySheet");
         }},
        {"reader-history",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("meuReaderSort");
             t.type("FrmReader", "txtReaderNo", "001");
             t.click("FrmReader", "Command1");
             t.click("FrmReader", "cmdHistory");
             return t.window("FrmReaderHistory");
         }},
        {"basic-settings",
         [](TestApp &t) {
             t.login();
             t.trigger("mnuSetBasic");
             return t.window("FrmBasicSet");
         }},
        {"import-books",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             const QString path = QDir(t.appDir()).filePath(QStringLiteral("新书.csv"));
             QFile file(path);
             if (!file.open(QIODevice::WriteOnly))
                 return static_cast<QWidget *>(nullptr);
             file.write("\xEF\xBB\xBF书籍编号,书籍名称,类别代码,出版社,作者姓名,书籍价格,书籍页码,"
                        "登记日期\r\n"
                        "B2001,活着,I,作家出版社,余华,20,191,2026/12/1\r\n"
                        "B2002,边城,I,北岳文艺出版社,沈从文,18,160,2026年12月1日\r\n"
                        "B2003,乡土中国,C,北京大学出版社,费孝通,25,176,2026.12.1\r\n"
                        "B101,重复的编号,I,出版社,作者,1,1,2026-12-01\r\n"
                        "B2004,没有这个类别,Y9,出版社,作者,1,1,2026-12-01\r\n"
                        "B2005,日期不对,I,出版社,作者,1,1,2026-13-01\r\n");
             file.close();
             t.trigger("mnuImportBooks");
             t.files().answerOpen(path);
             t.click("FrmImportBooks", "cmdChooseFile");
             return t.window("FrmImportBooks");
         }},
        {"backup",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuBackup");
             t.click("FrmBackup", "cmdBackupNow");
             for (int i = 0; i < 100 && t.prompter().texts().isEmpty(); ++i)
                 settle();
             return t.window("FrmBackup");
         }},
        {"print-settings",
         [](TestApp &t) {
             QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
             if (!settings.open(QIODevice::WriteOnly))
                 return static_cast<QWidget *>(nullptr);
             settings.write("LibraryName=城东区图书馆\r\nLendReceipt=1\r\n"
                            "ReceiptPrinter=XP-80C\r\nLabelPrinter=Zebra-ZD421\r\n"
                            "PagePrinter=HP-LaserJet-M1136\r\n");
             settings.close();
             t.printer().queues = {"HP-LaserJet-M1136", "XP-80C", "Zebra-ZD421"};
             t.login();
             t.trigger("mnuSetBasic");
             t.control<QTabWidget>("FrmBasicSet", "SSTab1")->setCurrentIndex(2);
             return t.window("FrmBasicSet");
         }},
        {"book-labels",
         [](TestApp &t) {
             t.login();
             seedLabelShelf(t);
             t.trigger("mnuBookLabels");
             t.type("FrmBookLabels", "txtFrom", "B1012");
             t.type("FrmBookLabels", "txtTo", "馆藏999");
             t.click("FrmBookLabels", "cmdPreview");
             return t.window("FrmBookLabels");
         }},
        {"reader-cards",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuReaderCards");
             t.type("FrmReaderCards", "txtFrom", "001");
             t.type("FrmReaderCards", "txtTo", "004");
             t.click("FrmReaderCards", "cmdPreview");
             return t.window("FrmReaderCards");
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
        // The main window in each of the three window styles.
        {"style-system",
         [](TestApp &t) {
             t.login();
             t.trigger("meuWinStyle");
             return t.window("Frmmain");
         }},
        {"style-classic",
         [](TestApp &t) {
             t.login();
             t.trigger("meuTypeStyle");
             return t.window("Frmmain");
         }},
        {"style-light",
         [](TestApp &t) {
             t.login();
             t.trigger("meuLight");
             return t.window("Frmmain");
         }},
        {"about",
         [](TestApp &t) {
             t.login();
             t.trigger("meuAbout");
             return t.window("FrmAbout");
         }},
        {"login",
         [](TestApp &t) -> QWidget * {
             if (!t.start())
                 return nullptr;
             t.type("FrmLogon", "txtPassword", "741");
             // The mouse rests on ">>" until its balloon shows.
             auto *more = t.control<QWidget>("FrmLogon", "Command1");
             QCursor::setPos(more->mapToGlobal(more->rect().center() + QPoint(0, 4)));
             QWidget *balloon = t.control<QWidget>("FrmLogon", "balloonTip");
             waitFor([balloon] { return balloon->isVisible(); });
             return t.window("FrmLogon");
         }},
        // The login window in the two skins, chosen at the last run.
        {"login-classic", [](TestApp &t) { return loginInStyle(t, "1"); }},
        {"login-light", [](TestApp &t) { return loginInStyle(t, "2"); }},
        {"tips",
         [](TestApp &t) {
             t.login();  // the shipped tips file opens the tips window after the login
             QWidget *tips = t.window("FrmHelp");
             if (tips)
                 tips->raise();
             return tips;
         }},
    };
    return all;
}

}  // namespace

// Printouts for docs/: each prepares its job through the real windows and names the PDF the
// test printer wrote; it is copied to docs/<file>.pdf (pdftoppm makes the page pictures).
struct Printout {
    const char *file;
    std::function<QString(TestApp &)> print;
};

QString lastPrinted(TestApp &t)
{
    const QStringList &printed = t.printer().printed;
    return printed.isEmpty() ? QString() : printed.constLast();
}

const QList<Printout> &printouts()
{
    static const QList<Printout> all = {
        {"sample-notice",
         [](TestApp &t) {
             t.login();
             seedLibrary(t);
             t.trigger("mnuOverdue");
             t.control<QDateEdit>("FrmOverdue", "dtpAsOf")->setDate(QDate(2027, 1, 20));
             t.click("FrmOverdue", "cmdPrint");
             return lastPrinted(t);
         }},
        {"sample-statistics",
         [](TestApp &t) {
             QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
             if (!settings.open(QIODevice::WriteOnly))
                 return QString();
             settings.write("LibraryName=城东区图书馆\r\n");
             settings.close();
             t.login();
             seedYear(t);
             t.trigger("mnuStatistics");
             t.click("FrmStatistics", "cmdPrint");
             return lastPrinted(t);
         }},
        {"sample-labels",
         [](TestApp &t) {
             QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
             if (!settings.open(QIODevice::WriteOnly))
                 return QString();
             settings.write("LibraryName=城东区图书馆\r\n");
             settings.close();
             t.login();
             seedLabelShelf(t);
             t.trigger("mnuBookLabels");
             t.type("FrmBookLabels", "txtFrom", "B1012");
             t.type("FrmBookLabels", "txtTo", "馆藏999");
             t.click("FrmBookLabels", "cmdPrint");
             return lastPrinted(t);
         }},
        {"sample-card",
         [](TestApp &t) {
             QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
             if (!settings.open(QIODevice::WriteOnly))
                 return QString();
             settings.write("LibraryName=城东区图书馆\r\n");
             settings.close();
             t.login();
             seedLibrary(t);
             t.trigger("mnuReaderCards");
             auto *stock = t.control<QComboBox>("FrmReaderCards", "cboStock");
             stock->setCurrentIndex(stock->findData(QStringLiteral("card")));
             t.type("FrmReaderCards", "txtFrom", "002");
             t.type("FrmReaderCards", "txtTo", "002");
             t.click("FrmReaderCards", "cmdPrint");
             return lastPrinted(t);
         }},
        {"sample-receipt",
         [](TestApp &t) {
             QFile settings(QDir(t.appDir()).filePath(QStringLiteral("setting.ini")));
             if (!settings.open(QIODevice::WriteOnly))
                 return QString();
             settings.write("LibraryName=城东区图书馆\r\nLendReceipt=1\r\n");
             settings.close();
             t.login();
             seedLibrary(t);
             for (const char *book : {"B103", "B104"}) {
                 t.type("Frmmain", "txtReaderID", "004");
                 t.enter("Frmmain", "txtReaderID");
                 t.type("Frmmain", "txtBookID", book);
                 t.enter("Frmmain", "txtBookID");
                 t.click("Frmmain", "cmdLendBook");
             }
             return lastPrinted(t);
         }},
    };
    return all;
}

// The scenes taken in English too, next to their Chinese pictures.
const QStringList kEnglishScenes = {QStringLiteral("lending-tab"), QStringLiteral("statistics"),
                                    QStringLiteral("import-books")};

int main(int argc, char *argv[])
{
    QApplication qapp(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    QDir().mkpath(out);
    int failures = 0;
    QList<std::pair<Scene, lendora::Language>> shots;
    for (const Scene &scene : scenes()) {
        shots.append({scene, lendora::Language::Chinese});
        if (kEnglishScenes.contains(QString::fromLatin1(scene.file)))
            shots.append({scene, lendora::Language::English});
    }
    for (const auto &[scene, language] : shots) {
        const bool english = language == lendora::Language::English;
        const QString name = QString::fromLatin1(scene.file) + (english ? "-en" : "");
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        // Installed before the desk is made, as the program does at start.
        const lendora::Translations translations(language, LENDORA_TRANSLATIONS_DIR);
        TestApp t;
        QWidget *window = scene.prepare(t);
        if (!window) {
            qWarning("scene %s showed no window", qPrintable(name));
            ++failures;
            continue;
        }
        window->raise();
        window->activateWindow();
        for (QWidget *child : window->findChildren<QWidget *>()) {
            if (child->isWindow() && child->isVisible())
                child->raise();  // its pop-ups stay above it
        }
        settle();
        // The window together with the pop-ups it owns that are showing (a balloon, say).
        QRect area = window->geometry();
        for (const QWidget *child : window->findChildren<QWidget *>()) {
            if (child->isWindow() && child->isVisible())
                area |= child->geometry();
        }
        QPixmap shot = window->screen()->grabWindow(window->winId());
        if (area != window->geometry()) {
            // The screen under the window and its pop-ups, each pop-up in its own shape, over a
            // transparent background rather than the bare desktop.
            const QPixmap screen =
                window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
            QRegion shape(window->geometry().translated(-area.topLeft()));
            for (const QWidget *child : window->findChildren<QWidget *>()) {
                if (child->isWindow() && child->isVisible()) {
                    const QRegion own =
                        child->mask().isEmpty() ? QRegion(child->rect()) : child->mask();
                    shape |= own.translated(child->geometry().topLeft() - area.topLeft());
                }
            }
            QPixmap whole(area.size());
            whole.fill(Qt::transparent);
            QPainter painter(&whole);
            painter.setClipRegion(shape);
            painter.drawPixmap(0, 0, screen);
            painter.end();
            shot = whole;
        }
        const QString path = QDir(out).filePath(name + QStringLiteral(".png"));
        if (!shot.save(path)) {
            ++failures;
            continue;
        }
        qInfo("saved %s", qPrintable(path));
    }
    for (const Printout &printout : printouts()) {
        const QString name = QString::fromLatin1(printout.file);
        if (!wanted.isEmpty() && !wanted.contains(name))
            continue;
        TestApp t;
        const QString printed = printout.print(t);
        const QString path = QDir(out).filePath(name + QStringLiteral(".pdf"));
        QFile::remove(path);
        if (printed.isEmpty() || !QFile::copy(printed, path)) {
            qWarning("printout %s was not printed", printout.file);
            ++failures;
            continue;
        }
        qInfo("saved %s", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
