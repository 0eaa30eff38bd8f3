#pragma once

#include <QWidget>
#include <memory>

class QSqlTableModel;

namespace Ui {
class CategoryWindow;
}

namespace lendora {

class WindowContext;
class GridSource;

// FrmSetBook: the categories grid with its fields bound to the current row; adds, modifies
// and deletes categories.
class CategoryWindow : public QWidget {
    Q_OBJECT
public:
    enum EditMode { NoEdit = 0, Adding = 1, Modifying = 2 };

    explicit CategoryWindow(WindowContext &context);
    ~CategoryWindow() override;

    EditMode editMode() const { return m_mode; }

private:
    void load();
    // Drops whatever the grid's model holds that is not stored, runs the query again and
    // makes the row with `code` current (the first row when none has it).
    void requery(const QString &code);
    void showRow(int row);
    int currentRow() const;
    QString codeAt(int row) const;
    void setMode(EditMode mode);

    void add();
    void modify();
    void save();
    void cancel();
    void remove();

    WindowContext &m_context;
    std::unique_ptr<Ui::CategoryWindow> m_ui;
    GridSource *m_source;
    QSqlTableModel *m_model;
    EditMode m_mode = NoEdit;
    QString m_codeBeforeEdit;
};

}  // namespace lendora
