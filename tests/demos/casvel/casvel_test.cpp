// Casvel driven as a user drives it: the main block's forms, the speed
// buttons, clicks on the sample orders report, typing into the caption box,
// the dialogs answered through the modal seam, and what the edited report
// previews and prints.
#include "KeyboardDriver.h"
#include "demos/DemoDriver.h"
#include "UserInput.h"
#include "Unit1.h"
#include "Unit2.h"

#include "designer/VornakMain.h"
#include "dialogs/Dialogs.h"
#include "engine/preview/PreviewForm.h"

#include <QFile>
#include <QLineEdit>
#include <set>
#include <gtest/gtest.h>

namespace {

class Casvel : public ::testing::Test {
protected:
    // As the main block and Application.Run: both forms, the window shown.
    void SetUp() override
    {
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Form1->Show();
        Application->ProcessMessages();
    }
    // As the end of the run: the last created form first.
    void TearDown() override
    {
        Free(Form2);
        Free(Form1);
        Form2 = nullptr;
        Form1 = nullptr;
    }
    TVornak* V() const { return Form1->Vornak1; }
    void HandOver() { Form1->SpeedButton10->Click(); }
    // Clicks an element of the report, as the user selects it.
    void Select(TControl* element) { ClickInReport(V(), element); }
    bool CaptionBoxShown() const { return Form1->Panel2->Visible(); }
};

TEST_F(Casvel, StartsWithoutReportAndTheButtonsThatNeedOneDoNothing)
{
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_EQ(V()->Report(), nullptr);
    EXPECT_EQ(V()->FileName, "Untitled");
    EXPECT_EQ(V()->BasePanel(), Form1->Panel1);
    EXPECT_EQ(V()->LabelBar(), Form1->Panel2);
    EXPECT_FALSE(CaptionBoxShown());
    EXPECT_FALSE(Form1->Panel3->Visible());
    EXPECT_TRUE(Form2->Table1->Active());
    EXPECT_FALSE(Form2->Visible());

    TDemoModal modal;
    for (TSpeedButton* b : {Form1->SpeedButton2, Form1->SpeedButton3, Form1->SpeedButton4, Form1->SpeedButton5})
        b->Click();
    // a change of the box's text by code with nothing selected
    Form1->Edit1->SetText(QStringLiteral("no element"));
    EXPECT_TRUE(modal.Requests.empty());
    EXPECT_TRUE(Modal::Messages().isEmpty());
    EXPECT_EQ(V()->Report(), nullptr);
}

TEST_F(Casvel, HandsTheSampleReportOverOnceAndEditsItInPlace)
{
    HandOver();
    TQuickRep* report = Form2->QuickRep1;
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(V()->Report(), report);
    EXPECT_EQ(ReportForm, Form2);
    EXPECT_EQ(report->Parent(), V()->ReportPanel);
    const int owned = Form2->ComponentCount();

    // the second hand-over leaves the report, its table and the selection alone
    Select(Form2->QRLabel3);
    HandOver();
    EXPECT_EQ(V()->Report(), report);
    EXPECT_EQ(Form2->QuickRep1, report);
    EXPECT_NE(Form2->Table1, nullptr);
    EXPECT_EQ(Form2->ComponentCount(), owned);
    EXPECT_EQ(V()->Active(), Form2->QRLabel3);
    EXPECT_TRUE(CaptionBoxShown());
}

TEST_F(Casvel, SelectedLabelsShowTheirCaptionWhichTypingChanges)
{
    HandOver();
    Select(Form2->QRLabel1);
    EXPECT_TRUE(CaptionBoxShown());
    EXPECT_EQ(Form1->Edit1->Text(), "Vornak ");

    // every keystroke reaches the label on the report
    TypeInto(Form1->Edit1, QStringLiteral("ok"));
    EXPECT_EQ(Form2->QRLabel1->Caption(), "Vornak ok");
    Form1->Edit1->SetText(QStringLiteral("Orders of 1994"));
    EXPECT_EQ(Form2->QRLabel1->Caption(), "Orders of 1994");

    Select(Form2->QRLabel4);
    EXPECT_EQ(Form1->Edit1->Text(), "SaleDate");
    EXPECT_EQ(Form2->QRLabel1->Caption(), "Orders of 1994");

    // a band, an expression and the report hide the box, which keeps its text
    // (the band where its elements leave a gap)
    const std::pair<TControl*, QPoint> others[] = {
        {Form2->DetailBand1, QPoint(78, 7)}, {Form2->QRExpr2, QPoint(3, 3)},
        {Form2->QRSysData1, QPoint(3, 3)}, {Form2->QuickRep1, QPoint(3, 3)}};
    for (auto [other, at] : others) {
        ClickInReport(V(), other, at);
        EXPECT_EQ(V()->Active(), other);
        EXPECT_FALSE(CaptionBoxShown()) << other->Name().toStdString();
        EXPECT_EQ(Form1->Edit1->Text(), "SaleDate");
    }
    EXPECT_EQ(Form2->QRLabel4->Caption(), "SaleDate");
    EXPECT_FALSE(Form1->Panel3->Visible());
}

TEST_F(Casvel, TypingInsideTheCaptionBoxKeepsTheCursorWhereTheKeysPutIt)
{
    HandOver();
    Select(Form2->QRLabel3);
    auto* box = static_cast<QLineEdit*>(Form1->Edit1->Widget());
    ASSERT_EQ(box->text(), "CustNo");
    FocusOn(box);
    CursorAfter(box, 3);
    QTest::keyClicks(box, "ZW");
    EXPECT_EQ(box->text(), "CusZWtNo");
    EXPECT_EQ(box->cursorPosition(), 5);
    EXPECT_EQ(Form2->QRLabel3->Caption(), "CusZWtNo");
    Undo(box);
    EXPECT_EQ(box->text(), "CustNo");
    EXPECT_EQ(Form2->QRLabel3->Caption(), "CustNo");
}

TEST_F(Casvel, TextForAnElementOfAnotherClassIsAnInvalidCastShownByTheDefaultHandler)
{
    HandOver();
    Select(Form2->QRExpr6);
    TDemoModal modal;
    TypeInto(Form1->Edit1, QStringLiteral("x"));
    ASSERT_EQ(Modal::Messages().size(), 1);
    EXPECT_EQ(Modal::Messages().front(), QStringLiteral("Invalid class typecast."));
    EXPECT_EQ(Form2->QRExpr6->Expression(), "[ShipToContact]");

    // the program goes on
    Select(Form2->QRLabel7);
    EXPECT_EQ(Form1->Edit1->Text(), "ShipToContact");
    TypeInto(Form1->Edit1, QStringLiteral("!"));
    EXPECT_EQ(Form2->QRLabel7->Caption(), "ShipToContact!");
}

TEST_F(Casvel, NewLabelPlacesAnExpressionWithoutTheCaptionBox)
{
    HandOver();
    const int before = int(Form2->TitleBand1->Printables().size());
    Form1->SpeedButton6->Click();
    ClickInReport(V(), Form2->TitleBand1, QPoint(500, 10));
    ASSERT_EQ(int(Form2->TitleBand1->Printables().size()), before + 1);
    TControl* placed = Form2->TitleBand1->Printables().back();
    EXPECT_EQ(placed->ClassName(), "TQRExpr");
    EXPECT_EQ(V()->Active(), placed);
    EXPECT_FALSE(CaptionBoxShown());

    // the other "new" buttons place their own classes
    const std::pair<TSpeedButton*, const char*> buttons[] = {
        {Form1->SpeedButton8, "TQRImage"}, {Form1->SpeedButton9, "TQRSysData"}, {Form1->SpeedButton7, "TQRMemo"}};
    int x = 600;
    for (auto [button, cls] : buttons) {
        button->Click();
        ClickInReport(V(), Form2->PageFooterBand1, QPoint(x += 120, 2));
        EXPECT_EQ(Form2->PageFooterBand1->Printables().back()->ClassName(), cls);
    }
}

TEST_F(Casvel, OpenAndSaveGoThroughTheDesignersDialogs)
{
    HandOver();
    Select(Form2->QRLabel2);
    Form1->Edit1->SetText(QStringLiteral("Order"));
    const QString file = ScratchPath(QStringLiteral("orders.QR"));
    {
        TDemoModal modal;
        modal.FileName = file;
        Form1->SpeedButton2->Click();
        ASSERT_EQ(modal.Requests.size(), 1u);
        EXPECT_EQ(modal.Requests[0].Kind, TModalKind::SaveDialog);
    }
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(V()->FileName, file);

    // cancelled: nothing changes
    TQuickRep* report = V()->Report();
    {
        TDemoModal modal;
        Form1->SpeedButton1->Click();
        ASSERT_EQ(modal.Requests.size(), 1u);
        EXPECT_EQ(modal.Requests[0].Kind, TModalKind::OpenDialog);
    }
    EXPECT_EQ(V()->Report(), report);
    EXPECT_EQ(Form2->QuickRep1, report);

    // confirmed: the file's report replaces the form's content, and the
    // form's field names the report read
    TDemoModal modal;
    modal.FileName = file;
    Form1->SpeedButton1->Click();
    ASSERT_NE(V()->Report(), nullptr);
    EXPECT_EQ(Form2->QuickRep1, V()->Report());
    EXPECT_EQ(ReportForm, Form2);
    EXPECT_TRUE(Modal::Messages().isEmpty());
    auto* header = dynamic_cast<TQRLabel*>(ReportForm->FindComponent(QStringLiteral("QRLabel2")));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->Caption(), "Order");
    Select(header);
    EXPECT_EQ(Form1->Edit1->Text(), "Order");
}

// The names of a band's elements, in the order the layout holds them.
QStringList ElementNames(const TQRCustomBand* band)
{
    QStringList names;
    for (const TQRPrintable* element : band->Printables())
        names << element->Name();
    return names;
}

TEST_F(Casvel, ClickedHeadersStayAndADraggedOneIsSeenWholeAboveItsNeighbour)
{
    HandOver();
    const QStringList headers = ElementNames(Form2->ColumnHeaderBand1);
    for (TControl* element : std::initializer_list<TControl*>{Form2->QRLabel2, Form2->QRExpr1}) {
        user::Click(element, QPoint(10, 5));
        EXPECT_EQ(V()->Active(), element);
    }
    // "SaleDate" dragged half across "ShipDate": its right handle shows above it
    TQRLabel* saleDate = Form2->QRLabel4;
    user::Drag(saleDate, QPoint(10, 5), QPoint(69, 5));
    ASSERT_EQ(saleDate->Left(), 224);
    const QPoint handle = saleDate->Widget()->mapTo(V()->ReportPanel->Widget(),
                                                    QPoint(saleDate->Width() - 3, saleDate->Height() / 2));
    const QImage seen = V()->ReportPanel->Grab();
    SaveForReview(seen, QStringLiteral("casvel-dragged-over-neighbour"));
    EXPECT_EQ(seen.pixelColor(handle), QColor(Qt::black));

    const QString file = ScratchPath(QStringLiteral("clicked.QR"));
    TDemoModal modal;
    modal.FileName = file;
    Form1->SpeedButton2->Click();
    Form1->SpeedButton1->Click();
    ASSERT_TRUE(Modal::Messages().isEmpty());
    EXPECT_EQ(Form2->QRLabel2->Left(), 1);
    EXPECT_EQ(Form2->QRExpr1->Left(), 1);
    EXPECT_EQ(Form2->QRLabel4->Left(), 224);
    EXPECT_EQ(ElementNames(Form2->ColumnHeaderBand1), headers);
}

TEST_F(Casvel, TheEditedReportPreviewsAndPrintsWithTheEdits)
{
    HandOver();
    Select(Form2->QRLabel1);
    Form1->Edit1->SetText(QStringLiteral("Casvel orders"));
    Select(Form2->QRLabel9);
    Form1->Edit1->SetText(QStringLiteral("Second address"));

    TDemoModal modal;
    int previewed = 0;
    modal.OnPreview = [&](TQRPreviewForm* preview) {
        ++previewed;
        ASSERT_TRUE(preview->PreparePages());
        ASSERT_GT(preview->PageCount(), 1);
        const QStringList texts = PageTexts(preview->Pages());
        // the title once, centred on its band; every page's number, whole
        EXPECT_EQ(texts.count(QStringLiteral("Casvel orders")), 1);
        EXPECT_EQ(texts.count(QStringLiteral("Second address")), preview->PageCount());
        EXPECT_FALSE(texts.contains(QStringLiteral("ShipToAddr2")));
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1").arg(preview->PageCount())));
        SaveForReview(RenderPage(preview->Pages(), 1), QStringLiteral("casvel-preview-page1"));
    };
    Form1->SpeedButton3->Click();
    EXPECT_EQ(previewed, 1);

    const QString pdf = PrintToPdf(V()->Report(), QStringLiteral("casvel-orders"));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Casvel orders")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("Second address")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("SaleDate")));

    // printer setup asks through the seam; cancelled, the settings stay
    modal.Requests.clear();
    Form1->SpeedButton5->Click();
    ASSERT_EQ(modal.Requests.size(), 1u);
    EXPECT_EQ(modal.Requests[0].Kind, TModalKind::PrinterSetupDialog);
    EXPECT_EQ(V()->Report()->PrinterSettings()->Copies, 1);
}

// The window's resource as the program's description gives it: the bar's
// buttons with their places, hints and pictures, the caption box and the
// hidden third panel.
TEST_F(Casvel, WindowCarriesItsResource)
{
    struct Speed { TSpeedButton* button; int left; int top; const char* hint; int glyphs; };
    const Speed buttons[] = {{Form1->SpeedButton10, 4, 2, "Open report form and edit it", 1},
                             {Form1->SpeedButton1, 32, 2, "Open", 1},
                             {Form1->SpeedButton2, 56, 2, "Save", 2},
                             {Form1->SpeedButton3, 88, 2, "Preview", 1},
                             {Form1->SpeedButton4, 112, 2, "Print", 2},
                             {Form1->SpeedButton5, 136, 2, "Printer setup", 1},
                             {Form1->SpeedButton6, 176, 2, "New label", 1},
                             {Form1->SpeedButton8, 200, 2, "New image", 2},
                             {Form1->SpeedButton9, 224, 2, "New Sys Data", 2},
                             {Form1->SpeedButton7, 248, 2, "New memo", 2},
                             {Form1->SpeedButton11, 8, 0, "Load image", 1},
                             {Form1->SpeedButton12, 32, 0, "Text editor", 2},
                             {Form1->SpeedButton13, 56, 0, "Sys Data", 2}};
    for (const Speed& b : buttons) {
        SCOPED_TRACE(b.hint);
        EXPECT_EQ(b.button->BoundsRect(), QRect(b.left, b.top, 25, 25));
        EXPECT_EQ(b.button->Hint(), b.hint);
        EXPECT_EQ(b.button->ShowHint(), b.button != Form1->SpeedButton13);
        EXPECT_FALSE(b.button->Flat());
        EXPECT_GT(b.button->Glyph()->Width(), 0);
        EXPECT_EQ(b.button->NumGlyphs(), b.glyphs);
        EXPECT_EQ(b.button->Parent(), b.top == 2 ? Form1->Panel1 : Form1->Panel3);
    }
    EXPECT_EQ(Form1->SpeedButton7->Tag, 2);
    EXPECT_EQ(Form1->Panel1->Height(), 30);
    EXPECT_EQ(Form1->Panel2->Height(), 26);
    EXPECT_EQ(Form1->Panel3->Height(), 26);
    EXPECT_EQ(Form1->Edit1->Parent(), Form1->Panel2);
    EXPECT_EQ(Form1->Edit1->BoundsRect(), QRect(48, 2, 481, 21));
    EXPECT_EQ(Form1->Edit1->TabOrder(), 0);
    EXPECT_EQ(Form1->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(Form1->Font()->Height(), -11);
}

// The sample orders report as its form resource gives it: a landscape A4
// page, the bands' places, the centred title, one column of header and
// detail per field, and the page number.
TEST_F(Casvel, SampleReportCarriesItsResource)
{
    EXPECT_EQ(Form2->Components(0), Form2->QuickRep1);
    EXPECT_EQ(Form2->Components(Form2->ComponentCount() - 1), Form2->Table1);
    TQuickRep* report = Form2->QuickRep1;
    EXPECT_EQ(report->DataSet(), Form2->Table1);
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);
    EXPECT_EQ(report->Page()->Width(), 297);
    EXPECT_EQ(report->Page()->Length(), 210);
    for (double margin : {report->Page()->TopMargin(), report->Page()->BottomMargin(), report->Page()->LeftMargin(),
                          report->Page()->RightMargin()})
        EXPECT_EQ(margin, 10);
    EXPECT_EQ(report->Size(), QRectF(0, 0, 1123, 794));
    EXPECT_EQ(report->Font()->Name(), "Arial");
    EXPECT_EQ(report->Font()->Height(), -11);
    EXPECT_FALSE(report->PrintIfEmpty());
    EXPECT_EQ(Form2->Table1->DatabaseName(), "DBDEMOS");
    EXPECT_EQ(Form2->Table1->TableName(), "ORDERS.DB");

    EXPECT_EQ(Form2->TitleBand1->Size(), QRectF(38, 38, 1047, 40));
    EXPECT_EQ(Form2->ColumnHeaderBand1->Size(), QRectF(38, 78, 1047, 15));
    EXPECT_EQ(Form2->DetailBand1->Size(), QRectF(38, 93, 1047, 15));
    EXPECT_EQ(Form2->PageFooterBand1->Size(), QRectF(38, 108, 1047, 22));

    TQRLabel* title = Form2->QRLabel1;
    EXPECT_EQ(title->Caption(), "Vornak ");
    EXPECT_EQ(title->Alignment(), taCenter);
    EXPECT_TRUE(title->AlignToBand());
    EXPECT_FALSE(title->AutoSize());
    EXPECT_EQ(title->Size().size(), QSizeF(10, 23));
    EXPECT_EQ(title->Font()->Size(), 14);
    EXPECT_EQ(title->Font()->Style(), TFontStyles{fsBold});

    struct Column { TQRLabel* header; TQRExpr* detail; int left; int width; const char* name; TAlignment alignment; };
    const Column columns[] = {
        {Form2->QRLabel2, Form2->QRExpr1, 1, 72, "OrderNo", taRightJustify},
        {Form2->QRLabel3, Form2->QRExpr2, 83, 72, "CustNo", taRightJustify},
        {Form2->QRLabel4, Form2->QRExpr3, 165, 72, "SaleDate", taLeftJustify},
        {Form2->QRLabel5, Form2->QRExpr4, 247, 72, "ShipDate", taLeftJustify},
        {Form2->QRLabel6, Form2->QRExpr5, 329, 72, "EmpNo", taRightJustify},
        {Form2->QRLabel7, Form2->QRExpr6, 411, 142, "ShipToContact", taLeftJustify},
        {Form2->QRLabel8, Form2->QRExpr7, 563, 212, "ShipToAddr1", taLeftJustify},
        {Form2->QRLabel9, Form2->QRExpr8, 785, 212, "ShipToAddr2", taLeftJustify}};
    for (const Column& c : columns) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.header->Parent(), Form2->ColumnHeaderBand1);
        EXPECT_EQ(c.detail->Parent(), Form2->DetailBand1);
        EXPECT_EQ(c.header->Size(), QRectF(c.left, 0, c.width, 15));
        EXPECT_EQ(c.detail->Size(), QRectF(c.left, 0, c.width, 15));
        EXPECT_EQ(c.header->Caption(), c.name);
        EXPECT_EQ(c.detail->Expression(), QStringLiteral("[%1]").arg(c.name));
        EXPECT_EQ(c.header->Alignment(), taLeftJustify);
        EXPECT_EQ(c.detail->Alignment(), c.alignment);
        EXPECT_TRUE(c.header->Frame()->DrawBottom());
        EXPECT_FALSE(c.detail->ResetAfterPrint());
        for (TQRCustomLabel* e : {static_cast<TQRCustomLabel*>(c.header), static_cast<TQRCustomLabel*>(c.detail)}) {
            EXPECT_EQ(e->Font()->Size(), 8);
            EXPECT_FALSE(e->AutoSize());
            EXPECT_TRUE(e->WordWrap());
        }
    }

    TQRSysData* pageNumber = Form2->QRSysData1;
    EXPECT_EQ(pageNumber->Data(), qrsPageNumber);
    EXPECT_EQ(pageNumber->Text(), "Page ");
    EXPECT_EQ(pageNumber->Alignment(), taRightJustify);
    EXPECT_TRUE(pageNumber->AlignToBand());
    EXPECT_EQ(pageNumber->Size().size(), QSizeF(32, 15));
    EXPECT_EQ(pageNumber->Font()->Size(), 8);
}

// The engine's own text export of the orders: one order per row, every row
// as far below the one before as on every other page.
TEST_F(Casvel, EnginesTextExportSpacesTheOrdersEvenlyOnEveryPage)
{
    const QStringList pages = ExportTextPages(Form2->QuickRep1, QStringLiteral("orders.txt"));
    ASSERT_GT(pages.size(), 1);
    std::set<int> gaps;
    int orders = 0;
    for (const QString& page : pages) {
        const QStringList lines = page.split(QLatin1Char('\n'));
        int previous = -1;
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines[i].trimmed();
            if (line.isEmpty() || !line.front().isDigit())
                continue;  // the title, the column captions, the page number
            ++orders;
            if (previous >= 0)
                gaps.insert(i - previous);
            previous = i;
        }
    }
    EXPECT_EQ(orders, Form2->Table1->RecordCount());
    EXPECT_EQ(gaps, std::set<int>{1}) << pages.first().toStdString();
}

TEST_F(Casvel, Screenshot)
{
    HandOver();
    Select(Form2->QRLabel4);
    Application->ProcessMessages();
    SaveWindowForReview(Form1, QStringLiteral("casvel"));
}

}  // namespace
