#pragma once

// Steps the catalogue tests share: seeding categories and books, and working the grids.

#include "TestApp.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <QTest>

namespace catalogue {

using lendora::testkit::TestApp;

struct SeedCategory {
    QString code;
    QString name;
    int loanDays;
};

// Replaces the shipped categories with these, in this order.
inline void seedCategories(TestApp &t, const QList<SeedCategory> &categories)
{
    t.exec(QStringLiteral("delete from bookType"));
    for (const SeedCategory &c : categories)
        t.exec(QStringLiteral("insert into bookType values (?, ?, ?)"),
               {c.code, c.name, c.loanDays});
}

// A book row: number, title, category code, publisher, author, price, pages, date (null for
// an empty QVariant), lent flag.
inline void seedBook(TestApp &t, const QVariantList &row)
{
    t.exec(QStringLiteral("insert into bookInfo values (?, ?, ?, ?, ?, ?, ?, ?, ?)"), row);
}

inline int count(TestApp &t, const QString &table)
{
    return t.scalar(QStringLiteral("select count(*) from ") + table).toInt();
}

inline QTableView *grid(TestApp &t, const QString &window)
{
    return t.control<QTableView>(window, QStringLiteral("DataGrid1"));
}

// Clicks a row of a grid, as the clerk selects it.
inline void clickRow(QTableView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

inline QString cell(QTableView *view, int row, int column)
{
    return view->model()->data(view->model()->index(row, column)).toString();
}

inline int currentRow(QTableView *view)
{
    return view->currentIndex().isValid() ? view->currentIndex().row() : -1;
}

}  // namespace catalogue
