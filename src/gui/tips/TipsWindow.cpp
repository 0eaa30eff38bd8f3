#include "gui/tips/TipsWindow.h"

#include "base/NumberText.h"
#include "base/PrivateProfile.h"
#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/WindowContext.h"
#include "ui_TipsWindow.h"

#include <QStyle>

namespace lendora {

namespace {
const QString kTipsFile = QStringLiteral("QUICKTIP.INI");
const QString kSection = QStringLiteral("TIP");
const QString kStartKey = QStringLiteral("START");
const QString kCurrentKey = QStringLiteral("CURRENT");
// What a missing key or file reads as; a tip with this text counts as missing.
const QString kUnknown = QStringLiteral("unknown");

const char *const kBadEntry = QT_TRANSLATE_NOOP("lendora::TipsWindow", "非法条目> ");
const char *const kEmptyValueTitle = QT_TRANSLATE_NOOP("lendora::TipsWindow", "找不到所需字段");
const char *const kWriteFailedTitle = QT_TRANSLATE_NOOP("lendora::TipsWindow", "读取时出错");

const QSize kOuterSize(twips(6900), twips(4200));
}  // namespace

TipsWindow::TipsWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::TipsWindow>())
{
    m_ui->setupUi(this);
    m_context.applyWindowStyle(this);
    FixedOuterSize::hold(this, kOuterSize);

    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    m_ui->Picture1->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    QFont heading = m_ui->SkinLabel1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    m_ui->SkinLabel1->setFont(heading);

    connect(m_ui->Next_Tip_Button, &QPushButton::clicked, this, &TipsWindow::ShowNextTip);
    connect(m_ui->Quick_Tip_OK_Button, &QPushButton::clicked, this, &TipsWindow::onExit);

    const QString flag = ReadIniValue(tipsFile(), kSection, kStartKey).trimmed();
    m_ui->show_tip->setChecked(flag == QLatin1String("T"));
    ShowNextTip();
}

TipsWindow::~TipsWindow() = default;

QString TipsWindow::tipsFile() const
{
    return m_context.filePath(kTipsFile);
}

QString TipsWindow::ReadIniValue(const QString &file, const QString &section, const QString &key)
{
    const std::optional<QString> value = PrivateProfile::read(file, section, key);
    if (!value)
        return kUnknown;
    if (value->isEmpty()) {
        m_context.prompter().message({tr(kBadEntry) + section + QLatin1Char('/') + key,
                                      tr(kEmptyValueTitle), Buttons::Ok, Icon::Error});
        return {};
    }
    return *value;
}

void TipsWindow::WriteIniValue(const QString &file, const QString &section, const QString &key,
                               const QString &value)
{
    if (!PrivateProfile::write(file, section, key, value))
        m_context.prompter().message({tr(kBadEntry) + section + QLatin1Char('/') + key,
                                      tr(kWriteFailedTitle), Buttons::Ok, Icon::Error});
}

void TipsWindow::ShowNextTip()
{
    const QString file = tipsFile();
    const QString current = ReadIniValue(file, kSection, kCurrentKey);
    m_ui->tip_text->setText(QLatin1Char('\n') + ReadIniValue(file, kSection, current));
    // A number that is not one counts as 0, so the next tip is then tip 1.
    QString next = NumberText::fromDouble(NumberText::leadingValue(current) + 1);
    if (ReadIniValue(file, kSection, next) == kUnknown)
        next = QStringLiteral("1");
    WriteIniValue(file, kSection, kCurrentKey, next);
}

void TipsWindow::onExit()
{
    WriteIniValue(tipsFile(), kSection, kStartKey,
                  m_ui->show_tip->isChecked() ? QStringLiteral("T") : QStringLiteral("F"));
    close();
}

}  // namespace lendora
