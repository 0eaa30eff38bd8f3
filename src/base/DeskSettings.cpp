#include "base/DeskSettings.h"

#include "base/KeyValueFile.h"
#include "base/NumberText.h"

#include <QCoreApplication>
#include <QDir>

namespace lendora {

namespace {
const char *const kDefaultName = QT_TRANSLATE_NOOP("lendora::DeskSettings", "图书馆");

// The keys, as the file spells them.
const QString kWindowStyle = QStringLiteral("LoadStyle");
const QString kLanguage = QStringLiteral("Language");
const QString kDatabase = QStringLiteral("Database");
const QString kBackupKeep = QStringLiteral("BackupKeep");
const QString kLibraryName = QStringLiteral("LibraryName");
const QString kReceiptPaper = QStringLiteral("ReceiptPaper");
const QString kReceiptAfterLend = QStringLiteral("LendReceipt");
const QString kReceiptAfterReturn = QStringLiteral("ReturnReceipt");
const QString kReceiptPrinter = QStringLiteral("ReceiptPrinter");
const QString kLabelPrinter = QStringLiteral("LabelPrinter");
const QString kCardPrinter = QStringLiteral("CardPrinter");
const QString kPagePrinter = QStringLiteral("PagePrinter");
const QString kLabelStock = QStringLiteral("LabelStock");

const QString &printerKey(PrinterKind paper)
{
    switch (paper) {
    case PrinterKind::Receipt:
        return kReceiptPrinter;
    case PrinterKind::Label:
        return kLabelPrinter;
    case PrinterKind::Card:
        return kCardPrinter;
    case PrinterKind::Page:
        break;
    }
    return kPagePrinter;
}

const QString kRoll = QStringLiteral("80mm");
const QString kA5 = QStringLiteral("A5");

bool flag(const QString &value)
{
    return value.trimmed() == QLatin1String("1");
}

QString flagText(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
}  // namespace

QString DeskSettings::fileName()
{
    return QStringLiteral("setting.ini");
}

DeskSettings::DeskSettings(QString path) : m_path(std::move(path)) {}

DeskSettings DeskSettings::inFolder(const QString &appDir)
{
    return DeskSettings(QDir(appDir).filePath(fileName()));
}

QString DeskSettings::value(const QString &key) const
{
    return GetKeyValue(m_path, key);
}

bool DeskSettings::write(const QString &key, const QString &value) const
{
    return SetKeyValue(m_path, key, value) == TextFile::WriteResult::Written;
}

std::optional<DeskSettings::WindowStyle> DeskSettings::windowStyle() const
{
    const double style = NumberText::leadingValue(value(kWindowStyle));
    for (const WindowStyle known : {WindowStyle::System, WindowStyle::Type, WindowStyle::Light}) {
        if (style == int(known))
            return known;
    }
    return std::nullopt;
}

bool DeskSettings::setWindowStyle(WindowStyle style) const
{
    return write(kWindowStyle, QString::number(int(style)));
}

Language DeskSettings::language() const
{
    return chooseLanguage(value(kLanguage), systemLocaleName());
}

bool DeskSettings::setLanguage(Language language) const
{
    return write(kLanguage, languageSettingValue(language));
}

QString DeskSettings::database() const
{
    return value(kDatabase).trimmed();
}

bool DeskSettings::setDatabase(const QString &address) const
{
    return write(kDatabase, address);
}

int DeskSettings::backupKeep() const
{
    bool ok = false;
    const int keep = value(kBackupKeep).trimmed().toInt(&ok);
    return ok && keep >= 1 && keep <= kMaxBackupKeep ? keep : kDefaultBackupKeep;
}

bool DeskSettings::setBackupKeep(int keep) const
{
    return write(kBackupKeep, QString::number(keep));
}

QString DeskSettings::defaultLibraryName()
{
    return QCoreApplication::translate("lendora::DeskSettings", kDefaultName);
}

QString DeskSettings::libraryName() const
{
    const QString name = value(kLibraryName).trimmed();
    return name.isEmpty() ? defaultLibraryName() : name;
}

bool DeskSettings::setLibraryName(const QString &name) const
{
    return write(kLibraryName, name.trimmed());
}

DeskSettings::ReceiptPaper DeskSettings::receiptPaper() const
{
    return value(kReceiptPaper).trimmed().compare(kA5, Qt::CaseInsensitive) == 0
               ? ReceiptPaper::A5
               : ReceiptPaper::Roll80mm;
}

bool DeskSettings::setReceiptPaper(ReceiptPaper paper) const
{
    return write(kReceiptPaper, paper == ReceiptPaper::A5 ? kA5 : kRoll);
}

bool DeskSettings::receiptAfterLend() const
{
    return flag(value(kReceiptAfterLend));
}

bool DeskSettings::setReceiptAfterLend(bool on) const
{
    return write(kReceiptAfterLend, flagText(on));
}

bool DeskSettings::receiptAfterReturn() const
{
    return flag(value(kReceiptAfterReturn));
}

bool DeskSettings::setReceiptAfterReturn(bool on) const
{
    return write(kReceiptAfterReturn, flagText(on));
}

QString DeskSettings::printerFor(PrinterKind paper) const
{
    return value(printerKey(paper)).trimmed();
}

bool DeskSettings::setPrinterFor(PrinterKind paper, const QString &queue) const
{
    return write(printerKey(paper), queue.trimmed());
}

QString DeskSettings::labelStock() const
{
    return value(kLabelStock).trimmed();
}

bool DeskSettings::setLabelStock(const QString &stock) const
{
    return write(kLabelStock, stock.trimmed());
}

}  // namespace lendora
