#pragma once

#include "base/Csv.h"
#include "core/exchange/Import.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace lendora {

class WindowContext;

// FrmImportBooks / FrmImportReaders: a CSV file into the library. The clerk picks the file,
// may change its encoding and which column fills which field, sees the first rows and every
// line that cannot be imported, then imports all of it or nothing.
class ImportWindow : public QWidget {
    Q_OBJECT
public:
    ImportWindow(WindowContext &context, Import::Kind kind);

private:
    void chooseFile();
    void readFile(std::optional<TextFile::Encoding> encoding);
    void fillMapping();
    Import::Options options() const;
    // The preview, the refused lines and the summary for the file and the choices in force.
    void refresh();
    void runImport();

    WindowContext &m_context;
    const Import::Kind m_kind;
    QByteArray m_bytes;
    Csv::Table m_table;
    bool m_loaded = false;

    QLineEdit *m_file;
    QComboBox *m_encoding;
    QList<QComboBox *> m_mapping;
    QStandardItemModel *m_preview;
    QTableView *m_previewGrid;
    QListWidget *m_rejects;
    QCheckBox *m_skipExisting;
    QLabel *m_summary;
    QPushButton *m_import;
};

}  // namespace lendora
