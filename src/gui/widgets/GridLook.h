#pragma once

class QSqlQueryModel;
class QTableView;

namespace lendora {

class GridModel;

// Grids are read-only, select whole rows, and show a row's cells in one line. A text cut to
// its column ends in "…", and its tooltip shows it whole.
void setupGrid(QTableView *grid);
// Heads each column of a model a grid shows directly with the label of its result column's key
// (the model's own headings are the keys). Due after every query: a failed one drops them.
void headColumns(QSqlQueryModel *model);
void headColumns(GridModel *model);

}  // namespace lendora
