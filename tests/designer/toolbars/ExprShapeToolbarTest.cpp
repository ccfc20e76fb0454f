// The expression toolbar (the text of labels and expression elements) and
// the shape toolbar (the kind of a shape).
#include "ToolbarFixture.h"
#include "classes/Published.h"
#include "db/DataSet.h"
#include "designer/toolbars/ExprToolbar.h"
#include "designer/toolbars/ShapeToolbar.h"
#include "engine/dialogs/ExpressionBuilder.h"

// A data set of the host form: the expression builder offers its fields.
class TOrdersTable : public TDataSet {
    VK_CLASS(TOrdersTable, TDataSet)
protected:
    TTableData OpenData() override
    {
        TTableData data;
        data.Defs = {{"NAME", ftString, 20}};
        return data;
    }
};
VK_PUBLISHED(TOrdersTable) {}

namespace {

// Answers the expression builder: records what it opened with, lets the
// test work in it and returns its answer; any other modal request fails.
struct BuilderAnswer {
    struct Opened {
        QString description, text;
        QStringList fields;
    };
    std::vector<Opened> opened;
    TModalAnswerer Answer(std::function<int(TQRExpressionBuilder*)> work)
    {
        return [this, work](TModalRequest& r) {
            auto* builder = dynamic_cast<TQRExpressionBuilder*>(r.Subject);
            EXPECT_NE(builder, nullptr) << "only the expression builder opens";
            if (!builder)
                return int(mrCancel);
            QStringList fields;
            for (int i = 0; i < builder->Fields->Items()->Count(); ++i)
                fields << builder->Fields->Items()->Strings(i);
            opened.push_back({builder->Description->Caption(), builder->Expression->Text(), fields});
            return work(builder);
        };
    }
};

class ExprToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQRExprToolbar>();
        label = NewElement<TQRLabel>();
        label->SetCaption("Total");
        expr = NewElement<TQRExpr>();
        expr->SetExpression("SUM(Amount)");
    }
    TQRExprToolbar* bar = nullptr;
    TQRLabel* label = nullptr;
    TQRExpr* expr = nullptr;
};

TEST_F(ExprToolbarTest, LayoutAndTheTextBoxFollowingTheWidth)
{
    const TSpeedButton* buttons[] = {bar->OKButton, bar->CancelButton, bar->WizardButton};
    const QStringList hints = {"OK", "Cancel", "Expression wizard"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(buttons[i]->BoundsRect(), QRect(4 + 24 * i, 4, 24, 24));
        EXPECT_EQ(buttons[i]->Hint(), hints[i]);
        EXPECT_EQ(buttons[i]->GroupIndex(), 0);
        EXPECT_FALSE(buttons[i]->Glyph()->Empty());
    }
    EXPECT_EQ(bar->master, nullptr);
    EXPECT_EQ(bar->Edit->Left(), 76);
    EXPECT_EQ(bar->Edit->Top(), 4);
    EXPECT_EQ(bar->Edit->Parent(), bar);
    EXPECT_EQ(bar->Edit->Left() + bar->Edit->Width(), bar->Width() - 4);

    bar->SetWidth(500);
    EXPECT_EQ(bar->Edit->Width(), 420);
    bar->Show();
    host->SetWidth(700);  // the top alignment resizes the toolbar with its parent
    EXPECT_EQ(bar->Width(), host->ClientWidth());
    EXPECT_EQ(bar->Edit->Width(), bar->Width() - 80);
    bar->SetAlign(alNone);
    bar->SetWidth(60);
    EXPECT_EQ(bar->Edit->Width(), 0);
}

TEST_F(ExprToolbarTest, EnterAppliesTheTextToALabel)
{
    bar->SetComponent(label);
    EXPECT_EQ(bar->Edit->Text(), "Total");
    bar->Edit->SetText("Grand total");
    EXPECT_EQ(Type(bar->Edit, QChar(13)), QChar(13)) << "Enter is not swallowed";
    EXPECT_EQ(label->Caption(), "Grand total");
    EXPECT_EQ(Type(bar->Edit, 'x'), QChar('x'));

    bar->Edit->SetText("");
    bar->OKButton->Click();
    EXPECT_EQ(label->Caption(), "");
}

TEST_F(ExprToolbarTest, CancelPutsTheElementsTextBack)
{
    bar->SetComponent(expr);
    EXPECT_EQ(bar->Edit->Text(), "SUM(Amount)");
    bar->Edit->SetText("COUNT");
    bar->CancelButton->Click();
    EXPECT_EQ(bar->Edit->Text(), "SUM(Amount)");
    EXPECT_EQ(expr->Expression(), "SUM(Amount)");

    bar->SetComponent(label);
    bar->Edit->SetText("changed");
    bar->CancelButton->Click();
    EXPECT_EQ(bar->Edit->Text(), "Total");

    bar->SetComponent(expr);
    bar->Edit->SetText("");
    bar->OKButton->Click();
    EXPECT_EQ(expr->Expression(), "");
}

TEST_F(ExprToolbarTest, SelectionReplacesUnappliedTextAndNilKeepsIt)
{
    auto* second = NewElement<TQRLabel>();
    second->SetCaption("Second");
    bar->SetComponent(label);
    bar->Edit->SetText("not applied");
    bar->SetComponent(second);
    EXPECT_EQ(bar->Edit->Text(), "Second");
    EXPECT_EQ(label->Caption(), "Total");
    EXPECT_EQ(second->Caption(), "Second");

    bar->Edit->SetText("typed");
    bar->SetComponent(nullptr);
    EXPECT_EQ(bar->Edit->Text(), "typed");
    EXPECT_EQ(bar->Component, nullptr);
}

TEST_F(ExprToolbarTest, WizardStartsFromTheTypedTextAndAppliesOnlyWhatItConfirms)
{
    auto* orders = New<TOrdersTable>(host);
    orders->SetName("Orders");
    orders->Open();
    bar->SetComponent(label);
    bar->Edit->SetText("typed, not applied");
    BuilderAnswer builder;
    {
        TModalScope cancel(builder.Answer([](TQRExpressionBuilder* b) {
            b->Expression->SetText("dropped");
            b->CancelButton->Click();
            return b->ModalResult();
        }));
        bar->WizardButton->Click();
    }
    ASSERT_EQ(builder.opened.size(), 1u);
    EXPECT_EQ(builder.opened[0].description, "");
    EXPECT_EQ(builder.opened[0].text, "typed, not applied");
    EXPECT_TRUE(builder.opened[0].fields.contains("Orders.NAME")) << "the data sets of the form that owns the report";
    EXPECT_EQ(bar->Edit->Text(), "typed, not applied");
    EXPECT_EQ(label->Caption(), "Total");
    {
        TModalScope confirm(builder.Answer([](TQRExpressionBuilder* b) {
            b->Expression->SetText("UPPER(");
            b->InsertField(b->Fields->Items()->IndexOf("Orders.NAME"));
            b->InsertText(")");
            b->OKButton->Click();
            return b->ModalResult();
        }));
        bar->WizardButton->Click();
    }
    EXPECT_EQ(bar->Edit->Text(), "UPPER( Orders.NAME )");
    EXPECT_EQ(label->Caption(), "UPPER( Orders.NAME )") << "a label takes the expression as literal text";

    expr->SetExpression("2 + 3");
    bar->SetComponent(expr);
    TModalScope confirm(builder.Answer([](TQRExpressionBuilder* b) {
        b->InsertText("* 2");
        b->OKButton->Click();
        return b->ModalResult();
    }));
    bar->WizardButton->Click();
    EXPECT_EQ(builder.opened.back().text, "2 + 3");
    EXPECT_EQ(expr->Expression(), "2 + 3 * 2");
}

TEST_F(ExprToolbarTest, AFreedElementIsNeverTouched)
{
    bar->SetComponent(label);
    label->Free();
    label = nullptr;
    bar->Edit->SetText("text");
    bar->OKButton->Click();
    Type(bar->Edit, QChar(13));
    bar->CancelButton->Click();
    TModalScope none([](TModalRequest&) -> int {
        ADD_FAILURE() << "no builder without an element";
        return mrOk;
    });
    bar->WizardButton->Click();
    EXPECT_EQ(bar->Edit->Text(), "text");
}

TEST_F(ExprToolbarTest, Screenshot)
{
    bar->SetComponent(expr);
    Screenshot(bar, "expression_toolbar");
}

class ShapeToolbarTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        bar = NewToolbar<TQRShapeToolbar>();
        shape = NewElement<TQRShape>();
    }
    void ExpectOnlyDown(int index)
    {
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(bar->ShapeButtons[i]->Down(), i == index) << i;
    }
    TQRShapeToolbar* bar = nullptr;
    TQRShape* shape = nullptr;
};

TEST_F(ShapeToolbarTest, SixGroupedButtonsAllUp)
{
    const QStringList hints = {"Rectangle", "Circle", "Vertical line", "Horizontal", "Top - Bottom line",
                               "Right - left line"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(bar->ShapeButtons[i]->BoundsRect(), QRect(4 + 24 * i, 4, 24, 24));
        EXPECT_EQ(bar->ShapeButtons[i]->Hint(), hints[i]);
        EXPECT_EQ(bar->ShapeButtons[i]->GroupIndex(), 1);
        EXPECT_FALSE(bar->ShapeButtons[i]->Glyph()->Empty());
    }
    EXPECT_EQ(bar->NextX, 156);
    bar->SetComponent(shape);
    ExpectOnlyDown(-1);
}

TEST_F(ShapeToolbarTest, AClickGivesTheShapeItsKindAndTheButtonsKeepTheLastChoice)
{
    bar->SetComponent(shape);
    bar->ShapeButtons[1]->Click();
    EXPECT_EQ(shape->Shape(), qrsCircle);
    ExpectOnlyDown(1);
    bar->ShapeButtons[1]->Click();
    EXPECT_EQ(shape->Shape(), qrsCircle);
    ExpectOnlyDown(1);

    const TQRShapeType kinds[] = {qrsRectangle,   qrsCircle,      qrsVertLine,
                                  qrsHorLine,     qrsTopAndBottom, qrsRightAndLeft};
    for (int i = 0; i < 6; ++i) {
        bar->ShapeButtons[i]->Click();
        EXPECT_EQ(shape->Shape(), kinds[i]);
        ExpectOnlyDown(i);
    }

    bar->ShapeButtons[1]->Click();
    auto* rectangle = NewElement<TQRShape>();
    bar->SetComponent(rectangle);
    ExpectOnlyDown(1);
    EXPECT_EQ(rectangle->Shape(), qrsRectangle);

    rectangle->Free();
    bar->ShapeButtons[3]->Click();  // no element: nothing
    EXPECT_EQ(shape->Shape(), qrsCircle);
}

TEST_F(ShapeToolbarTest, Screenshot)
{
    bar->SetComponent(shape);
    bar->ShapeButtons[1]->Click();
    Screenshot(bar, "shape_toolbar");
}

}  // namespace
