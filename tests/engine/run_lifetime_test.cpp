// What a run holds and for how long: the data sets a failing run opened,
// prepared pages that outlive their report's fonts and the report itself.
#include "run_fixture.h"

#include "classes/Published.h"
#include "db/DbTypes.h"
#include "engine/export/ReportExport.h"

#include <QImage>
#include <QPainter>

// A data set whose records cannot be read.
class TBrokenDataSet : public TMemDataSet {
    VK_CLASS(TBrokenDataSet, TMemDataSet)
protected:
    TTableData OpenData() override { DatabaseError(QStringLiteral("the table is locked")); }
};
VK_PUBLISHED(TBrokenDataSet) {}

namespace {

QImage Render(const TQRPreparedReport& pages, int page = 0)
{
    QImage image(QSizeF(pages.PaperWidth, pages.PaperLength).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlayPage(pages.Pages.at(page), painter, 1);
    return image;
}

// The report font and the font of each text as an export filter gets them.
class TFontSizes : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;
    QList<int> Sizes;
    void Start(int, int, TFont* font) override { Sizes << font->Size(); }
    void TextOut(double, double, TFont* font, TColor, TAlignment, const QString&) override { Sizes << font->Size(); }
};

TEST_F(RunTest, AFailingRunClosesTheDataSetsItOpenedAndKeepsTheOthersOpen)
{
    TMemDataSet* master = Table(10);
    report->SetDataSet(master);
    TMemDataSet* found = Table(2, QStringLiteral("Found"));
    found->Open();
    AddText<TQRExpr>(AddBand(rbDetail), QStringLiteral("NAME"));
    auto* sub = static_cast<TQRSubDetail*>(AddBand(rbSubDetail));
    sub->SetDataSet(found);
    AddText<TQRExpr>(sub, QStringLiteral("QTY"));

    // A record that cannot be read in the middle of the report.
    master->AfterScroll = TDataSetNotifyEvent([](TDataSet* ds) {
        if (ds->RecNo() == 6)
            throw EDatabaseError(QStringLiteral("record 6 is damaged"));
    });
    EXPECT_THROW(Run(), EDatabaseError);
    EXPECT_FALSE(master->Active());
    EXPECT_TRUE(found->Active());

    // A data set that cannot open: those opened before it close again.
    master->AfterScroll = {};
    auto* broken = New<TBrokenDataSet>(form);
    auto* second = static_cast<TQRSubDetail*>(AddBand(rbSubDetail));
    second->SetDataSet(broken);
    EXPECT_THROW(Run(), EDatabaseError);
    EXPECT_FALSE(master->Active());
    EXPECT_TRUE(found->Active());
}

// A run in steps whose data set, element or report goes between two steps
// ends there; what it opened and still lives closes.
TEST_F(RunTest, ARunEndsWhenWhatItReadsGoesBetweenSteps)
{
    for (int gone = 0; gone < 3; ++gone) {
        SCOPED_TRACE(gone);
        TMemDataSet* master = Table(50);
        report->SetDataSet(master);
        TMemDataSet* lines = Table(2, QStringLiteral("Lines"));
        TQRCustomBand* detail = AddBand(rbDetail);
        TQRExpr* name = AddText<TQRExpr>(detail, QStringLiteral("NAME"));
        auto* sub = static_cast<TQRSubDetail*>(AddBand(rbSubDetail));
        sub->SetDataSet(lines);
        AddText<TQRExpr>(sub, QStringLiteral("QTY"));
        TQRPreparedReport pages;
        auto runner = std::make_unique<TQRReportRunner>(report);
        runner->Start(pages);
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(runner->Step());
        if (gone == 0) {
            Free(lines);
            EXPECT_FALSE(runner->Step());
            EXPECT_FALSE(master->Active());
        } else if (gone == 1) {
            Free(name);
            EXPECT_FALSE(runner->Step());
            EXPECT_FALSE(master->Active());
            EXPECT_FALSE(lines->Active());
        } else {
            FreeAndNil(form);
            EXPECT_FALSE(runner->Step());
        }
        EXPECT_FALSE(runner->Finished());
        runner.reset();
        Free(form);
        SetUp();
    }
}

TEST_F(RunTest, PreparedPagesKeepTheirFontsWhenTheReportChangesOrGoes)
{
    report->SetDataSet(Table(3));
    report->Font()->SetSize(10);
    auto* name = AddText<TQRExpr>(AddBand(rbDetail, 40), QStringLiteral("NAME"), 0, 0, 300);
    name->Font()->SetSize(16);
    const TQRPreparedReport pages = Run();
    const QImage printed = Render(pages);

    name->Font()->SetSize(30);
    name->Font()->SetColor(clRed);
    report->Font()->SetSize(20);
    EXPECT_EQ(Render(pages), printed);

    FreeAndNil(form);
    EXPECT_EQ(Render(pages), printed);
    TFontSizes sizes(QString{});
    ExportPreparedReport(pages, &sizes);
    EXPECT_EQ(sizes.Sizes, QList<int>({10, 16, 16, 16}));
}

}  // namespace
