// Writes a large library with the program's own schema, reproducibly from a seed:
//   lendora_generate <app-dir> [--books N] [--readers N] [--loans N] [--open N] [--seed S]
//                    [--schema-version 1]
// Defaults: 1,000,000 books in the 22 categories, 100,000 readers, 3,000,000 loans of which
// 60,000 are open. Titles, authors and publishers are realistic Chinese texts.
// --schema-version 1 writes the library as the first version of the program had it (no text
// indexes), to measure the upgrade of an existing library.
#include "data/Schema.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteSchema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// splitmix64: the same sequence on every machine and library.
struct Random {
    quint64 state;
    quint64 next()
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    template <class T>
    const T &pick(const std::vector<T> &v)
    {
        return v[size_t(below(int(v.size())))];
    }
};

const std::vector<std::string> kCategories = {"A", "B", "C", "D", "E", "F", "G", "H",
                                              "I", "J", "K", "N", "O", "P", "Q", "R",
                                              "S", "T", "U", "V", "X", "Z"};
const std::vector<std::string> kTitleHeads = {
    "现代", "实用", "基础", "高级", "简明", "中国", "世界", "新编", "图解", "大学",
    "趣味", "经典", "当代", "古代", "走进", "探索", "漫谈", "细说", "精通", "深入浅出"};
const std::vector<std::string> kTitleTopics = {
    "数据库",     "计算机网络", "操作系统", "程序设计", "线性代数", "微积分",   "有机化学",
    "细胞生物学", "宏观经济学", "市场营销", "会计学",   "民法",     "刑法",     "哲学史",
    "美学",       "心理学",     "社会学",   "唐诗宋词", "红楼梦",   "三国演义", "西游记",
    "水浒传",     "明清小说",   "近代史",   "地理",     "天文学",   "中医药",   "针灸",
    "农作物栽培", "机械设计",   "电路分析", "建筑结构", "城市规划", "交通工程", "航空发动机",
    "环境保护",   "书法",       "国画",     "音乐欣赏", "摄影",     "围棋",     "太极拳",
    "汉语语法",   "英语写作",   "日语会话", "统计学",   "概率论",   "信号处理", "人工智能",
    "算法导论"};
const std::vector<std::string> kTitleTails = {
    "原理", "教程", "导论",     "概论",   "入门",     "实践",     "研究",   "十讲", "手册", "精要",
    "史话", "百问", "案例分析", "习题集", "(第二版)", "(第三版)", "与应用", "新论", "选读", "通识"};
const std::vector<std::string> kSurnames = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙",   "马",  "朱",
    "胡", "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "欧阳", "司马"};
const std::vector<std::string> kGiven = {"伟", "芳",   "娜",   "敏",   "静",   "丽",   "强",   "磊",
                                         "军", "洋",   "勇",   "艳",   "杰",   "娟",   "涛",   "明",
                                         "超", "秀英", "霞",   "平",   "刚",   "桂英", "建华", "文",
                                         "华", "晓东", "志强", "海燕", "子涵", "雨轩"};
const std::vector<std::string> kPublishers = {
    "人民邮电出版社", "清华大学出版社", "重庆大学出版社", "机械工业出版社", "中国铁道出版社",
    "高等教育出版社", "北京大学出版社", "人民文学出版社", "商务印书馆",     "中华书局",
    "科学出版社",     "电子工业出版社", "上海古籍出版社", "浙江大学出版社", "复旦大学出版社",
    "化学工业出版社", "人民卫生出版社", "中国农业出版社", "三联书店",       "译林出版社"};
const std::vector<std::string> kDepartments = {
    "计算机学院", "文学院",   "经济管理学院", "法学院", "医学院", "机械学院", "图书馆",
    "后勤处",     "外语学院", "数学系",       "物理系", "化学系", "教务处"};

void check(int rc, sqlite3 *db, const char *what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void text(sqlite3_stmt *s, int i, const std::string &v)
{
    sqlite3_bind_text(s, i, v.c_str(), int(v.size()), SQLITE_TRANSIENT);
}

std::string dateText(const QDate &d)
{
    return d.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
}

std::string number(const char *prefix, int n, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%0*d", prefix, width, n);
    return buf;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: lendora_generate <app-dir> [--books N] [--readers N] "
                             "[--loans N] [--open N] [--seed S] [--schema-version 1]\n");
        return 2;
    }
    const QString appDir = args.at(1);
    const auto option = [&](const char *name, long long fallback) {
        const int at = int(args.indexOf(QString::fromLatin1(name)));
        return at > 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong() : fallback;
    };
    const int books = int(option("--books", 1000000));
    const int readers = int(option("--readers", 100000));
    const int loans = int(option("--loans", 3000000));
    const int open = int(std::min<long long>(option("--open", 60000), std::min(books, loans)));
    Random rnd{quint64(option("--seed", 20261207))};
    const bool versionOne = option("--schema-version", lendora::Schema::kVersion) == 1;

    QElapsedTimer timer;
    timer.start();
    const QString path = lendora::DatabaseFile::pathIn(appDir);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QString error;
    if (!lendora::DatabaseFile::create(path, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    sqlite3 *db = nullptr;
    check(sqlite3_open(QFile::encodeName(path).constData(), &db), db, "open");
    check(sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr,
                       nullptr, nullptr),
          db, "begin");
    if (versionOne) {
        // What versions 2 to 4 added: the text indexes with their triggers, the statistics,
        // the one-open-loan rule and the date indexes.
        for (const lendora::SqliteSchema::TextIndex &index : lendora::SqliteSchema::textIndexes()) {
            for (const char *suffix : {"_insert", "_delete", "_update"}) {
                const std::string drop = "DROP TRIGGER " + index.name.toStdString() + suffix;
                check(sqlite3_exec(db, drop.c_str(), nullptr, nullptr, nullptr), db, "trigger");
            }
            const std::string drop = "DROP TABLE " + index.name.toStdString();
            check(sqlite3_exec(db, drop.c_str(), nullptr, nullptr, nullptr), db, "index");
        }
        check(sqlite3_exec(db,
                           "DROP TABLE sqlite_stat1; DROP INDEX lentInfo_one_open_loan;"
                           " DROP INDEX lentInfo_lend_date; DROP INDEX lentInfo_return_date;"
                           " PRAGMA user_version=1",
                           nullptr, nullptr, nullptr),
              db, "version 1");
    }

    const QDate first(2006, 1, 1);
    const QDate today(2026, 12, 7);
    const int span = int(first.daysTo(today));

    sqlite3_stmt *insBook = nullptr;
    check(sqlite3_prepare_v2(db, "insert into bookInfo values (?,?,?,?,?,?,?,?,?)", -1, &insBook,
                             nullptr),
          db, "prepare book");
    // The first `open` books are the ones on loan now.
    for (int i = 1; i <= books; ++i) {
        sqlite3_reset(insBook);
        text(insBook, 1, number("B", i, 7));
        text(insBook, 2, rnd.pick(kTitleHeads) + rnd.pick(kTitleTopics) + rnd.pick(kTitleTails));
        text(insBook, 3, rnd.pick(kCategories));
        text(insBook, 4, rnd.pick(kPublishers));
        text(insBook, 5, rnd.pick(kSurnames) + rnd.pick(kGiven));
        text(insBook, 6, std::to_string(10 + rnd.below(190)) + "." + std::to_string(rnd.below(10)));
        text(insBook, 7, std::to_string(80 + rnd.below(900)));
        text(insBook, 8, dateText(first.addDays(rnd.below(span))));
        sqlite3_bind_int(insBook, 9, i <= open ? 1 : 0);
        check(sqlite3_step(insBook), db, "book");
    }
    sqlite3_finalize(insBook);

    sqlite3_stmt *insReader = nullptr;
    check(sqlite3_prepare_v2(db, "insert into readerInfo values (?,?,?,?,?)", -1, &insReader,
                             nullptr),
          db, "prepare reader");
    for (int i = 1; i <= readers; ++i) {
        sqlite3_reset(insReader);
        text(insReader, 1, number("R", i, 6));
        text(insReader, 2, rnd.pick(kSurnames) + rnd.pick(kGiven));
        text(insReader, 3, rnd.below(2) ? "男" : "女");
        text(insReader, 4, "13" + number("", rnd.below(1000000000), 9));
        text(insReader, 5, rnd.pick(kDepartments));
        check(sqlite3_step(insReader), db, "reader");
    }
    sqlite3_finalize(insReader);

    sqlite3_stmt *insLoan = nullptr;
    check(
        sqlite3_prepare_v2(db, "insert into lentInfo values (?,?,?,?,?,?)", -1, &insLoan, nullptr),
        db, "prepare loan");
    for (int i = 0; i < loans; ++i) {
        sqlite3_reset(insLoan);
        const bool isOpen = i < open;
        // Open loans: book i+1 (lent flag set), lent within the last 60 days. Closed loans:
        // any book, any day of twenty years, returned up to 60 days later.
        const int book = isOpen ? i + 1 : 1 + rnd.below(books);
        text(insLoan, 1, number("R", 1 + rnd.below(readers), 6));
        text(insLoan, 2, number("B", book, 7));
        if (isOpen) {
            text(insLoan, 3, dateText(today.addDays(-rnd.below(60))));
            sqlite3_bind_null(insLoan, 4);
            sqlite3_bind_null(insLoan, 5);
            sqlite3_bind_null(insLoan, 6);
        } else {
            const QDate lent = first.addDays(rnd.below(span - 61));
            const int held = rnd.below(61);
            const int overdue = std::max(0, held - 30);
            text(insLoan, 3, dateText(lent));
            text(insLoan, 4, dateText(lent.addDays(held)));
            sqlite3_bind_int(insLoan, 5, overdue);
            sqlite3_bind_double(insLoan, 6, overdue * 0.1);
        }
        check(sqlite3_step(insLoan), db, "loan");
    }
    sqlite3_finalize(insLoan);

    check(sqlite3_exec(db, "COMMIT; PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), db,
          "commit");
    sqlite3_close(db);
    std::printf("wrote %s: %d books, %d readers, %d loans (%d open) in %.1f s\n",
                qPrintable(QDir::toNativeSeparators(path)), books, readers, loans, open,
                timer.elapsed() / 1000.0);
    return 0;
}
