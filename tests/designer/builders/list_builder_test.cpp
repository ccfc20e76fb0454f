// The list builder and QRCreateList over tables made here: which fields get
// columns, the columns' widths, places, expressions and alignment, the band
// heights, the turn to landscape, failures and refused owners.
#include "BuilderFixture.h"

#include "classes/Published.h"

namespace {

// A field whose kind reports a display width below zero.
class TNegativeWidthField : public TStringField {
    VK_CLASS(TNegativeWidthField, TStringField)
protected:
    int DefaultWidth() const override { return -4; }
};

bool HasListBuilder(const std::vector<TComponent*>& components)
{
    return std::any_of(components.begin(), components.end(),
                       [](TComponent* c) { return c->Is<TQRListBuilder>(); });
}

// The smallest count of X's wider than px in the builder's default font.
int XCountWiderThan(double px)
{
    auto* probe = New<TQRLabel>(nullptr);
    probe->Font()->SetName("Arial");
    int count = 1;
    while (XWidth(probe, count) <= px)
        ++count;
    probe->Free();
    return count;
}

// The band width of a new report's page in the orientation.
int BandWidth(TPrinterOrientation orientation)
{
    auto* report = New<TQuickRep>(nullptr);
    report->Page()->SetOrientation(orientation);
    const int width = report->BandWidthPx();
    report->Free();
    return width;
}

}  // namespace

VK_PUBLISHED(TNegativeWidthField) {}

TEST_F(BuilderTest, FieldsWithUnusableNamesGetNoColumn)
{
    auto* table = MakeTable({"A B", "A/B", "A\\B", "A&B", "A%B", "ORDER-NO", "ORDER_NO"});
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, table, "", nullptr);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(Expressions(report), std::vector<QString>{"[ORDER_NO]"});
    ASSERT_EQ(HeaderLabels(report).size(), 1u);
    EXPECT_EQ(HeaderLabels(report)[0]->Caption(), "ORDER_NO");
}

TEST_F(BuilderTest, ColumnsFollowTheListOrElseTheVisibleFieldsInOrder)
{
    auto* table = MakeTable({"ONE", "TWO", "THREE"});
    table->FieldByName("TWO")->SetVisible(false);
    const std::vector<QString> visible{"[ONE]", "[THREE]"};

    TQuickRep* all = nullptr;
    QRCreateList(all, Form, table, "", nullptr);
    EXPECT_EQ(Expressions(all), visible);

    TStringList empty;
    TQuickRep* emptyList = nullptr;
    QRCreateList(emptyList, Form, table, "", &empty);
    EXPECT_EQ(Expressions(emptyList), visible);

    TStringList listed(QStringList{"THREE", "TWO"});
    TQuickRep* chosen = nullptr;
    QRCreateList(chosen, Form, table, "", &listed);
    EXPECT_EQ(Expressions(chosen), (std::vector<QString>{"[THREE]", "[TWO]"}));
}

TEST_F(BuilderTest, ColumnWidthComesFromDisplayWidthAndTheDetailFollowsTheHeader)
{
    auto* table = MakeTable({"NAME", "NOTE", "CODE"});
    TField* name = table->FieldByName("NAME");
    name->SetDisplayLabel("A display name far longer than ten characters");
    table->FieldByName("NOTE")->SetDisplayWidth(0);
    table->FieldByName("CODE")->SetDisplayWidth(3);
    table->FieldByName("CODE")->SetAlignment(taRightJustify);
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, table, "", nullptr);

    auto labels = HeaderLabels(report);
    auto exprs = DetailExprs(report);
    ASSERT_EQ(labels.size(), 3u);
    ASSERT_EQ(exprs.size(), 3u);
    const int widths[] = {10, 0, 3};
    const TAlignment alignments[] = {taLeftJustify, taLeftJustify, taRightJustify};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(labels[i]->Size().width(), XWidth(labels[i], widths[i]));
        EXPECT_FALSE(labels[i]->AutoSize());
        EXPECT_TRUE(labels[i]->Frame()->DrawBottom());
        EXPECT_EQ(exprs[i]->Size().left(), labels[i]->Size().left());
        EXPECT_EQ(exprs[i]->Size().width(), labels[i]->Size().width());
        EXPECT_FALSE(exprs[i]->AutoSize());
        EXPECT_EQ(exprs[i]->Alignment(), alignments[i]);
        if (i > 0) {
            EXPECT_GT(labels[i]->Size().left(), labels[i - 1]->Size().right());
        }
    }
    EXPECT_EQ(labels[0]->Caption(), name->DisplayName());
    EXPECT_EQ(labels[1]->Caption(), "NOTE");
}

TEST_F(BuilderTest, DisplayWidthBelowZeroSizesFromAnEmptyCaption)
{
    auto* table = New<TMemoryTable>(Form);
    table->Data.Defs = {{"NEG", ftString, 5, 0}};
    auto* field = New<TNegativeWidthField>(table);
    field->SetFieldName("NEG");
    field->SetDataSet(table);
    table->Open();
    ASSERT_LT(field->DisplayWidth(), 0);
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, table, "", nullptr);
    ASSERT_EQ(HeaderLabels(report).size(), 1u);
    EXPECT_EQ(HeaderLabels(report)[0]->Size().width(), XWidth(HeaderLabels(report)[0], 0));
    EXPECT_EQ(HeaderLabels(report)[0]->Caption(), "NEG");
}

TEST_F(BuilderTest, NewBandsAreOneAndAHalfRowsHigh)
{
    ASSERT_EQ(TQRCustomBand::DefaultHeight, 40);
    TQuickRep* none = nullptr;
    QRCreateList(none, Form, MakeTable({"A-B"}), "", nullptr);
    // two thirds of 40 rounds to 27; 1.5 times 27 is 40.5, which rounds to even
    EXPECT_EQ(Band(none, rbDetail)->BandHeight(), 40);
    EXPECT_EQ(Band(none, rbColumnHeader)->BandHeight(), 40);
    EXPECT_TRUE(HeaderLabels(none).empty());

    TQuickRep* some = nullptr;
    QRCreateList(some, Form, MakeTable({"A", "B"}), "", nullptr);
    const double row = HeaderLabels(some).back()->Size().height();
    EXPECT_EQ(Band(some, rbDetail)->BandHeight(), RoundPx(row * 1.5));
    EXPECT_EQ(Band(some, rbColumnHeader)->BandHeight(), RoundPx(row * 1.5));
}

TEST_F(BuilderTest, HandedInReportKeepsItsOwnPartsAndGetsTheColumns)
{
    auto* table = MakeTable({"A"});
    auto* report = New<TQuickRep>(Form);
    report->SetParent(Form);
    report->SetReportTitle("Mine");
    report->Bands()->SetHasDetail(true);
    Band(report, rbDetail)->SetBandHeight(100);
    TQuickRep* variable = report;
    QRCreateList(variable, Form, table, "Ignored", nullptr);
    EXPECT_EQ(variable, report);
    EXPECT_EQ(report->ReportTitle(), "Mine");
    EXPECT_TRUE(report->Visible());
    EXPECT_FALSE(report->Bands()->HasTitle());
    EXPECT_FALSE(report->Bands()->HasPageFooter());
    EXPECT_EQ(report->DataSet(), table);
    EXPECT_EQ(Band(report, rbDetail)->BandHeight(), 100);
    EXPECT_EQ(Band(report, rbColumnHeader)->BandHeight(),
              RoundPx(HeaderLabels(report).back()->Size().height() * 1.5));
    EXPECT_EQ(Expressions(report), std::vector<QString>{"[A]"});
    EXPECT_EQ(report->Name(), "QuickRep1");
}

TEST_F(BuilderTest, TooWideColumnsTurnThePageThenAreDropped)
{
    auto* table = MakeTable({"WIDE", "HUGE", "NARROW"});
    const int portraitBand = BandWidth(poPortrait);
    const int landscapeBand = BandWidth(poLandscape);
    table->FieldByName("WIDE")->SetDisplayWidth(XCountWiderThan(portraitBand));
    table->FieldByName("HUGE")->SetDisplayWidth(XCountWiderThan(landscapeBand));
    table->FieldByName("NARROW")->SetDisplayWidth(4);
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, table, "", nullptr);
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);
    EXPECT_EQ(Band(report, rbDetail)->Size().width(), landscapeBand);
    EXPECT_EQ(Expressions(report), (std::vector<QString>{"[WIDE]", "[NARROW]"}));
    auto labels = HeaderLabels(report);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_GT(labels[0]->Size().right(), portraitBand);
    EXPECT_EQ(labels[1]->Caption(), "NARROW");
    EXPECT_LE(DetailExprs(report)[1]->Size().right(), landscapeBand);
}

TEST_F(BuilderTest, BuilderSetToLandscapeNeverTurnsAHandedInPortraitPage)
{
    auto* table = MakeTable({"WIDE", "NARROW"});
    table->FieldByName("WIDE")->SetDisplayWidth(XCountWiderThan(BandWidth(poPortrait)));
    auto* report = New<TQuickRep>(Form);
    auto* builder = New<TQRListBuilder>(Form);
    builder->SetOrientation(poLandscape);
    builder->Report = report;
    builder->DataSet = table;
    builder->SetActive(true);
    EXPECT_EQ(builder->FetchReport(), report);
    builder->Free();
    EXPECT_EQ(report->Page()->Orientation(), poPortrait);
    EXPECT_EQ(Expressions(report), std::vector<QString>{"[NARROW]"});
}

TEST_F(BuilderTest, WithoutDataSetNothingIsBuiltOrLeftBehind)
{
    const auto before = OwnedByForm();
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, nullptr, "T", nullptr);
    EXPECT_EQ(report, nullptr);
    EXPECT_EQ(OwnedByForm(), before);

    auto* existing = New<TQuickRep>(Form);
    report = existing;
    QRCreateList(report, Form, nullptr, "T", nullptr);
    EXPECT_EQ(report, existing);
    EXPECT_TRUE(existing->BandList().empty());
    EXPECT_TRUE(existing->Name().isEmpty());
    EXPECT_EQ(Form->ComponentCount(), static_cast<int>(before.size()) + 1);
}

TEST_F(BuilderTest, UnknownFieldFreesAReportMadeForTheCall)
{
    auto* table = MakeTable({"ONE"});
    const auto before = OwnedByForm();
    TStringList names(QStringList{"ONE", "MISSING"});
    TQuickRep* report = nullptr;
    EXPECT_THROW(QRCreateList(report, Form, table, "T", &names), EDatabaseError);
    EXPECT_EQ(report, nullptr);
    EXPECT_EQ(OwnedByForm(), before);
    EXPECT_TRUE(table->Name().isEmpty());  // the failed build named nothing
}

TEST_F(BuilderTest, UnknownFieldLeavesAHandedInReportAliveWithTheColumnsSoFar)
{
    auto* table = MakeTable({"ONE"});
    auto* report = New<TQuickRep>(Form);
    Witness->Watch(report);
    TStringList names(QStringList{"ONE", "MISSING"});
    TQuickRep* variable = report;
    EXPECT_THROW(QRCreateList(variable, Form, table, "T", &names), EDatabaseError);
    EXPECT_EQ(variable, report);
    EXPECT_FALSE(Witness->SawGo(report));
    EXPECT_EQ(Expressions(report), std::vector<QString>{"[ONE]"});
    EXPECT_FALSE(HasListBuilder(OwnedByForm()));
}

TEST_F(BuilderTest, OwnerMustBeAWindowedControl)
{
    auto* table = MakeTable({"ONE"});
    TComponent* plain = New<TComponent>(nullptr);
    TQuickRep* report = nullptr;
    EXPECT_THROW(QRCreateList(report, plain, table, "T", nullptr), EComponentError);
    EXPECT_THROW(QRCreateList(report, nullptr, table, "T", nullptr), EComponentError);
    EXPECT_EQ(report, nullptr);
    EXPECT_EQ(plain->ComponentCount(), 0);
    plain->Free();

    auto* ownerless = New<TQuickRep>(nullptr);
    report = ownerless;
    EXPECT_THROW(QRCreateList(report, Form, table, "T", nullptr), EComponentError);
    EXPECT_EQ(report, ownerless);
    EXPECT_TRUE(ownerless->BandList().empty());
    ownerless->Free();
}

TEST_F(BuilderTest, ListBuilderWithoutDataSetStaysInactive)
{
    auto* builder = New<TQRListBuilder>(Form);
    builder->SetActive(true);
    EXPECT_FALSE(builder->Active);
    EXPECT_EQ(builder->Report, nullptr);
    builder->DataSet = MakeTable({"ONE"});
    builder->SetActive(true);
    ASSERT_TRUE(builder->Active);
    builder->SetActive(true);  // no second list
    EXPECT_EQ(Expressions(builder->Report), std::vector<QString>{"[ONE]"});
    builder->Free();
}

TEST_F(BuilderTest, NewListReportIsNamedHiddenAndBoundToTheData)
{
    auto* unnamed = New<TQRLabel>(Form);
    auto* table = MakeTable({"ONE", "TWO"});
    TQuickRep* report = nullptr;
    QRCreateList(report, Form, table, "List", nullptr);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->Parent(), Form);
    EXPECT_FALSE(report->Visible());
    EXPECT_EQ(report->DataSet(), table);
    EXPECT_EQ(report->Page()->Orientation(), poPortrait);
    EXPECT_TRUE(report->ReportTitle().isEmpty());
    EXPECT_TRUE(report->Bands()->HasTitle());
    EXPECT_FALSE(HasListBuilder(OwnedByForm()));
    EXPECT_EQ(unnamed->Name(), "QRLabel1");
    EXPECT_EQ(table->Name(), "MemoryTable1");
    EXPECT_EQ(report->Name(), "QuickRep1");
    EXPECT_EQ(HeaderLabels(report)[0]->Name(), "QRLabel3");  // the title label came first
    EXPECT_EQ(DetailExprs(report)[1]->Name(), "QRExpr2");
    for (TComponent* c : OwnedByForm())
        EXPECT_FALSE(c->Name().isEmpty()) << c->ClassName().toStdString();
}
