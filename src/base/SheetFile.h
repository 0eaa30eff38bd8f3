#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QIODevice;

namespace lendora {

// A list for spreadsheets written row by row, so a long one is never held whole: CSV (see
// Csv) in UTF-8 with a byte order mark or in GB18030, or an .xlsx workbook of one sheet whose
// every cell is text (a number such as 00123 keeps its zeros). A file is written to a work
// file beside it and renamed into place by finish(): the name holds the old file or the whole
// new one, never a part.
class SheetFile {
public:
    enum class Format { CsvUtf8, CsvGb18030, Xlsx };

    // Writes to the file at `path`.
    static std::unique_ptr<SheetFile> toFile(const QString &path, Format format);
    // Writes CSV to an open device (standard output); nullptr for Xlsx, which needs a file.
    static std::unique_ptr<SheetFile> toDevice(QIODevice &device, Format format);

    // An unfinished file is dropped: its work file removed, the target as it was.
    virtual ~SheetFile() = default;

    // The headings go in as the first row. After a failure further rows are ignored.
    virtual void addRow(const QStringList &cells) = 0;
    // True when the whole list is in place; otherwise error() says why.
    virtual bool finish() = 0;

    const QString &error() const { return m_error; }
    // The file name extension of a format, without the dot.
    static QString suffix(Format format);

protected:
    bool fail(const QString &why)
    {
        if (m_error.isEmpty())
            m_error = why;
        return false;
    }
    bool failed() const { return !m_error.isEmpty(); }

private:
    QString m_error;
};

}  // namespace lendora
