#include "app/FileCheckWatch.h"

#include "data/Backups.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QCoreApplication>
#include <QDir>

namespace lendora {

namespace {
const char *const kWaitingForCheck =
    QT_TRANSLATE_NOOP("lendora::FileCheckWatch", "正在检查数据库文件,检查完成后才能保存,请稍候...");
const char *const kCheckFailed = QT_TRANSLATE_NOOP(
    "lendora::FileCheckWatch", "上次程序没有正常退出,检查数据库文件 %1 时发现它已损坏:\n%2\n\n"
                               "为保护现有记录,程序不再保存任何改动(借书、还书、续借等),"
                               "查询仍可使用。");
const char *const kOfferBackup = QT_TRANSLATE_NOOP(
    "lendora::FileCheckWatch", "最新的备份是 %1。\n"
                               "要恢复,请在 系统设置 → 备份与恢复 中选择它。现在打开该窗口吗?");
const char *const kNoBackup = QT_TRANSLATE_NOOP(
    "lendora::FileCheckWatch", "没有找到备份。请退出程序,请管理员修复或更换数据库文件。");

QString tr(const char *text)
{
    return QCoreApplication::translate("lendora::FileCheckWatch", text);
}
}  // namespace

FileCheckWatch::FileCheckWatch(Needs needs) : m_needs(std::move(needs))
{
    SharedDatabase::CheckHandlers handlers;
    handlers.waiting = [this](bool waits) { waiting(waits); };
    handlers.ended = [this](bool passed, const QString &found) { checkEnded(passed, found); };
    m_needs.database.setCheckHandlers(std::move(handlers));
}

FileCheckWatch::~FileCheckWatch()
{
    m_needs.database.setCheckHandlers({});
}

void FileCheckWatch::waiting(bool waits)
{
    if (!waits) {
        m_note.reset();
        return;
    }
    if (m_note)
        return;
    // Not modal: the desk stays usable while the write waits.
    m_note = std::make_unique<QLabel>(tr(kWaitingForCheck));
    m_note->setObjectName(QStringLiteral("lblWaitingForCheck"));
    m_note->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    m_note->setAttribute(Qt::WA_ShowWithoutActivating);
    m_note->setMargin(16);
    m_note->show();
}

void FileCheckWatch::checkEnded(bool passed, const QString &found)
{
    if (!m_needs.ended(passed) || passed)
        return;
    const QString what = tr(kCheckFailed).arg(m_needs.database.location(), found);
    const QStringList copies = Backups(m_needs.appDir).list();
    if (copies.isEmpty()) {
        m_needs.prompter.message(
            {what + QStringLiteral("\n") + tr(kNoBackup), appTitle(), Buttons::Ok, Icon::Error});
        return;
    }
    const QString newest = QDir::toNativeSeparators(copies.first());
    if (m_needs.prompter.confirm({what + QStringLiteral("\n") + tr(kOfferBackup).arg(newest),
                                  appTitle(), Buttons::OkCancel, Icon::Error}))
        m_needs.showBackups();
}

}  // namespace lendora
