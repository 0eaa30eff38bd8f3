#include "TestApp.h"
#include "TestMain.h"
#include "core/query/BookCriteria.h"
#include "core/query/LoanCriteria.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "data/sqlite/SqliteBackend.h"
#include "data/sqlite/SqliteMatch.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

// Matching does not depend on where the library is.
const SqliteBackend kSqlite{QString()};

// splitmix64: the same library on every run.
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
};

// Characters a partial match can trip over: LIKE's own wildcards and escape, quotes, blanks,
// ASCII letters in both cases, Chinese text, a character outside the basic plane, and
// letters whose case the text index folds while LIKE does not (full-width, Greek, Turkish).
const QStringList kPieces = {"%",
                             "_",
                             "'",
                             " ",
                             "  ",
                             "\\",
                             "\"",
                             "*",
                             "a",
                             "A",
                             "b",
                             "B",
                             "x",
                             "X",
                             "0",
                             "1",
                             "5",
                             "中",
                             "国",
                             "人",
                             "民",
                             "大",
                             "学",
                             "出",
                             "版",
                             "社",
                             "数",
                             "据",
                             "库",
                             "原",
                             "理",
                             "红",
                             "楼",
                             "梦",
                             "书",
                             "局",
                             QString::fromUcs4(U"\U00020000"),
                             "\uFF05",
                             "\uFF21",
                             "\u03A3",
                             "\u03C3",
                             "\u0130",
                             "i",
                             "\u00DF"};

QString randomText(Random &random, int longest)
{
    QString text;
    const int length = random.below(longest + 1);
    for (int i = 0; i < length; ++i)
        text += kPieces.at(random.below(int(kPieces.size())));
    return text;
}

// Some characters of `text`, from a random place, counted in code points.
QString pieceOf(Random &random, const QString &text, int length)
{
    const QList<uint> points = text.toUcs4();
    if (points.isEmpty())
        return {};
    length = std::min<int>(length, int(points.size()));
    const int from = random.below(int(points.size()) - length + 1);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData() + from), length);
}

QVariant nullOr(Random &random, const QString &text)
{
    return random.below(20) == 0 ? QVariant() : QVariant(text);
}

// The rows a query finds, each as the text of its key columns, in a fixed order.
QStringList rows(TestApp &t, const BoundQuery &query, const QList<int> &keys = {0})
{
    QSqlQuery q(t.db());
    if (!q.prepare(query.sql)) {
        QTest::qFail(qPrintable(query.sql + ": " + q.lastError().text()), __FILE__, __LINE__);
        return {};
    }
    for (int i = 0; i < query.values.size(); ++i)
        q.bindValue(i, query.values.at(i));
    if (!q.exec()) {
        QTest::qFail(qPrintable(query.sql + ": " + q.lastError().text()), __FILE__, __LINE__);
        return {};
    }
    QStringList found;
    while (q.next()) {
        QString key;
        for (const int c : keys)
            key += q.value(c).toString() + QLatin1Char('|');
        found << key;
    }
    found.sort();
    return found;
}

// The query the desk has always run: the plain comparison over the whole table.
BoundQuery plainBooks(const QString &column, const QString &text, bool partial)
{
    const QString sql = QStringLiteral("select 书籍编号 from bookInfo where ") + column;
    return partial ? BoundQuery{sql + QStringLiteral(" like '%' || ? || '%' escape '\\'"),
                                {SqlCondition::escapeLike(text)}}
                   : BoundQuery{sql + QStringLiteral("=?"), {text}};
}

BookCriteria bookSearch(const QString &column, const QString &text, bool partial)
{
    BookCriteria c;
    c.partial = partial;
    if (column == QStringLiteral("书籍名称"))
        c.title = text;
    else if (column == QStringLiteral("出版社"))
        c.publisher = text;
    else
        c.bookId = text;
    return c;
}

void addBook(TestApp &t, Random &random, int number)
{
    static const QStringList publishers = {"清华大学出版社", "中华书局", "O'Reilly",  "50%出版社",
                                           "a_b Press",      "PRESS",    "人民出版社"};
    const QString id = random.below(10) == 0
                           ? QStringLiteral("B%1_%2").arg(number).arg(randomText(random, 2))
                           : QStringLiteral("B%1").arg(number, 6, 10, QLatin1Char('0'));
    const QString publisher = random.below(3) == 0
                                  ? randomText(random, 8)
                                  : publishers.at(random.below(int(publishers.size())));
    t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码, 出版社, 是否借出) values (?, ?, ?, "
           "?, 0)",
           {id, nullOr(random, randomText(random, 12)), "I", nullOr(random, publisher)});
}

}  // namespace

// Partial and exact matching through the text indexes finds exactly the rows the plain
// comparison over the whole table finds, on a generated library full of awkward text.
class TextSearchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (TestApp::onServer())
            QSKIP("the file's own text indexes");
    }
    void indexRouteFindsThePlainRows();
    void indexFollowsEveryWrite();
    void loanSearchFindsThePlainLoans();
    void loanSearchShapedByHowCommon_data();
    void loanSearchShapedByHowCommon();
    void upgradeIndexesTheRowsThere();
    void routeIsChosenByCharacters_data();
    void routeIsChosenByCharacters();
};

namespace {

// Texts to look for: the awkward ones, pieces of what is stored (so most find rows), and
// random ones (most find nothing).
QStringList searchTexts(TestApp &t, Random &random, const QString &column, int count)
{
    QStringList texts = {
        "%",      "_",      "'",      " ",      "\\",     "\"",           "%%",    "_%",   "a_",
        "50%",    "O'R",    "'Re",    "  ",     "   ",    "aA",           "Aa",    "AB",   "ab",
        "中",     "中国",   "中国人", "大学出", "出版社", "\"\"\"",       "a*b",   "x\"X", "ss",
        "\u00DF", "\uFF05", "%出版",  "σ",      "Σ",      "\u03C3\u03A3", "I",     "İi",   "B0",
        "B00",    "b00",    "B000",   "00",     "1_",     "_0",           "press", "PRESS"};
    texts << QString::fromUcs4(U"\U00020000") << QString::fromUcs4(U"a\U00020000")
          << QString::fromUcs4(U"\U00020000\U00020000") << QString::fromUcs4(U"\U00020000中国");
    QSqlQuery q(t.db());
    q.exec(QStringLiteral("select %1 from bookInfo where %1 is not null").arg(column));
    QStringList stored;
    while (q.next())
        stored << q.value(0).toString();
    for (int i = 0; i < count && !stored.isEmpty(); ++i) {
        const QString &value = stored.at(random.below(int(stored.size())));
        texts << pieceOf(random, value, 1 + random.below(6));
        if (i % 4 == 0)
            texts << value;  // the whole value, for the exact match
        if (i % 3 == 0)
            texts << randomText(random, 5);
    }
    texts.removeAll(QString());
    return texts;
}

// Every text against every indexed column, partial and exact; the number of searches that
// found rows (so the comparison is never vacuous).
int compareAll(TestApp &t, Random &random, int count)
{
    int found = 0;
    for (const QString column : {"书籍名称", "出版社", "书籍编号"}) {
        for (const QString &text : searchTexts(t, random, column, count)) {
            for (const bool partial : {true, false}) {
                const QStringList plain = rows(t, plainBooks(column, text, partial));
                const QStringList routed =
                    rows(t, bookSearch(column, text, partial).query(kSqlite));
                if (routed != plain) {
                    QTest::qFail(
                        qPrintable(QStringLiteral("%1 %2 \"%3\": %4 rows, the plain query %5")
                                       .arg(column, partial ? "like" : "=", text)
                                       .arg(routed.size())
                                       .arg(plain.size())),
                        __FILE__, __LINE__);
                    return -1;
                }
                found += plain.isEmpty() ? 0 : 1;
            }
        }
    }
    return found;
}

}  // namespace

void TextSearchTest::indexRouteFindsThePlainRows()
{
    TestApp t;
    Random random{20261207};
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 12000; ++i)
        addBook(t, random, i);
    QVERIFY(db.commit());
    const int found = compareAll(t, random, 120);
    QVERIFY(found > 200);
}

void TextSearchTest::indexFollowsEveryWrite()
{
    TestApp t;
    Random random{7};
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 3000; ++i)
        addBook(t, random, i);
    QVERIFY(db.commit());
    // Titles and publishers rewritten, books deleted and added, numbers changed, flags set,
    // the way the catalogue windows and the desk write them.
    QVERIFY(db.transaction());
    for (int i = 0; i < 400; ++i) {
        const QString id =
            QStringLiteral("B%1").arg(1 + random.below(3000), 6, 10, QLatin1Char('0'));
        switch (i % 5) {
        case 0:
            t.exec("update bookInfo set 书籍名称=?, 出版社=? where 书籍编号=?",
                   {randomText(random, 10), nullOr(random, randomText(random, 6)), id});
            break;
        case 1:
            t.exec("delete from bookInfo where 书籍编号=?", {id});
            break;
        case 2:
            addBook(t, random, 5000 + i);
            break;
        case 3:
            t.exec("update bookInfo set 书籍编号=? where 书籍编号=?",
                   {QStringLiteral("N%1%2").arg(i).arg(randomText(random, 3)), id});
            break;
        case 4:
            t.exec("update bookInfo set 是否借出=1 where 书籍编号=?", {id});
            break;
        }
    }
    QVERIFY(db.commit());
    // A transaction that is rolled back leaves no trace in the index either.
    QVERIFY(db.transaction());
    t.exec("update bookInfo set 书籍名称='回滚的书名' where rowid in (select rowid from bookInfo "
           "limit 50)");
    QVERIFY(db.rollback());
    QCOMPARE(rows(t, bookSearch("书籍名称", "回滚的书名", true).query(kSqlite)), QStringList());
    QVERIFY(compareAll(t, random, 60) > 50);
}

void TextSearchTest::loanSearchFindsThePlainLoans()
{
    TestApp t;
    Random random{99};
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 2000; ++i)
        addBook(t, random, i);
    for (int i = 1; i <= 300; ++i)
        t.exec("insert into readerInfo (读者编号, 读者姓名) values (?, ?)",
               {QStringLiteral("R%1").arg(i, 4, 10, QLatin1Char('0')), randomText(random, 3)});
    QSqlQuery books(db);
    QVERIFY(books.exec("select 书籍编号 from bookInfo"));
    QStringList ids;
    while (books.next())
        ids << books.value(0).toString();
    for (int i = 0; i < 5000; ++i)
        // Returned loans: a book has many over the years.
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期)"
               " values (?, ?, '2026-11-01', '2026-11-20')",
               {QStringLiteral("R%1").arg(1 + random.below(320), 4, 10, QLatin1Char('0')),
                random.below(50) == 0 ? QStringLiteral("X%1").arg(i)
                                      : ids.at(random.below(int(ids.size())))});
    QVERIFY(db.commit());

    // The loan query as the desk has always written it: the loan's own columns, no index.
    const QString join = QStringLiteral(
        "select lentInfo.读者编号, lentInfo.书籍编号 from readerInfo,bookInfo,lentInfo,bookType"
        " where readerInfo.读者编号=lentInfo.读者编号 and bookInfo.书籍编号=lentInfo.书籍编号"
        " and bookType.类别代码=bookInfo.类别代码 and ");
    QStringList titles, names;
    QSqlQuery texts(db);
    QVERIFY(texts.exec("select 书籍名称 from bookInfo where 书籍名称 is not null"));
    while (texts.next())
        titles << texts.value(0).toString();
    QVERIFY(texts.exec("select 读者姓名 from readerInfo"));
    while (texts.next())
        names << texts.value(0).toString();
    // Each of the four boxes, and a title with a reader's name together.
    const QStringList columns = {"lentInfo.书籍编号", "lentInfo.读者编号", "bookInfo.书籍名称",
                                 "readerInfo.读者姓名"};
    int found = 0;
    // Found through an index, without and with a set; read in order, without and with one.
    int shapes[4] = {};
    for (const bool partial : {true, false}) {
        for (int i = 0; i < 120; ++i) {
            const int box = i % 5;
            const auto valueOf = [&](int of) {
                switch (of) {
                case 0:
                    return ids.at(random.below(int(ids.size())));
                case 1:
                    return QStringLiteral("R%1").arg(1 + random.below(300), 4, 10,
                                                     QLatin1Char('0'));
                case 2:
                    return titles.at(random.below(int(titles.size())));
                default:
                    return names.at(random.below(int(names.size())));
                }
            };
            const auto textOf = [&](int of) {
                const QString value = valueOf(of);
                return partial ? pieceOf(random, value, 1 + random.below(of >= 2 ? 3 : 5)) : value;
            };
            const QList<int> boxes = box == 4 ? QList<int>{2, 3} : QList<int>{box};
            QString where;
            QVariantList values;
            LoanCriteria c;
            c.partial = partial;
            for (const int of : boxes) {
                QString text;
                while (text.isEmpty())  // an empty box is no condition
                    text = textOf(of);
                where += (where.isEmpty() ? "" : " and ") + columns.at(of)
                         + (partial ? " like '%' || ? || '%' escape '\\'" : "=?");
                values << (partial ? SqlCondition::escapeLike(text) : text);
                (of == 0   ? c.bookId
                 : of == 1 ? c.readerId
                 : of == 2 ? c.title
                           : c.readerName) = text;
            }
            // Reader and book of every loan found, duplicates included.
            const QStringList expected = rows(t, BoundQuery{join + where, values}, {0, 1});
            // As each condition routes itself, and as shaped by how common the texts are.
            const BoundQuery shaped = c.query(kSqlite, db);
            ++shapes[(shaped.countSql.isEmpty() ? 0 : 2)
                     + (shaped.sql.contains("+lentInfo") ? 1 : 0)];
            for (const BoundQuery &query : {c.query(kSqlite), shaped}) {
                const QStringList routed = rows(t, query, {0, 2});
                QVERIFY2(routed == expected,
                         qPrintable(QStringLiteral("%1 %2: %3 loans, the plain query %4")
                                        .arg(where, values.at(0).toString())
                                        .arg(routed.size())
                                        .arg(expected.size())));
            }
            found += expected.isEmpty() ? 0 : 1;
        }
    }
    QVERIFY(found > 100);
    for (const int seen : shapes)
        QVERIFY2(seen > 0, qPrintable(QStringLiteral("shapes seen: %1 %2 %3 %4")
                                          .arg(shapes[0])
                                          .arg(shapes[1])
                                          .arg(shapes[2])
                                          .arg(shapes[3])));
}

void TextSearchTest::loanSearchShapedByHowCommon_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("readerName");
    QTest::addColumn<QString>("found");  // the loans' column they are found by; empty: in order
    QTest::addColumn<QString>("set");    // the loans' column tested against a set, if any
    QTest::newRow("a title most books have") << "常"
                                             << ""
                                             << ""
                                             << "";
    QTest::newRow("a title one book has") << "罕见"
                                          << ""
                                          << "书籍编号"
                                          << "";
    QTest::newRow("a name one reader has") << ""
                                           << "独"
                                           << "读者编号"
                                           << "";
    QTest::newRow("a name a tenth of readers have") << ""
                                                    << "李"
                                                    << ""
                                                    << "读者编号";
    QTest::newRow("a rare title, a common name") << "罕"
                                                 << "张"
                                                 << "书籍编号"
                                                 << "";
    QTest::newRow("a common title, a rare name") << "常见"
                                                 << "独"
                                                 << "读者编号"
                                                 << "";
    QTest::newRow("a common title, a name a tenth have") << "常见"
                                                         << "李四"
                                                         << ""
                                                         << "读者编号";
    QTest::newRow("both common") << "常见书"
                                 << "张"
                                 << ""
                                 << "读者编号";
}

void TextSearchTest::loanSearchShapedByHowCommon()
{
    QFETCH(QString, title);
    QFETCH(QString, readerName);
    QFETCH(QString, found);
    QFETCH(QString, set);
    TestApp t;
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 3000; ++i)
        t.exec("insert into bookInfo (书籍编号, 书籍名称, 类别代码) values (?, ?, 'I')",
               {QStringLiteral("B%1").arg(i), i == 1500 ? "罕见的书" : "常见书"});
    for (int i = 1; i <= 300; ++i)
        t.exec("insert into readerInfo (读者编号, 读者姓名) values (?, ?)",
               {QStringLiteral("R%1").arg(i), i == 150      ? "独孤"
                                              : i % 10 == 0 ? "李四"
                                                            : "张三"});
    for (int i = 0; i < 9000; ++i)
        t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期, 还书日期)"
               " values (?, ?, '2026-11-01', '2026-11-20')",
               {QStringLiteral("R%1").arg(1 + i % 300), QStringLiteral("B%1").arg(1 + i % 3000)});
    QVERIFY(db.commit());
    LoanCriteria c;
    c.partial = true;
    c.title = title;
    c.readerName = readerName;
    const BoundQuery shaped = c.query(kSqlite, db);
    for (const QString column : {"书籍编号", "读者编号"}) {
        QCOMPARE(shaped.sql.contains(
                     QStringLiteral("from lentInfo where lentInfo.%1 in (select").arg(column)),
                 column == found);
        QCOMPARE(shaped.sql.contains(QStringLiteral("+lentInfo.%1 in (select").arg(column)),
                 column == set);
    }
    const QStringList expected = rows(t, c.query(kSqlite), {0, 2});
    QCOMPARE(rows(t, shaped, {0, 2}), expected);
    // Loans read in order are counted as found through an index.
    QCOMPARE(shaped.countSql.isEmpty(), !found.isEmpty());
    if (!shaped.countSql.isEmpty())
        QCOMPARE(t.scalar(shaped.countSql, shaped.countValues).toInt(), expected.size());
}

void TextSearchTest::upgradeIndexesTheRowsThere()
{
    TestApp t;
    Random random{61};
    QSqlDatabase db = t.db();
    QVERIFY(db.transaction());
    for (int i = 1; i <= 2000; ++i)
        addBook(t, random, i);
    QVERIFY(db.commit());
    // A file of the version before the character indexes, its rows written without them.
    t.exec("drop table bookTitleGrams");
    t.exec("drop table bookPublisherGrams");
    t.exec("drop table bookNumberGrams");
    t.exec("drop table readerNameGrams");
    t.exec("drop table gramPositions");
    t.exec("pragma user_version=6");
    t.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    SharedDatabase database(QStringLiteral("upgrade"));
    QString problem;
    QVERIFY2(database.open(t.libraryBackend(), &problem), qPrintable(problem));
    QCOMPARE(t.scalar("PRAGMA user_version").toInt(), Schema::kVersion);
    QVERIFY(compareAll(t, random, 60) > 50);
}

void TextSearchTest::routeIsChosenByCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");   // the index a title search reads
    QTest::addColumn<QString>("reader");  // the index a reader's name search reads
    const QString pairs = "bookTitleGrams";
    const QString trigrams = "bookTitleTrigrams";
    const QString names = "readerNameGrams";
    QTest::newRow("one Chinese character") << "中" << pairs << names;
    QTest::newRow("two Chinese characters, six bytes") << "中国" << pairs << names;
    QTest::newRow("three Chinese characters") << "中国人" << trigrams << "";
    QTest::newRow("one character outside the basic plane")
        << QString::fromUcs4(U"\U00020000") << pairs << names;
    QTest::newRow("two of them, four UTF-16 units")
        << QString::fromUcs4(U"\U00020000\U00020000") << pairs << names;
    QTest::newRow("three of them")
        << QString::fromUcs4(U"\U00020000\U00020000\U00020000") << trigrams << "";
    QTest::newRow("two letters") << "ab" << pairs << names;
    QTest::newRow("percent, underscore, quote") << "%_'" << trigrams << "";
    QTest::newRow("a NUL inside") << QString("ab") + QChar(0) + "c"
                                  << ""
                                  << "";
    QTest::newRow("a NUL alone") << QString(QChar(0)) << ""
                                 << "";
}

void TextSearchTest::routeIsChosenByCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, reader);
    // The trigram index has nothing to offer below three characters (and this SQLite then
    // finds no rows at all); the index of characters and pairs serves those. A reader's name
    // has no trigram index. The rows are compared above.
    const QStringList titleTables = title.isEmpty() ? QStringList() : QStringList{title};
    QCOMPARE(SqliteMatch::partial("bookInfo.书籍名称", text).tables, titleTables);
    QCOMPARE(SqliteMatch::exact("bookInfo.书籍名称", text).tables, titleTables);
    QCOMPARE(SqliteMatch::partial("readerInfo.读者姓名", text).tables,
             reader.isEmpty() ? QStringList() : QStringList{reader});
    // A book number is unique: its own index finds an exact one.
    QVERIFY(SqliteMatch::exact("bookInfo.书籍编号", text).tables.isEmpty());
}

LENDORA_TEST_CLASS(TextSearchTest)
#include "tst_textsearch.moc"
