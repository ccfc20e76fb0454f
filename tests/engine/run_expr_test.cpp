// Expression elements in running reports: empty ones print nothing.
#include "run_fixture.h"

namespace {

TEST_F(RunTest, ExpressionElementsWithoutAnExpressionPrintNothing)
{
    report->SetDataSet(Table(1));
    TQRCustomBand* detail = AddBand(rbDetail, 100);
    AddText<TQRExpr>(detail, QString(), 0, 0);
    AddText<TQRExpr>(detail, QStringLiteral(" \t "), 0, 20);
    AddText<TQRExpr>(detail, QStringLiteral("NAME"), 0, 40);
    AddText<TQRExpr>(detail, QStringLiteral("( )"), 0, 60, 600);  // still a wrong expression
    const auto texts = PageTexts(Run());
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].size(), 2);
    EXPECT_EQ(texts[0].value(0), "Item1");
    EXPECT_TRUE(texts[0].value(1).startsWith("Error in expression '( )' at position 3")) << texts[0].value(1).toStdString();
}

}  // namespace
