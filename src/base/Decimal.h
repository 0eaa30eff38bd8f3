#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <compare>
#include <optional>
#include <vector>

namespace lendora {

// An exact decimal number of any size. Money is added and multiplied without the binary
// rounding of double (0.1 x 3 is 0.3, not 0.30000000000000004) and rounded only for display.
class Decimal {
public:
    Decimal() = default;  // 0

    static Decimal fromInt(qint64 value);

    // The decimal the double is written as: its shortest text that reads back as the same
    // double (QString::number(value, 'g', QLocale::FloatingPointShortest)), so 0.1 is exactly
    // 0.1. The sign of -0.0 is kept. nullopt for infinities and NaN.
    static std::optional<Decimal> fromDouble(double value);

    // The whole text must be one number, read the way QLocale::c() with RejectGroupSeparator
    // reads it in toDouble(), and only if that gives a finite double:
    // - white space around the number is ignored (what QString::trimmed() removes: spaces,
    //   tabs, line breaks, no-break and other Unicode spaces); none is allowed inside it;
    // - an optional sign: '+', '-' or U+2212 MINUS SIGN;
    // - ASCII digits with at most one '.', at least one digit: "5", "5.", ".5", "05.250";
    // - optionally 'e' or 'E', an optional sign as above, and at least one ASCII digit;
    // - nothing else: no group separators ("3,000"), no other digits (full-width, Arabic-Indic),
    //   no "inf" or "nan", no hexadecimal;
    // - the value must not round to an infinite double ("1e400"), nor to zero unless it is
    //   zero ("1e-400" is refused, "0e999" is 0).
    // Every digit typed is kept: the result is exact, only toDouble() rounds.
    static std::optional<Decimal> parse(QStringView text);

    // The length of the number at the very start of text, 0 when there is none: an optional
    // '+' or '-', ASCII digits with at most one '.' (at least one digit), then an exponent if a
    // complete one follows ('e' or 'E', an optional '+' or '-', digits). What follows the
    // number is not looked at; blanks in front are the caller's to skip. The value is not
    // range-checked: parse() the scanned part for it.
    static qsizetype scan(QStringView text);

    Decimal operator-() const;
    Decimal operator+(const Decimal &other) const;
    Decimal operator-(const Decimal &other) const;
    Decimal operator*(const Decimal &other) const;
    Decimal &operator+=(const Decimal &other) { return *this = *this + other; }
    Decimal &operator-=(const Decimal &other) { return *this = *this - other; }
    Decimal &operator*=(const Decimal &other) { return *this = *this * other; }

    // By value: 1.50 == 1.5 and -0 == 0. Weak, since -0 and 0 differ in toDouble().
    friend bool operator==(const Decimal &a, const Decimal &b);
    friend std::weak_ordering operator<=>(const Decimal &a, const Decimal &b);

    bool isZero() const { return m_limbs.empty(); }
    bool isNegative() const { return m_negative && !isZero(); }  // -0 is not
    bool isWhole() const { return m_exponent >= 0; }

    // The nearest double (halves to even, like reading the number's text); +-inf or +-0 when
    // out of range.
    double toDouble() const;
    // Rounded to a whole number, halves to the even neighbour (6.5 -> 6, 7.5 -> 8), as in
    // banking; nullopt when the result does not fit.
    std::optional<qint64> toWholeNumber() const;
    // For display: at most 15 significant digits, no exponent, no trailing zeros, "0" for
    // zero (never "-0"). 1e300 is a 1 and 300 zeros.
    QString toText() const;

private:
    static Decimal fromDigits(bool negative, QByteArrayView digits, qint64 exponent);
    static int compareMagnitudes(const Decimal &a, const Decimal &b);
    void normalize();

    // The coefficient in base 1e9, least significant limb first, without zero limbs at the top;
    // empty for zero.
    std::vector<quint32> m_limbs;
    // value = coefficient * 10^m_exponent. The coefficient never ends in a decimal zero, so each
    // value has a single form; zero has exponent 0.
    qint64 m_exponent = 0;
    // Also set on zero: a parsed "-0" must still give -0.0.
    bool m_negative = false;
};

}  // namespace lendora
