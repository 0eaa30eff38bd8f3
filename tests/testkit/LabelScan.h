#pragma once

#include "core/settings/LabelStock.h"

#include <QString>
#include <QStringList>

namespace lendora::testkit {

// What a scanner reads off each label of a PDF of labels or cards: every page rendered at
// 300 dpi (pdftoppm), each place of the stock cut out and decoded by zbarimg on its own. One
// entry a place, page by page, row by row: the decoded text, "" where nothing decodes, and
// the texts joined by " | " where more than one does. Empty places after the last one that
// decodes are left out. An error (a tool missing, say) is said in `problem`.
QStringList scanLabels(const QString &pdfPath, const LabelStock &stock, QString *problem);

}  // namespace lendora::testkit
