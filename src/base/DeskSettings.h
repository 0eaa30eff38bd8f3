#pragma once

#include "base/Language.h"
#include "base/PrinterKind.h"

#include <QString>
#include <optional>

namespace lendora {

// setting.ini in the application directory: the desk's own settings, one "Key=value" line each
// (GetKeyValue / SetKeyValue). Every key is read and written here and nowhere else.
//
// A getter reads the file each time it is asked (another desk, or the clerk with an editor,
// may have changed it) and gives the key's default when the file, the key or a usable value is
// missing. A setter rewrites that key's line, or adds it, keeping every other line as it was;
// false when the file could not be written. Callers write a key only when the clerk changed it,
// so a file nobody touched keeps its lines.
//
// A new key: its name beside the others in DeskSettings.cpp, a getter that gives its default,
// a setter, and a row in tests/base/tst_desksettings.cpp.
class DeskSettings {
public:
    // LoadStyle: the look of every window.
    enum class WindowStyle { System = 0, Type = 1, Light = 2 };
    // ReceiptPaper: what a loan or return receipt is printed on.
    enum class ReceiptPaper { Roll80mm, A5 };

    static constexpr int kDefaultBackupKeep = 30;
    static constexpr int kMaxBackupKeep = 999;

    static QString fileName();
    // The settings file at `path`; inFolder() the one in an application directory.
    explicit DeskSettings(QString path);
    static DeskSettings inFolder(const QString &appDir);
    const QString &path() const { return m_path; }

    // LoadStyle: a number, read as far as it is one (blank or none is the system look);
    // nullopt when that number names no style.
    std::optional<WindowStyle> windowStyle() const;
    bool setWindowStyle(WindowStyle style) const;

    // Language: "en" or "zh_CN"; without either, the system locale decides.
    Language language() const;
    bool setLanguage(Language language) const;

    // Database: the server library's address; empty for the file beside the program.
    QString database() const;
    bool setDatabase(const QString &address) const;

    // BackupKeep: how many daily copies to keep, 1 to kMaxBackupKeep.
    int backupKeep() const;
    bool setBackupKeep(int keep) const;

    // LibraryName: heads every notice and receipt; blank means the default.
    QString libraryName() const;
    bool setLibraryName(const QString &name) const;
    static QString defaultLibraryName();

    // ReceiptPaper: "80mm" or "A5" (any case); the roll otherwise.
    ReceiptPaper receiptPaper() const;
    bool setReceiptPaper(ReceiptPaper paper) const;

    // LendReceipt / ReturnReceipt: "1" prints a receipt after each lend / return, "0" not;
    // anything else is the default, not printed.
    bool receiptAfterLend() const;
    bool setReceiptAfterLend(bool on) const;
    bool receiptAfterReturn() const;
    bool setReceiptAfterReturn(bool on) const;

    // ReceiptPrinter / LabelPrinter / CardPrinter / PagePrinter: the print queue for each kind of
    // paper; empty means ask with the print dialog each time.
    QString printerFor(PrinterKind paper) const;
    bool setPrinterFor(PrinterKind paper, const QString &queue) const;

    // LabelStock: the label stock used last, as its text; empty means the first stock.
    QString labelStock() const;
    bool setLabelStock(const QString &stock) const;

private:
    QString value(const QString &key) const;
    bool write(const QString &key, const QString &value) const;

    QString m_path;
};

}  // namespace lendora
