#include <gtest/gtest.h>

#include "TestTables.h"

#include <QDateTime>

#include <limits>

namespace {
TFieldDef Def(const char* name, TFieldType type, int size = 0, int precision = 0)
{
    return {QString::fromLatin1(name), type, size, precision};
}

QByteArray Binary(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 37 + 11) & 0xFF);
    return b;
}
}  // namespace

TTableData ParadoxAllTypes()
{
    TTableData t;
    t.Defs = {Def("Name", ftString, 20), Def("Small", ftSmallint), Def("Long", ftInteger), Def("Auto", ftAutoInc),
              Def("Num", ftFloat), Def("Money", ftCurrency), Def("Flag", ftBoolean), Def("Day", ftDate),
              Def("Clock", ftTime), Def("Stamp", ftDateTime), Def("Notes", ftMemo, 10), Def("Data", ftBlob, 4),
              Def("Picture", ftGraphic)};
    const QDateTime stamp(QDate(1999, 12, 31), QTime(23, 59, 59, 250));
    // the limits each type can hold (the most negative integer is the null pattern, so it is excluded)
    t.Rows.push_back({QStringLiteral("Zoë café ½ € exactly20"), qint64(32767), qint64(2147483647), qint64(1),
                      std::numeric_limits<double>::max(), 1234567.89, true, QDate(9999, 12, 31), QTime(23, 59, 59, 999),
                      stamp, QStringLiteral("short"), Binary(4), Binary(70000)});
    t.Rows.push_back({QStringLiteral("min"), qint64(-32767), qint64(-2147483647), qint64(2), -1.5e-300, -0.01, false,
                      QDate(1, 1, 1), QTime(0, 0), QDateTime(QDate(1, 1, 1), QTime(0, 0, 0, 1)),
                      QString(QStringLiteral("long memo with ümlauts ")).repeated(300), Binary(5000), Binary(1)});
    t.Rows.push_back({QVariant(), QVariant(), QVariant(), qint64(3), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    t.Rows.push_back({QStringLiteral("zeros"), qint64(0), qint64(0), qint64(4), 0.0, 0.0, false, QDate(2000, 2, 29),
                      QTime(12, 0), QDateTime(QDate(2024, 2, 29), QTime(0, 0)), QVariant(), QVariant(), QVariant()});
    // the alpha column holds 20 characters: the writer cuts the rest
    t.Rows[0][0] = t.Rows[0][0].toString().left(20);
    return t;
}

TTableData DbfAllTypes()
{
    TTableData t;
    t.Defs = {Def("NAME", ftString, 12), Def("QTY", ftSmallint, 4), Def("COUNT", ftInteger, 9),
              Def("BIG", ftLargeint, 18), Def("PRICE", ftFloat, 12, 3), Def("BORN", ftDate), Def("OK", ftBoolean),
              Def("NOTES", ftMemo), Def("BMP", ftBlob)};
    t.Rows.push_back({QStringLiteral("Ærø €uro"), qint64(9999), qint64(-99999999), qint64(999999999999999999),
                      12345678.125, QDate(2038, 1, 19), true, QStringLiteral("memo ½"), Binary(3000)});
    t.Rows.push_back({QStringLiteral("neg"), qint64(-999), qint64(999999999), qint64(-99999999999999999), -0.5,
                      QDate(1900, 1, 1), false, QString(QStringLiteral("x")).repeated(2000), Binary(1)});
    t.Rows.push_back({QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                      QVariant()});
    return t;
}

::testing::AssertionResult SameTable(const TTableData& expected, const TTableData& actual)
{
    if (expected.Defs.size() != actual.Defs.size())
        return ::testing::AssertionFailure() << "column count " << actual.Defs.size();
    for (size_t i = 0; i < expected.Defs.size(); ++i)
        if (expected.Defs[i].Name != actual.Defs[i].Name || expected.Defs[i].DataType != actual.Defs[i].DataType)
            return ::testing::AssertionFailure() << "column " << i << ": " << actual.Defs[i].Name.toStdString()
                                                 << " type " << int(actual.Defs[i].DataType);
    if (expected.Rows.size() != actual.Rows.size())
        return ::testing::AssertionFailure() << "row count " << actual.Rows.size();
    for (size_t r = 0; r < expected.Rows.size(); ++r)
        for (size_t c = 0; c < expected.Defs.size(); ++c) {
            const QVariant& e = expected.Rows[r][c];
            const QVariant& a = actual.Rows[r][c];
            const bool same = e.isNull() ? a.isNull() : (!a.isNull() && e == a);
            if (!same)
                return ::testing::AssertionFailure() << "row " << r << " column " << expected.Defs[c].Name.toStdString()
                                                     << ": expected " << e.toString().left(60).toStdString() << " got "
                                                     << a.toString().left(60).toStdString() << (a.isNull() ? " (null)" : "");
        }
    return ::testing::AssertionSuccess();
}
