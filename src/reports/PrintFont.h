#pragma once

#include <QFont>
#include <QStringList>

namespace lendora {

// The font of printed text: the same glyphs on paper, in PDF files and in charts.
QFont printFont(qreal pointSize, bool bold = false);

}  // namespace lendora
