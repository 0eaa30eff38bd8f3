#include "base/Decimal.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

#include <bit>
#include <cmath>
#include <limits>

namespace lendora {

char *toString(const Decimal &value)
{
    return QTest::toString(value.toText());
}

}  // namespace lendora

using lendora::Decimal;

namespace {

using Limits = std::numeric_limits<double>;

quint64 bits(double value)
{
    return std::bit_cast<quint64>(value);
}

// How the desk read a number until now.
std::optional<double> qlocaleReading(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// How the desk showed a double until now.
QString legacyText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");
    const double r = QString::number(value, 'g', 15).toDouble();
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(r))));
    QString text = QLocale::c().toString(r, 'f', std::max(0, 14 - exponent));
    text.remove(QLatin1Char(','));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

Decimal parsed(const QString &text)
{
    const std::optional<Decimal> value = Decimal::parse(text);
    if (!value)
        qFatal("test data does not parse: %s", qPrintable(text));
    return *value;
}

QString randomText(QRandomGenerator &random, QStringView alphabet, int maxLength)
{
    QString text;
    for (int length = random.bounded(maxLength + 1); length > 0; --length)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

const QString kZeros300(300, QLatin1Char('0'));
const QString kZeros299(299, QLatin1Char('0'));

}  // namespace

class DecimalTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseAgreesWithQLocale();
    void scan_data();
    void scan();
    void scanReadsTheLongestNumber();
    void arithmetic_data();
    void arithmetic();
    void arithmeticIdentities();
    void sumsStayExact();
    void compare_data();
    void compare();
    void toDouble_data();
    void toDouble();
    void fromDoubleRoundTrips();
    void toText_data();
    void toText();
    void finesShow_data();
    void finesShow();
    void ordinaryFinesShowAsBefore();
    void toWholeNumber_data();
    void toWholeNumber();
};

void DecimalTest::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("value");

    QTest::newRow("plus") << "+3" << true << 3.0;
    QTest::newRow("minus") << "-2" << true << -2.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("exponent") << "1e2" << true << 100.0;
    QTest::newRow("exponent sign") << "1E+2" << true << 100.0;
    QTest::newRow("minus sign") << QStringLiteral("\u22123") << true << -3.0;
    QTest::newRow("minus sign in exponent") << QStringLiteral("1e\u22122") << true << 0.01;
    QTest::newRow("blanks around") << "  3 " << true << 3.0;
    QTest::newRow("tab, line break") << "\t3\n" << true << 3.0;
    QTest::newRow("no-break space") << QStringLiteral("\u00a03") << true << 3.0;
    QTest::newRow("leading zeros") << "0012.50" << true << 12.5;
    QTest::newRow("negative zero") << "-0" << true << -0.0;
    QTest::newRow("zero, huge exponent") << "0e99999999999" << true << 0.0;
    QTest::newRow("largest") << "1.7976931348623158e308" << true << Limits::max();
    QTest::newRow("smallest") << "3e-324" << true << Limits::denorm_min();
    QTest::newRow("tie to even, down") << "9007199254740993" << true << 9007199254740992.0;
    QTest::newRow("tie to even, up") << "9007199254740995" << true << 9007199254740996.0;
    QTest::newRow("just above a tie")
        << "9007199254740993.000000000000000000001" << true << 9007199254740994.0;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << " " << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("exponent sign without digits") << "1e+" << false << 0.0;
    QTest::newRow("exponent alone") << "e5" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("sign alone") << "+" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("group separator") << "3,000" << false << 0.0;
    QTest::newRow("decimal comma") << "1,5" << false << 0.0;
    QTest::newRow("full-width digits") << QStringLiteral("\uff11\uff12") << false << 0.0;
    QTest::newRow("Arabic-Indic digit") << QStringLiteral("\u0663") << false << 0.0;
    QTest::newRow("full-width plus") << QStringLiteral("\uff0b3") << false << 0.0;
    QTest::newRow("inf") << "inf" << false << 0.0;
    QTest::newRow("-inf") << "-inf" << false << 0.0;
    QTest::newRow("nan") << "NaN" << false << 0.0;
    QTest::newRow("overflow") << "1e400" << false << 0.0;
    QTest::newRow("overflow by rounding") << "1.7976931348623159e308" << false << 0.0;
    QTest::newRow("underflow") << "1e-400" << false << 0.0;
    QTest::newRow("underflow by rounding") << "2e-324" << false << 0.0;
    QTest::newRow("blank inside") << "3 4" << false << 0.0;
    QTest::newRow("blank after sign") << "+ 5" << false << 0.0;
    QTest::newRow("two signs") << "+-1" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("fractional exponent") << "1e5.5" << false << 0.0;
    QTest::newRow("suffix") << "3d" << false << 0.0;
}

void DecimalTest::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, value);

    QCOMPARE(qlocaleReading(text).has_value(), accepted);  // Qt still reads it this way
    const std::optional<Decimal> decimal = Decimal::parse(text);
    QCOMPARE(decimal.has_value(), accepted);
    if (decimal)
        QCOMPARE(bits(decimal->toDouble()), bits(value));
}

void DecimalTest::parseAgreesWithQLocale()
{
    const auto agrees = [](const QString &text) {
        const std::optional<double> expected = qlocaleReading(text);
        const std::optional<Decimal> decimal = Decimal::parse(text);
        if (expected.has_value() != decimal.has_value())
            return false;
        return !expected || bits(*expected) == bits(decimal->toDouble());
    };
    QRandomGenerator random(20240611);

    const QString alphabet = QStringLiteral("0123456789.eE+-, x\t\u2212\u00a0");
    int accepted = 0;
    for (int round = 0; round < 200000; ++round) {
        const QString text = randomText(random, alphabet, 10);
        QVERIFY2(agrees(text), qPrintable(text));
        accepted += qlocaleReading(text).has_value();
    }
    QVERIFY(accepted > 10000);  // the texts are not all garbage

    // Long numbers across the whole range and past both ends, where rounding is hardest.
    for (int round = 0; round < 20000; ++round) {
        QString digits = randomText(random, u"0123456789", 40);
        digits.insert(random.bounded(int(digits.size()) + 1), QLatin1Char('.'));
        const QString text = digits + QLatin1Char('e') + QString::number(random.bounded(-365, 330));
        QVERIFY2(agrees(text), qPrintable(text));
    }
}

void DecimalTest::scan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("length");

    QTest::newRow("number, then letters") << "12abc" << qsizetype(2);
    QTest::newRow("blanks are the caller's") << "  12abc" << qsizetype(0);
    QTest::newRow("signed fraction") << "-.5x" << qsizetype(3);
    QTest::newRow("incomplete exponent") << "1e" << qsizetype(1);
    QTest::newRow("exponent with sign only") << "1e+" << qsizetype(1);
    QTest::newRow("exponent alone") << "e5" << qsizetype(0);
    QTest::newRow("point alone") << "." << qsizetype(0);
    QTest::newRow("two signs") << "+-1" << qsizetype(0);
    QTest::newRow("trailing point") << "1." << qsizetype(2);
    QTest::newRow("trailing point, exponent") << "1.e5" << qsizetype(4);
    QTest::newRow("full") << ".5e-3z" << qsizetype(5);
    QTest::newRow("second exponent") << "1e5e5" << qsizetype(3);
    QTest::newRow("second point") << "1.2.3" << qsizetype(3);
    QTest::newRow("comma") << "12,5" << qsizetype(2);
    QTest::newRow("hexadecimal") << "0x10" << qsizetype(1);
    QTest::newRow("out of range") << "1e400" << qsizetype(5);
    QTest::newRow("minus sign") << QStringLiteral("\u22123") << qsizetype(0);
    QTest::newRow("full-width digits") << QStringLiteral("\uff11\uff12") << qsizetype(0);
    QTest::newRow("empty") << "" << qsizetype(0);
}

void DecimalTest::scan()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, length);

    QCOMPARE(Decimal::scan(text), length);
}

void DecimalTest::scanReadsTheLongestNumber()
{
    // Every text of up to five of these characters. With only 0 and 1 as digits no number
    // that short leaves the double range, so QLocale tells where a number ends.
    const QString alphabet = QStringLiteral("01.eE+-x,");
    QList<QString> texts{QString()};
    for (qsizetype from = 0; from < texts.size(); ++from) {
        if (texts[from].size() == 5)
            continue;
        for (const QChar ch : alphabet)
            texts.append(texts[from] + ch);
    }
    for (const QString &text : texts) {
        qsizetype longest = 0;
        for (qsizetype length = 1; length <= text.size(); ++length) {
            if (qlocaleReading(text.first(length)))
                longest = length;
        }
        QVERIFY2(Decimal::scan(text) == longest, qPrintable(text));
    }
}

void DecimalTest::arithmetic_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QChar>("operation");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("expected");

    QTest::newRow("0.1 + 0.2") << "0.1" << QChar('+') << "0.2"
                               << "0.3";
    QTest::newRow("carry into a new limb") << "999999999" << QChar('+') << "1"
                                           << "1000000000";
    QTest::newRow("carry through limbs")
        << "999999999999999999.999999999" << QChar('+') << "0.000000001"
        << "1e18";
    QTest::newRow("borrow through limbs") << "1e18" << QChar('-') << "0.000000001"
                                          << "999999999999999999.999999999";
    QTest::newRow("cancels out") << "12.5" << QChar('-') << "12.50"
                                 << "0";
    QTest::newRow("below zero") << "0.000000001" << QChar('-') << "1"
                                << "-0.999999999";
    QTest::newRow("mixed signs") << "-5.25" << QChar('+') << "2"
                                 << "-3.25";
    QTest::newRow("far apart") << "1e300" << QChar('+') << "1e-300"
                               << "1" + kZeros300 + "." + kZeros299 + "1";
    QTest::newRow("typed digits kept") << "0.1000000000000000000000000001" << QChar('-') << "0.1"
                                       << "1e-28";
    QTest::newRow("product with carries")
        << "999999999999999999" << QChar('*') << "999999999999999999"
        << "999999999999999998000000000000000001";
    QTest::newRow("product of fractions") << "1.5" << QChar('*') << "0.2"
                                          << "0.3";
    QTest::newRow("zeros cancel") << "0.5" << QChar('*') << "2"
                                  << "1";
    QTest::newRow("minus times minus") << "-1.5" << QChar('*') << "-2"
                                       << "3";
    QTest::newRow("minus times plus") << "-1.5" << QChar('*') << "2"
                                      << "-3";
    QTest::newRow("times zero") << "123.456" << QChar('*') << "0"
                                << "0";
    QTest::newRow("huge") << "1e300" << QChar('*') << "32767"
                          << "3.2767e304";
    QTest::newRow("subnormal") << "5e-324" << QChar('*') << "2"
                               << "1e-323";
}

void DecimalTest::arithmetic()
{
    QFETCH(QString, a);
    QFETCH(QChar, operation);
    QFETCH(QString, b);
    QFETCH(QString, expected);

    const Decimal x = parsed(a);
    const Decimal y = parsed(b);
    const Decimal result = operation == u'+' ? x + y : operation == u'-' ? x - y : x * y;
    QCOMPARE(result, parsed(expected));
}

void DecimalTest::arithmeticIdentities()
{
    // Long random operands: carries and borrows across limbs at every alignment.
    QRandomGenerator random(42);
    const auto randomDecimal = [&random] {
        const QString sign = random.bounded(2) ? QStringLiteral("-") : QString();
        const QString digits =
            QString::number(random.bounded(1, 10)) + randomText(random, u"0000123456789999", 40);
        return parsed(sign + digits + QLatin1Char('e') + QString::number(random.bounded(-60, 20)));
    };
    for (int round = 0; round < 3000; ++round) {
        const Decimal a = randomDecimal();
        const Decimal b = randomDecimal();
        const Decimal c = randomDecimal();
        QCOMPARE(a + b, b + a);
        QCOMPARE((a + b) - b, a);
        QCOMPARE((a + b) + c, a + (b + c));
        QCOMPARE(a * b, b * a);
        QCOMPARE(a * (b + c), a * b + a * c);
        QCOMPARE((a * b) * c, a * (b * c));
        QCOMPARE(a - b < Decimal(), a < b);
    }
}

void DecimalTest::sumsStayExact()
{
    Decimal total;
    const Decimal dime = *Decimal::fromDouble(0.1);
    for (int i = 0; i < 1000; ++i)
        total += dime;
    QCOMPARE(total, Decimal::fromInt(100));
    QCOMPARE(total.toText(), QStringLiteral("100"));

    // Random fines in cents against their whole-number sum.
    QRandomGenerator random(1);
    const Decimal cent = parsed(QStringLiteral("0.01"));
    Decimal fines;
    qint64 cents = 0;
    for (int i = 0; i < 10000; ++i) {
        const qint64 fine = random.bounded(-100000, 10000000);
        fines += parsed(QString::number(fine) + QStringLiteral("e-2"));
        cents += fine;
    }
    QCOMPARE(fines, Decimal::fromInt(cents) * cent);
}

void DecimalTest::compare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");

    QTest::newRow("trailing zero") << "1.50"
                                   << "1.5" << 0;
    QTest::newRow("negative zero") << "-0"
                                   << "0" << 0;
    QTest::newRow("fractions") << "0.1"
                               << "0.2" << -1;
    QTest::newRow("signs") << "-1"
                           << "0.5" << -1;
    QTest::newRow("tiny against zero") << "1e-300"
                                       << "0" << 1;
    QTest::newRow("negative magnitudes") << "-1e300"
                                         << "-1e-300" << -1;
    QTest::newRow("fewer digits, larger") << "10"
                                          << "9.99999999999999999999" << 1;
    QTest::newRow("negative, fewer digits") << "-10"
                                            << "-9.99999999999999999999" << -1;
    QTest::newRow("same leading digit") << "123456789.123456789"
                                        << "123456789.12345678" << 1;
    QTest::newRow("limb count") << "1000000000"
                                << "999999999.9" << 1;
}

void DecimalTest::compare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);

    const Decimal x = parsed(a);
    const Decimal y = parsed(b);
    QCOMPARE(x == y, order == 0);
    QCOMPARE(x < y, order < 0);
    QCOMPARE(y<x, order> 0);
    QCOMPARE(x >= y, order >= 0);
}

void DecimalTest::toDouble_data()
{
    // mantissa * 2^power, built exactly, against the double it must round to.
    QTest::addColumn<qint64>("mantissa");
    QTest::addColumn<int>("power");
    QTest::addColumn<double>("expected");

    const qint64 one = 1;
    const double denormMin = Limits::denorm_min();
    QTest::newRow("1 + half an ulp") << (one << 53) + 1 << -53 << 1.0;
    QTest::newRow("1 + 3 half ulps") << (one << 53) + 3 << -53 << 1.0 + std::ldexp(1.0, -51);
    QTest::newRow("above 1 + half an ulp")
        << (one << 61) + (one << 8) + 1 << -61 << 1.0 + std::ldexp(1.0, -52);
    QTest::newRow("negative tie") << -(one << 53) - 1 << -53 << -1.0;
    QTest::newRow("half the smallest") << one << -1075 << 0.0;
    QTest::newRow("above half the smallest") << (one << 25) + 1 << -1100 << denormMin;
    QTest::newRow("3 halves of the smallest") << qint64(3) << -1075 << 2 * denormMin;
    QTest::newRow("largest + half an ulp") << (one << 54) - 1 << 970 << Limits::infinity();
    QTest::newRow("just below") << (one << 62) - (one << 8) - 1 << 962 << Limits::max();
}

void DecimalTest::toDouble()
{
    QFETCH(qint64, mantissa);
    QFETCH(int, power);
    QFETCH(double, expected);

    const Decimal factor = *Decimal::fromDouble(power < 0 ? 0.5 : 2.0);
    Decimal value = Decimal::fromInt(mantissa);
    for (int i = 0; i < std::abs(power); ++i)
        value *= factor;
    QCOMPARE(bits(value.toDouble()), bits(expected));
}

void DecimalTest::fromDoubleRoundTrips()
{
    QVERIFY(!Decimal::fromDouble(Limits::infinity()));
    QVERIFY(!Decimal::fromDouble(-Limits::infinity()));
    QVERIFY(!Decimal::fromDouble(Limits::quiet_NaN()));
    QCOMPARE(*Decimal::fromDouble(0.1), parsed(QStringLiteral("0.1")));

    QList<double> values{-0.0, Limits::denorm_min(), Limits::min(), Limits::max(), -Limits::max()};
    QRandomGenerator random(3);
    for (int i = 0; i < 100000; ++i)
        values.append(std::bit_cast<double>(random.generate64()));
    for (const double value : values) {
        if (!std::isfinite(value))
            continue;
        const std::optional<Decimal> decimal = Decimal::fromDouble(value);
        QVERIFY(decimal);
        QVERIFY2(bits(decimal->toDouble()) == bits(value), qPrintable(QString::number(value)));
    }
}

void DecimalTest::toText_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("negative zero") << "-0"
                                   << "0";
    QTest::newRow("zero with decimals") << "0.00"
                                        << "0";
    QTest::newRow("trailing zero") << "1.50"
                                   << "1.5";
    QTest::newRow("whole") << "1e2"
                           << "100";
    QTest::newRow("negative") << "-0.5"
                              << "-0.5";
    QTest::newRow("15 digits") << "0.123456789012345"
                               << "0.123456789012345";
    QTest::newRow("16th digit down") << "1234567890123454"
                                     << "1234567890123450";
    QTest::newRow("half away from zero") << "1234567890123455"
                                         << "1234567890123460";
    QTest::newRow("negative half") << "-1234567890123455"
                                   << "-1234567890123460";
    QTest::newRow("just below half") << "1.000000000000004999999"
                                     << "1";
    QTest::newRow("fraction half") << "0.1234567890123455"
                                   << "0.123456789012346";
    QTest::newRow("carry to a new digit") << "9999999999999995"
                                          << "10000000000000000";
    QTest::newRow("carry to one") << "0.99999999999999999"
                                  << "1";
    QTest::newRow("negative carry") << "-9.999999999999999"
                                    << "-10";
    QTest::newRow("large") << "1e20"
                           << "100000000000000000000";
    QTest::newRow("small") << "1e-20"
                           << "0.00000000000000000001";
    QTest::newRow("huge") << "1e300"
                          << "1" + kZeros300;
    QTest::newRow("tiny") << "1e-300"
                          << "0." + kZeros299 + "1";
    QTest::newRow("tiny, rounded") << "1.23456789012345678e-300"
                                   << "0." + kZeros299 + "123456789012346";
}

void DecimalTest::toText()
{
    QFETCH(QString, value);
    QFETCH(QString, text);

    QCOMPARE(parsed(value).toText(), text);
}

void DecimalTest::finesShow_data()
{
    QTest::addColumn<double>("finePerDay");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("text");

    QTest::newRow("0.1 x 3") << 0.1 << 3 << "0.3";
    QTest::newRow("0.125 x 7") << 0.125 << 7 << "0.875";
    QTest::newRow("1/3 x 3") << 1.0 / 3 << 3 << "1";
    QTest::newRow("rounded at 15 digits") << 1.23456789012345 << 32767 << "40453.0860556751";
    QTest::newRow("huge") << 1e300 << 32767 << "32767" + kZeros300;
    QTest::newRow("tiny") << 1e-300 << 3 << "0." + kZeros299 + "3";
    QTest::newRow("smallest") << Limits::denorm_min() << 32767
                              << "0." + QString(318, QLatin1Char('0')) + "163835";
    QTest::newRow("largest") << Limits::max() << 32767
                             << "589050109500335" + QString(298, QLatin1Char('0'));
}

void DecimalTest::finesShow()
{
    QFETCH(double, finePerDay);
    QFETCH(int, days);
    QFETCH(QString, text);

    const Decimal fine = *Decimal::fromDouble(finePerDay) * Decimal::fromInt(days);
    QCOMPARE(fine.toText(), text);
}

void DecimalTest::ordinaryFinesShowAsBefore()
{
    QRandomGenerator random(5);
    for (int round = 0; round < 20000; ++round) {
        const QString typed =
            QString::number(random.bounded(1000000)) + "e-" + QString::number(random.bounded(5));
        const double finePerDay = *qlocaleReading(typed);
        const int days = random.bounded(32768);
        const Decimal fine = *Decimal::fromDouble(finePerDay) * Decimal::fromInt(days);
        QVERIFY2(fine.toText() == legacyText(finePerDay * days), qPrintable(typed));
    }
}

void DecimalTest::toWholeNumber_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<qint64>("rounded");
    QTest::addColumn<bool>("whole");

    const qint64 max = std::numeric_limits<qint64>::max();
    const qint64 min = std::numeric_limits<qint64>::min();
    QTest::newRow("half to even, down") << "6.5" << true << qint64(6) << false;
    QTest::newRow("half to even, up") << "7.5" << true << qint64(8) << false;
    QTest::newRow("negative half, down") << "-2.5" << true << qint64(-2) << false;
    QTest::newRow("negative half, up") << "-3.5" << true << qint64(-4) << false;
    QTest::newRow("above half") << "2.5000001" << true << qint64(3) << false;
    QTest::newRow("half of one") << "0.5" << true << qint64(0) << false;
    QTest::newRow("barely above half") << "0.50000000000000000001" << true << qint64(1) << false;
    QTest::newRow("small negative") << "-0.4" << true << qint64(0) << false;
    QTest::newRow("a twentieth") << "0.05" << true << qint64(0) << false;
    QTest::newRow("exponent") << "123e2" << true << qint64(12300) << true;
    QTest::newRow("point zero") << "1.0" << true << qint64(1) << true;
    QTest::newRow("negative zero") << "-0" << true << qint64(0) << true;
    QTest::newRow("largest") << "9223372036854775807" << true << max << true;
    QTest::newRow("largest + half") << "9223372036854775807.5" << false << qint64(0) << false;
    QTest::newRow("even below largest") << "9223372036854775806.5" << true << max - 1 << false;
    QTest::newRow("smallest") << "-9223372036854775808" << true << min << true;
    QTest::newRow("smallest - half") << "-9223372036854775808.5" << true << min << false;
    QTest::newRow("below smallest") << "-9223372036854775809" << false << qint64(0) << true;
    QTest::newRow("1e19") << "1e19" << false << qint64(0) << true;
    QTest::newRow("1e300") << "1e300" << false << qint64(0) << true;
}

void DecimalTest::toWholeNumber()
{
    QFETCH(QString, value);
    QFETCH(bool, fits);
    QFETCH(qint64, rounded);
    QFETCH(bool, whole);

    const Decimal decimal = parsed(value);
    QCOMPARE(decimal.toWholeNumber().has_value(), fits);
    if (fits)
        QCOMPARE(*decimal.toWholeNumber(), rounded);
    QCOMPARE(decimal.isWhole(), whole);
}

QTEST_GUILESS_MAIN(DecimalTest)
#include "tst_decimal.moc"
