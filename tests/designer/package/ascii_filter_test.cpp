// The plain-text filter's grid: units, rows and columns, padding and
// overwriting, page writing and I/O failures.
#include "designer/export/AsciiExportFilter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class AsciiFilterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("out.txt"));
    TFont font;
    TQRAsciiExportFilter filter{path};

    void StartA4(int points = 10)
    {
        font.SetSize(points);
        filter.Start(2100, 2970, &font);
    }
    void Out(double x, double y, const QString& text, TAlignment alignment = taLeftJustify)
    {
        filter.TextOut(x, y, &font, clWhite, alignment, text);
    }
    QByteArray Written()
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }
};

TEST(FillStringTest, RepeatsOrGivesEmpty)
{
    EXPECT_EQ(FillString(u'x', 3), QStringLiteral("xxx"));
    EXPECT_EQ(FillString(u'x', 0), QString());
    EXPECT_EQ(FillString(u'x', -5), QString());
}

TEST_F(AsciiFilterTest, NamesComeFromTheEngineStrings)
{
    EXPECT_EQ(filter.GetDescription(), QStringLiteral("Text export (ASCII) filter"));
    EXPECT_EQ(filter.GetFilterName(), QStringLiteral("Text file"));
    EXPECT_EQ(filter.GetExtension(), QStringLiteral("TXT"));
}

TEST_F(AsciiFilterTest, LinesPerPageFollowTheFontSize)
{
    for (auto [points, lines] : {std::pair{10, 84}, {8, 105}, {12, 70}}) {
        TQRAsciiExportFilter f(path);
        font.SetSize(points);
        f.Start(2100, 2970, &font);
        EXPECT_EQ(f.LineCount, lines) << points << " points";
        EXPECT_DOUBLE_EQ(f.CharWidth, points * 254.0 / 72.0);
        EXPECT_DOUBLE_EQ(f.LineHeight, f.CharWidth);
        f.Finish();
    }
}

TEST_F(AsciiFilterTest, PlacesTextOnTheGrid)
{
    StartA4();
    filter.NewPage();
    Out(200, 300, QStringLiteral("abc"));  // column 9.64, row 8.504
    EXPECT_EQ(filter.Lines[9], QStringLiteral("         abc"));
    Out(35.28, 0, QStringLiteral("Z"));  // one font size across is column 1.7 -> 2
    EXPECT_EQ(filter.Lines[0], QStringLiteral(" Z"));
}

// The grid is worked out in extended precision: where a position falls on a
// half in exact arithmetic, the extended quotient lies just below it and
// rounds down, where a double quotient would be exactly the half and round to
// the even neighbour.
TEST_F(AsciiFilterTest, GridIsWorkedOutInExtendedPrecision)
{
    StartA4(8);
    filter.NewPage();
    // pixels 160 and 80 in tenths of a millimetre, as the engine passes them
    Out(160 * 254.0 / 96.0, 80 * 254.0 / 96.0, QStringLiteral("T"));  // column 25.5 and row 7.5, exactly
    EXPECT_EQ(filter.Lines[7], FillString(u' ', 24) + QStringLiteral("T"));
    EXPECT_TRUE(filter.Lines[8].isEmpty());

    font.SetSize(24);
    TQRAsciiExportFilter tall(dir.filePath(QStringLiteral("tall.txt")));
    tall.Start(2100, 381, &font);  // 381 / (24 * 254/72) = 4.5, exactly
    EXPECT_EQ(tall.LineCount, 4);
    tall.Finish();
}

TEST_F(AsciiFilterTest, RightJustifiedTextEndsBeforeItsColumn)
{
    StartA4();
    filter.NewPage();
    const double x = 20.0 / 1.7 * filter.CharWidth;  // column 20.0
    Out(x, 0, QStringLiteral("1234"), taRightJustify);
    EXPECT_EQ(filter.Lines[0].indexOf(QStringLiteral("1234")), 15);  // position 16
}

TEST_F(AsciiFilterTest, OverlappingTextsOverwriteForTheirOwnLength)
{
    StartA4();
    filter.NewPage();
    Out(0, 0, QStringLiteral("abcdefgh"));
    const double col3 = 3 / 1.7 * filter.CharWidth;
    Out(col3, 0, QStringLiteral("XY"));
    EXPECT_EQ(filter.Lines[0], QStringLiteral("abXYefgh"));
}

TEST_F(AsciiFilterTest, ColumnAtOrBelowZeroInsertsInFront)
{
    StartA4();
    filter.NewPage();
    Out(100, 0, QStringLiteral("tail"));
    const QString before = filter.Lines[0];
    Out(0, 0, QStringLiteral("head"));
    EXPECT_EQ(filter.Lines[0], QStringLiteral("head") + before);
}

TEST_F(AsciiFilterTest, WritesNonEmptyLinesOfEachPageWithoutSeparators)
{
    StartA4();
    filter.EndPage();  // before the first page: nothing
    filter.NewPage();
    Out(0, 0, QStringLiteral("first"));
    Out(0, 10 * filter.LineHeight, QStringLiteral("second"));
    Out(0, 90 * filter.LineHeight, QStringLiteral("beyond the page"));  // kept, never written
    filter.EndPage();
    filter.NewPage();
    filter.EndPage();  // an empty page writes nothing
    filter.NewPage();
    Out(0, 0, QStringLiteral("   "));  // only spaces: not empty
    filter.EndPage();
    filter.Finish();
    EXPECT_EQ(Written(), QByteArray("first\r\nsecond\r\n   \r\n"));
}

TEST_F(AsciiFilterTest, TextsOffTheBufferAreDropped)
{
    font.SetSize(4);  // an A4 page is taller than 201 lines of it
    filter.Start(2100, 2970, &font);
    filter.NewPage();
    Out(0, -50, QStringLiteral("above"));
    Out(0, 5000 * filter.LineHeight, QStringLiteral("far below"));
    Out(0, 205 * filter.LineHeight, QStringLiteral("line 205"));
    filter.EndPage();
    filter.Finish();
    EXPECT_EQ(Written(), QByteArray("line 205\r\n"));
}

TEST_F(AsciiFilterTest, FailuresRaiseTheIOError)
{
    TQRAsciiExportFilter bad(dir.filePath(QStringLiteral("missing/out.txt")));
    font.SetSize(10);
    EXPECT_THROW(bad.Start(2100, 2970, &font), EInOutError);
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        TQRAsciiExportFilter full(QStringLiteral("/dev/full"));
        full.Start(2100, 2970, &font);
        full.NewPage();
        full.TextOut(0, 0, &font, clWhite, taLeftJustify, FillString(u'x', 8000));
        EXPECT_THROW({
            for (int i = 0; i < 10; ++i)
                full.EndPage();
            full.Finish();
        }, EInOutError);
    }
}

}  // namespace
