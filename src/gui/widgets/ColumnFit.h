#pragma once

class QComboBox;
class QTableView;

namespace lendora {

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

}  // namespace lendora
