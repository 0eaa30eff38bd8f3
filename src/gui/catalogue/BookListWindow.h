#pragma once

#include <QStringList>
#include <QWidget>
#include <memory>

namespace Ui {
class BookListWindow;
}

namespace lendora {

class WindowContext;
class WindowRegistry;
class GridSource;

// FrmLendora: the whole catalogue in a grid, one book per row with its category name; the
// starting point for adding, modifying and deleting books.
class BookListWindow : public QWidget {
    Q_OBJECT
public:
    // The grid's columns, by index; the modification window reads cells by them.
    enum Column {
        BookId,
        BookName,
        CategoryName,
        Publisher,
        Writer,
        Price,
        Pages,
        Date,
        Lent,
        ColumnCount
    };

    explicit BookListWindow(WindowContext &context);
    ~BookListWindow() override;

    // The open book list, or nullptr.
    static BookListWindow *find(WindowRegistry &windows);

    // Runs the grid's query again; the first row becomes current. The windows that write
    // books ask for this when they finish.
    void requery();
    // The texts of the current row's cells 0 to 7 (number to date); empty when the grid has
    // no current row.
    QStringList currentCells() const;
    // The numbers of the books picked in the grid, top to bottom; the current one when none
    // is picked.
    QStringList pickedBooks() const;

signals:
    // The clerk asked for the barcode labels of these books.
    void labelsAsked(const QStringList &ids);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void showFirstRow();
    void remove();
    void modify();

    WindowContext &m_context;
    std::unique_ptr<Ui::BookListWindow> m_ui;
    GridSource *m_source;
    QString m_sql;
};

}  // namespace lendora
