// The framework builder: a new report's furnishing, its lifecycle through
// activation, FetchReport and freeing, naming, and owners it refuses.
#include "BuilderFixture.h"

#include "UserInput.h"
#include "controls/ExtCtrls.h"
#include "designer/Vornak.h"
#include "engine/Resources.h"

#include <algorithm>

namespace {
TQRBuilder* ActiveBuilder(TComponent* owner, const QString& title)
{
    auto* builder = New<TQRBuilder>(owner);
    builder->SetTitle(title);
    builder->SetActive(true);
    return builder;
}
}  // namespace

TEST_F(BuilderTest, FrameworkIsHiddenReportWithTitleAndPageNumber)
{
    auto* builder = New<TQRBuilder>(Form);
    builder->Font->SetSize(11);
    builder->SetOrientation(poLandscape);
    builder->SetTitle("Orders");
    builder->SetActive(true);
    TQuickRep* report = builder->Report;
    ASSERT_NE(report, nullptr);
    EXPECT_TRUE(builder->Active);
    EXPECT_EQ(report->Owner(), Form);
    EXPECT_EQ(report->Parent(), Form);
    EXPECT_FALSE(report->Visible());
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);
    EXPECT_EQ(report->Font()->Name(), "Arial");
    EXPECT_EQ(report->Font()->Size(), 11);
    EXPECT_NE(report->Font(), builder->Font.get());
    EXPECT_TRUE(report->ReportTitle().isEmpty());  // the title shows only in its band

    ASSERT_TRUE(report->Bands()->HasTitle());
    auto title = Band(report, rbTitle)->Printables();
    ASSERT_EQ(title.size(), 1u);
    auto* label = dynamic_cast<TQRLabel*>(title[0]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "Orders");
    EXPECT_EQ(label->Alignment(), taCenter);
    EXPECT_TRUE(label->AlignToBand());
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->Font()->Size(), 14);
    EXPECT_EQ(label->Font()->Style(), TFontStyles{fsBold});

    TQRCustomBand* footer = Band(report, rbPageFooter);
    ASSERT_NE(footer, nullptr);
    auto footerElements = footer->Printables();
    ASSERT_EQ(footerElements.size(), 1u);
    auto* pageNumber = dynamic_cast<TQRSysData*>(footerElements[0]);
    ASSERT_NE(pageNumber, nullptr);
    EXPECT_EQ(pageNumber->Data(), qrsPageNumber);
    EXPECT_EQ(pageNumber->Alignment(), taRightJustify);
    EXPECT_TRUE(pageNumber->AlignToBand());
    EXPECT_EQ(pageNumber->Text(), LoadStr(62787) + " ");
    EXPECT_EQ(footer->BandHeight(), RoundPx(pageNumber->Size().height() * 1.5));

    // a plain builder names nothing
    EXPECT_TRUE(report->Name().isEmpty());
    EXPECT_TRUE(label->Name().isEmpty());
    builder->Free();
}

TEST_F(BuilderTest, TheTitleLabelFitsItsTitleAndIsPickedInTheDesigner)
{
    auto* builder = ActiveBuilder(Form, "Orders of the month");
    TQuickRep* report = builder->FetchReport();
    builder->Free();
    TQRCustomBand* band = Band(report, rbTitle);
    auto* label = dynamic_cast<TQRLabel*>(band->Printables().at(0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Size().size(), label->TextExtent("Orders of the month"));
    EXPECT_GT(label->Width(), 0);
    EXPECT_DOUBLE_EQ(label->Size().center().x(), band->Size().width() / 2);
    EXPECT_FALSE(label->AutoSize());  // the centring switched it off again

    // a host edits the report: the user sees the title and picks it with a click
    Form->SetBounds(0, 0, 900, 400);
    auto* designer = New<TVornak>(Form);
    designer->SetParent(Form);
    designer->SetBounds(0, 0, 900, 400);
    designer->res(Form);
    Form->Show();
    report->Show();  // the builder leaves it hidden for its caller to show
    designer->OpenQRReport(report);
    ASSERT_EQ(designer->Report(), report);
    user::Click(label, QPoint(label->Width() / 2, label->Height() / 2));
    EXPECT_EQ(designer->Active(), label);
}

TEST_F(BuilderTest, EmptyTitleGivesNoTitleBandButStillThePageNumber)
{
    auto* builder = ActiveBuilder(Form, "");
    EXPECT_FALSE(builder->Report->Bands()->HasTitle());
    EXPECT_TRUE(builder->Report->Bands()->HasPageFooter());
    EXPECT_EQ(Band(builder->Report, rbPageFooter)->Printables().size(), 1u);
    builder->Free();
}

TEST_F(BuilderTest, ActiveBuilderPassesTitleAndOrientationOnToTheReport)
{
    auto* builder = ActiveBuilder(Form, "First");
    TQuickRep* report = builder->Report;
    const int portraitWidth = Band(report, rbPageFooter)->Size().width();
    builder->SetTitle("Second");
    builder->SetOrientation(poLandscape);
    EXPECT_EQ(report->ReportTitle(), "Second");
    EXPECT_EQ(dynamic_cast<TQRLabel*>(Band(report, rbTitle)->Printables()[0])->Caption(), "First");
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);
    EXPECT_GT(Band(report, rbPageFooter)->Size().width(), portraitWidth);
    builder->Free();
}

TEST_F(BuilderTest, FetchReportHandsOverOnceAndTheReportOutlivesTheBuilder)
{
    auto* builder = New<TQRBuilder>(Form);
    EXPECT_EQ(builder->FetchReport(), nullptr);
    builder->SetActive(true);
    TQuickRep* report = builder->Report;
    Witness->Watch(report);
    EXPECT_EQ(builder->FetchReport(), report);
    EXPECT_FALSE(builder->Active);
    EXPECT_EQ(builder->Report, nullptr);
    EXPECT_EQ(builder->FetchReport(), nullptr);
    builder->Free();
    EXPECT_FALSE(Witness->SawGo(report));
    EXPECT_EQ(report->Owner(), Form);
}

TEST_F(BuilderTest, DeactivatingOrFreeingDiscardsTheReportHeld)
{
    auto* builder = ActiveBuilder(Form, "T");
    TQuickRep* first = builder->Report;
    Witness->Watch(first);
    builder->SetActive(true);  // no change: nothing is built again
    EXPECT_EQ(builder->Report, first);
    builder->SetActive(false);
    EXPECT_TRUE(Witness->SawGo(first));
    EXPECT_EQ(builder->Report, nullptr);
    builder->SetActive(true);
    TQuickRep* second = builder->Report;
    ASSERT_NE(second, nullptr);
    Witness->Watch(second);
    builder->Free();
    EXPECT_TRUE(Witness->SawGo(second));
    EXPECT_TRUE(OwnedByForm().empty());
}

TEST_F(BuilderTest, ReportFreedByOthersIsForgottenByTheBuilder)
{
    auto* builder = ActiveBuilder(Form, "T");
    builder->Report->Free();
    EXPECT_EQ(builder->Report, nullptr);
    EXPECT_FALSE(builder->Active);
    builder->Free();
}

TEST_F(BuilderTest, OwnerGoingWithBuilderAndReportFreesEachOnce)
{
    TForm* other = New<TForm>(nullptr);
    TQRBuilder* builder = ActiveBuilder(other, "T");
    TQuickRep* report = builder->Report;
    Witness->Watch(builder);
    Witness->Watch(report);
    other->Free();  // must neither double-free the report nor touch a freed one
    const auto goings = [&](const TComponent* c) { return std::count(Witness->Gone.begin(), Witness->Gone.end(), c); };
    EXPECT_EQ(goings(builder), 1);
    EXPECT_EQ(goings(report), 1);
}

TEST_F(BuilderTest, OwnerThatIsNoWindowedControlIsRefusedBeforeAnythingIsMade)
{
    TComponent* plain = New<TComponent>(nullptr);
    for (TComponent* owner : {plain, static_cast<TComponent*>(nullptr)}) {
        auto* builder = New<TQRBuilder>(owner);
        EXPECT_THROW(builder->SetActive(true), EComponentError);
        EXPECT_FALSE(builder->Active);
        EXPECT_EQ(builder->Report, nullptr);
        builder->Free();
    }
    EXPECT_EQ(plain->ComponentCount(), 0);
    plain->Free();
}

TEST_F(BuilderTest, NewNameCountsPerBaseNameIgnoringCase)
{
    auto* builder = New<TQRBuilder>(Form);
    EXPECT_EQ(builder->NewName("TQRLabel"), "QRLabel1");
    EXPECT_EQ(builder->NewName("TQRLabel"), "QRLabel2");
    EXPECT_EQ(builder->NewName("TQRExpr"), "QRExpr1");
    EXPECT_EQ(builder->NewName("TQRLabel"), "QRLabel3");
    EXPECT_EQ(builder->NewName("tqrlabel"), "qrlabel4");
    ASSERT_EQ(builder->NameList->Count(), 2);
    EXPECT_EQ(builder->NameList->Strings(0), "QRLabel");
    EXPECT_EQ(static_cast<TNameCount*>(builder->NameList->Objects(0))->Count, 4);
    builder->Free();
}

TEST_F(BuilderTest, RenameObjectsNamesEveryUnnamedComponentOfTheOwner)
{
    auto* taken = New<TQRLabel>(Form);
    taken->SetName("QRLabel1");
    auto* unnamedPanel = New<TPanel>(Form);
    auto* builder = ActiveBuilder(Form, "Title");
    TQuickRep* report = builder->Report;
    auto* titleLabel = Band(report, rbTitle)->Printables()[0];
    auto* extra = New<TQRLabel>(Form);
    builder->RenameObjects();
    EXPECT_EQ(taken->Name(), "QRLabel1");
    EXPECT_EQ(unnamedPanel->Name(), "Panel1");
    EXPECT_EQ(builder->Name(), "QRBuilder1");
    EXPECT_EQ(report->Name(), "QuickRep1");
    EXPECT_EQ(titleLabel->Name(), "QRLabel2");
    EXPECT_EQ(extra->Name(), "QRLabel3");
    EXPECT_EQ(Band(report, rbTitle)->Name(), "QRBand1");
    builder->Free();
}
