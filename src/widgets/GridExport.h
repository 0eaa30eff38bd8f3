#pragma once

#include <QString>

class QAbstractItemModel;

namespace lendora {

class FileChooser;
class Prompter;

// Writes what a grid shows, its headings and every row, to a CSV file the clerk names. The
// file is written whole or not at all; the clerk is told either way. False when cancelled or
// not written.
bool exportGrid(const QAbstractItemModel &model, FileChooser &files, Prompter &prompter,
                const QString &suggestedPath);

}  // namespace lendora
