#include "reports/PrintFont.h"

namespace lendora {

QFont printFont(qreal pointSize, bool bold)
{
    QFont font;
    // WenQuanYi first: its glyphs map back to the right characters, so a PDF's text can be
    // searched and copied. Noto CJK maps some (山, 日, 金) to Kangxi radicals and drops Latin
    // after the first letter of a run. The others stand in where it is missing.
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("Source Han Sans SC"), QStringLiteral("Microsoft YaHei")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace lendora
