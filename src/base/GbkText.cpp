#include "base/GbkText.h"

#include <QStringEncoder>

namespace lendora {

qsizetype GbkText::charLength(QStringView text, qsizetype i)
{
    if (i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

int GbkText::charBytes(QStringView ch)
{
    if (ch.size() == 1 && ch.at(0).unicode() < 0x80)
        return 1;
    QStringEncoder gbk("GBK", QStringConverter::Flag::Stateless);
    const QByteArray encoded = gbk.encode(ch);
    if (!gbk.isValid() || gbk.hasError() || encoded.isEmpty())
        return 2;
    return static_cast<int>(encoded.size());
}

int GbkText::bytes(QStringView text)
{
    int total = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = charLength(text, i);
        total += charBytes(text.mid(i, n));
        i += n;
    }
    return total;
}

}  // namespace lendora
