// Expression elements in running reports: empty ones print nothing; hostile
// ones (deep nesting, huge chains, numbers beyond every range) prepare,
// preview and print with their values or a clear error in their place.
#include "run_fixture.h"

#include "dialogs/Dialogs.h"
#include "engine/preview/PreviewForm.h"

#include <QProcess>
#include <QTemporaryDir>

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

class HostileExpressions : public RunTest {
protected:
    // One element per line of the detail band, one detail per record.
    void Build()
    {
        report->SetDataSet(Table(2));
        TQRCustomBand* detail = AddBand(rbDetail, 20 * double(cases_.size()));
        detail->SetForceNewPage(true);
        for (size_t i = 0; i < cases_.size(); ++i)
            AddText<TQRExpr>(detail, cases_[i].first, 0, 20 * double(i), 600)->SetWordWrap(false);
    }
    // Every case's text on every page holds what it should.
    void CheckPages(const TQRPreparedReport& pages)
    {
        const auto texts = PageTexts(pages);
        ASSERT_EQ(texts.size(), 2u);
        for (const QStringList& page : texts) {
            ASSERT_EQ(page.size(), qsizetype(cases_.size()));
            for (size_t i = 0; i < cases_.size(); ++i)
                EXPECT_TRUE(page[i].contains(cases_[i].second)) << page[i].left(200).toStdString();
        }
    }

    const std::vector<std::pair<QString, QString>> cases_ = {
        {QStringLiteral("(").repeated(10000) + "QTY" + QStringLiteral(")").repeated(10000),
         QStringLiteral("at position 201: Expression too deeply nested")},
        {QStringLiteral("-").repeated(100000) + "QTY", QStringLiteral("at position 201: Expression too deeply nested")},
        {QStringLiteral("NOT ").repeated(100000) + "TRUE", QStringLiteral("Expression too deeply nested")},
        {"QTY" + QStringLiteral("+1").repeated(60000), QStringLiteral("6000")},
        {QStringLiteral("9223372036854775807 + QTY"), QStringLiteral("9.22337203685478e+18")},
        {QStringLiteral("DIV(-9223372036854775807 - QTY, -1)"), QStringLiteral("9.22337203685478e+18")},
        {QStringLiteral("INT(1e300 * QTY)"), QStringLiteral("e+300")},
        {QStringLiteral("DATE - 1E111 * QTY"), QStringLiteral("at position 6: Date out of range")},
    };
};

TEST_F(HostileExpressions, PrepareWithTheirValuesOrAClearError)
{
    Build();
    CheckPages(Run());
}

TEST_F(HostileExpressions, PreviewAndPrint)
{
    Build();
    int previews = 0;
    TModalScope scope([&](TModalRequest& request) {
        auto* preview = dynamic_cast<TQRPreviewForm*>(request.Subject);
        if (!preview)
            return int(mrCancel);
        ++previews;
        EXPECT_TRUE(preview->PreparePages());
        CheckPages(preview->Pages());
        return int(mrOk);
    });
    report->Preview();
    EXPECT_EQ(previews, 1);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("hostile.pdf"));
    report->PrinterSettings()->OutputFileName = pdf;
    report->Print();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_EQ(printed.count(QStringLiteral("Expression too deeply nested")), 6);
    EXPECT_EQ(printed.count(QStringLiteral("Date out of range")), 2);
}

}  // namespace
