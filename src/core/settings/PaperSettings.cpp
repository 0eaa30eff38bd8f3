#include "core/settings/PaperSettings.h"

#include "base/KeyValueFile.h"

#include <QCoreApplication>

namespace lendora {

namespace {
const char *const kDefaultName = QT_TRANSLATE_NOOP("lendora::PaperSettings", "图书馆");

const QString kLibraryName = QStringLiteral("LibraryName");
const QString kReceiptPaper = QStringLiteral("ReceiptPaper");
const QString kReceiptAfterLend = QStringLiteral("LendReceipt");
const QString kReceiptAfterReturn = QStringLiteral("ReturnReceipt");
const QString kRoll = QStringLiteral("80mm");
const QString kA5 = QStringLiteral("A5");

bool flag(const QString &value, bool fallback)
{
    const QString v = value.trimmed();
    if (v == QLatin1String("1"))
        return true;
    if (v == QLatin1String("0"))
        return false;
    return fallback;
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString paperText(PaperSettings::ReceiptPaper paper)
{
    return paper == PaperSettings::ReceiptPaper::A5 ? kA5 : kRoll;
}
}  // namespace

QString PaperSettings::defaultLibraryName()
{
    return QCoreApplication::translate("lendora::PaperSettings", kDefaultName);
}

PaperSettings PaperSettings::load(const QString &settingsPath)
{
    PaperSettings settings;
    const QString name = GetKeyValue(settingsPath, kLibraryName).trimmed();
    if (!name.isEmpty())
        settings.libraryName = name;
    if (GetKeyValue(settingsPath, kReceiptPaper).trimmed().compare(kA5, Qt::CaseInsensitive) == 0)
        settings.receiptPaper = ReceiptPaper::A5;
    settings.receiptAfterLend =
        flag(GetKeyValue(settingsPath, kReceiptAfterLend), settings.receiptAfterLend);
    settings.receiptAfterReturn =
        flag(GetKeyValue(settingsPath, kReceiptAfterReturn), settings.receiptAfterReturn);
    return settings;
}

bool PaperSettings::save(const QString &settingsPath, const PaperSettings &before) const
{
    const struct {
        const QString &key;
        QString now, was;
    } keys[] = {
        {kLibraryName, libraryName.trimmed(), before.libraryName.trimmed()},
        {kReceiptPaper, paperText(receiptPaper), paperText(before.receiptPaper)},
        {kReceiptAfterLend, flagText(receiptAfterLend), flagText(before.receiptAfterLend)},
        {kReceiptAfterReturn, flagText(receiptAfterReturn), flagText(before.receiptAfterReturn)},
    };
    for (const auto &key : keys) {
        if (key.now == key.was)
            continue;
        if (SetKeyValue(settingsPath, key.key, key.now) != TextFile::WriteResult::Written)
            return false;
    }
    return true;
}

}  // namespace lendora
