#include "base/SheetFile.h"

#include "base/Csv.h"
#include "base/TextFile.h"

#include <QFile>
#include <QIODevice>
#include <QRegularExpression>
#include <QStringEncoder>
#include <xlsxwriter.h>

#include <unistd.h>

namespace lendora {

namespace {

// Bytes gathered before they go to the device: few writes, little memory.
const qsizetype kChunk = 1 << 20;

QString workPathOf(const QString &path)
{
    return path + QStringLiteral(".part");
}

// Flushes the work file to the disk; the rename that follows must never expose a file whose
// bytes are still in the cache.
bool syncFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && ::fsync(file.handle()) == 0;
}

bool commit(const QString &workPath, const QString &path, QString *why)
{
    if (!syncFile(workPath)) {
        QFile::remove(workPath);
        *why = QStringLiteral("cannot sync %1").arg(workPath);
        return false;
    }
    switch (TextFile::commit(workPath, path)) {
    case TextFile::WriteResult::Written:
        return true;
    case TextFile::WriteResult::ReadOnly:
        *why = QStringLiteral("%1 is read-only").arg(path);
        return false;
    case TextFile::WriteResult::Failed:
        break;
    }
    *why = QStringLiteral("cannot rename %1 to %2").arg(workPath, path);
    return false;
}

class CsvSheet : public SheetFile {
public:
    CsvSheet(QIODevice &device, Format format)
        : m_device(device),
          m_encoder(format == Format::CsvGb18030 ? QStringEncoder("GB18030")
                                                 : QStringEncoder(QStringConverter::Utf8))
    {
        if (!m_encoder.isValid())
            fail(QStringLiteral("no GB18030 encoder"));
        // Spreadsheets take a UTF-8 file for one in the local code page without the mark;
        // GB18030 is what they read without one.
        if (format == Format::CsvUtf8)
            m_pending = Csv::byteOrderMark();
    }

    void addRow(const QStringList &cells) override
    {
        if (failed())
            return;
        m_pending += m_encoder.encode(Csv::line(cells));
        if (m_pending.size() >= kChunk)
            flush();
    }

    bool finish() override { return flush() && !failed(); }

protected:
    bool flush()
    {
        if (failed())
            return false;
        if (m_device.write(m_pending) != m_pending.size())
            return fail(m_device.errorString());
        m_pending.clear();
        return true;
    }

private:
    QIODevice &m_device;
    QStringEncoder m_encoder;
    QByteArray m_pending;
};

class CsvFile : public CsvSheet {
public:
    CsvFile(const QString &path, Format format)
        : CsvSheet(m_file, format), m_path(path), m_file(workPathOf(path))
    {
        // A work file left over from a crash is dropped, never appended to.
        QFile::remove(m_file.fileName());
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            fail(m_file.errorString());
    }
    ~CsvFile() override
    {
        if (!m_done)
            QFile::remove(m_file.fileName());
    }

    bool finish() override
    {
        if (!CsvSheet::finish() || !m_file.flush())
            return fail(m_file.errorString());
        m_file.close();
        QString why;
        m_done = true;
        return commit(m_file.fileName(), m_path, &why) || fail(why);
    }

private:
    QString m_path;
    QFile m_file;
    bool m_done = false;
};

// A text as a workbook must hold it: "_x0041_" in a cell means "A" to every reader of
// workbooks, so a text that holds such a sequence gets its underscore escaped (_x005F_).
// libxlsxwriter escapes the control characters itself, but not this.
QString workbookText(const QString &text)
{
    static const QRegularExpression escape(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out = text;
    return out.replace(escape, QStringLiteral("_x005F_\\1"));
}

// A workbook in libxlsxwriter's constant memory mode: each row goes to its temporary file as
// it comes, with inline text cells, so a million rows take no more memory than ten.
class XlsxFile : public SheetFile {
public:
    explicit XlsxFile(const QString &path) : m_path(path), m_workPath(workPathOf(path))
    {
        QFile::remove(m_workPath);
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        m_book = workbook_new_opt(QFile::encodeName(m_workPath).constData(), &options);
        if (!m_book) {
            fail(QStringLiteral("cannot create %1").arg(m_workPath));
            return;
        }
        m_sheet = workbook_add_worksheet(m_book, nullptr);
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_text = workbook_add_format(m_book);
        // Text format ("@"): a cell the clerk edits later stays text too.
        format_set_num_format(m_text, "@");
        if (!m_sheet || !m_bold || !m_text)
            fail(QStringLiteral("cannot create %1").arg(m_workPath));
    }
    ~XlsxFile() override
    {
        // Dropped without writing the workbook out.
        if (m_book)
            lxw_workbook_free(m_book);
        QFile::remove(m_workPath);
    }

    void addRow(const QStringList &cells) override
    {
        if (failed())
            return;
        if (m_row >= LXW_ROW_MAX) {
            fail(QStringLiteral("more than %1 rows").arg(LXW_ROW_MAX));
            return;
        }
        lxw_format *format = m_row == 0 ? m_bold : m_text;
        for (qsizetype column = 0; column < cells.size(); ++column) {
            const QString &cell = cells.at(column);
            if (cell.isEmpty())
                continue;
            const lxw_error error = worksheet_write_string(
                m_sheet, m_row, lxw_col_t(column), workbookText(cell).toUtf8().constData(), format);
            if (error != LXW_NO_ERROR) {
                fail(QString::fromUtf8(lxw_strerror(error)));
                return;
            }
        }
        ++m_row;
    }

    bool finish() override
    {
        if (failed())
            return false;
        const lxw_error error = workbook_close(m_book);
        m_book = nullptr;
        if (error != LXW_NO_ERROR) {
            QFile::remove(m_workPath);
            return fail(QString::fromUtf8(lxw_strerror(error)));
        }
        QString why;
        return commit(m_workPath, m_path, &why) || fail(why);
    }

private:
    QString m_path;
    QString m_workPath;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_text = nullptr;
    lxw_row_t m_row = 0;
};

}  // namespace

std::unique_ptr<SheetFile> SheetFile::toFile(const QString &path, Format format)
{
    if (format == Format::Xlsx)
        return std::make_unique<XlsxFile>(path);
    return std::make_unique<CsvFile>(path, format);
}

std::unique_ptr<SheetFile> SheetFile::toDevice(QIODevice &device, Format format)
{
    if (format == Format::Xlsx)
        return nullptr;
    return std::make_unique<CsvSheet>(device, format);
}

QString SheetFile::suffix(Format format)
{
    return format == Format::Xlsx ? QStringLiteral("xlsx") : QStringLiteral("csv");
}

}  // namespace lendora
