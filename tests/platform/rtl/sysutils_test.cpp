#include <gtest/gtest.h>

#include "rtl/Codepage.h"
#include "rtl/Exceptions.h"
#include "rtl/SysUtils.h"

TEST(Round, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, int> table[] = {{40.5, 40}, {41.5, 42}, {2.5, 2},    {3.5, 4},  {-2.5, -2},
                                            {-3.5, -4}, {9.64, 10}, {0.49999, 0}, {64.13, 64}, {0.5, 0}};
    for (auto [value, expected] : table)
        EXPECT_EQ(Round(value), expected) << value;
    // the exact value decides, not its decimal look: 0.5 + 2^-53 is above the half
    EXPECT_EQ(Round(0.5000000000000001), 1);
    EXPECT_THROW(Round(3e9), EConvertError);
}

TEST(StrToInt, IntegerSyntax)
{
    const std::pair<const char*, int> valid[] = {{"0", 0},           {"12", 12},     {"  12", 12},   {"-7", -7},
                                                 {"+7", 7},          {"$1F", 31},    {"$ff", 255},   {"-$10", -16},
                                                 {"2147483647", INT32_MAX},          {"-2147483648", INT32_MIN}};
    for (auto [text, expected] : valid)
        EXPECT_EQ(StrToInt(QString::fromLatin1(text)), expected) << text;
    for (const char* text : {"", " ", "12 ", "1a", "$", "-", "2147483648", "-2147483649", "1.0", "$G", "--1"}) {
        int v = 99;
        EXPECT_FALSE(TryStrToInt(QString::fromLatin1(text), v)) << text;
        EXPECT_EQ(v, 99) << "a failed read leaves the variable alone";
    }
    try {
        StrToInt(QStringLiteral("abc"));
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'abc' is not a valid integer value"));
    }
    EXPECT_EQ(IntToStr(-42), QStringLiteral("-42"));
}

// Every byte decodes to its character of code page 1252 (the five unassigned
// ones to the C1 controls) and encodes back to itself.
TEST(Cp1252, EveryByteDecodesAndEncodesBack)
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        bytes += char(b);
    const QString text = DecodeCp1252(bytes);
    ASSERT_EQ(text.size(), bytes.size());
    EXPECT_EQ(text[0x41 - 1], QChar(u'A'));
    EXPECT_EQ(text[0x80 - 1], QChar(0x20AC));  // euro sign
    EXPECT_EQ(text[0x81 - 1], QChar(0x81));  // unassigned
    EXPECT_EQ(text[0x9F - 1], QChar(0x0178));
    EXPECT_EQ(text[0xE9 - 1], QChar(0xE9));
    EXPECT_EQ(EncodeCp1252(text), bytes);
    EXPECT_EQ(DecodeCp1252("ab\0cd", 5), QStringLiteral("ab") + QChar(0) + QStringLiteral("cd"));
    EXPECT_TRUE(DecodeCp1252(QByteArray()).isEmpty());
}
