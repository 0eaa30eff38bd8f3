#pragma once

#include <QStringView>

namespace lendora {

// Lengths in the GBK code page, the measure of the desk's input boxes: a Chinese character
// takes two bytes, a digit or Latin letter one.
class GbkText {
public:
    // The code units of the one character starting at `i` (a surrogate pair is one).
    static qsizetype charLength(QStringView text, qsizetype i);
    // One character's bytes; a character the code page cannot hold counts as two, so a limit
    // is never exceeded once it is written.
    static int charBytes(QStringView character);
    static int bytes(QStringView text);
};

}  // namespace lendora
