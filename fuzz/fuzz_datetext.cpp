// DateText: any text either is the exact form of a real day, and then reads back to itself,
// or is no date at all.
#include "base/DateText.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QDate date = lendora::DateText::fromText(text);
    if (date.isValid()) {
        if (lendora::DateText::toText(date) != text)
            std::abort();
        if (lendora::DateText::fromSql(lendora::DateText::toSql(date)) != date)
            std::abort();
    }
    return 0;
}
