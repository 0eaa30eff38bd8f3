#pragma once

class QComboBox;
class QDateEdit;
class QLineEdit;
class QSqlQueryModel;
class QTableView;

namespace lendora {

class GridModel;

// Input boxes the clerk types into: light cyan background. Control characters (a NUL, a tab,
// a line break) cannot be typed into a box, and a paste does not bring them in either.
void markInput(QLineEdit *box);
// Date pickers: one Tab (or Shift+Tab) leaves the picker; Left and Right step between its
// day, month and year, Up and Down change the one selected; digits typed stay in the part
// they are typed into.
void markDatePicker(QDateEdit *picker);
// Boxes only the program fills: read-only.
void markDisplay(QLineEdit *box);
// Grids are read-only, select whole rows, and show a row's cells in one line. A text cut to
// its column ends in "…", and its tooltip shows it whole.
void setupGrid(QTableView *grid);
// The widest a column grows when sized to its contents: one long title must not push the
// other columns, and their headings, out of view.
constexpr int kMaxColumnWidth = 420;
// Sizes every column to its contents, up to kMaxColumnWidth.
void fitColumns(QTableView *grid);
// Widens the columns narrower than their headings (an empty grid's, in a longer language).
void fitHeadings(QTableView *grid);
// Widens the width given to a column to hold its heading whole, in the style in force.
int headingRoom(const QTableView *grid, int column, int width);
// The opened list of a drop-down shows its longest entry whole, however narrow the box.
void fitListToEntries(QComboBox *list);
// Heads each column of a model a grid shows directly with the label of its result column's key
// (the model's own headings are the keys). Due after every query: a failed one drops them.
void headColumns(QSqlQueryModel *model);
void headColumns(GridModel *model);

}  // namespace lendora
