// The texts fields give their values: the same as Qt's general formatting
// gives, for the values that need all the digits, rounding or exponents.
#include "Field.h"

#include <QList>

#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

QString QtFloat(double v) { return QString::number(v, 'g', 15); }
QString QtCurrency(double v) { return QString::number(v, 'f', 2); }

double FromBits(quint64 bits)
{
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Values whose text is hard to get right: zeros, the edges of the plain
// notation, digits 15 to 17, exact halves, the smallest and largest doubles.
QList<double> EdgeValues()
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    QList<double> values = {0.0, -0.0, 1, -1, 0.1, 0.2, 0.1 + 0.2, 1.0 / 3, 2.0 / 3, -1.0 / 7, 0.5, 0.125, -0.125,
                            0.375, 2.675, 1.005, 0.005, -0.005, -0.001, 0.015, 1e-4, 1e-5, 1.234e-5, 9.9999e-5,
                            0.0001234, 123456789012345.0, 999999999999999.0, 999999999999999.5, 1e15, 1e16,
                            1234567890123455.0, 1234567890123445.0, 9007199254740993.0, 100000, 1e14, 1e21, 1e22,
                            1e100, -1e-100, 1e300, 1e-300, 1.7976931348623157e308,
                            std::numeric_limits<double>::min(), std::numeric_limits<double>::denorm_min(), 5e-324,
                            inf, -inf, std::numeric_limits<double>::quiet_NaN()};
    for (int e = -20; e <= 20; ++e) {
        const double p = std::pow(10.0, e);
        values << p << -p << std::nextafter(p, 0) << std::nextafter(p, inf) << 9.99999999999999 * p
               << 1.23456789012345 * p << 5 * p;
    }
    return values;
}

// Random bit patterns (mostly 17 digits), and decimals of few digits as
// tables hold them, at every magnitude.
QList<double> RandomValues()
{
    std::mt19937_64 random(20261209);
    QList<double> values;
    for (int i = 0; i < 40000; ++i)
        values << FromBits(random());
    std::uniform_int_distribution<qint64> mantissa(-99999999, 99999999);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 40000; ++i)
        values << double(mantissa(random)) * std::pow(10.0, exponent(random));
    for (int cents = -30000; cents <= 30000; ++cents)
        values << cents / 100.0 << cents / 8.0 << cents * 1.1;
    return values;
}

TEST(FieldTexts, FloatsAsFifteenSignificantDigits)
{
    for (const QList<double>& values : {EdgeValues(), RandomValues()})
        for (const double v : values)
            ASSERT_EQ(dbformat::FloatText(v), QtFloat(v)) << qPrintable(QString::number(v, 'g', 17));
    EXPECT_EQ(dbformat::FloatText(-0.0), QStringLiteral("0"));
    EXPECT_EQ(dbformat::FloatText(1e-5), QStringLiteral("1e-05"));
    EXPECT_EQ(dbformat::FloatText(0.1 + 0.2), QStringLiteral("0.3"));
    EXPECT_EQ(dbformat::FloatText(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(dbformat::FloatText(1234567890123445.0), QStringLiteral("1.23456789012345e+15"));
}

TEST(FieldTexts, CurrencyRoundsHalfCentsAwayFromZero)
{
    for (const QList<double>& values : {EdgeValues(), RandomValues()})
        for (const double v : values) {
            if (std::abs(v) > 1e16)
                continue;  // Qt writes every digit of the larger ones: slow, and theirs anyway
            ASSERT_EQ(dbformat::CurrencyText(v), QtCurrency(v)) << qPrintable(QString::number(v, 'g', 17));
        }
    EXPECT_EQ(dbformat::CurrencyText(0.125), QStringLiteral("0.13"));
    EXPECT_EQ(dbformat::CurrencyText(-0.375), QStringLiteral("-0.38"));
    EXPECT_EQ(dbformat::CurrencyText(2.675), QStringLiteral("2.67"));  // a little below the half
    EXPECT_EQ(dbformat::CurrencyText(-0.001), QStringLiteral("-0.00"));
    EXPECT_EQ(dbformat::CurrencyText(-0.0), QStringLiteral("0.00"));
}

TEST(FieldTexts, DatesAndTimesAtTheirEdges)
{
    const QList<QDate> dates = {QDate(1, 1, 1),     QDate(9999, 12, 31), QDate(10000, 1, 1),   QDate(-1, 12, 31),
                                QDate(-4713, 1, 2), QDate(1899, 12, 30), QDate(2000, 2, 29),   QDate(1900, 3, 1),
                                QDate(1994, 3, 3),  QDate(999, 7, 4),    QDate(2026, 12, 9),   QDate()};
    const QList<QTime> times = {QTime(0, 0), QTime(0, 0, 0, 1), QTime(0, 0, 1), QTime(12, 0),
                                QTime(23, 59, 59, 999), QTime(9, 5, 7), QTime()};
    for (const QDate& d : dates) {
        EXPECT_EQ(dbformat::DateText(d), d.toString(dbformat::ShortDate)) << d.toJulianDay();
        for (const QTime& t : times) {
            const QDateTime dt(d, t);
            const QString qt = dt.time() == QTime(0, 0) ? dt.date().toString(dbformat::ShortDate)
                                                        : dt.toString(dbformat::DateTime);
            EXPECT_EQ(dbformat::DateTimeText(dt), qt) << d.toJulianDay() << ' ' << qPrintable(t.toString());
        }
    }
    for (const QTime& t : times)
        EXPECT_EQ(dbformat::TimeText(t), t.toString(dbformat::LongTime));
    EXPECT_EQ(dbformat::DateText(QDate(999, 7, 4)), QStringLiteral("07/04/0999"));
    EXPECT_EQ(dbformat::DateTimeText(QDateTime(QDate(2000, 2, 29), QTime(0, 0))), QStringLiteral("02/29/2000"));
    EXPECT_EQ(dbformat::DateTimeText(QDateTime(QDate(2000, 2, 29), QTime(0, 0, 0, 1))),
              QStringLiteral("02/29/2000 00:00:00"));
}

}  // namespace
