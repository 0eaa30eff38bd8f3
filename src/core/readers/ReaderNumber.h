#pragma once

#include <QString>
#include <optional>

namespace lendora {

// Reader numbers stepped as numbers written with at least three digits: 001, 002, ...
class ReaderNumber {
public:
    // The number before the box's value; nullopt when the value is not above 1. The value is
    // the box's leading digits (after leading blanks); an empty or non-numeric box counts as 0.
    static std::optional<QString> previous(const QString &boxText);
    // The number after the box's value; there is no upper bound.
    static QString next(const QString &boxText);
    // The value with at least three digits and leading zeros.
    static QString format(qint64 value);
};

}  // namespace lendora
