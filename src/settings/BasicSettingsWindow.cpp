#include "settings/BasicSettingsWindow.h"

#include "base/NumberText.h"
#include "settings/LibraryRules.h"
#include "ui_BasicSettingsWindow.h"
#include "widgets/Controls.h"
#include "widgets/FixedOuterSize.h"
#include "widgets/Prompter.h"
#include "widgets/Texts.h"
#include "widgets/WindowContext.h"

#include <QGuiApplication>
#include <QScreen>

namespace lendora {

namespace {
const char *const kSaved = QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "设置完毕!");
const char *const kBadValue =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "输入的数值不正确,设置未保存!");
const char *const kSaveFailed =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "数据库拒绝了这次写入,设置未保存!");
const char *const kReadFailed =
    QT_TRANSLATE_NOOP("lendora::BasicSettingsWindow", "无法读取基本设置,数据库操作失败。\n%1");

const QSize kOuterSize(twips(5790), twips(3405));

QString shown(const QVariant &value, bool whole)
{
    if (value.isNull())
        return {};
    return whole ? NumberText::fromInt(value.toLongLong())
                 : NumberText::fromDouble(value.toDouble());
}
}  // namespace

BasicSettingsWindow::BasicSettingsWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::BasicSettingsWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    FixedOuterSize::holdWindow(this, kOuterSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    markInput(m_ui->txtBook);
    markInput(m_ui->txtFakuan);
    LibraryRules rulesRow(m_context.database());
    if (const std::optional<Rules> rules = rulesRow.read()) {
        m_ui->txtBook->setText(shown(rules->bookLimit, true));
        m_ui->txtFakuan->setText(shown(rules->finePerDay, false));
    } else if (rulesRow.lastError().isError()) {
        m_context.prompter().message({tr(kReadFailed).arg(rulesRow.lastError().text), hintTitle()});
    }

    connect(m_ui->cmdSave, &QPushButton::clicked, this, &BasicSettingsWindow::save);
    connect(m_ui->Command2, &QPushButton::clicked, this, &QWidget::close);
}

BasicSettingsWindow::~BasicSettingsWindow() = default;

void BasicSettingsWindow::save()
{
    switch (
        LibraryRules(m_context.database()).save(m_ui->txtBook->text(), m_ui->txtFakuan->text())) {
    case LibraryRules::SaveResult::Saved:
        m_context.prompter().message({tr(kSaved), hintTitle()});
        break;
    case LibraryRules::SaveResult::BadValue:
        m_context.prompter().message({tr(kBadValue), hintTitle()});
        break;
    case LibraryRules::SaveResult::Failed:
        m_context.prompter().message({tr(kSaveFailed), hintTitle()});
        break;
    }
}

}  // namespace lendora
