#include "gui/tips/TipsWindow.h"

#include "gui/widgets/FixedOuterSize.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/WindowContext.h"
#include "ui_TipsWindow.h"

#include <QStyle>

namespace lendora {

namespace {
// What a missing key or file reads as; a tip with this text counts as missing.
const QString kUnknown = QStringLiteral("unknown");

const char *const kBadEntry = QT_TRANSLATE_NOOP("lendora::TipsWindow", "非法条目> ");
const char *const kEmptyValueTitle = QT_TRANSLATE_NOOP("lendora::TipsWindow", "找不到所需字段");
const char *const kWriteFailedTitle = QT_TRANSLATE_NOOP("lendora::TipsWindow", "读取时出错");

const QSize kOuterSize(twips(6900), twips(4200));
}  // namespace

TipsWindow::TipsWindow(WindowContext &context)
    : m_context(context), m_tips(context.filePath(TipsFile::fileName())),
      m_ui(std::make_unique<Ui::TipsWindow>())
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

    m_ui->show_tip->setChecked(TipsFile::opensAtStart(ReadIniValue(TipsFile::startKey())));
    ShowNextTip();
}

TipsWindow::~TipsWindow() = default;

QString TipsWindow::ReadIniValue(const QString &key)
{
    const std::optional<QString> value = m_tips.read(key);
    if (!value)
        return kUnknown;
    if (value->isEmpty()) {
        m_context.prompter().message({tr(kBadEntry) + TipsFile::entryName(key),
                                      tr(kEmptyValueTitle), Buttons::Ok, Icon::Error});
        return {};
    }
    return *value;
}

void TipsWindow::WriteIniValue(const QString &key, const QString &value)
{
    if (!m_tips.write(key, value))
        m_context.prompter().message({tr(kBadEntry) + TipsFile::entryName(key),
                                      tr(kWriteFailedTitle), Buttons::Ok, Icon::Error});
}

void TipsWindow::ShowNextTip()
{
    const QString current = ReadIniValue(TipsFile::currentKey());
    m_ui->tip_text->setText(QLatin1Char('\n') + ReadIniValue(current));
    QString next = TipsFile::keyAfter(current);
    if (ReadIniValue(next) == kUnknown)
        next = TipsFile::firstKey();
    WriteIniValue(TipsFile::currentKey(), next);
}

void TipsWindow::onExit()
{
    WriteIniValue(TipsFile::startKey(), TipsFile::startValue(m_ui->show_tip->isChecked()));
    close();
}

}  // namespace lendora
