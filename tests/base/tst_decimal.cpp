#include "TestMain.h"
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

QString zeros(int count)
{
    return QString(count, QLatin1Char('0'));
}

}  // namespace

class DecimalTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<double>("value");
        const auto row = [](const char *text, bool accepted, double value = 0) {
            QTest::newRow(*text ? text : "(empty)") << QString::fromUtf8(text) << accepted << value;
        };
        row("+3", true, 3);
        row(".5", true, 0.5);
        row("-5.", true, -5);
        row("1E+2", true, 100);
        row("\u22123", true, -3);  // MINUS SIGN
        row("\t 3\n", true, 3);
        row("\u00a03\u3000", true, 3);  // no-break and ideographic space
        row("0012.50", true, 12.5);
        row("-0", true, -0.0);
        row("0e99999999999", true, 0);
        row("1.7976931348623158e308", true, Limits::max());
        row("3e-324", true, Limits::denorm_min());
        row("9007199254740993", true, 9007199254740992.0);  // halves to even
        row("9007199254740995", true, 9007199254740996.0);
        row("9007199254740993.000000000000000000001", true, 9007199254740994.0);
        for (const char *refused :
             {"",        " ",      "1e",    "1e+", "e5",           ".",
              "+",       "0x10",   "3,000", "1,5", "\uff11\uff12", "\u0663",
              "\uff0b3", "inf",    "-inf",  "NaN", "1e400",        "1.7976931348623159e308",
              "1e-400",  "2e-324", "3 4",   "+ 5", "+-1",          "1.2.3",
              "1e5.5",   "3d"})
            row(refused, false);
    }

    void parse()
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

    void parseAgreesWithQLocale()
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
        QVERIFY(accepted > 10000);  // not all garbage

        // Long numbers across the range and past both ends, where rounding is hardest.
        for (int round = 0; round < 20000; ++round) {
            QString text = randomText(random, u"0123456789", 40);
            text.insert(random.bounded(int(text.size()) + 1), QLatin1Char('.'));
            text += QLatin1Char('e') + QString::number(random.bounded(-365, 330));
            QVERIFY2(agrees(text), qPrintable(text));
        }
    }

    void scan_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("length");
        const auto row = [](const char *text, qsizetype length) {
            QTest::newRow(*text ? text : "(empty)") << QString::fromUtf8(text) << length;
        };
        row("12abc", 2);
        row("  12abc", 0);  // blanks are the caller's
        row("-.5x", 3);
        row("1e", 1);
        row("1e+", 1);
        row("1e5e5", 3);
        row("1e400", 5);  // range is parse()'s business
        row("\u22123", 0);
        row("", 0);
    }

    void scan()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, length);

        QCOMPARE(Decimal::scan(text), length);
    }

    void scanReadsTheLongestNumber()
    {
        // Every text of up to five of these. With only 0 and 1 as digits no number that short
        // leaves the double range, so QLocale tells where a number ends.
        const QString alphabet = QStringLiteral("01.eE+-x,");
        QList<QString> texts{QString()};
        for (qsizetype from = 0; from < texts.size(); ++from) {
            for (const QChar ch : alphabet) {
                if (texts[from].size() < 5)
                    texts.append(texts[from] + ch);
            }
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

    void arithmetic_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QChar>("operation");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, QString a, char operation, QString b, QString ex) {
            QTest::newRow(name) << a << QChar::fromLatin1(operation) << b << ex;
        };
        row("carry", "999999999999999999.999999999", '+', "0.000000001", "1e18");
        row("borrow", "1e18", '-', "0.000000001", "999999999999999999.999999999");
        row("cancels", "12.5", '-', "12.50", "0");
        row("below zero", "0.000000001", '-', "1", "-0.999999999");
        row("far apart", "1e300", '+', "1e-300", "1" + zeros(300) + "." + zeros(299) + "1");
        row("typed digits kept", "0.1000000000000000000000000001", '-', "0.1", "1e-28");
        row("product carries", "999999999999999999", '*', "999999999999999999",
            "999999999999999998000000000000000001");
        row("zeros cancel", "0.5", '*', "2", "1");
        row("huge", "1e300", '*', "32767", "3.2767e304");
        row("subnormal", "5e-324", '*', "2", "1e-323");
    }

    void arithmetic()
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

    void arithmeticIdentities()
    {
        // Long random operands: carries and borrows across limbs at every alignment.
        QRandomGenerator random(42);
        const auto randomDecimal = [&random] {
            const QString sign = random.bounded(2) ? QStringLiteral("-") : QString();
            const QString digits = QString::number(random.bounded(1, 10))
                                   + randomText(random, u"0000123456789999", 40);
            const QString exponent = QString::number(random.bounded(-60, 20));
            return parsed(sign + digits + QLatin1Char('e') + exponent);
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
            QCOMPARE(a < b, (a - b).isNegative());
            QCOMPARE(b < a, (b - a).isNegative());
            QVERIFY(a <= a && !(a < a));
            QVERIFY(a != Decimal() && Decimal() != a);  // none of them is zero
        }
    }

    void sumsStayExact()
    {
        Decimal total;
        for (int i = 0; i < 1000; ++i)
            total += *Decimal::fromDouble(0.1);
        QCOMPARE(total, Decimal::fromInt(100));
    }

    void signedZerosFollowDouble()
    {
        // "-0" can be typed; what arithmetic makes of it must match double's.
        const QList<double> values{0.0, -0.0, 1.5, -1.5};
        for (const double a : values) {
            for (const double b : values) {
                const Decimal x = *Decimal::fromDouble(a);
                const Decimal y = *Decimal::fromDouble(b);
                const QString what = QString::asprintf("%g, %g", a, b);
                QVERIFY2(bits((x + y).toDouble()) == bits(a + b), qPrintable(what));
                QVERIFY2(bits((x - y).toDouble()) == bits(a - b), qPrintable(what));
                QVERIFY2(bits((x * y).toDouble()) == bits(a * b), qPrintable(what));
            }
        }
    }

    void fromDoubleRoundTrips()
    {
        QVERIFY(!Decimal::fromDouble(Limits::infinity()));
        QVERIFY(!Decimal::fromDouble(Limits::quiet_NaN()));
        QCOMPARE(*Decimal::fromDouble(0.1), parsed(QStringLiteral("0.1")));

        QList<double> values{-0.0, Limits::denorm_min(), Limits::min(), -Limits::max()};
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

    void toText_data()
    {
        // value * days, as shown
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("text");
        const auto row = [](const char *value, int days, const QString &text) {
            QTest::newRow(qPrintable(QStringLiteral("%1 x %2").arg(QLatin1String(value)).arg(days)))
                << QString::fromLatin1(value) << days << text;
        };
        row("0.1", 3, "0.3");
        row("0.125", 7, "0.875");
        row("0.3333333333333333", 3, "1");  // 1.0 / 3
        row("1.23456789012345", 32767, "40453.0860556751");
        row("-0", 1, "0");
        row("0.00", 1, "0");
        row("1.50", 1, "1.5");
        row("1e2", 1, "100");
        row("1234567890123455", 1, "1234567890123460");  // halves away from zero
        row("0.1234567890123455", 1, "0.123456789012346");
        row("1.000000000000004999999", 1, "1");
        row("9999999999999995", 1, "10000000000000000");
        row("-9.999999999999999", 1, "-10");
        row("1e300", 32767, "32767" + zeros(300));
        row("1e-300", 3, "0." + zeros(299) + "3");
        row("1.23456789012345678e-300", 1, "0." + zeros(299) + "123456789012346");
        row("5e-324", 32767, "0." + zeros(318) + "163835");  // the smallest double
        row("1.7976931348623157e308", 32767, "589050109500335" + zeros(298));  // the largest
    }

    void toText()
    {
        QFETCH(QString, value);
        QFETCH(int, days);
        QFETCH(QString, text);

        QCOMPARE((parsed(value) * Decimal::fromInt(days)).toText(), text);
    }

    void ordinaryFinesShowAsBefore()
    {
        QRandomGenerator random(5);
        for (int round = 0; round < 20000; ++round) {
            const QString typed =
                QStringLiteral("%1e-%2").arg(random.bounded(1000000)).arg(random.bounded(5));
            const double finePerDay = *qlocaleReading(typed);
            const int days = random.bounded(32768);
            const Decimal fine = *Decimal::fromDouble(finePerDay) * Decimal::fromInt(days);
            QVERIFY2(fine.toText() == legacyText(finePerDay * days), qPrintable(typed));
        }
    }

    void toWholeNumber_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<qint64>("rounded");
        QTest::addColumn<bool>("whole");
        const auto row = [](const char *value, bool fits, qint64 rounded, bool whole) {
            QTest::newRow(value) << QString::fromLatin1(value) << fits << rounded << whole;
        };
        const qint64 max = std::numeric_limits<qint64>::max();
        const qint64 min = std::numeric_limits<qint64>::min();
        row("6.5", true, 6, false);
        row("7.5", true, 8, false);
        row("-2.5", true, -2, false);
        row("0.5", true, 0, false);
        row("0.50000000000000000001", true, 1, false);
        row("123e2", true, 12300, true);
        row("-0", true, 0, true);
        row("9223372036854775807", true, max, true);
        row("9223372036854775807.5", false, 0, false);
        row("9223372036854775806.5", true, max - 1, false);
        row("-9223372036854775808", true, min, true);
        row("-9223372036854775808.5", true, min, false);
        row("-9223372036854775809", false, 0, true);
        row("1e300", false, 0, true);
    }

    void toWholeNumber()
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
        if (fits && whole)
            QCOMPARE(Decimal::fromInt(rounded), decimal);
    }
};

LENDORA_TEST_CLASS(DecimalTest)
#include "tst_decimal.moc"
