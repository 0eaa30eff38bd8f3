#include "app/DailyBackup.h"

#include "core/exchange/BackgroundCopy.h"
#include "data/Backups.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"

#include <QTime>
#include <utility>

namespace lendora {

namespace {
const char *const kDailyCopyFailed =
    QT_TRANSLATE_NOOP("lendora::DailyBackup", "今天的自动备份没有完成。\n%1");
}  // namespace

DailyBackup::DailyBackup(Needs needs, QObject *parent) : QObject(parent), m_needs(std::move(needs))
{
    connect(
        &m_needs.copy, &BackgroundCopy::finished, this,
        [this](bool ok, const QString &target, const QString &error) {
            if (target != std::exchange(m_target, QString()) || ok)
                return;
            m_needs.prompter.message(
                {QCoreApplication::translate("lendora::DailyBackup", kDailyCopyFailed).arg(error),
                 hintTitle()});
        });
}

void DailyBackup::loggedIn()
{
    if (m_needs.database.isChecking())
        m_whenChecked = true;
    else if (!m_needs.database.checkFailed())
        copyNow();
}

void DailyBackup::checkEnded(bool passed)
{
    if (std::exchange(m_whenChecked, false) && passed)
        copyNow();
}

void DailyBackup::copyNow()
{
    if (!m_needs.database.copies() || !m_target.isEmpty())
        return;
    const Backups backups(m_needs.appDir);
    if (backups.madeOn(m_needs.today()))
        return;
    const QString target = backups.pathFor(m_needs.today(), QTime::currentTime());
    // Old copies go on the copy's thread: a clerk who quits at once must not leave them.
    const int keep = DeskSettings::inFolder(m_needs.appDir).backupKeep();
    // A copy the clerk asked for is under way: today's is made at the next login.
    if (m_needs.copy.start(m_needs.database.copies()->copier(), target,
                           [backups, keep] { backups.prune(keep); }))
        m_target = target;
}

}  // namespace lendora
