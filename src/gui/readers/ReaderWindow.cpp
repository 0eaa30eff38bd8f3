#include "gui/readers/ReaderWindow.h"

#include "core/readers/ReaderLimits.h"
#include "core/readers/ReaderNumber.h"
#include "core/readers/ReaderStore.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/GbkByteLimit.h"
#include "gui/widgets/InputBox.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "gui/widgets/WindowRegistry.h"
#include "ui_ReaderWindow.h"

#include <QLineEdit>

namespace lendora {

namespace {
const char *const kEnterNumber = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "请输入读者编号!");
const char *const kNoSuchReader = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "没有该读者信息!");
const char *const kFindFailed = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料查询失败!");
const char *const kAdded = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料添加完毕");
const char *const kAddFailed = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料添加失败!");
const char *const kChanged = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料修改完毕!");
const char *const kChangeFailed = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料修改失败!");
const char *const kDeleted = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "编号%1读者已删除!");
const char *const kDeleteFailed = QT_TRANSLATE_NOOP("lendora::ReaderWindow", "读者资料删除失败!");
const char *const kStillLending =
    QT_TRANSLATE_NOOP("lendora::ReaderWindow", "该读者尚有未还图书,不能删除!");
// What the sex box takes from the option buttons, and the reader's row from it: data, the same
// in every language (the buttons' captions are translated).
const QString kMale = QStringLiteral("男");
const QString kFemale = QStringLiteral("女");

const QSize kOuterSize(twips(6450), twips(4125));
}  // namespace

ReaderWindow::ReaderWindow(WindowContext &context, const Opening &opening)
    : m_context(context), m_ui(std::make_unique<Ui::ReaderWindow>())
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    FixedOuterSize::holdWindow(this, kOuterSize);

    for (QLineEdit *box : {m_ui->txtReaderNo, m_ui->txtReaderName, m_ui->txtReaderMan,
                           m_ui->txtReaderTel, m_ui->txtReaderAddress})
        markInput(box);
    GbkByteLimit::attach(m_ui->txtReaderNo, ReaderLimits::kNumberBytes);
    GbkByteLimit::attach(m_ui->txtReaderName, ReaderLimits::kNameBytes);
    GbkByteLimit::attach(m_ui->txtReaderMan, ReaderLimits::kSexBytes);
    GbkByteLimit::attach(m_ui->txtReaderTel, ReaderLimits::kPhoneBytes);
    // The sex box starts as the preselected option says.
    GbkByteLimit::setText(m_ui->txtReaderMan, kMale);

    connect(m_ui->txtReaderNo, &QLineEdit::returnPressed, this, &ReaderWindow::find);
    connect(m_ui->Command1, &QPushButton::clicked, this, &ReaderWindow::find);
    connect(m_ui->Command2, &QPushButton::clicked, this, &ReaderWindow::previous);
    connect(m_ui->Command7, &QPushButton::clicked, this, &ReaderWindow::next);
    connect(m_ui->Command3, &QPushButton::clicked, this, &ReaderWindow::add);
    connect(m_ui->Command5, &QPushButton::clicked, this, &ReaderWindow::change);
    connect(m_ui->Command6, &QPushButton::clicked, this, &ReaderWindow::remove);
    connect(m_ui->Command4, &QPushButton::clicked, this, &QWidget::close);
    connect(m_ui->cmdHistory, &QPushButton::clicked, this, &ReaderWindow::showHistory);
    connect(m_ui->cmdPrintCard, &QPushButton::clicked, this, [this] {
        if (!m_shownReader.isEmpty())
            emit cardAsked(m_shownReader);
    });
    // A number typed over the one found no longer names the reader shown.
    connect(m_ui->txtReaderNo, &QLineEdit::textEdited, this, [this] { setShownReader(QString()); });
    connect(m_ui->Option1, &QRadioButton::clicked, this, [this] {
        if (m_ui->Option1->isChecked())
            GbkByteLimit::setText(m_ui->txtReaderMan, kMale);
    });
    connect(m_ui->Option2, &QRadioButton::clicked, this, [this] {
        if (m_ui->Option2->isChecked())
            GbkByteLimit::setText(m_ui->txtReaderMan, kFemale);
    });

    showView(opening);
    setShownReader(QString());
}

ReaderWindow::~ReaderWindow() = default;

void ReaderWindow::showView(const Opening &opening)
{
    const bool query = opening.mode == ReaderFormMode::Query;
    const bool adding = opening.mode == ReaderFormMode::Add;
    m_ui->Command1->setVisible(!adding);
    m_ui->Command2->setVisible(!adding);
    m_ui->Command7->setVisible(!adding);
    m_ui->Command3->setVisible(!query);
    m_ui->Command5->setVisible(!query && !adding);
    m_ui->Command6->setVisible(!query && !adding);
    if (adding)
        GbkByteLimit::setText(m_ui->txtReaderNo, opening.readerNumber);
}

Reader ReaderWindow::boxes() const
{
    return {m_ui->txtReaderNo->text(), m_ui->txtReaderName->text(), m_ui->txtReaderMan->text(),
            m_ui->txtReaderTel->text(), m_ui->txtReaderAddress->text()};
}

void ReaderWindow::showReader(const Reader &reader)
{
    GbkByteLimit::setText(m_ui->txtReaderName, reader.name);
    GbkByteLimit::setText(m_ui->txtReaderMan, reader.sex);
    GbkByteLimit::setText(m_ui->txtReaderTel, reader.phone);
    GbkByteLimit::setText(m_ui->txtReaderAddress, reader.department);
}

void ReaderWindow::clearBoxes()
{
    GbkByteLimit::setText(m_ui->txtReaderNo, QString());
    showReader(Reader{});
}

void ReaderWindow::hint(const QString &text)
{
    m_context.prompter().message({text, hintTitle()});
}

void ReaderWindow::find()
{
    const QString number = m_ui->txtReaderNo->text();
    if (number.isEmpty()) {
        m_context.prompter().message({tr(kEnterNumber), appTitle()});
        return;
    }
    Reader reader;
    ReaderStore store(m_context.database());
    switch (store.find(number, &reader)) {
    case ReaderStore::Outcome::Done:
        // The option buttons stay as they are, whatever the stored sex.
        showReader(reader);
        setShownReader(number);
        emit readerFound();
        break;
    case ReaderStore::Outcome::NotFound:
        hint(tr(kNoSuchReader));
        clearBoxes();
        setShownReader(QString());
        break;
    default:
        hint(withCause(tr(kFindFailed), store.lastError()));
        break;
    }
}

void ReaderWindow::previous()
{
    const std::optional<QString> number = ReaderNumber::previous(m_ui->txtReaderNo->text());
    if (!number)
        return;
    GbkByteLimit::setText(m_ui->txtReaderNo, *number);
    find();
}

void ReaderWindow::next()
{
    GbkByteLimit::setText(m_ui->txtReaderNo, ReaderNumber::next(m_ui->txtReaderNo->text()));
    find();
}

void ReaderWindow::add()
{
    // The boxes keep their contents either way.
    const Reader reader = boxes();
    ReaderStore store(m_context.database());
    if (store.add(reader) != ReaderStore::Outcome::Done) {
        hint(withCause(tr(kAddFailed), store.lastError()));
        return;
    }
    setShownReader(reader.number);
    hint(tr(kAdded));
}

void ReaderWindow::change()
{
    ReaderStore store(m_context.database());
    const bool changed = store.change(boxes()) == ReaderStore::Outcome::Done;
    // No reader with the number is no engine failure: the text alone says it.
    hint(changed ? tr(kChanged) : withCause(tr(kChangeFailed), store.lastError()));
}

void ReaderWindow::remove()
{
    // No confirmation is asked: the button is the clerk's decision.
    const QString number = m_ui->txtReaderNo->text();
    ReaderStore store(m_context.database());
    switch (store.remove(number)) {
    case ReaderStore::Outcome::Done:
        hint(tr(kDeleted).arg(number));
        clearBoxes();
        setShownReader(QString());
        break;
    case ReaderStore::Outcome::HasOpenLoans:
        hint(tr(kStillLending));
        break;
    default:
        hint(withCause(tr(kDeleteFailed), store.lastError()));
        break;
    }
}

void ReaderWindow::setShownReader(const QString &number)
{
    m_shownReader = number;
    m_ui->cmdHistory->setEnabled(!number.isEmpty());
    m_ui->cmdPrintCard->setEnabled(!number.isEmpty());
}

void ReaderWindow::showHistory()
{
    if (m_shownReader.isEmpty())
        return;
    emit historyAsked(m_shownReader);
}

}  // namespace lendora
