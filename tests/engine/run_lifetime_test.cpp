// What a run and its preview hold and for how long: the data sets a failing
// run opened, prepared pages that outlive their report's fonts and the
// report itself, a preview whose report goes while it is open, and the
// user's clicks arriving while the pages are being prepared.
#include "run_fixture.h"

#include "classes/Published.h"
#include "db/DbTypes.h"
#include "engine/export/ReportExport.h"
#include "engine/preview/PreviewForm.h"
#include "forms/Modal.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>

// Draws a shape and tells the test that it did.
class TProbeShape : public TQRShape {
    VK_CLASS(TProbeShape, TQRShape)
public:
    std::function<void()> OnDraw;
    void Draw(QPainter& painter, const QRectF& rect) const override
    {
        if (OnDraw)
            OnDraw();
        TQRShape::Draw(painter, rect);
    }
};
VK_PUBLISHED(TProbeShape) {}

// A data set whose records cannot be read.
class TBrokenDataSet : public TMemDataSet {
    VK_CLASS(TBrokenDataSet, TMemDataSet)
protected:
    TTableData OpenData() override { DatabaseError(QStringLiteral("the table is locked")); }
};
VK_PUBLISHED(TBrokenDataSet) {}

namespace {

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

    TQRSubDetail* second = nullptr;
    // A record that cannot be read in the middle of the report, or a data
    // set that cannot open, after another one opened.
    auto breakRecord = [&] {
        master->AfterScroll = TDataSetNotifyEvent([](TDataSet* ds) {
            if (ds->RecNo() == 6)
                throw EDatabaseError(QStringLiteral("record 6 is damaged"));
        });
    };
    auto breakTable = [&] {
        master->AfterScroll = {};
        second = static_cast<TQRSubDetail*>(AddBand(rbSubDetail));
        second->SetDataSet(New<TBrokenDataSet>(form));
    };
    for (const auto& breakIt : {std::function<void()>(breakRecord), std::function<void()>(breakTable)}) {
        breakIt();
        EXPECT_THROW(Run(), EDatabaseError);
        EXPECT_FALSE(master->Active());
        EXPECT_TRUE(found->Active());

        // The same through a preview: the failure is shown, preparing ends.
        QStringList shown;
        TModalScope scope([&](TModalRequest& request) {
            if (request.Kind == TModalKind::MessageBox) {
                shown << request.Text;
                return int(mrOk);
            }
            auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
            EXPECT_TRUE(RunEventsUntil([&] { return !shown.isEmpty(); }));
            EXPECT_FALSE(preview->Preparing());
            EXPECT_FALSE(master->Active());
            EXPECT_TRUE(found->Active());
            return int(mrCancel);
        });
        report->Preview();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith(second ? QStringLiteral("the table is locked")
                                               : QStringLiteral("record 6 is damaged")));
    }
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

// A data set that closes and opens again between two steps makes its fields
// anew: data fields and expressions print the new fields' values, and a
// field named anew is found again.
TEST_F(RunTest, FieldsMadeAnewBetweenStepsPrintTheirValues)
{
    TMemDataSet* table = Table(40);
    report->SetDataSet(table);
    TQRCustomBand* detail = AddBand(rbDetail);
    auto* field = AddText<TQRDBText>(detail, QStringLiteral("NAME"), 0);
    field->SetDataSet(table);
    AddText<TQRExpr>(detail, QStringLiteral("Table1.QTY * 2"), 150);
    TQRPreparedReport pages;
    TQRReportRunner runner(report);
    runner.Start(pages);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(runner.Step());
    table->Refresh();
    ASSERT_TRUE(runner.Step());
    field->SetDataField(QStringLiteral("GRP"));
    while (runner.Step()) {
    }
    ASSERT_TRUE(runner.Finished());
    QStringList printed;
    for (const QStringList& page : PageTexts(pages))
        printed << page;
    ASSERT_EQ(printed.size(), 80);
    // The first step begins the run and the next four print four records;
    // the sixth prints the fifth through the fields made anew. Then the group
    // shows in place of the name, beside twice the quantity throughout.
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(printed[2 * i], i < 5 ? QStringLiteral("Item%1").arg(i + 1) : QStringLiteral("G%1").arg(i / 3 + 1));
        EXPECT_EQ(printed[2 * i + 1], QString::number(2 * (i + 1)));
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

// A report on a form of its own, previewed through the modal seam in a shown
// window; the answerer runs the window's loop as the modal loop would.
class PreviewedReport : public RunTest {
protected:
    void Build(int rows)
    {
        table = Table(rows);
        report->SetDataSet(table);
        TQRCustomBand* detail = AddBand(rbDetail, 18);
        AddText<TQRExpr>(detail, QStringLiteral("NAME"), 8);
        AddText<TQRExpr>(detail, QStringLiteral("QTY"), 200)->SetAlignment(taRightJustify);
        probe = New<TProbeShape>(form);
        probe->SetParent(detail);
        probe->SetSize(QRectF(300, 2, 10, 10));
        table->AfterScroll = TDataSetNotifyEvent([this](TDataSet* ds) { scrolledTo = ds->RecNo(); });
        probe->OnDraw = [this] { drawn = table->RecNo(); };
        AddText<TQRSysData>(AddBand(rbPageFooter, 20), QStringLiteral("Page "))->SetData(qrsPageNumber);
    }
    void FreeTheReportWhileShown(bool whilePreparing);
    // Every page there, or the window closed while they came.
    static bool Prepared(TQRPreviewForm* preview)
    {
        return !preview->Preparing() && (preview->PageCount() > 0 || preview->ModalResult() != mrNone);
    }

    TMemDataSet* table = nullptr;
    TProbeShape* probe = nullptr;
    int scrolledTo = 0;  // the record the run moved to last
    int drawn = 0;       // the record whose detail was drawn last
};

// The report goes while its preview is open, with the pages still coming or
// all there: the window keeps the pages it has, pages through them, zooms
// and paints them; what needs the report does nothing.
void PreviewedReport::FreeTheReportWhileShown(bool whilePreparing)
{
    Build(300);
    PreviewShown([&](TQRPreviewForm* preview) {
        ASSERT_TRUE(RunEventsUntil([&] { return preview->PageCount() > 1 && preview->Preparing() == whilePreparing; }));
        const int pages = preview->PageCount();
        const QImage first = ShownPage(preview);
        FreeAndNil(form);  // the report, its bands and its table with it

        EXPECT_EQ(preview->Report(), nullptr);
        EXPECT_FALSE(preview->Preparing());
        QCoreApplication::processEvents();
        EXPECT_EQ(preview->PageCount(), pages);
        EXPECT_EQ(ShownPage(preview), first);
        ClickButton(PreviewButton(preview, QStringLiteral(">")));
        EXPECT_EQ(preview->CurrentPage(), 2);
        ClickButton(PreviewButton(preview, QStringLiteral("+")));
        ClickButton(PreviewButton(preview, QStringLiteral("Fit width")));
        EXPECT_NE(ShownPage(preview), first);
        ClickButton(PreviewButton(preview, QStringLiteral("Print")));
        ClickButton(PreviewButton(preview, QStringLiteral("Printer setup")));
        EXPECT_EQ(preview->PageCount(), pages);
        ClickButton(PreviewButton(preview, QStringLiteral("Close")));
        EXPECT_EQ(preview->ModalResult(), mrCancel);
    });
}

TEST_F(PreviewedReport, AReportThatGoesWhilePagesComeLeavesThePreviewItsPages)
{
    FreeTheReportWhileShown(true);
}

TEST_F(PreviewedReport, AReportThatGoesAfterThePagesCameLeavesThePreviewItsPages)
{
    FreeTheReportWhileShown(false);
}

// A click that comes while the pages are being prepared waits until the
// record being printed is done: its action never runs inside a half-printed page.
TEST_F(PreviewedReport, ClicksWhilePreparingRunBetweenRecords)
{
    Build(300);
    const int pages = Run().PageCount();
    for (const QString& button : {QStringLiteral(">"), QStringLiteral("Close")}) {
        SCOPED_TRACE(button.toStdString());
        PreviewShown([&](TQRPreviewForm* preview) {
            QAbstractButton* clicked = PreviewButton(preview, button);
            int pagesAtClick = -1;
            bool halfPrinted = true;
            QObject::connect(clicked, &QAbstractButton::clicked, [&] {
                pagesAtClick = preview->PageCount();
                halfPrinted = drawn != scrolledTo;
            });
            // The user clicks while the tenth record prints.
            probe->OnDraw = [&] {
                drawn = table->RecNo();
                if (drawn == 10)
                    PostClick(clicked);
            };
            ASSERT_TRUE(RunEventsUntil([&] { return Prepared(preview); }));
            ASSERT_GE(pagesAtClick, 0);
            EXPECT_FALSE(halfPrinted) << "scrolled to " << scrolledTo << ", drawn " << drawn;
            if (button == QStringLiteral("Close")) {
                EXPECT_EQ(preview->ModalResult(), mrCancel);
                EXPECT_LT(preview->PageCount(), pages);
            } else {
                EXPECT_EQ(preview->PageCount(), pages);
                EXPECT_EQ(preview->CurrentPage(), std::min(2, pagesAtClick));
            }
            EXPECT_FALSE(table->Active());
            probe->OnDraw = {};
        });
    }
}

}  // namespace
