#include "base/Decimal.h"

#include <QByteArray>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace lendora {

namespace {

using Limbs = std::vector<quint32>;

constexpr quint32 kBase = 1000000000;
constexpr int kLimbDigits = 9;
constexpr quint32 kPowersOfTen[kLimbDigits] = {1,      10,      100,      1000,     10000,
                                               100000, 1000000, 10000000, 100000000};

// Larger written exponents mean infinity or zero anyway; capping them keeps the sums below
// from overflowing.
constexpr qint64 kWrittenExponentCap = 1'000'000'000'000'000;
// Products stop here rather than overflow; far beyond anything that can be shown or stored.
constexpr qint64 kExponentLimit = qint64(1) << 62;

// Digits shown by toText().
constexpr std::size_t kShownDigits = 15;

constexpr char16_t kMinusSign = u'\u2212';

bool isAsciiDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype i)
{
    while (i < text.size() && isAsciiDigit(text[i]))
        ++i;
    return i;
}

enum class MinusSigns { AsciiOnly, WithMinusSign };

struct ScannedNumber {
    qsizetype length = 0;  // 0: no number
    bool negative = false;
    QStringView integerDigits;
    QStringView fractionDigits;
    qint64 exponent = 0;  // as written, capped
};

// The one number grammar: parse() wants all of the text, scan() the longest start of it.
ScannedNumber scanNumber(QStringView text, MinusSigns minusSigns)
{
    // 0: no sign, 1: '+', -1: a minus
    const auto signAt = [&](qsizetype i) {
        if (i >= text.size())
            return 0;
        if (text[i] == u'+')
            return 1;
        if (text[i] == u'-' || (minusSigns == MinusSigns::WithMinusSign && text[i] == kMinusSign))
            return -1;
        return 0;
    };

    ScannedNumber number;
    qsizetype i = 0;
    const int sign = signAt(i);
    if (sign != 0)
        ++i;
    number.negative = sign < 0;
    const qsizetype integerEnd = skipDigits(text, i);
    number.integerDigits = text.sliced(i, integerEnd - i);
    i = integerEnd;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fractionEnd = skipDigits(text, i + 1);
        number.fractionDigits = text.sliced(i + 1, fractionEnd - i - 1);
        i = fractionEnd;
    }
    // "5." and ".5" are numbers, "." is not.
    if (number.integerDigits.isEmpty() && number.fractionDigits.isEmpty())
        return {};

    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype digitsStart = i + 1;
        const int exponentSign = signAt(digitsStart);
        if (exponentSign != 0)
            ++digitsStart;
        const qsizetype digitsEnd = skipDigits(text, digitsStart);
        // An incomplete exponent ("1e", "1e+") is not part of the number.
        if (digitsEnd > digitsStart) {
            qint64 exponent = 0;
            for (const QChar ch : text.sliced(digitsStart, digitsEnd - digitsStart))
                exponent = std::min(exponent * 10 + (ch.unicode() - u'0'), kWrittenExponentCap);
            number.exponent = exponentSign < 0 ? -exponent : exponent;
            i = digitsEnd;
        }
    }
    number.length = i;
    return number;
}

void trimTop(Limbs &limbs)
{
    while (!limbs.empty() && limbs.back() == 0)
        limbs.pop_back();
}

int digitCount(quint32 limb)
{
    int count = 1;
    while (count < kLimbDigits && limb >= kPowersOfTen[count])
        ++count;
    return count;
}

qint64 digitCount(const Limbs &limbs)
{
    return qint64(limbs.size() - 1) * kLimbDigits + digitCount(limbs.back());
}

Limbs limbsFromDigits(QByteArrayView digits)
{
    Limbs limbs;
    limbs.reserve(std::size_t(digits.size() / kLimbDigits + 1));
    for (qsizetype end = digits.size(); end > 0; end -= kLimbDigits) {
        quint32 limb = 0;
        for (qsizetype k = std::max<qsizetype>(0, end - kLimbDigits); k < end; ++k)
            limb = limb * 10 + quint32(digits[k] - '0');
        limbs.push_back(limb);
    }
    trimTop(limbs);
    return limbs;
}

// The coefficient's decimal digits, most significant first; empty for zero.
std::string digitsOf(const Limbs &limbs)
{
    std::string digits(limbs.size() * kLimbDigits, '0');
    std::size_t pos = digits.size();
    for (quint32 limb : limbs) {
        for (int k = 0; k < kLimbDigits; ++k) {
            digits[--pos] = char('0' + limb % 10);
            limb /= 10;
        }
    }
    digits.erase(0, digits.find_first_not_of('0'));
    return digits;
}

void multiplySmall(Limbs &limbs, quint32 factor)
{
    quint64 carry = 0;
    for (quint32 &limb : limbs) {
        const quint64 value = quint64(limb) * factor + carry;
        limb = quint32(value % kBase);
        carry = value / kBase;
    }
    if (carry != 0)
        limbs.push_back(quint32(carry));
}

// Exact: the caller knows the divisor divides.
void divideSmall(Limbs &limbs, quint32 divisor)
{
    quint64 remainder = 0;
    for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
        const quint64 value = remainder * kBase + *it;
        *it = quint32(value / divisor);
        remainder = value % divisor;
    }
    trimTop(limbs);
}

// limbs * 10^digits
Limbs shifted(Limbs limbs, qint64 digits)
{
    multiplySmall(limbs, kPowersOfTen[digits % kLimbDigits]);
    limbs.insert(limbs.begin(), std::size_t(digits / kLimbDigits), 0);
    return limbs;
}

int compareLimbs(const Limbs &a, const Limbs &b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

Limbs addLimbs(const Limbs &a, const Limbs &b)
{
    const Limbs &longer = a.size() >= b.size() ? a : b;
    const Limbs &shorter = a.size() >= b.size() ? b : a;
    Limbs sum;
    sum.reserve(longer.size() + 1);
    quint32 carry = 0;
    for (std::size_t i = 0; i < longer.size(); ++i) {
        quint32 value = longer[i] + (i < shorter.size() ? shorter[i] : 0) + carry;
        carry = value >= kBase ? 1 : 0;
        sum.push_back(value - carry * kBase);
    }
    if (carry != 0)
        sum.push_back(carry);
    return sum;
}

// a - b for a >= b
Limbs subtractLimbs(const Limbs &a, const Limbs &b)
{
    Limbs difference(a);
    qint64 borrow = 0;
    for (std::size_t i = 0; i < difference.size(); ++i) {
        qint64 value = qint64(a[i]) - (i < b.size() ? b[i] : 0) - borrow;
        borrow = value < 0 ? 1 : 0;
        difference[i] = quint32(value + borrow * kBase);
    }
    trimTop(difference);
    return difference;
}

Limbs multiplyLimbs(const Limbs &a, const Limbs &b)
{
    Limbs product(a.size() + b.size(), 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        // Stays below kBase: (kBase - 1) + (kBase - 1)^2 + carry < kBase^2.
        quint64 carry = 0;
        for (std::size_t j = 0; j < b.size(); ++j) {
            const quint64 value = product[i + j] + quint64(a[i]) * b[j] + carry;
            product[i + j] = quint32(value % kBase);
            carry = value / kBase;
        }
        product[i + b.size()] = quint32(carry);
    }
    trimTop(product);
    return product;
}

}  // namespace

Decimal Decimal::fromDigits(bool negative, QByteArrayView digits, qint64 exponent)
{
    Decimal value;
    value.m_negative = negative;
    value.m_limbs = limbsFromDigits(digits);
    value.m_exponent = exponent;
    value.normalize();
    return value;
}

void Decimal::normalize()
{
    trimTop(m_limbs);
    if (m_limbs.empty()) {
        m_exponent = 0;
        return;
    }
    const auto firstNonZero =
        std::find_if(m_limbs.begin(), m_limbs.end(), [](quint32 limb) { return limb != 0; });
    m_exponent += qint64(firstNonZero - m_limbs.begin()) * kLimbDigits;
    m_limbs.erase(m_limbs.begin(), firstNonZero);
    int zeros = 0;
    while (zeros + 1 < kLimbDigits && m_limbs.front() % kPowersOfTen[zeros + 1] == 0)
        ++zeros;
    if (zeros > 0) {
        divideSmall(m_limbs, kPowersOfTen[zeros]);
        m_exponent += zeros;
    }
}

Decimal Decimal::fromInt(qint64 value)
{
    Decimal decimal;
    decimal.m_negative = value < 0;
    // Unsigned, so that the smallest qint64 has a magnitude too.
    quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    while (magnitude != 0) {
        decimal.m_limbs.push_back(quint32(magnitude % kBase));
        magnitude /= kBase;
    }
    decimal.normalize();
    return decimal;
}

std::optional<Decimal> Decimal::fromDouble(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    const ScannedNumber number = scanNumber(text, MinusSigns::AsciiOnly);
    Q_ASSERT(number.length == text.size());
    Decimal decimal = fromDigits(number.negative,
                                 number.integerDigits.toLatin1() + number.fractionDigits.toLatin1(),
                                 number.exponent - number.fractionDigits.size());
    decimal.m_negative = std::signbit(value);  // the text of -0.0 is "0"
    return decimal;
}

std::optional<Decimal> Decimal::parse(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    const ScannedNumber number = scanNumber(trimmed, MinusSigns::WithMinusSign);
    if (number.length == 0 || number.length != trimmed.size())
        return std::nullopt;
    const Decimal value = fromDigits(
        number.negative, number.integerDigits.toLatin1() + number.fractionDigits.toLatin1(),
        number.exponent - number.fractionDigits.size());
    // QLocale refuses what overflows, and what underflows to zero without being zero.
    const double rounded = value.toDouble();
    if (std::isinf(rounded) || (rounded == 0 && !value.isZero()))
        return std::nullopt;
    return value;
}

qsizetype Decimal::scan(QStringView text)
{
    // Minus signs other than '-' are not read here: that reading stays as it always was.
    return scanNumber(text, MinusSigns::AsciiOnly).length;
}

Decimal Decimal::operator-() const
{
    Decimal negated = *this;
    negated.m_negative = !m_negative;
    return negated;
}

Decimal Decimal::operator+(const Decimal &other) const
{
    if (isZero() && other.isZero()) {
        Decimal zero;
        zero.m_negative = m_negative && other.m_negative;  // as in double: -0 + -0 is -0
        return zero;
    }
    if (isZero())
        return other;
    if (other.isZero())
        return *this;

    const qint64 exponent = std::min(m_exponent, other.m_exponent);
    const Limbs a = shifted(m_limbs, m_exponent - exponent);
    const Limbs b = shifted(other.m_limbs, other.m_exponent - exponent);
    Decimal sum;
    sum.m_exponent = exponent;
    if (m_negative == other.m_negative) {
        sum.m_limbs = addLimbs(a, b);
        sum.m_negative = m_negative;
    } else {
        const int order = compareLimbs(a, b);
        if (order == 0)
            return Decimal();
        sum.m_limbs = order > 0 ? subtractLimbs(a, b) : subtractLimbs(b, a);
        sum.m_negative = order > 0 ? m_negative : other.m_negative;
    }
    sum.normalize();
    return sum;
}

Decimal Decimal::operator-(const Decimal &other) const
{
    return *this + -other;
}

Decimal Decimal::operator*(const Decimal &other) const
{
    Decimal product;
    product.m_negative = m_negative != other.m_negative;
    if (isZero() || other.isZero())
        return product;
    product.m_exponent = m_exponent + other.m_exponent;
    if (product.m_exponent > kExponentLimit || product.m_exponent < -kExponentLimit)
        qFatal("Decimal: exponent out of range");
    product.m_limbs = multiplyLimbs(m_limbs, other.m_limbs);
    product.normalize();
    return product;
}

int Decimal::compareMagnitudes(const Decimal &a, const Decimal &b)
{
    if (a.isZero() || b.isZero())
        return int(!a.isZero()) - int(!b.isZero());
    // The power of ten of the leading digit decides, unless it is the same.
    const qint64 aLead = a.m_exponent + digitCount(a.m_limbs);
    const qint64 bLead = b.m_exponent + digitCount(b.m_limbs);
    if (aLead != bLead)
        return aLead < bLead ? -1 : 1;
    const qint64 exponent = std::min(a.m_exponent, b.m_exponent);
    return compareLimbs(shifted(a.m_limbs, a.m_exponent - exponent),
                        shifted(b.m_limbs, b.m_exponent - exponent));
}

bool operator==(const Decimal &a, const Decimal &b)
{
    if (a.isZero() || b.isZero())
        return a.isZero() && b.isZero();
    return a.m_negative == b.m_negative && a.m_exponent == b.m_exponent && a.m_limbs == b.m_limbs;
}

std::weak_ordering operator<=>(const Decimal &a, const Decimal &b)
{
    if (a.isNegative() != b.isNegative())
        return a.isNegative() ? std::weak_ordering::less : std::weak_ordering::greater;
    int order = Decimal::compareMagnitudes(a, b);
    if (a.isNegative())
        order = -order;
    return order < 0   ? std::weak_ordering::less
           : order > 0 ? std::weak_ordering::greater
                       : std::weak_ordering::equivalent;
}

double Decimal::toDouble() const
{
    double magnitude = 0;
    if (!isZero()) {
        const std::string digits = digitsOf(m_limbs);
        const qint64 lead = m_exponent + qint64(digits.size()) - 1;  // value is d.ddd * 10^lead
        if (lead > std::numeric_limits<double>::max_exponent10) {
            magnitude = std::numeric_limits<double>::infinity();
        } else if (lead >= -324) {
            // Below 1e-324 is below half the smallest double: zero. In between, strtod rounds
            // correctly, and the text has no decimal point for the C locale to differ on.
            const std::string text = digits + 'e' + std::to_string(m_exponent);
            magnitude = std::strtod(text.c_str(), nullptr);
        }
    }
    return m_negative ? -magnitude : magnitude;
}

std::optional<qint64> Decimal::toWholeNumber() const
{
    if (isZero())
        return 0;
    constexpr qint64 kMaxDigits = std::numeric_limits<quint64>::digits10;  // 19
    const std::string digits = digitsOf(m_limbs);
    const qint64 wholeDigits = qint64(digits.size()) + m_exponent;
    if (wholeDigits > kMaxDigits)
        return std::nullopt;

    quint64 magnitude = 0;
    for (qint64 i = 0; i < wholeDigits; ++i)
        magnitude = magnitude * 10 + (i < qint64(digits.size()) ? quint64(digits[i] - '0') : 0);
    // The fraction, if any, is digits[wholeDigits...] with no trailing zeros; with
    // wholeDigits < 0 it starts with zeros and is below a half.
    if (wholeDigits >= 0 && wholeDigits < qint64(digits.size())) {
        const char first = digits[std::size_t(wholeDigits)];
        const bool onlyHalf = first == '5' && wholeDigits + 1 == qint64(digits.size());
        if (first > '5' || (first == '5' && !onlyHalf) || (onlyHalf && magnitude % 2 == 1))
            ++magnitude;
    }

    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (m_negative ? 1 : 0);
    if (magnitude > limit)
        return std::nullopt;
    if (!m_negative)
        return qint64(magnitude);
    return magnitude == limit ? std::numeric_limits<qint64>::min() : -qint64(magnitude);
}

QString Decimal::toText() const
{
    if (isZero())
        return QStringLiteral("0");
    std::string digits = digitsOf(m_limbs);
    qint64 exponent = m_exponent;
    if (digits.size() > kShownDigits) {
        // Halves away from zero: the desk's double formatting did the same with exact halves
        // (0.125 to two digits showed 0.13), and it is what people expect of money.
        const bool up = digits[kShownDigits] >= '5';
        exponent += qint64(digits.size() - kShownDigits);
        digits.resize(kShownDigits);
        if (up) {
            std::size_t i = kShownDigits;
            while (i > 0 && digits[i - 1] == '9')
                digits[--i] = '0';
            if (i == 0)
                digits.insert(0, 1, '1');
            else
                ++digits[i - 1];
        }
        const std::size_t last = digits.find_last_not_of('0');
        exponent += qint64(digits.size() - last - 1);
        digits.resize(last + 1);
    }

    std::string text = isNegative() ? "-" : "";
    const qint64 wholeDigits = qint64(digits.size()) + exponent;
    if (exponent >= 0) {
        text += digits;
        text.append(std::size_t(exponent), '0');
    } else if (wholeDigits > 0) {
        text += digits.substr(0, std::size_t(wholeDigits));
        text += '.';
        text += digits.substr(std::size_t(wholeDigits));
    } else {
        text += "0.";
        text.append(std::size_t(-wholeDigits), '0');
        text += digits;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

}  // namespace lendora
