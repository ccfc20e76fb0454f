// The report toolbar and the band toolbar: check boxes and frame buttons that
// switch parts of the report and its bands from the element's own state.
#include "ToolbarFixture.h"
#include "designer/toolbars/BandToolbar.h"
#include "designer/toolbars/QuickRepToolbar.h"

namespace {

int BandsOfType(TQuickRep* report, TQRBandType type)
{
    int n = 0;
    for (TQRCustomBand* band : report->BandList())
        n += band->BandType() == type;
    return n;
}

class QuickRepToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQuickRepToolbar>();
    }
    std::vector<TCheckBox*> Boxes() const
    {
        return {bar->PageHeaderBox, bar->TitleBox,   bar->ColumnHeaderBox,
                bar->DetailBox,     bar->SummaryBox, bar->PageFooterBox};
    }
    TQuickRepToolbar* bar = nullptr;
};

TEST_F(QuickRepToolbarTest, SixAbuttingBoxesOnAHiddenTopToolbar)
{
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(bar->Align(), alTop);
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_EQ(bar->NextX, 484);
    EXPECT_TRUE(bar->EventsOn);
    EXPECT_EQ(bar->Component, nullptr);
    const QStringList captions = {"Page header", "Title", "C. header", "Detail", "Summary", "Page footer"};
    int left = 4;
    for (int i = 0; i < 6; ++i) {
        TCheckBox* box = Boxes()[i];
        EXPECT_EQ(box->Caption(), captions[i]);
        EXPECT_EQ(box->BoundsRect(), QRect(left, 8, 80, 17)) << captions[i].toStdString();
        EXPECT_EQ(box->Hint(), "");
        EXPECT_EQ(box->Parent(), bar);
        left += 80;
    }
    bar->showform();  // the base's: nothing happens
}

TEST_F(QuickRepToolbarTest, RefreshShowsTheReportsBandsAndChangesNone)
{
    for (TQRBandType type : {rbTitle, rbPageHeader, rbDetail, rbPageFooter})
        NewBand(type);
    const std::size_t bands = report->BandList().size();
    bar->SetComponent(report);
    EXPECT_TRUE(bar->PageHeaderBox->Checked());
    EXPECT_TRUE(bar->TitleBox->Checked());
    EXPECT_FALSE(bar->ColumnHeaderBox->Checked());
    EXPECT_TRUE(bar->DetailBox->Checked());
    EXPECT_FALSE(bar->SummaryBox->Checked());
    EXPECT_TRUE(bar->PageFooterBox->Checked());
    EXPECT_EQ(report->BandList().size(), bands);
    EXPECT_TRUE(bar->EventsOn);

    // nil keeps the boxes
    bar->SetComponent(nullptr);
    EXPECT_EQ(bar->Component, nullptr);
    EXPECT_TRUE(bar->EventsOn);
    EXPECT_TRUE(bar->TitleBox->Checked());

    // a report without bands clears every box, again without adding any
    auto* empty = New<TQuickRep>(host);
    bar->SetComponent(empty);
    for (TCheckBox* box : Boxes())
        EXPECT_FALSE(box->Checked()) << box->Caption().toStdString();
    EXPECT_TRUE(empty->BandList().empty());
}

TEST_F(QuickRepToolbarTest, ClicksAddAndFreeBandsOfTheBoxKind)
{
    bar->SetComponent(report);
    ClickBox(bar->SummaryBox);
    ASSERT_EQ(BandsOfType(report, rbSummary), 1);
    EXPECT_TRUE(bar->SummaryBox->Checked());
    auto* label = NewElement<TQRLabel>(report->FirstBandOfType(rbSummary));
    const int components = host->ComponentCount();
    ClickBox(bar->SummaryBox);
    EXPECT_EQ(BandsOfType(report, rbSummary), 0);
    EXPECT_FALSE(bar->SummaryBox->Checked());
    EXPECT_EQ(host->ComponentCount(), components - 2) << "the band goes with its label";
    (void)label;

    ClickBox(bar->ColumnHeaderBox);
    EXPECT_EQ(BandsOfType(report, rbColumnHeader), 1);
    ClickBox(bar->PageFooterBox);
    EXPECT_EQ(BandsOfType(report, rbPageFooter), 1);
    EXPECT_EQ(BandsOfType(report, rbSummary), 0);
    ClickBox(bar->PageHeaderBox);
    ClickBox(bar->TitleBox);
    ClickBox(bar->DetailBox);
    for (TQRBandType type : {rbPageHeader, rbTitle, rbDetail})
        EXPECT_EQ(BandsOfType(report, type), 1);
}

TEST_F(QuickRepToolbarTest, AClickSwitchesTheReportsStateOnceWhateverTheBoxShowed)
{
    bar->SetComponent(report);
    // a title band added another way while the box shows none
    report->Bands()->SetHasTitle(true);
    ClickBox(bar->TitleBox);
    EXPECT_EQ(BandsOfType(report, rbTitle), 0);
    EXPECT_FALSE(bar->TitleBox->Checked());

    // two bands of a kind: unchecking frees the first, the second keeps the box checked
    NewBand(rbDetail);
    NewBand(rbDetail);
    bar->SetComponent(report);
    ClickBox(bar->DetailBox);
    EXPECT_EQ(BandsOfType(report, rbDetail), 1);
    EXPECT_TRUE(bar->DetailBox->Checked());
}

TEST_F(QuickRepToolbarTest, BoxesDoNothingWhileEventsAreOffOrTheReportIsGone)
{
    bar->SetComponent(report);
    bar->EventsOn = false;
    ClickBox(bar->SummaryBox);
    EXPECT_EQ(BandsOfType(report, rbSummary), 0);
    bar->EventsOn = true;

    report->Free();
    report = nullptr;
    EXPECT_EQ(bar->Component, nullptr);
    ClickBox(bar->TitleBox);  // must not reach the freed report
}

TEST_F(QuickRepToolbarTest, Screenshot)
{
    NewBand(rbTitle);
    NewBand(rbDetail);
    bar->SetComponent(report);
    Screenshot(bar, "report_toolbar");
}

class BandToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQRCustomBandToolbar>();
    }
    TQRCustomBandToolbar* bar = nullptr;
};

TEST_F(BandToolbarTest, Layout)
{
    TLabel* label = bar->BandNameLabel;
    EXPECT_EQ(label->Left(), 12);
    EXPECT_EQ(label->Width(), 90);
    EXPECT_EQ(label->Top(), (30 - label->Height()) / 2);
    EXPECT_GT(label->Height(), 10);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->Font()->Size(), 10);
    EXPECT_FALSE(label->AutoSize());
    EXPECT_EQ(label->Caption(), "");

    const TSpeedButton* buttons[] = {bar->FrameLeftButton, bar->FrameTopButton, bar->FrameBottomButton,
                                     bar->FrameRightButton};
    const QStringList hints = {"Left Frame", "Top Frame", "Bottom Frame", "Right Frame"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->BoundsRect(), QRect(110 + 24 * i, 4, 24, 24));
        EXPECT_EQ(buttons[i]->Hint(), hints[i]);
        EXPECT_EQ(buttons[i]->GroupIndex(), i + 1);
        EXPECT_TRUE(buttons[i]->AllowAllUp());
        EXPECT_FALSE(buttons[i]->Glyph()->Empty());
        EXPECT_EQ(buttons[i]->Caption(), "");
    }
    EXPECT_EQ(bar->ChildBox->BoundsRect(), QRect(206, 8, 80, 17));
    EXPECT_EQ(bar->ChildBox->Caption(), "Child");
    EXPECT_EQ(bar->NewPageBox->BoundsRect(), QRect(280, 8, 150, 17));
    EXPECT_EQ(bar->NewPageBox->Caption(), "New page");
    EXPECT_EQ(bar->NewPageBox->Parent(), bar);
    EXPECT_EQ(bar->NextX, 286);
}

TEST_F(BandToolbarTest, NamesTheBandsKindInAFixedWidth)
{
    const std::pair<TQRBandType, QString> kinds[] = {
        {rbDetail, "Detail"}, {rbGroupHeader, "Group Header"}, {rbChild, "Child"}, {rbColumnHeader, "Column Header"}};
    for (const auto& [type, name] : kinds) {
        bar->SetComponent(NewBand(type));
        EXPECT_EQ(bar->BandNameLabel->Caption(), name);
        EXPECT_EQ(bar->BandNameLabel->Width(), 90);
    }
}

TEST_F(BandToolbarTest, FrameButtonsShowAndSwitchTheirOwnSide)
{
    TQRCustomBand* band = NewBand(rbDetail);
    band->Frame()->SetDrawTop(true);
    band->Frame()->SetDrawBottom(true);
    bar->SetComponent(band);
    EXPECT_TRUE(bar->FrameTopButton->Down());
    EXPECT_TRUE(bar->FrameBottomButton->Down());
    EXPECT_FALSE(bar->FrameLeftButton->Down());
    EXPECT_FALSE(bar->FrameRightButton->Down());

    bar->FrameLeftButton->Click();
    EXPECT_TRUE(band->Frame()->DrawLeft());
    EXPECT_TRUE(bar->FrameLeftButton->Down());
    bar->FrameTopButton->Click();
    EXPECT_FALSE(band->Frame()->DrawTop());
    EXPECT_TRUE(bar->FrameLeftButton->Down()) << "each side is a group of its own";
    bar->FrameLeftButton->Click();
    EXPECT_FALSE(band->Frame()->DrawLeft());
    EXPECT_FALSE(bar->FrameLeftButton->Down());
    bar->FrameRightButton->Click();
    EXPECT_TRUE(band->Frame()->DrawRight());
    EXPECT_TRUE(band->Frame()->DrawBottom());
}

TEST_F(BandToolbarTest, ChildBoxSwitchesTheChildBandOncePerClick)
{
    TQRCustomBand* band = NewBand(rbDetail);
    bar->SetComponent(band);
    ClickBox(bar->ChildBox);
    ASSERT_NE(band->ChildBand(), nullptr);
    EXPECT_TRUE(bar->ChildBox->Checked());
    ClickBox(bar->ChildBox);
    EXPECT_EQ(band->ChildBand(), nullptr);
    EXPECT_FALSE(bar->ChildBox->Checked());

    // a child with a child of its own: the second moves up and the box stays checked
    band->SetHasChild(true);
    band->ChildBand()->SetHasChild(true);
    TQRChildBand* second = band->ChildBand()->ChildBand();
    bar->SetComponent(band);
    EXPECT_TRUE(bar->ChildBox->Checked());
    EXPECT_EQ(band->ChildBand()->ChildBand(), second) << "the refresh adds or frees no band";
    ClickBox(bar->ChildBox);
    EXPECT_EQ(band->ChildBand(), second);
    EXPECT_TRUE(bar->ChildBox->Checked());
}

TEST_F(BandToolbarTest, NewPageBoxCopiesItsStateIntoTheBand)
{
    TQRCustomBand* band = NewBand(rbDetail);
    bar->SetComponent(band);
    ClickBox(bar->NewPageBox);
    EXPECT_TRUE(band->ForceNewPage());
    ClickBox(bar->NewPageBox);
    EXPECT_FALSE(band->ForceNewPage());

    TQRCustomBand* forced = NewBand(rbTitle);
    forced->SetForceNewPage(true);
    bar->SetComponent(forced);
    EXPECT_TRUE(bar->NewPageBox->Checked());
    EXPECT_TRUE(forced->ForceNewPage());
}

TEST_F(BandToolbarTest, NilKeepsTheControlsAndAFreedBandIsForgotten)
{
    TQRCustomBand* band = NewBand(rbSummary);
    band->SetHasChild(true);
    band->Frame()->SetDrawLeft(true);
    bar->SetComponent(band);
    bar->SetComponent(nullptr);
    EXPECT_EQ(bar->Component, nullptr);
    EXPECT_TRUE(bar->EventsOn);
    EXPECT_EQ(bar->BandNameLabel->Caption(), "Summary");
    EXPECT_TRUE(bar->FrameLeftButton->Down());
    EXPECT_TRUE(bar->ChildBox->Checked());

    bar->SetComponent(band);
    band->Free();
    EXPECT_EQ(bar->Component, nullptr);
    // none of these may reach the freed band
    bar->FrameLeftButton->Click();
    ClickBox(bar->ChildBox);
    ClickBox(bar->NewPageBox);
}

TEST_F(BandToolbarTest, Screenshot)
{
    TQRCustomBand* band = NewBand(rbGroupHeader);
    band->Frame()->SetDrawTop(true);
    band->SetHasChild(true);
    bar->SetComponent(band);
    Screenshot(bar, "band_toolbar");
    bar->SetComponent(NewBand(rbColumnHeader));  // the longest kind name
    Screenshot(bar, "band_toolbar_column_header");
}

}  // namespace
