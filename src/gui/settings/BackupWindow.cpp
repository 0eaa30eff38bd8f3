#include "gui/settings/BackupWindow.h"

#include "core/exchange/BackgroundCopy.h"
#include "data/Backups.h"
#include "data/LibraryRestore.h"
#include "data/SharedDatabase.h"
#include "gui/widgets/FileChooser.h"
#include "gui/widgets/Prompter.h"
#include "gui/widgets/Texts.h"
#include "gui/widgets/WindowContext.h"
#include "ui_BackupWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTime>
#include <utility>

namespace lendora {

namespace {
const char *const kFolder = QT_TRANSLATE_NOOP("lendora::BackupWindow", "备份文件夹:%1");
const char *const kWorking = QT_TRANSLATE_NOOP("lendora::BackupWindow", "正在备份……");
const char *const kBusy =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "另一份备份正在进行,请等它完成后再试。");
const char *const kDone = QT_TRANSLATE_NOOP("lendora::BackupWindow", "备份完成:%1");
const char *const kFailed = QT_TRANSLATE_NOOP("lendora::BackupWindow", "备份没有完成。\n%1");
const char *const kBackUpTo = QT_TRANSLATE_NOOP("lendora::BackupWindow", "备份到");
const char *const kRestoreFrom = QT_TRANSLATE_NOOP("lendora::BackupWindow", "从备份恢复");
const char *const kFilter = QT_TRANSLATE_NOOP("lendora::BackupWindow", "图书馆数据库 (*.mdb)");
const char *const kUnusable =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "不能用这个文件恢复,没有做任何改动。\n%1");
const char *const kIsLibrary =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "这是正在使用的数据库文件本身,请选择一份备份。");
const char *const kConfirm =
    QT_TRANSLATE_NOOP("lendora::BackupWindow",
                      "将用备份 %1 替换当前的全部数据(图书、类别、读者、借阅记录和基本设置)。\n"
                      "恢复前会先把当前数据备份到 %2。\n是否继续?");
const char *const kNoSafetyCopy =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "没能先备份当前数据,没有恢复。\n%1");
const char *const kRestored =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "已从 %1 恢复。\n恢复前的数据保存在 %2。");
const char *const kNotRestored =
    QT_TRANSLATE_NOOP("lendora::BackupWindow", "恢复没有完成,数据保持原样。\n%1");

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
}  // namespace

BackupWindow::BackupWindow(WindowContext &context)
    : m_context(context), m_ui(std::make_unique<Ui::BackupWindow>()), m_copy(&context.libraryCopy())
{
    m_context.applyWindowStyle(this);
    m_ui->setupUi(this);
    m_ui->spnKeep->setValue(m_context.settings().backupKeep());
    listCopies();

    connect(m_ui->cmdBackupNow, &QPushButton::clicked, this, [this] {
        backUp(Backups(m_context.filePath(QString()))
                   .pathFor(m_context.today(), QTime::currentTime()));
    });
    connect(m_ui->cmdBackupTo, &QPushButton::clicked, this, [this] {
        const QString suggested = QFileInfo(Backups(m_context.filePath(QString()))
                                                .pathFor(m_context.today(), QTime::currentTime()))
                                      .fileName();
        const QString target =
            m_context.files().saveFileName(tr(kBackUpTo), suggested, tr(kFilter));
        if (!target.isEmpty())
            backUp(target);
    });
    connect(m_ui->cmdRestore, &QPushButton::clicked, this, &BackupWindow::restore);
    connect(m_ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Written only when the clerk changes it.
    connect(m_ui->spnKeep, &QSpinBox::editingFinished, this, [this] {
        if (m_ui->spnKeep->value() != m_context.settings().backupKeep())
            m_context.settings().setBackupKeep(m_ui->spnKeep->value());
    });
    // A copy under way finishes on its own: closing the window does not wait for it.
    connect(m_copy, &BackgroundCopy::finished, this, &BackupWindow::copyFinished);
}

BackupWindow::~BackupWindow() = default;

void BackupWindow::listCopies()
{
    const Backups backups(m_context.filePath(QString()));
    m_ui->lblFolder->setText(tr(kFolder).arg(native(backups.folder())));
    m_ui->lstBackups->clear();
    const QLocale locale;
    for (const QString &path : backups.list()) {
        m_ui->lstBackups->addItem(
            QStringLiteral("%1    %2")
                .arg(QFileInfo(path).fileName(), locale.formattedDataSize(QFileInfo(path).size())));
    }
}

void BackupWindow::backUp(const QString &target)
{
    if (!m_copy->start(m_context.database().copies()->copier(), target)) {
        m_context.prompter().message({tr(kBusy), hintTitle()});
        return;
    }
    m_target = target;
    for (QPushButton *button : {m_ui->cmdBackupNow, m_ui->cmdBackupTo, m_ui->cmdRestore})
        button->setEnabled(false);
    m_ui->lblStatus->setText(tr(kWorking));
}

void BackupWindow::copyFinished(bool ok, const QString &target, const QString &error)
{
    // The day's copy ends here too.
    if (target != std::exchange(m_target, QString()))
        return;
    for (QPushButton *button : {m_ui->cmdBackupNow, m_ui->cmdBackupTo, m_ui->cmdRestore})
        button->setEnabled(true);
    m_ui->lblStatus->clear();
    if (ok)
        Backups(m_context.filePath(QString())).prune(m_ui->spnKeep->value());
    listCopies();
    m_context.prompter().message(
        {ok ? tr(kDone).arg(native(target)) : tr(kFailed).arg(error), hintTitle()});
}

void BackupWindow::restore()
{
    if (m_copy->isRunning()) {
        m_context.prompter().message({tr(kBusy), hintTitle()});
        return;
    }
    LibraryRestore restoring(m_context.database(), m_context.filePath(QString()), m_context.today(),
                             QTime::currentTime());
    if (const QString why = restoring.cannotRestore(); !why.isEmpty()) {
        m_context.prompter().message({why, hintTitle()});
        return;
    }
    const QString source = m_context.files().openFileName(tr(kRestoreFrom), tr(kFilter));
    if (source.isEmpty())
        return;
    switch (restoring.check(source)) {
    case LibraryRestore::Outcome::IsLibrary:
        m_context.prompter().message({tr(kIsLibrary), hintTitle()});
        return;
    case LibraryRestore::Outcome::Unusable:
        m_context.prompter().message({tr(kUnusable).arg(restoring.detail()), hintTitle()});
        return;
    default:
        break;
    }
    const QString safety = restoring.safetyPath();
    if (!m_context.prompter().confirm(
            {tr(kConfirm).arg(native(source), native(safety)), hintTitle(), Buttons::OkCancel}))
        return;
    switch (restoring.run(source)) {
    case LibraryRestore::Outcome::NoSafetyCopy:
        m_context.prompter().message({tr(kNoSafetyCopy).arg(restoring.detail()), hintTitle()});
        return;
    case LibraryRestore::Outcome::Restored:
        break;
    default:
        m_context.prompter().message({tr(kNotRestored).arg(restoring.detail()), hintTitle()});
        return;
    }
    listCopies();
    QString text = tr(kRestored).arg(native(source), native(safety));
    if (!restoring.detail().isEmpty())
        text += QStringLiteral("\n\n") + restoring.detail();
    m_context.prompter().message({text, hintTitle()});
    emit restored();
}

}  // namespace lendora
