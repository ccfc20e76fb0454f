// Export filters: the call order and measures a report run gives a filter,
// the filter list, and the engine's own text rendering.
#include "run_fixture.h"

#include "engine/export/ReportExport.h"
#include "engine/export/TextExportFilter.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

// Records every call as text.
class TRecordingFilter : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;
    static inline QStringList Calls;
    QString GetFilterName() const override { return QStringLiteral("Recorder"); }
    QString GetExtension() const override { return QStringLiteral("REC"); }
    void Start(int w, int h, TFont* font) override
    {
        Calls << QStringLiteral("Start %1 %2 %3").arg(w).arg(h).arg(font->Size());
    }
    void EndPage() override { Calls << QStringLiteral("EndPage"); }
    void NewPage() override { Calls << QStringLiteral("NewPage"); }
    void Finish() override { Calls << QStringLiteral("Finish"); }
    void TextOut(double x, double y, TFont* font, TColor, TAlignment a, const QString& text) override
    {
        Calls << QStringLiteral("%1 %2 %3 %4 %5").arg(text).arg(qRound(x)).arg(qRound(y)).arg(int(a)).arg(font->Size());
    }
};

class Other : public TRecordingFilter {
public:
    using TRecordingFilter::TRecordingFilter;
    QString GetFilterName() const override { return QStringLiteral("Other"); }
    QString GetExtension() const override { return QStringLiteral("OTH"); }
};

QString ReadAll(const QString& name)
{
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

TEST_F(RunTest, ExportGetsTheCallOrderInTenthsOfAMillimetre)
{
    report->Font()->SetSize(10);
    TQRCustomBand* detail = AddBand(rbDetail, 600);
    detail->SetForceNewPage(true);
    report->SetDataSet(Table(2));
    auto* left = AddText<TQRExpr>(detail, QStringLiteral("NAME"), 0, 0, 200);
    left->Font()->SetSize(12);
    AddText(detail, QStringLiteral("R"), 0, 96, 192)->SetAlignment(taRightJustify);
    AddText(detail, QStringLiteral("C"), 0, 192, 192)->SetAlignment(taCenter);
    TRecordingFilter::Calls.clear();
    report->ExportToFilter(new TRecordingFilter(QStringLiteral("unused")));

    // A4 from 96 pixels per inch at 10 mm margins; the band starts at the top margin (100).
    const QStringList page = {"NewPage", "C 354 608 2 10", "Item%1 100 100 0 12", "R 608 354 1 10"};
    QStringList expected = {"Start 2100 2970 10", "EndPage"};
    for (int p = 1; p <= 2; ++p) {
        QStringList calls = page;
        calls[2] = calls[2].arg(p);
        expected << calls << "EndPage";
    }
    expected << "Finish";
    // Texts of one page come in any order; sort them to compare.
    QStringList calls = TRecordingFilter::Calls;
    for (int start : {3, 8})
        std::sort(calls.begin() + start, calls.begin() + start + 3);
    EXPECT_EQ(calls, expected);

    // An empty run still starts, ends its only page and finishes.
    report->SetDataSet(Table(0, QStringLiteral("Empty")));
    report->SetPrintIfEmpty(false);
    TRecordingFilter::Calls.clear();
    report->ExportToFilter(new TRecordingFilter(QString()));
    EXPECT_EQ(TRecordingFilter::Calls, QStringList({"Start 2100 2970 10", "EndPage", "Finish"}));
}

TEST(ExportFilterLibrary, EntriesKeepTheOrderOfAddition)
{
    TQRExportFilterLibrary library;
    library.AddFilter<TRecordingFilter>();
    library.AddFilter<Other>();
    library.AddFilter<TRecordingFilter>();
    ASSERT_EQ(library.Count(), 3);
    EXPECT_EQ(library.Filters()[1].FilterName, "Other");
    EXPECT_EQ(library.Filters()[1].Extension, "OTH");
    EXPECT_EQ(library.SaveDialogFilter(), "Recorder (*.REC)|*.REC|Other (*.OTH)|*.OTH|Recorder (*.REC)|*.REC");
    std::unique_ptr<TQRExportFilter> made(library.Filters()[1].CreateFilter(QStringLiteral("out.oth")));
    EXPECT_EQ(made->FileName(), "out.oth");
    EXPECT_NE(dynamic_cast<Other*>(made.get()), nullptr);
    library.RemoveFilter<TRecordingFilter>();
    ASSERT_EQ(library.Count(), 1);
    EXPECT_EQ(library.Filters()[0].FilterName, "Other");

    // The engine's start-up put its own text filter first in the engine's list.
    ASSERT_GE(QRExportFilterLibrary.Count(), 1);
    EXPECT_EQ(QRExportFilterLibrary.Filters()[0].FilterName, "Text file");
    EXPECT_EQ(QRExportFilterLibrary.Filters()[0].Extension, "TXT");
}

TEST_F(RunTest, TextFilterLaysOutPagesOnACharacterGrid)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.txt"));
    report->Font()->SetSize(10);
    report->SetDataSet(Table(2));
    TQRCustomBand* title = AddBand(rbTitle, 40);
    AddText(title, QStringLiteral("Orders"), 0, 0, report->BandWidthPx())->SetAlignment(taCenter);
    TQRCustomBand* detail = AddBand(rbDetail, 20);
    detail->SetForceNewPage(true);
    AddText<TQRExpr>(detail, QStringLiteral("NAME"), 0, 0, 100);
    AddText<TQRExpr>(detail, QStringLiteral("FORMATNUMERIC('0.00', PRICE)"), 300, 0, 100)->SetAlignment(taRightJustify);
    report->ExportToFilter(QRExportFilterLibrary.Filters()[0].CreateFilter(file));

    const QString text = ReadAll(file);
    const QStringList pages = text.split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), 2) << text.toStdString();
    const QStringList first = pages[0].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(first.size(), 2) << text.toStdString();
    // Centred on the page's width; the amount ends where the element ends.
    const double cell = TQRTextExportFilter::CellWidth(10);
    const int width = qRound(PixelsToTenthMM(report->PageWidthPx()) / cell);
    const int titleMid = first[0].indexOf(QLatin1String("Orders")) + 3;
    EXPECT_NEAR(titleMid, width / 2, 2);
    EXPECT_TRUE(first[1].trimmed().startsWith(QLatin1String("Item1")));
    EXPECT_TRUE(first[1].endsWith(QLatin1String("1.50")));
    const int end = qRound(PixelsToTenthMM(report->LeftMarginPx() + 400) / cell);
    EXPECT_NEAR(first[1].size(), end, 1);
    EXPECT_TRUE(pages[1].contains(QLatin1String("Item2")));
    EXPECT_FALSE(pages[1].contains(QLatin1String("Orders")));
}

// A text filter started on an A4 page in a 10 point font, writing a file of its own.
class TextExportFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        font.SetSize(10);
        filter.Start(2100, 2970, &font);
    }
    // Ends the last page and the file, and gives what was written.
    QString Written()
    {
        filter.EndPage();
        filter.Finish();
        return ReadAll(file);
    }

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.txt"));
    TQRTextExportFilter filter{file};
    TFont font;
    const double cell = TQRTextExportFilter::CellWidth(10);
    const double line = TQRTextExportFilter::LineHeight(10);
};

// Rows a line and a half apart stand two lines apart wherever they fall on a
// page: the distance decides, not the page's grid.
TEST_F(TextExportFilter, RowsKeepOneSpacingWhereverTheyFallOnThePage)
{
    const double tops[] = {0, 0.74, 1.85, 300, 1000.3};
    for (double top : tops) {
        filter.EndPage();
        filter.NewPage();
        filter.TextOut(0, top + 1.5 * line, &font, clWhite, taLeftJustify, QStringLiteral("b"));
        filter.TextOut(0, top, &font, clWhite, taLeftJustify, QStringLiteral("a"));
        filter.TextOut(40, top + 0.3 * line, &font, clWhite, taLeftJustify, QStringLiteral("a2"));
    }
    const QStringList pages = Written().split(QLatin1Char('\f'));
    ASSERT_EQ(pages.size(), int(std::size(tops)));
    for (const QString& page : pages) {
        const QStringList lines = page.split(QLatin1Char('\n'));
        const auto a = std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith('a'); });
        ASSERT_NE(a, lines.end());
        EXPECT_TRUE(a->contains(QLatin1String("a2"))) << page.toStdString();  // less than half a line lower
        EXPECT_EQ(lines.indexOf(QStringLiteral("b")) - (a - lines.begin()), 2) << page.toStdString();
    }
}

// Texts on one line stand in their columns, a later one over an earlier one
// where they overlap; spaces fill the gaps, and a line of blanks is empty.
TEST_F(TextExportFilter, LaterTextsCoverEarlierOnesOnALine)
{
    filter.NewPage();
    filter.TextOut(0, 0, &font, clWhite, taLeftJustify, QStringLiteral("abcdef"));
    filter.TextOut(12 * cell, 0, &font, clWhite, taRightJustify, QStringLiteral("end"));
    filter.TextOut(2 * cell, 0, &font, clWhite, taLeftJustify, QStringLiteral("XY"));
    filter.TextOut(0, 2 * line, &font, clWhite, taLeftJustify, QStringLiteral("   "));
    filter.TextOut(3 * cell, 3 * line, &font, clWhite, taLeftJustify, QStringLiteral("z"));
    EXPECT_EQ(Written(), QStringLiteral("abXYef   end\n\n\n   z\n"));
}

TEST_F(TextExportFilter, FailsLoudlyOnAFileItCannotCreate)
{
    TQRTextExportFilter unwritable(QStringLiteral("/nonexistent-folder/x.txt"));
    EXPECT_THROW(unwritable.Start(2100, 2970, &font), EInOutError);
}

}  // namespace
