// Hostile text in every box of every window: quotes, LIKE wildcards, a backslash, an injection
// attempt, 4 KB, an emoji, Chinese, a NUL, blanks around. The boxes are found by walking each
// window's line edits (editable drop-down lists included), so a new box is covered without
// touching this test. Expected: a literal match or a clear message, no crash, no engine
// failure, the tables and their schema intact, and every row that changed carrying what was
// typed (or removed by a confirmed delete).
#include "TestApp.h"
#include "TestMain.h"
#include "base/Csv.h"
#include "core/catalogue/CategoryStore.h"
#include "core/exchange/Import.h"
#include "gui/widgets/Texts.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QtTest>

using namespace lendora;
using lendora::testkit::TestApp;

namespace {

const QString kFresh = QStringLiteral("新");

const QStringList kTables = {"bookInfo", "bookType", "readerInfo", "lentInfo", "basicSet"};

// Messages that mean the engine failed: hostile text must never get that far.
const QStringList kEngineFailures = {"数据库操作失败", "数据库拒绝了这次", "查询失败", "无法读取",
                                     "读者资料查询失败"};
const QStringList kTitles = {hintTitle(), appTitle(), "读取时出错", "找不到所需字段"};

struct Snapshot {
    QStringList schema;
    QMap<QString, QStringList> rows;
};

QString rowText(const QSqlRecord &record)
{
    QStringList cells;
    for (int i = 0; i < record.count(); ++i)
        cells << (record.isNull(i) ? QStringLiteral("<null>") : record.value(i).toString());
    return cells.join(QChar(0x1F));
}

Snapshot snapshot(const TestApp &t)
{
    Snapshot s;
    QSqlQuery q(t.db());
    q.exec("select type, name, tbl_name, sql from sqlite_master order by name");
    while (q.next())
        s.schema << rowText(q.record());
    for (const QString &table : kTables) {
        QStringList &rows = s.rows[table];
        if (q.exec("select * from " + table)) {
            while (q.next())
                rows << rowText(q.record());
        }
        rows.sort();
    }
    return s;
}

// Rows of `a` not matched one for one in `b`.
QStringList minus(const QStringList &a, QStringList b)
{
    QStringList left;
    for (const QString &row : a) {
        if (!b.removeOne(row))
            left << row;
    }
    return left;
}

QString keyOf(const QString &row)
{
    return row.section(QChar(0x1F), 0, 0);
}

bool carries(const QString &row, const QStringList &typed)
{
    const QStringList cells = row.split(QChar(0x1F));
    for (const QString &text : typed) {
        for (const QString &cell : cells) {
            // The whole text, or the start of it a one-character column keeps.
            if (!text.isEmpty() && !cell.isEmpty()
                && (cell.contains(text) || text.startsWith(cell)))
                return true;
        }
    }
    return false;
}

// The boxes the clerk can type into: line edits that are enabled and not read-only, the edit
// part of editable drop-down lists included, the date pickers' own edit part not.
QList<QLineEdit *> boxesOf(QWidget *window)
{
    QList<QLineEdit *> boxes;
    for (QLineEdit *box : window->findChildren<QLineEdit *>()) {
        if (qobject_cast<QAbstractSpinBox *>(box->parentWidget()))
            continue;
        if (box->isEnabled() && !box->isReadOnly())
            boxes << box;
    }
    return boxes;
}

// The page of a tab control holding the box comes to the front, as the clerk would click it.
void bringForward(QWidget *box)
{
    for (QWidget *w = box; w; w = w->parentWidget()) {
        QWidget *stack = w->parentWidget();
        auto *tabs = qobject_cast<QTabWidget *>(stack ? stack->parentWidget() : nullptr);
        if (tabs && tabs->indexOf(w) >= 0)
            tabs->setCurrentWidget(w);
    }
}

// Pasted, as a clerk would: one insertion, through the box's length limit and validator.
QString paste(QLineEdit *box, const QString &text)
{
    bringForward(box);
    box->setFocus();
    box->selectAll();
    box->insert(text);
    return box->text();
}

struct Hostile {
    const char *name;
    QString text;
};

QList<Hostile> hostileTexts()
{
    return {
        {"quote", "'"},
        {"two quotes", "''"},
        {"percent", "%"},
        {"underscore", "_"},
        {"backslash", "\\"},
        {"injection", "'; drop table bookInfo; --"},
        {"4 KB", QString("x'%_\\").repeated(820)},
        {"emoji", QString::fromUtf8("📚😀")},
        {"CJK", "三国演义"},
        {"NUL", QString("平") + QChar(0) + "x"},
        {"blanks around", "  B1  "},
    };
}

class Session {
public:
    explicit Session(TestApp &t) : m_t(t) {}

    // One action of the clerk, and what it may have changed.
    template <class Action>
    void act(const QString &what, const QStringList &typed, Action action)
    {
        const Snapshot before = snapshot(m_t);
        const qsizetype shownBefore = m_t.prompter().shown().size();
        action();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto shown = m_t.prompter().shown().mid(shownBefore);
        bool confirmed = false;
        for (const auto &s : shown) {
            QVERIFY2(!s.prompt.text.isEmpty(), qPrintable(what));
            QVERIFY2(kTitles.contains(s.prompt.title), qPrintable(what + ": " + s.prompt.title));
            for (const QString &failure : kEngineFailures)
                QVERIFY2(!s.prompt.text.contains(failure), qPrintable(what + ": " + s.prompt.text));
            confirmed = confirmed || (s.kind == s.Confirm && s.answer == "OK");
        }
        check(what, before, snapshot(m_t), typed, confirmed);
    }

private:
    void check(const QString &what, const Snapshot &before, const Snapshot &after,
               const QStringList &typed, bool confirmedDelete)
    {
        QVERIFY2(after.schema == before.schema, qPrintable(what + ": the schema changed"));
        for (const QString &table : kTables) {
            const QStringList added = minus(after.rows[table], before.rows[table]);
            const QStringList removed = minus(before.rows[table], after.rows[table]);
            QStringList addedKeys;
            for (const QString &row : added) {
                QVERIFY2(carries(row, typed),
                         qPrintable(QString("%1: %2 gained a row with nothing typed: %3")
                                        .arg(what, table, row.left(200))));
                addedKeys << keyOf(row);
            }
            for (const QString &row : removed) {
                if (addedKeys.contains(keyOf(row)))
                    continue;  // changed; the new row was checked above
                QVERIFY2(
                    confirmedDelete || carries(row, typed),
                    qPrintable(QString("%1: %2 lost a row: %3").arg(what, table, row.left(200))));
            }
        }
        QSqlQuery q(m_t.db());
        QVERIFY(q.exec("select count(*) from bookInfo where 是否借出 <> (select count(*) > 0 from "
                       "lentInfo where lentInfo.书籍编号=bookInfo.书籍编号 and 还书日期 is null)"));
        QVERIFY(q.next());
        QVERIFY2(q.value(0).toInt() == 0, qPrintable(what + ": a lent flag disagrees"));
    }

    TestApp &m_t;
};

// Every button of the window the clerk can press, in the window's own order.
QList<QAbstractButton *> buttonsOf(QWidget *window)
{
    QList<QAbstractButton *> buttons;
    for (QPushButton *b : window->findChildren<QPushButton *>()) {
        bringForward(b);
        if (b->isVisibleTo(window) && b->isEnabled())
            buttons << b;
    }
    return buttons;
}

int gridRows(TestApp &t, const QString &window, const QString &grid)
{
    auto *view = t.control<QTableView>(window, grid);
    return view && view->model() ? view->model()->rowCount() : -1;
}

}  // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void everyBox_data();
    void everyBox();
};

void HostileInputTest::everyBox_data()
{
    QTest::addColumn<QString>("value");
    for (const Hostile &h : hostileTexts())
        QTest::newRow(h.name) << h.text;
}

void HostileInputTest::everyBox()
{
    QFETCH(QString, value);
    TestApp t;
    // A reader and a book keyed by the text itself, the book on loan to the reader, beside
    // plain rows a wildcard or a cut-off text would wrongly match.
    t.exec("insert into readerInfo values ('R1', '读者一', '男', '', '')");
    t.exec("insert into readerInfo values (?, ?, '女', ?, ?)", {value, value, value, value});
    t.exec("insert into bookInfo values (?, ?, 'Z', ?, ?, '10', '100', '2026-01-05', 1)",
           {value, value, value, value});
    const QStringList decoys = {"plain", "太平", "x", "O'Brien", "B1"};
    for (int i = 0; i < decoys.size(); ++i)
        t.exec("insert into bookInfo values (?, ?, 'A', '出版社', '作者', '10', '100', "
               "'2026-01-05', 0)",
               {QString("D%1").arg(i), decoys.at(i)});
    t.exec("insert into lentInfo (读者编号, 书籍编号, 借书日期) values (?, ?, '2026-11-20')",
           {value, value});
    // The category the new book's text names by its first character: a book of no category
    // is refused.
    const QString freshCode = Category::codeOf(QString(value + kFresh).remove(QChar(0)));
    if (!t.scalar("select count(*) from bookType where 类别代码=?", {freshCode}).toInt())
        t.exec("insert into bookType (类别代码, 书籍类别, 借出天数) values (?, ?, 30)",
               {freshCode, freshCode + "类"});
    Session session(t);
    // Lists clicked for export are written beside the library, each round over the previous
    // (the book list, both queries and the overdue list have an export button).
    for (int i = 0; i < 16; ++i)
        t.files().answerSave(t.appDir() + "/export.csv");

    // The login window before anybody logs in: never a match, never counted as an attempt.
    QVERIFY(t.start());
    for (const QString box : {"txtUserName", "txtPassword"}) {
        session.act("FrmLogon." + box, {}, [&] {
            paste(t.control<QLineEdit>("FrmLogon", box), value);
            t.enter("FrmLogon", box);
        });
    }
    QVERIFY(!t.ended());
    QVERIFY(t.prompter().texts().contains("帐号不存在!"));
    t.prompter().clear();
    t.login();
    QVERIFY(t.window("Frmmain"));
    t.prompter().answerEveryConfirm(true);

    // Exact lookups find the row keyed by the text, and only that one. A box keeps what was
    // pasted, less the control characters no key could type.
    const QString typed = paste(t.control<QLineEdit>("Frmmain", "txtReaderID"), value);
    QCOMPARE(typed, QString(value).remove(QChar(0)));
    t.enter("Frmmain", "txtReaderID");
    if (typed == value) {
        QCOMPARE(t.text("Frmmain", "txtReaderName"), value);
        QVERIFY2(t.prompter().shown().isEmpty(), qPrintable(t.prompter().texts().join('|')));
    } else {
        QCOMPARE(t.prompter().texts(), QStringList{"没有该读者信息!"});
        paste(t.control<QLineEdit>("Frmmain", "txtReaderID"), "R1");
    }
    t.prompter().clear();
    paste(t.control<QLineEdit>("Frmmain", "txtBookID"), value);
    t.enter("Frmmain", "txtBookID");
    QCOMPARE(t.prompter().texts(),
             QStringList{typed == value ? "该书已经借出,请选择其它图书!" : "没有该书信息!"});
    QCOMPARE(t.text("Frmmain", "txtBookName"), typed == value ? value : QString());
    t.prompter().clear();

    // The queries match the box's text literally, exactly or anywhere in the column.
    int equal = 0, containing = 0;
    {
        QSqlQuery q(t.db());
        QVERIFY(q.exec("select 书籍名称 from bookInfo"));
        while (q.next()) {
            equal += q.value(0).toString() == typed ? 1 : 0;
            containing += q.value(0).toString().contains(typed) ? 1 : 0;
        }
    }
    t.trigger("mnuBookQuery");
    paste(t.control<QLineEdit>("FrmBookQuery", "txtBookName"), value);
    for (const bool partial : {false, true}) {
        t.control<QCheckBox>("FrmBookQuery", "chkMoHu")->setChecked(partial);
        t.click("FrmBookQuery", "cmdFind");
        QCOMPARE(gridRows(t, "FrmBookQuery", "DataGrid1"), partial ? containing : equal);
    }
    t.trigger("mnuLendQuery");
    paste(t.control<QLineEdit>("FrmLendQuery", "txtReaderID"), value);
    for (const bool partial : {false, true}) {
        t.control<QCheckBox>("FrmLendQuery", "chkMoHu")->setChecked(partial);
        t.click("FrmLendQuery", "cmdFind");
        QCOMPARE(gridRows(t, "FrmLendQuery", "dtgrdLendBook"), typed == value ? 1 : 0);
    }
    t.prompter().clear();

    // Then every box of every window, and every button.
    QStringList windows = {"Frmmain", "FrmLendora"};
    for (const QString &name : t.app().windows().names()) {
        if (!windows.contains(name))
            windows << name;
    }
    const auto open = [&](const QString &name) -> QWidget * {
        if (name == "Frmmain")
            return t.window(name);
        if (QWidget *w = t.window(name))
            return w;
        if (name == "FrmReader") {
            t.trigger("meuReaderSet");  // the reader window with all its buttons
            return t.window(name);
        }
        return t.app().windows().show(name);
    };
    for (const QString &name : windows) {
        // Loaded afresh for its own round.
        if (QWidget *earlier = t.app().windows().find(name)) {
            earlier->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QWidget *window = open(name);
        QVERIFY2(window, qPrintable(name));
        QStringList typed;
        for (QLineEdit *box : boxesOf(window)) {
            const QString what = name + "." + box->objectName();
            session.act(what + " Enter", {value}, [&] {
                typed << paste(box, value);
                QTest::keyClick(box, Qt::Key_Return);
            });
            if (QTest::currentTestFailed())
                return;
        }
        if (typed.isEmpty())
            continue;  // nothing to type into: no hostile text reaches its buttons
        // Two rounds over the buttons (some only come alive after another, such as Save
        // after Add), the second with every tick box turned over and a text no row is keyed
        // by yet, so that saving windows store it.
        for (int round = 0; round < 2; ++round) {
            const QString text = round == 0 ? value : value + kFresh;
            window = open(name);
            if (round == 1) {
                for (QCheckBox *tick : window->findChildren<QCheckBox *>())
                    tick->toggle();
            }
            const QList<QAbstractButton *> buttons = buttonsOf(window);
            for (int i = 0; i < buttons.size(); ++i) {
                window = open(name);
                QAbstractButton *button = buttonsOf(window).value(i);
                if (!button)
                    continue;
                const QString what = name + "." + button->objectName();
                session.act(what, typed + QStringList{text}, [&] {
                    // Boxes the last step emptied or changed get the text again; the others
                    // keep what their lookup found it to mean.
                    for (QLineEdit *box : boxesOf(window)) {
                        if (box->text() != text)
                            typed << paste(box, text);
                    }
                    bringForward(button);
                    // The label and card windows ask for a list file (the clerk cancels)
                    // and for where to save a PDF.
                    if (button->isEnabled() && button->objectName() == "cmdBrowse")
                        t.files().answerOpen(QString());
                    if (button->isEnabled() && button->objectName() == "cmdPdf")
                        t.files().answerSave(t.appDir() + "/labels.pdf");
                    if (button->isEnabled())
                        QTest::mouseClick(button, Qt::LeftButton);
                });
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    // The import windows take their text from a file: a row keyed by the text, which the
    // library holds already and is skipped, and a new row with the text in every other cell.
    for (const Import::Kind kind : {Import::Kind::Books, Import::Kind::Readers}) {
        const bool books = kind == Import::Kind::Books;
        const QString name = books ? "FrmImportBooks" : "FrmImportReaders";
        const QStringList fields = Import::fields(kind);
        QStringList held(fields.size(), value);
        QStringList fresh = held;
        fresh[0] = "H1";
        if (books) {
            held[2] = fresh[2] = "A";
            held[7] = fresh[7] = "";
        }
        const QString path = t.appDir() + "/hostile.csv";
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(Csv::write(fields, {held, fresh}));
        file.close();
        t.files().answerOpen(path);
        QWidget *window = t.app().windows().show(name);
        QVERIFY(window);
        t.click(name, "cmdChooseFile");
        t.control<QCheckBox>(name, "chkSkipExisting")->setChecked(true);
        t.prompter().clear();
        t.click(name, "cmdImport");
        QCOMPARE(t.prompter().texts().size(), 1);
        const QString said = t.prompter().texts().first();
        const bool imported = said.startsWith("导入完毕");
        QVERIFY2(imported || said.startsWith("没有导入任何数据。"), qPrintable(said));
        const QString table = books ? "bookInfo" : "readerInfo";
        QCOMPARE(t.scalar(QString("select count(*) from %1 where %2='H1' and %3=?")
                              .arg(table, fields[0], fields[1]),
                          {value})
                     .toInt(),
                 imported ? 1 : 0);
        window->close();
    }

    // The new book was stored as typed.
    QSqlQuery q(t.db());
    q.prepare("select count(*) from bookInfo where 书籍编号=? and 书籍名称=?");
    const QString fresh = QString(value + kFresh).remove(QChar(0));
    q.addBindValue(fresh);
    q.addBindValue(fresh);
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toInt(), 1);

    // Every table still there and whole.
    QVERIFY(q.exec("PRAGMA integrity_check") && q.next());
    QCOMPARE(q.value(0).toString(), QString("ok"));
    for (const QString &table : kTables)
        QVERIFY2(q.exec("select count(*) from " + table), qPrintable(table));
}

LENDORA_TEST_CLASS(HostileInputTest)
#include "tst_hostile.moc"
