#pragma once

// Steps the catalogue tests share: seeding categories and books, and working the grids.

#include "TestApp.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <QTest>
#include <QTestEventList>

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

// Keys as a clerk presses them: ">" and "<" the arrows Right and Left, "^" and "v" Up and
// Down, anything else the character's own key.
inline QTestEventList keyScript(const QString &typed)
{
    QTestEventList list;
    for (const QChar c : typed) {
        if (c == QLatin1Char('>'))
            list.addKeyClick(Qt::Key_Right);
        else if (c == QLatin1Char('<'))
            list.addKeyClick(Qt::Key_Left);
        else if (c == QLatin1Char('^'))
            list.addKeyClick(Qt::Key_Up);
        else if (c == QLatin1Char('v'))
            list.addKeyClick(Qt::Key_Down);
        else
            list.addKeyClick(c.toLatin1());
    }
    return list;
}

// The name of the control that has the focus in a window.
inline QString focusName(QWidget *window)
{
    QWidget *focus = window ? window->focusWidget() : nullptr;
    return focus ? focus->objectName() : QString();
}

}  // namespace catalogue
