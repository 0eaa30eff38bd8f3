#include "TestApp.h"
#include "TestMain.h"
#include "app/LoginWindow.h"
#include "base/Language.h"
#include "base/Version.h"
#include "data/Columns.h"
#include "data/Schema.h"
#include "data/SharedDatabase.h"
#include "data/sqlite/DatabaseFile.h"
#include "gui/widgets/BalloonWidget.h"
#include "gui/widgets/Texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

using namespace lendora;
using lendora::testkit::ScriptedPrompter;
using lendora::testkit::TestApp;

// The desk ready for a translation: with a translator that marks every text it is asked for,
// everything the clerk reads comes out marked, except the data.

namespace {

const QChar kOpen(0x00AB);   // «
const QChar kClose(0x00BB);  // »

class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *sourceText, const char *, int) const override
    {
        if (!sourceText || !*sourceText)
            return {};
        return kOpen + QString::fromUtf8(sourceText) + kClose;
    }
};

// The marking translator, installed for one test.
class Marking {
public:
    Marking() { QCoreApplication::installTranslator(&m_translator); }
    ~Marking() { QCoreApplication::removeTranslator(&m_translator); }
    Marking(const Marking &) = delete;
    Marking &operator=(const Marking &) = delete;

private:
    MarkingTranslator m_translator;
};

bool isChinese(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x3000 && u <= 0x303F) || (u >= 0x4E00 && u <= 0x9FFF)
           || (u >= 0xFF00 && u <= 0xFFEF);
}

// Came through the translator: opens with a mark and has no Chinese outside one. What a text
// adds to its translated part (a number, a path, the version, an engine's words) may stand
// outside.
bool isMarked(const QString &text)
{
    if (!text.startsWith(kOpen))
        return false;
    int depth = 0;
    for (const QChar c : text) {
        if (c == kOpen)
            ++depth;
        else if (c == kClose)
            --depth;
        else if (depth == 0 && isChinese(c))
            return false;
    }
    return depth == 0;
}

// Data, not texts of the program, is exempt. The controls below are named with why. Beyond
// them: text boxes and date boxes, the drop-down lists (category entries, the publisher
// pick-list), and grid cells (but for the lent flag, which windowsAreMarked reads) are not read
// at all; and what a message or caption adds to its translated part stands outside the mark
// (the version after the main window's title, a count, a path, a number typed by the clerk).
const QHash<QString, QString> kExempt = {
    {"Frmmain.lblRemain", "how many more books the reader may borrow: a number"},
    {"FrmHelp.tip_text", "a tip of the tips file"},
    {"FrmAbout.Label2", "a web address"},
    {"FrmAbout.Label4", "a web address"},
    {"FrmAbout.Label5", "a web address"},
    {"FrmAbout.Label6", "a web address"},
    {"Frmmain.mnuLanguageChinese", "a language's name in its own words"},
    {"Frmmain.mnuLanguageEnglish", "a language's name in its own words"},
};

// Every text of a window the clerk reads, as "window.control what: text", empty ones left out.
QStringList textsOf(QWidget *window)
{
    QStringList all;
    const QString name = window->objectName();
    const auto add = [&](const QObject *o, const QString &what, const QString &text) {
        const QString where = name + '.' + o->objectName();
        if (!text.isEmpty() && !kExempt.contains(where))
            all << where + ' ' + what + ": " + text;
    };
    add(window, "title", window->windowTitle());
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : std::as_const(widgets)) {
        add(w, "tooltip", w->toolTip());
        add(w, "status tip", w->statusTip());
        add(w, "what's this", w->whatsThis());
        if (auto *label = qobject_cast<QLabel *>(w)) {
            add(w, "text", label->text());
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            add(w, "text", button->text());
        } else if (auto *frame = qobject_cast<QGroupBox *>(w)) {
            add(w, "title", frame->title());
        } else if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(w, QStringLiteral("tab %1").arg(i), tabs->tabText(i));
        } else if (auto *menu = qobject_cast<QMenu *>(w)) {
            add(w, "title", menu->title());
        } else if (auto *grid = qobject_cast<QTableView *>(w)) {
            for (int c = 0; grid->model() && c < grid->model()->columnCount(); ++c)
                add(w, QStringLiteral("heading %1").arg(c),
                    grid->model()->headerData(c, Qt::Horizontal).toString());
        } else if (auto *box = qobject_cast<QLineEdit *>(w)) {
            add(w, "placeholder", box->placeholderText());
        } else if (auto *balloon = qobject_cast<BalloonWidget *>(w)) {
            add(w, "balloon title", balloon->title());
            add(w, "balloon text", balloon->text());
        }
    }
    for (QAction *action : window->findChildren<QAction *>()) {
        if (action->isSeparator())
            continue;
        add(action, "text", action->text());
        add(action, "tooltip", action->toolTip());
    }
    return all;
}

QString report(const QStringList &wrong)
{
    return QString::number(wrong.size()) + QStringLiteral(" not through the translator:\n")
           + wrong.join('\n');
}

QStringList unmarked(const QStringList &texts)
{
    QStringList wrong;
    for (const QString &line : texts) {
        if (!isMarked(line.mid(line.indexOf(QLatin1String(": ")) + 2)))
            wrong << line;
    }
    return wrong;
}

QStringList withChinese(const QStringList &texts)
{
    QStringList wrong;
    for (const QString &line : texts) {
        const QString text = line.mid(line.indexOf(QLatin1String(": ")) + 2);
        if (std::any_of(text.begin(), text.end(), isChinese))
            wrong << line;
    }
    return wrong;
}

// Every registered window open, the reader window in its management view; the books' grid
// holds one book on the shelf and one lent.
void openEveryWindow(TestApp &t)
{
    t.exec("insert into bookInfo values ('B1', '围城', 'I', '', '', '1', '1', '2026-01-05', 0)");
    t.exec("insert into bookInfo values ('B2', '三体', 'I', '', '', '1', '1', '2026-01-05', 1)");
    t.login();
    t.trigger("meuReaderSet");
    for (const QString &name : t.app().windows().names()) {
        if (!t.window(name))
            t.app().windows().show(name);
        QVERIFY2(t.window(name), qPrintable(name));
    }
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Catches the label a slow start-up shows and hides again before start() returns.
class ShownLabels : public QObject {
public:
    QStringList texts;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *label = qobject_cast<QLabel *>(watched); label && label->isWindow())
                texts << label->text();
        }
        return false;
    }
};

const QString kMain = QStringLiteral("Frmmain");

}  // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void everyColumnHasALabel();
    void windowsAreMarked();
    void windowsAreEnglish();
    void promptsAreMarked_data();
    void promptsAreMarked();
    void slowStartIsMarked();
};

void TranslationTest::cleanup()
{
    // The translator is gone again: the next tests read the program's own texts.
    QCOMPARE(appTitle(), QString::fromUtf8("岚枢图书管理系统"));
}

void TranslationTest::everyColumnHasALabel()
{
    // In Chinese each label reads as its key; through a translator each one is translated.
    for (const Schema::Table &table : Schema::tables()) {
        for (const QString &column : table.columns)
            QCOMPARE(Columns::label(column), column);
    }
    Marking marking;
    for (const Schema::Table &table : Schema::tables()) {
        for (const QString &column : table.columns)
            QCOMPARE(Columns::label(column), kOpen + column + kClose);
    }
}

void TranslationTest::windowsAreMarked()
{
    Marking marking;
    TestApp t;
    openEveryWindow(t);
    if (QTest::currentTestFailed())
        return;

    QStringList wrong;
    for (QWidget *window : t.app().topLevelWindows()) {
        wrong << unmarked(textsOf(window));
        for (QTableView *grid : window->findChildren<QTableView *>())
            QVERIFY2(grid->model() && grid->model()->columnCount() > 0,
                     qPrintable(window->objectName() + '.' + grid->objectName()));
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(report(wrong)));

    // The hidden login window keeps its balloon; the version follows the translated title.
    QVERIFY(t.app().loginWindow()->findChild<BalloonWidget *>());
    QCOMPARE(t.window(kMain)->windowTitle(),
             kOpen + QString::fromUtf8("岚枢图书管理系统") + kClose + " Ver" + GetVersionText());

    // The lent flag is shown in words, translated.
    auto *books = t.control<QTableView>("FrmLendora", "DataGrid1");
    QVERIFY(books);
    QStringList flags;
    for (int row = 0; row < books->model()->rowCount(); ++row)
        flags << books->model()->index(row, books->model()->columnCount() - 1).data().toString();
    QCOMPARE(flags, (QStringList{kOpen + QString::fromUtf8("否") + kClose,
                                 kOpen + QString::fromUtf8("是") + kClose}));
}

void TranslationTest::windowsAreEnglish()
{
    // The real translation, as the desk loads it at start: no Chinese is left on any control.
    const Translations english(Language::English, LENDORA_TRANSLATIONS_DIR);
    QCOMPARE(Translations::inForce(), Language::English);
    TestApp t;
    openEveryWindow(t);
    if (QTest::currentTestFailed())
        return;
    QStringList wrong;
    for (QWidget *window : t.app().topLevelWindows())
        wrong << withChinese(textsOf(window));
    // A reader's sex is offered as it is stored: 男 and 女 are data, not texts to translate.
    for (const char *stored : {"FrmReader.Option1 text: 男", "FrmReader.Option2 text: 女"})
        QVERIFY2(wrong.removeOne(QString::fromUtf8(stored)), stored);
    QVERIFY2(wrong.isEmpty(),
             qPrintable(QString::number(wrong.size()) + QStringLiteral(" still in Chinese:\n")
                        + wrong.join('\n')));
    // The lent flag is a word of the program's, not data.
    auto *books = t.control<QTableView>("FrmLendora", "DataGrid1");
    QVERIFY(books);
    for (int row = 0; row < books->model()->rowCount(); ++row) {
        const QString flag =
            books->model()->index(row, books->model()->columnCount() - 1).data().toString();
        QVERIFY2(std::none_of(flag.begin(), flag.end(), isChinese), qPrintable(flag));
    }
}

void TranslationTest::promptsAreMarked_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("label");  // a column label the prompt names, or ""

    const auto marked = [](const char *text) { return kOpen + QString::fromUtf8(text) + kClose; };
    QTest::newRow("lending: empty reader lookup") << "lend reader"
                                                  << "";
    QTest::newRow("lending: book without a title") << "lend book" << marked("书籍名称");
    QTest::newRow("renewal: empty reader lookup") << "renew reader"
                                                  << "";
    QTest::newRow("return: empty book lookup") << "return book"
                                               << "";
    QTest::newRow("return: loan of a book without a price") << "return loan" << marked("书籍价格");
    QTest::newRow("login: wrong password") << "wrong password"
                                           << "";
    QTest::newRow("login: changing the account") << "change account"
                                                 << "";
    QTest::newRow("book entry: empty save") << "empty save"
                                            << "";
    QTest::newRow("book list: delete asks first") << "delete book"
                                                  << "";
    QTest::newRow("book query: results") << "find books"
                                         << "";
    QTest::newRow("reader: empty lookup") << "find reader"
                                          << "";
    QTest::newRow("database: not a database") << "not a database"
                                              << "";
    QTest::newRow("database: a column missing") << "column missing" << marked("所在部门");
    QTest::newRow("start: the clock behind the loans") << "clock behind"
                                                       << "";
}

void TranslationTest::promptsAreMarked()
{
    QFETCH(QString, action);
    QFETCH(QString, label);

    Marking marking;
    TestApp t;
    t.exec("insert into readerInfo values ('001', '张伟', '男', '13800000000', '中文系')");
    t.exec("insert into bookInfo values ('B1', null, 'I', '', '', '1', '1', '2026-01-05', 0)");
    t.exec("insert into bookInfo values ('B2', '三体', 'I', '', '', null, '1', '2026-01-05', 1)");
    t.exec("insert into lentInfo values ('001', 'B2', '2026-12-01', null, null, null)");
    const auto onTab = [&](int tab) {
        t.login();
        t.prompter().clear();
        if (auto *tabs = t.control<QTabWidget>(kMain, "SSTab1"))
            tabs->setCurrentIndex(tab);
    };
    const auto inWindow = [&](const QString &window) {
        t.login();
        t.prompter().clear();
        t.app().windows().show(window);
    };

    if (action == "lend reader") {
        onTab(0);
        t.enter(kMain, "txtReaderID");
    } else if (action == "lend book") {
        onTab(0);
        t.type(kMain, "txtReaderID", "001");
        t.enter(kMain, "txtReaderID");
        t.type(kMain, "txtBookID", "B1");
        t.enter(kMain, "txtBookID");
    } else if (action == "renew reader") {
        onTab(1);
        t.enter(kMain, "txtReaderIDRenew");
    } else if (action == "return book") {
        onTab(2);
        t.enter(kMain, "txtBookIDReturn");
    } else if (action == "return loan") {
        onTab(2);
        t.type(kMain, "txtReadIDReturn", "001");
        t.type(kMain, "txtBookIDReturn", "B2");
        t.enter(kMain, "txtBookIDReturn");
    } else if (action == "wrong password") {
        QVERIFY(t.start());
        t.type("FrmLogon", "txtPassword", "wrong");
        t.click("FrmLogon", "cmdOK");
    } else if (action == "change account") {
        QVERIFY(t.start());
        t.prompter().answerInput("");  // the old password: not given
        auto *change = t.control<QAction>("FrmLogon", "meuAddUser");
        QVERIFY(change);
        change->trigger();
    } else if (action == "empty save") {
        inWindow("FrmAddnew");
        t.click("FrmAddnew", "cmdSave");
    } else if (action == "delete book") {
        inWindow("FrmLendora");
        t.prompter().answerConfirm(false);
        t.click("FrmLendora", "cmdDel");
    } else if (action == "find books") {
        inWindow("FrmBookQuery");
        t.click("FrmBookQuery", "cmdFind");
    } else if (action == "find reader") {
        t.login();
        t.prompter().clear();
        t.trigger("meuReaderSet");
        t.click("FrmReader", "Command1");
    } else if (action == "not a database") {
        t.db().close();
        QFile::remove(DatabaseFile::pathIn(t.appDir()));
        writeFile(DatabaseFile::pathIn(t.appDir()), "this is not a library\n");
        QVERIFY(!t.start());
    } else if (action == "clock behind") {
        t.setToday(QDate(2026, 11, 30));  // the day before the loan above
        QVERIFY(t.start());
    } else if (action == "column missing") {
        t.exec("alter table readerInfo drop column 所在部门");
        QVERIFY(!t.start());
    } else {
        QFAIL("no such action");
    }

    const QList<ScriptedPrompter::Shown> &shown = t.prompter().shown();
    QVERIFY(!shown.isEmpty());
    QStringList wrong;
    for (const ScriptedPrompter::Shown &s : shown) {
        for (const QString &text : {s.prompt.text, s.prompt.title}) {
            if (!isMarked(text))
                wrong << text;
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(report(wrong)));
    if (!label.isEmpty())
        QVERIFY2(t.prompter().texts().join('\n').contains(label),
                 qPrintable(t.prompter().texts().join('\n')));
}

void TranslationTest::slowStartIsMarked()
{
    Marking marking;
    TestApp t;
    // A run that did not end cleanly: the login comes at once, the file is checked beside it,
    // and a write made meanwhile waits under a note.
    t.db().close();
    writeFile(DatabaseFile::markerPath(DatabaseFile::pathIn(t.appDir())), "");
    t.holdFileCheck();
    ShownLabels shownLabels;
    qApp->installEventFilter(&shownLabels);
    QVERIFY(t.start());
    QVERIFY(shownLabels.texts.isEmpty());
    QTimer release;
    release.setInterval(0);
    connect(&release, &QTimer::timeout, [&] {
        if (!shownLabels.texts.isEmpty()) {
            release.stop();
            t.releaseFileCheck();
        }
    });
    release.start();
    QCOMPARE(t.app().database().change("update basicSet set 罚款=罚款", {}), 1);
    qApp->removeEventFilter(&shownLabels);
    QCOMPARE(shownLabels.texts.size(), 1);
    QVERIFY2(isMarked(shownLabels.texts.first()), qPrintable(shownLabels.texts.first()));
}

LENDORA_TEST_CLASS(TranslationTest)
#include "tst_translation.moc"
