#pragma once

// The circulation desk as a clerk meets it: a small library to seed, the steps on the three
// tabs, and what the database and the prompts say afterwards.

#include "TestApp.h"
#include "app/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTest>

namespace desk {

using lendora::testkit::ScriptedPrompter;
using lendora::testkit::TestApp;

inline const QString kMain = QStringLiteral("Frmmain");
enum Tab { Lending = 0, Renewal = 1, Return = 2 };

inline void addReader(TestApp &t, const QString &id, const QVariant &name)
{
    t.exec("insert into readerInfo values (?,?,?,?,?)", {id, name, "女", "13800000000", "中文系"});
}

// Category I is 文学 with a 30-day loan period in a new library.
inline void addBook(TestApp &t, const QString &id, const QVariant &name,
                    const QString &category = "I", bool lent = false)
{
    t.exec("insert into bookInfo values (?,?,?,?,?,?,?,?,?)",
           {id, name, category, "人民文学出版社", "曹雪芹", "59.70", "1606", "2026-03-02",
            lent ? 1 : 0});
}

inline void addLoan(TestApp &t, const QString &reader, const QString &book, const QString &lent,
                    const QVariant &returned = QVariant())
{
    t.exec("insert into lentInfo values (?,?,?,?,?,?)",
           {reader, book, lent, returned, returned.isNull() ? QVariant() : QVariant(0),
            returned.isNull() ? QVariant() : QVariant(0.0)});
    if (returned.isNull())
        t.exec("update bookInfo set 是否借出=1 where 书籍编号=?", {book});
}

inline void setRules(TestApp &t, const QVariant &bookLimit, const QVariant &finePerDay)
{
    t.exec("update basicSet set 借出册数=?, 罚款=?", {bookLimit, finePerDay});
}

// Three readers and six books of a small library.
inline void seedLibrary(TestApp &t)
{
    addReader(t, "001", "张伟");
    addReader(t, "002", "李娜");
    addReader(t, "003", "王芳");
    addBook(t, "B1001", "红楼梦");
    addBook(t, "B1002", "围城");
    addBook(t, "B1003", "平凡的世界");
    addBook(t, "B1004", "三体");
    addBook(t, "B1005", "万历十五年", "K");
    addBook(t, "B1006", "数学分析(上册)", "O");
}

inline void showTab(TestApp &t, Tab tab)
{
    if (auto *tabs = t.control<QTabWidget>(kMain, "SSTab1"))
        tabs->setCurrentIndex(tab);
}

// Types into a box and presses Enter, as a scanner does.
inline void scan(TestApp &t, const QString &box, const QString &text)
{
    t.type(kMain, box, text);
    t.enter(kMain, box);
}

inline QString text(TestApp &t, const QString &control)
{
    return t.text(kMain, control);
}

inline bool enabled(TestApp &t, const QString &control)
{
    auto *w = t.control<QWidget>(kMain, control);
    return w && w->isEnabled();
}

inline QString focused(TestApp &t)
{
    QWidget *main = t.window(kMain);
    return main && main->focusWidget() ? main->focusWidget()->objectName() : QString();
}

// The prompts shown since the last call. A plain "提示" box with only OK is given by its text;
// anything else is marked, so a wrong title or button fails the comparison.
inline QStringList hints(TestApp &t)
{
    QStringList out;
    for (const ScriptedPrompter::Shown &s : t.prompter().shown()) {
        const bool plain =
            s.kind == ScriptedPrompter::Shown::Message && s.prompt.title == lendora::hintTitle()
            && s.prompt.buttons == lendora::Buttons::Ok && s.prompt.icon == lendora::Icon::None;
        out << (plain ? s.prompt.text
                      : QStringLiteral("[%1 kind %2] %3")
                            .arg(s.prompt.title)
                            .arg(int(s.kind))
                            .arg(s.prompt.text));
    }
    t.prompter().clear();
    return out;
}

// Every row of the tables the desk writes, in order: equal snapshots mean nothing changed.
inline QString snapshot(TestApp &t)
{
    QStringList rows;
    for (const char *table : {"lentInfo", "bookInfo", "readerInfo", "basicSet"}) {
        QSqlQuery q(t.db());
        if (!q.exec(QStringLiteral("select * from %1 order by rowid").arg(QLatin1String(table))))
            return q.lastQuery();
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.isNull(i) ? QStringLiteral("NULL") : q.value(i).toString());
            rows << QLatin1String(table) + QLatin1Char(':') + cells.join(QLatin1Char('|'));
        }
    }
    return rows.join(QLatin1Char('\n'));
}

inline int openLoans(TestApp &t, const QString &book)
{
    return t.scalar("select count(*) from lentInfo where 书籍编号=? and 还书日期 is null", {book})
        .toInt();
}

inline bool lentFlag(TestApp &t, const QString &book)
{
    return t.scalar("select 是否借出 from bookInfo where 书籍编号=?", {book}).toInt() != 0;
}

// The three writes of the desk, each made ready up to its last click: lend 001 the free
// B1003; take back B1001 from 001; renew 002's B1002 to 2026-12-07.
inline void seedForWrites(TestApp &t)
{
    seedLibrary(t);
    addLoan(t, "001", "B1001", "2026-11-20");
    addLoan(t, "002", "B1002", "2026-11-27");
}

// After seedForWrites(): logs in and makes the write ready.
inline void readyWrite(TestApp &t, const QString &write)
{
    t.login();
    if (write == "lend") {
        scan(t, "txtReaderID", "001");
        scan(t, "txtBookID", "B1003");
    } else if (write == "return") {
        showTab(t, Return);
        scan(t, "txtReadIDReturn", "001");
        scan(t, "txtBookIDReturn", "B1001");
    } else {
        showTab(t, Renewal);
        scan(t, "txtReaderIDRenew", "002");
        t.control<QDateEdit>(kMain, "dtpLendDateChange")->setDate(QDate(2026, 12, 7));
    }
    t.prompter().clear();
}

inline void prepareWrite(TestApp &t, const QString &write)
{
    seedForWrites(t);
    readyWrite(t, write);
}

inline void finishWrite(TestApp &t, const QString &write)
{
    t.click(kMain, write == "lend" ? "cmdLendBook" : write == "return" ? "cmdReturn" : "cmdOK");
}

}  // namespace desk
