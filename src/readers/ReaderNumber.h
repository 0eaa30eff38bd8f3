#pragma once

#include <QString>
#include <optional>

namespace lendora {

// Reader numbers stepped as numbers written with at least three digits: 001, 002, ...
class ReaderNumber {
public:
    // The number before the box's value; nullopt when the value is not above 1 (an empty or
    // non-numeric box counts as 0).
    static std::optional<QString> previous(const QString &boxText);
    // The number after the box's value; there is no upper bound.
    static QString next(const QString &boxText);
    // The value with at least three digits and leading zeros, rounded to a whole number.
    static QString format(double value);
};

}  // namespace lendora
