// Tondrel driven as a user drives it: the launcher's buttons, the modal
// designer window answered through the modal seam (moves, zoom buttons,
// "Options", open and save), and what the launcher previews and prints after
// the designer window closed.
#include "demos/DemoDriver.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"

#include "designer/VornakMain.h"
#include "dialogs/Dialogs.h"
#include "engine/preview/PreviewForm.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class Tondrel : public ::testing::Test {
protected:
    // As the main block and Application.Run: three forms, the launcher shown.
    void SetUp() override
    {
        Application->CreateForm(Form1);
        Application->CreateForm(Form2);
        Application->CreateForm(Form3);
        Form1->Show();
        Application->ProcessMessages();
    }
    // As the end of the run: the designer window first, which takes the
    // report form it adopted with it; then the sample form if it is left.
    void TearDown() override
    {
        const bool adopted = ReportForm == Form2;
        Free(Form3);
        if (!adopted)
            Free(Form2);
        Free(Form1);
        Form1 = nullptr;
        Form2 = nullptr;
        Form3 = nullptr;
    }
    TVornak* V() const { return Form3->Vornak1; }
    // "Edit": the designer window shows modally; designing runs while it is
    // shown, and the window closes when it returns.
    void Edit(const std::function<void()>& designing)
    {
        int shown = 0;
        modal.OnForm = [&](TCustomForm* form) {
            if (form != Form3)
                return int(mrCancel);  // a dialog of the designer: cancelled
            ++shown;
            designing();
            return int(mrOk);
        };
        Form1->Button3->Click();
        modal.OnForm = nullptr;
        EXPECT_EQ(shown, 1);
    }
    // "Preview" in the launcher; returns the texts of the pages shown.
    QStringList LauncherPreview(const QString& reviewPicture = QString())
    {
        QStringList texts;
        modal.OnPreview = [&](TQRPreviewForm* preview) {
            ASSERT_TRUE(preview->PreparePages());
            texts = PageTexts(preview->Pages());
            pages = preview->PageCount();
            firstPage = preview->Pages().Page(0).Texts;
            firstPicture = RenderPage(preview->Pages(), 1);
            if (!reviewPicture.isEmpty())
                SaveForReview(firstPicture, reviewPicture);
        };
        Form1->Button1->Click();
        modal.OnPreview = nullptr;
        return texts;
    }
    // The x of the first page's text, -1 when it is not there.
    double XOf(const QString& text) const
    {
        for (const TQRPageText& t : firstPage)
            if (t.Text == text)
                return t.X;
        return -1;
    }
    void ResizeWindow(int width, int height)
    {
        Form3->SetClientWidth(width);
        Form3->SetClientHeight(height);
    }
    int Animals() const { return Form2->Table1->RecordCount(); }
    QString FirstAnimal() const
    {
        Form2->Table1->First();
        return Form2->Table1->FieldByName(QStringLiteral("NAME"))->AsString();
    }

    TDemoModal modal;
    int pages = 0;
    std::vector<TQRPageText> firstPage;
    QImage firstPicture;
};

TEST_F(Tondrel, TheLauncherPreviewsAndPrintsOneAnimalPerPage)
{
    ASSERT_GT(Animals(), 1);
    const QString name = FirstAnimal();
    const QStringList texts = LauncherPreview(QStringLiteral("tondrel-preview-page1"));
    EXPECT_EQ(pages, Animals());
    EXPECT_TRUE(texts.contains(name));
    // the page header on every page, the first included; the title once
    EXPECT_EQ(texts.count(QStringLiteral("Report Demo2")), Animals());
    EXPECT_EQ(texts.count(QStringLiteral("See the possibility of Vornak")), 1);
    // the animal's picture fills the database image's place (the detail band
    // starts below the page header and the title, at 118)
    const QRect picture(38 + 32, 118 + 120, 150, 100);
    int painted = 0;
    for (int y = picture.top(); y <= picture.bottom(); y += 5)
        for (int x = picture.left(); x <= picture.right(); x += 5)
            painted += firstPicture.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(painted, 500);  // of 651 points

    const QString pdf = PrintToPdf(Form2->QuickRep1, QStringLiteral("tondrel-animals"));
    EXPECT_TRUE(pdf.contains(name));
    EXPECT_EQ(pdf.count(QLatin1Char('\f')), Animals());
    EXPECT_FALSE(Form3->Visible());
}

TEST_F(Tondrel, AnElementMovedInTheDesignerIsWhereTheLauncherPreviewShowsIt)
{
    LauncherPreview();
    const QString name = FirstAnimal();
    const double before = XOf(name);
    ASSERT_GE(before, 0);

    Edit([&] {
        EXPECT_EQ(Form3->QrForm, Form2);
        EXPECT_EQ(V()->Report(), Form2->QuickRep1);
        EXPECT_EQ(ReportForm, Form2);
        // the window laid the designer out below its button bar
        EXPECT_EQ(V()->Top(), 33);
        EXPECT_EQ(V()->Width(), Form3->ClientWidth());
        EXPECT_EQ(V()->ReportPanel->Height(), Form3->ClientHeight() - 33 - 93 - 16);
        ClickInReport(V(), Form2->QRDBText1);
        EXPECT_EQ(V()->Active(), Form2->QRDBText1);
        DragInReport(V(), Form2->QRDBText1, QPoint(3, 3), QPoint(43, 3));
        EXPECT_DOUBLE_EQ(Form2->QRDBText1->Size().left(), 320);
    });
    EXPECT_EQ(LauncherPreview().count(name), 1);
    EXPECT_DOUBLE_EQ(XOf(name) - before, 40);

    // later showings keep the report, its table and the move
    const TQuickRep* report = Form2->QuickRep1;
    const int owned = Form2->ComponentCount();
    Edit([&] {
        EXPECT_EQ(V()->Report(), report);
        // activated again, as after a dialog: nothing is handed over
        Form3->Deactivate();
        Form3->Activate();
        EXPECT_EQ(V()->Report(), report);
        EXPECT_EQ(Form2->ComponentCount(), owned);
        EXPECT_DOUBLE_EQ(Form2->QRDBText1->Size().left(), 320);
    });
    EXPECT_NE(Form2->Table1, nullptr);
    EXPECT_TRUE(Form2->Table1->Active());
    EXPECT_DOUBLE_EQ(Form2->QRDBText1->Size().left(), 320);
}

TEST_F(Tondrel, ZoomButtonsFitTheReportAndStayMutuallyExclusive)
{
    Edit([&] {
        TQuickRep* report = V()->Report();
        TSpeedButton* natural = Form3->SpeedButton13;
        TSpeedButton* page = Form3->SpeedButton14;
        TSpeedButton* width = Form3->SpeedButton15;
        for (TSpeedButton* b : {natural, page, width})
            EXPECT_FALSE(b->Down());

        ResizeWindow(536, 348);
        ASSERT_EQ(V()->Width(), 536);
        width->Click();
        EXPECT_EQ(report->Zoom(), 64);  // round(536 / 794 * 95)
        EXPECT_TRUE(width->Down());

        natural->Click();
        EXPECT_EQ(report->Zoom(), 100);
        EXPECT_EQ(report->Width(), 794);
        EXPECT_TRUE(natural->Down());
        EXPECT_FALSE(width->Down());

        // halves go to the even neighbour: 397 / 794 * 95 = 47.5, 1191 / 794 * 95 = 142.5
        ResizeWindow(397, 348);
        width->Click();
        EXPECT_EQ(report->Zoom(), 48);
        ResizeWindow(1191, 348);
        width->Click();
        EXPECT_EQ(report->Zoom(), 142);

        // wide but low: the height ratio; narrow but high: the width ratio
        ResizeWindow(1000, 300);
        ASSERT_EQ(V()->ReportPanel->Height(), 158);
        page->Click();
        EXPECT_EQ(report->Zoom(), 13);  // round(158 / 1123 * 95) against 120
        EXPECT_TRUE(page->Down());
        EXPECT_FALSE(width->Down());
        EXPECT_FALSE(natural->Down());
        ResizeWindow(400, 1100);
        page->Click();
        EXPECT_EQ(report->Zoom(), 48);  // round(400 / 794 * 95) against 81
        EXPECT_TRUE(page->Down());  // pressed again, it stays down

        natural->Click();
        EXPECT_EQ(report->Zoom(), 100);
        EXPECT_EQ(report->Height(), 1123);
    });
}

TEST_F(Tondrel, NewLabelPlacesAnExpressionAndTheShapeButtonAShape)
{
    Edit([&] {
        Form3->SpeedButton7->Click();
        ClickInReport(V(), Form2->SummaryBand1, QPoint(100, 10));
        ASSERT_FALSE(Form2->SummaryBand1->Printables().empty());
        EXPECT_EQ(Form2->SummaryBand1->Printables().back()->ClassName(), "TQRExpr");
        Form3->SpeedButton19->Click();
        ClickInReport(V(), Form2->SummaryBand1, QPoint(300, 10));
        EXPECT_EQ(Form2->SummaryBand1->Printables().back()->ClassName(), "TQRShape");
        EXPECT_EQ(V()->Active(), Form2->SummaryBand1->Printables().back());
    });
    EXPECT_EQ(Form2->SummaryBand1->Printables().size(), 2u);
}

TEST_F(Tondrel, OptionsSaveAndOpenUseTheDesignersOwnDialogs)
{
    const QString file = ScratchPath(QStringLiteral("animals.QR"));
    Edit([&] {
        TQuickRep* report = V()->Report();
        modal.Requests.clear();
        Form3->SpeedButton11->Click();
        ASSERT_EQ(modal.Requests.size(), 1u);
        EXPECT_EQ(modal.Requests[0].Kind, TModalKind::Form);

        modal.Requests.clear();
        modal.FileName = file;
        Form3->SpeedButton3->Click();
        ASSERT_EQ(modal.Requests.size(), 1u);
        EXPECT_EQ(modal.Requests[0].Kind, TModalKind::SaveDialog);
        EXPECT_TRUE(QFile::exists(file));

        // the open dialog cancelled: nothing changes
        modal.FileName.clear();
        Form3->SpeedButton1->Click();
        EXPECT_EQ(modal.Requests.back().Subject, Form3->OpenDialog1);
        EXPECT_EQ(V()->Report(), report);
        EXPECT_EQ(Form2->QuickRep1, report);
        EXPECT_EQ(V()->FileName, file);
    });
    // the window's own save and picture dialogs never appear
    for (const TModalRequest& r : modal.Requests) {
        EXPECT_NE(r.Subject, Form3->SaveDialog1);
        EXPECT_NE(r.Subject, Form3->OpenPictureDialog1);
    }
    EXPECT_TRUE(Modal::Messages().isEmpty());
}

TEST_F(Tondrel, WithoutAReportTheButtonsAndTheLauncherDoNothing)
{
    const QString bad = ScratchPath(QStringLiteral("bad.QR"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a layout");
    f.close();
    Edit([&] {
        modal.FileName = bad;
        Form3->SpeedButton1->Click();
        modal.FileName.clear();
        EXPECT_EQ(Modal::Messages(), QStringList{QStringLiteral("Errore durante l'apertura del report") + bad});
        EXPECT_EQ(V()->Report(), nullptr);

        modal.Requests.clear();
        for (TSpeedButton* b : {Form3->SpeedButton2, Form3->SpeedButton3, Form3->SpeedButton5, Form3->SpeedButton6,
                                Form3->SpeedButton11, Form3->SpeedButton13, Form3->SpeedButton14,
                                Form3->SpeedButton15})
            b->Click();
        EXPECT_TRUE(modal.Requests.empty());
    });
    // the sample report went with the failed open
    EXPECT_EQ(Form2->QuickRep1, nullptr);
    modal.Requests.clear();
    Form1->Button1->Click();
    Form1->Button2->Click();
    EXPECT_TRUE(modal.Requests.empty());
    EXPECT_EQ(Modal::Messages().size(), 1);
}

// The windows' resources as the program's description gives them: the
// launcher's buttons, the designer window's bar (flat buttons, the zoom group,
// the captions and their font) and the dialogs that no handler uses.
TEST_F(Tondrel, WindowsCarryTheirResources)
{
    struct Push { TButton* button; int top; const char* caption; int tabOrder; };
    for (const Push& p : {Push{Form1->Button1, 8, "Preview", 0}, {Form1->Button2, 40, "Print", 1},
                          {Form1->Button3, 72, "Edit", 2}}) {
        SCOPED_TRACE(p.caption);
        EXPECT_EQ(p.button->BoundsRect(), QRect(8, p.top, 75, 25));
        EXPECT_EQ(p.button->Caption(), p.caption);
        EXPECT_EQ(p.button->TabOrder(), p.tabOrder);
    }
    EXPECT_EQ(Form1->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(Form1->Font()->Height(), -11);

    struct Speed { TSpeedButton* button; int left; int width; int glyphs; int group; };
    const Speed bar[] = {{Form3->SpeedButton1, 8, 25, 1, 0},   {Form3->SpeedButton3, 33, 25, 2, 0},
                         {Form3->SpeedButton2, 63, 25, 1, 0},  {Form3->SpeedButton5, 88, 25, 2, 0},
                         {Form3->SpeedButton6, 113, 25, 1, 0}, {Form3->SpeedButton7, 145, 25, 1, 0},
                         {Form3->SpeedButton10, 170, 25, 2, 0}, {Form3->SpeedButton9, 195, 25, 2, 0},
                         {Form3->SpeedButton19, 220, 25, 1, 0}, {Form3->SpeedButton13, 263, 25, 1, 2},
                         {Form3->SpeedButton14, 288, 25, 1, 2}, {Form3->SpeedButton15, 313, 25, 1, 2},
                         {Form3->SpeedButton11, 353, 49, 1, 0}};
    for (const Speed& b : bar) {
        SCOPED_TRACE(b.button->Name().toStdString());
        EXPECT_EQ(b.button->Parent(), Form3->Panel1);
        EXPECT_EQ(b.button->BoundsRect(), QRect(b.left, 4, b.width, 25));
        EXPECT_TRUE(b.button->Flat());
        EXPECT_EQ(b.button->GroupIndex(), b.group);
        EXPECT_TRUE(b.button->Hint().isEmpty());
        EXPECT_EQ(b.button->ShowHint(), b.button != Form3->SpeedButton11);
        if (b.button != Form3->SpeedButton13 && b.button != Form3->SpeedButton11) {
            EXPECT_GT(b.button->Glyph()->Width(), 0);
            EXPECT_EQ(b.button->NumGlyphs(), b.glyphs);
        }
    }
    EXPECT_EQ(Form3->SpeedButton11->Caption(), "Options");
    TSpeedButton* natural = Form3->SpeedButton13;
    EXPECT_EQ(natural->Caption(), "100 %");
    EXPECT_EQ(natural->Font()->Name(), "MS Serif");
    EXPECT_EQ(natural->Font()->Height(), -8);
    EXPECT_EQ(natural->Font()->Charset(), 0);  // ANSI_CHARSET
    EXPECT_EQ(natural->Spacing(), 2);
    EXPECT_EQ(Form3->Panel1->Height(), 33);

    EXPECT_EQ(Form3->OpenDialog1->DefaultExt, "QR");
    EXPECT_EQ(Form3->OpenDialog1->Filter, "Report|*.QR");
    EXPECT_EQ(Form3->OpenDialog1->Title, "Open");
    EXPECT_EQ(Form3->SaveDialog1->DefaultExt, "QR");
    EXPECT_EQ(Form3->SaveDialog1->Filter, "Report Ilgomar|*.qr");
    EXPECT_EQ(Form3->SaveDialog1->Title, "Salva con nome");
    EXPECT_TRUE(Form3->OpenPictureDialog1->Filter.startsWith("All (*.bmp;*.ico;*.emf;*.wmf)|"));
    EXPECT_EQ(Form3->QrForm, nullptr);
}

// The sample animals report as its form resource gives it: a portrait A4
// page, the bands' places, the labels, the banner picture and the fields.
TEST_F(Tondrel, SampleReportCarriesItsResource)
{
    EXPECT_EQ(Form2->Components(0), Form2->QuickRep1);
    EXPECT_EQ(Form2->Components(Form2->ComponentCount() - 1), Form2->Table1);
    TQuickRep* report = Form2->QuickRep1;
    EXPECT_EQ(report->DataSet(), Form2->Table1);
    EXPECT_EQ(report->Page()->Orientation(), poPortrait);
    EXPECT_EQ(report->Size(), QRectF(0, 0, 794, 1123));
    EXPECT_EQ(report->Font()->Height(), -13);
    EXPECT_EQ(Form2->Table1->TableName(), "ANIMALS.DBF");

    EXPECT_EQ(Form2->PageHeaderBand1->Size(), QRectF(38, 38, 718, 40));
    EXPECT_EQ(Form2->TitleBand1->Size(), QRectF(38, 78, 718, 40));
    EXPECT_EQ(Form2->DetailBand1->Size(), QRectF(38, 118, 718, 291));
    EXPECT_EQ(Form2->SummaryBand1->Size(), QRectF(38, 409, 718, 40));
    EXPECT_TRUE(Form2->DetailBand1->ForceNewPage());
    EXPECT_TRUE(Form2->SummaryBand1->Printables().empty());

    EXPECT_EQ(Form2->QRLabel1->Caption(), "Report Demo2");
    EXPECT_EQ(Form2->QRLabel1->Size(), QRectF(328, 8, 85, 17));
    EXPECT_EQ(Form2->QRLabel2->Caption(), "See the possibility of Vornak");
    EXPECT_EQ(Form2->QRLabel2->Size(), QRectF(24, 8, 203, 17));
    for (TQRCustomLabel* label : {static_cast<TQRCustomLabel*>(Form2->QRLabel1), static_cast<TQRCustomLabel*>(Form2->QRLabel2),
                                  static_cast<TQRCustomLabel*>(Form2->QRDBText1), static_cast<TQRCustomLabel*>(Form2->QRDBText2),
                                  static_cast<TQRCustomLabel*>(Form2->QRDBText3)}) {
        EXPECT_TRUE(label->AutoSize());
        EXPECT_TRUE(label->WordWrap());
        EXPECT_EQ(label->Alignment(), taLeftJustify);
        EXPECT_EQ(label->Font()->Size(), 10);
    }

    EXPECT_EQ(Form2->QRImage1->Size(), QRectF(8, 0, 513, 105));
    EXPECT_EQ(Form2->QRImage1->Picture()->Width(), 511);
    EXPECT_EQ(Form2->QRImage1->Picture()->Height(), 108);
    EXPECT_EQ(Form2->QRDBImage1->Size(), QRectF(32, 120, 185, 153));
    EXPECT_EQ(Form2->QRDBImage1->DataField(), "BMP");
    struct Field { TQRDBText* text; int top; const char* field; };
    for (const Field& f : {Field{Form2->QRDBText1, 136, "NAME"}, {Form2->QRDBText2, 160, "AREA"},
                           {Form2->QRDBText3, 184, "SIZE"}}) {
        EXPECT_EQ(f.text->Size().topLeft(), QPointF(280, f.top));
        EXPECT_EQ(f.text->DataField(), f.field);
        EXPECT_EQ(f.text->DataSet(), Form2->Table1);
    }
}

// The engine's own text export of the animals: each page's name, area and
// size stand at the same spacing, whether the title is above them or not.
TEST_F(Tondrel, EnginesTextExportKeepsEachAnimalsLinesAtOneSpacing)
{
    const QStringList pages = ExportTextPages(Form2->QuickRep1, QStringLiteral("animals.txt"));
    ASSERT_EQ(pages.size(), Form2->Table1->RecordCount());
    QList<int> firstGaps;
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        const QStringList lines = page.split(QLatin1Char('\n'));
        // the detail's three texts are the last of the page
        QList<int> filled;
        for (int i = 0; i < lines.size(); ++i)
            if (!lines[i].trimmed().isEmpty())
                filled << i;
        ASSERT_GE(filled.size(), 3);
        const QList<int> gaps = {filled.end()[-2] - filled.end()[-3], filled.end()[-1] - filled.end()[-2]};
        if (firstGaps.isEmpty())
            firstGaps = gaps;
        EXPECT_EQ(gaps, firstGaps);
    }
}

TEST_F(Tondrel, Screenshot)
{
    SaveWindowForReview(Form1, QStringLiteral("tondrel-launcher"));
    Edit([&] {
        ClickInReport(V(), Form2->QRLabel1);
        Application->ProcessMessages();
        SaveWindowForReview(Form3, QStringLiteral("tondrel-designer"));
    });
}

}  // namespace
