// Running reports: band order and options, page breaks, groups,
// master-detail, columns, stretching and system data.
#include "run_fixture.h"

#include "db/DataSource.h"
#include "engine/expr/ExprValue.h"

#include <QFontMetricsF>
#include <QImage>

namespace {

QStringList Join(const std::vector<QStringList>& pages)
{
    QStringList all;
    for (const QStringList& p : pages)
        all << p << QStringLiteral("--");
    return all;
}

// Title, page header, column header, detail (its NAME field), summary and
// page footer, each printing its kind's name.
class BandOrder : public RunTest {
protected:
    void Build(int rows)
    {
        ds = Table(rows);
        report->SetDataSet(ds);
        for (auto [kind, text] : {std::pair{rbTitle, "T"}, {rbPageHeader, "PH"}, {rbColumnHeader, "CH"},
                                  {rbSummary, "S"}, {rbPageFooter, "PF"}})
            AddText(AddBand(kind), QString::fromLatin1(text));
        AddText<TQRDBText>(AddBand(rbDetail), QStringLiteral("NAME"))->SetDataSet(ds);
    }
    TMemDataSet* ds = nullptr;
};

TEST_F(BandOrder, EachKindStandsInItsPlace)
{
    Build(2);
    EXPECT_EQ(Join(PageTexts(Run())), QStringList({"PH", "T", "CH", "Item1", "Item2", "S", "PF", "--"}));

    report->SetOptions({});
    EXPECT_EQ(Join(PageTexts(Run())), QStringList({"T", "CH", "Item1", "Item2", "S", "--"}));

    Band(rbColumnHeader)->SetEnabled(false);
    report->SetOptions({LastPageFooter});
    EXPECT_EQ(Join(PageTexts(Run())), QStringList({"T", "Item1", "Item2", "S", "PF", "--"}));
}

TEST_F(BandOrder, PagesBreakBeforeTheFooterAndRepeatTheHeaders)
{
    Build(200);
    report->SetOptions({});  // page header not on the first page, footer not on the last
    const TQRPreparedReport pages = Run();
    ASSERT_GT(pages.PageCount(), 2);
    const auto texts = PageTexts(pages);
    int next = 1;
    const double footerTop = MMToPixels(297 - 10) - 20;
    for (int p = 0; p < pages.PageCount(); ++p) {
        QStringList page = texts[p];
        const bool first = p == 0, last = p == pages.PageCount() - 1;
        EXPECT_EQ(page.takeFirst(), first ? "T" : "PH") << p;
        EXPECT_EQ(page.takeFirst(), "CH") << p;
        EXPECT_EQ(page.takeLast(), last ? "S" : "PF") << p;
        for (const QString& name : page)
            EXPECT_EQ(name, QStringLiteral("Item%1").arg(next++));
        for (const TQRPageText& t : pages.Page(p).Texts)
            if (t.Text.startsWith(QLatin1String("Item"))) {
                EXPECT_LE(t.Y + 17, footerTop + 0.5) << t.Text.toStdString();
            }
    }
    EXPECT_EQ(next, 201);  // every record once, in order
}

TEST_F(BandOrder, ChildBandsFollowTheirBandsInChains)
{
    Build(2);
    Band(rbDetail)->SetHasChild(true);
    TQRCustomBand* child = Band(rbDetail)->ChildBand();
    AddText(child, QStringLiteral("C1"));
    child->SetHasChild(true);
    AddText(child->ChildBand(), QStringLiteral("C2"));
    Band(rbPageFooter)->SetHasChild(true);
    TQRCustomBand* footerChild = Band(rbPageFooter)->ChildBand();
    AddText(footerChild, QStringLiteral("PFC"));
    footerChild->SetHasChild(true);
    AddText(footerChild->ChildBand(), QStringLiteral("PFCC"));
    const TQRPreparedReport pages = Run();
    EXPECT_EQ(Join(PageTexts(pages)), QStringList({"PH", "T", "CH", "Item1", "C1", "C2", "Item2", "C1", "C2", "S",
                                                   "PF", "PFC", "PFCC", "--"}));
    // the footer's chain ends at the bottom margin
    EXPECT_NEAR(FindText(pages.Page(0), QStringLiteral("PFCC"))->Y,
                MMToPixels(297 - 10) - footerChild->ChildBand()->BandHeight(), 0.5);

    // a disabled band leaves out the children after it, and the footer keeps no room for them
    child->SetEnabled(false);
    footerChild->SetEnabled(false);
    const TQRPreparedReport fewer = Run();
    EXPECT_EQ(Join(PageTexts(fewer)), QStringList({"PH", "T", "CH", "Item1", "Item2", "S", "PF", "--"}));
    EXPECT_NEAR(FindText(fewer.Page(0), QStringLiteral("PF"))->Y, MMToPixels(297 - 10) - 20, 0.5);
}

TEST_F(BandOrder, ForceNewPageGivesEachRecordItsPage)
{
    Build(3);
    Band(rbDetail)->SetForceNewPage(true);
    EXPECT_EQ(Join(PageTexts(Run())),
              QStringList({"PH", "T", "CH", "Item1", "PF", "--", "PH", "CH", "Item2", "PF", "--", "PH", "CH", "Item3",
                           "S", "PF", "--"}));
}

TEST_F(BandOrder, AnEmptyTablePrintsOnlyWhenAsked)
{
    Build(0);
    report->SetPrintIfEmpty(false);
    EXPECT_EQ(Run().PageCount(), 0);
    report->SetPrintIfEmpty(true);
    EXPECT_EQ(Join(PageTexts(Run())), QStringList({"PH", "T", "CH", "S", "PF", "--"}));
}

TEST_F(RunTest, GroupsPrintHeadersAndFootersWhenTheValueChanges)
{
    TMemDataSet* ds = Table(7);  // groups G1 (1-3), G2 (4-6), G3 (7)
    report->SetDataSet(ds);
    auto* group = static_cast<TQRGroup*>(AddBand(rbGroupHeader));
    group->SetExpression(QStringLiteral("[GRP]"));
    AddText<TQRExpr>(group, QStringLiteral("'Group ' + GRP"));
    TQRCustomBand* footer = AddBand(rbGroupFooter);
    group->SetFooterBand(footer);
    // The footer shows the values of its group's last record, not of the next group's first.
    auto* total = AddText<TQRExpr>(footer, QStringLiteral("'Sum ' + GRP + ' ' + STR(SUM(QTY))"));
    total->SetResetAfterPrint(true);
    AddText<TQRExpr>(AddBand(rbDetail), QStringLiteral("STR(QTY)"));
    AddText<TQRExpr>(AddBand(rbSummary), QStringLiteral("'Count ' + STR(COUNT)"));
    EXPECT_EQ(Join(PageTexts(Run())),
              QStringList({"Group G1", "1", "2", "3", "Sum G1 6", "Group G2", "4", "5", "6", "Sum G2 15", "Group G3",
                           "7", "Sum G3 7", "Count 7", "--"}));
}

TEST_F(RunTest, SubDetailsPrintForEachMasterRecord)
{
    TMemDataSet* master = Table(2);
    report->SetDataSet(master);
    auto* lines = New<TMemDataSet>(form);
    lines->Data.Defs = {{"OWNER", ftInteger}, {"LINE", ftString, 10}};
    lines->Data.Rows = {{qint64(1), QStringLiteral("a")}, {qint64(2), QStringLiteral("b")},
                        {qint64(1), QStringLiteral("c")}};
    auto* source = New<TDataSource>(form);
    source->SetDataSet(master);
    lines->SetMasterSource(source);
    lines->SetIndexFieldNames(QStringLiteral("OWNER"));
    lines->SetMasterFields(QStringLiteral("QTY"));
    AddText<TQRExpr>(AddBand(rbDetail), QStringLiteral("NAME"));
    auto* sub = static_cast<TQRSubDetail*>(AddBand(rbSubDetail));
    sub->SetDataSet(lines);
    AddText<TQRExpr>(sub, QStringLiteral("'- ' + LINE"), 20);
    TQRCustomBand* header = AddBand(rbGroupHeader);
    sub->SetHeaderBand(header);
    AddText(header, QStringLiteral("Lines:"));
    // Both data sets start closed: the run opens them before it reads their fields, and closes them after.
    EXPECT_EQ(Join(PageTexts(Run())), QStringList({"Item1", "Lines:", "- a", "- c", "Item2", "Lines:", "- b", "--"}));
    EXPECT_FALSE(master->Active());
    EXPECT_FALSE(lines->Active());
}

TEST_F(RunTest, ColumnsFillTopToBottomThenLeftToRight)
{
    TMemDataSet* ds = Table(60);
    report->SetDataSet(ds);
    report->Page()->SetColumns(2);
    AddText<TQRExpr>(AddBand(rbDetail, 30), QStringLiteral("QTY"));
    AddText(AddBand(rbSummary), QStringLiteral("End"));
    const TQRPreparedReport pages = Run();
    ASSERT_EQ(pages.PageCount(), 1);
    const TQRPreparedPage& page = pages.Page(0);
    const double left = MMToPixels(10);
    const TQRPageText* first = FindText(page, "1");
    const TQRPageText* last = FindText(page, "60");
    ASSERT_TRUE(first && last);
    EXPECT_DOUBLE_EQ(first->X, left);
    EXPECT_DOUBLE_EQ(last->X, left + MMToPixels(190) / 2);
    EXPECT_LT(last->Y, FindText(page, "31")->Y + 30 * 30);
    // The summary spans the page under the lowest column.
    EXPECT_DOUBLE_EQ(FindText(page, "End")->X, left);
    EXPECT_GT(FindText(page, "End")->Y, FindText(page, "30")->Y);
}

TEST_F(RunTest, ColumnBandsLeaveTheSpaceBetweenColumnsBlank)
{
    report->SetDataSet(Table(2));
    report->Page()->SetColumns(2);
    report->Page()->SetColumnSpace(20);
    AddBand(rbDetail, 30)->SetColor(clRed);
    const TQRPreparedReport pages = Run();
    const QImage image = Render(pages);
    const int y = int(MMToPixels(10)) + 5;
    const double inGap = MMToPixels(10 + (190 - 20) / 2.0 + 5);  // 5 mm right of the first column
    EXPECT_EQ(image.pixelColor(int(MMToPixels(12)), y), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(int(inGap), y), QColor(Qt::white));
}

TEST_F(RunTest, BandAlignedTextKeepsToItsColumn)
{
    report->SetDataSet(Table(60));
    report->Page()->SetColumns(2);
    report->Page()->SetColumnSpace(10);
    TQRCustomBand* detail = AddBand(rbDetail, 30);
    auto* qty = AddText<TQRExpr>(detail, QStringLiteral("QTY"), 40);
    qty->SetAlignToBand(true);
    qty->SetAlignment(taCenter);
    const TQRPreparedPage page = Run().Page(0);
    const double column = MMToPixels((190 - 10) / 2.0);
    EXPECT_DOUBLE_EQ(FindText(page, "1")->X, MMToPixels(10) + column / 2);
    EXPECT_DOUBLE_EQ(FindText(page, "60")->X, MMToPixels(10 + 10) + column * 1.5);

    // Word-wrapped band-aligned text breaks at the column's width, not the page's.
    const QString sentence = QStringLiteral("one two three four five six seven eight nine ten eleven twelve thirteen fourteen fifteen");
    const double sentenceWidth = QFontMetricsF(qty->Font()->ToQFont()).horizontalAdvance(sentence);
    ASSERT_GT(sentenceWidth, column);
    ASSERT_LT(sentenceWidth, MMToPixels(190));
    auto* wrapped = AddText(detail, sentence, 0, 17);
    wrapped->SetAlignToBand(true);
    wrapped->SetWordWrap(true);
    const TQRPreparedPage first = Run().Page(0);
    ASSERT_NE(FindText(first, "1"), nullptr);
    EXPECT_EQ(FindText(first, sentence), nullptr);
}

TEST_F(RunTest, StretchingTextGrowsItsBand)
{
    TQRCustomBand* detail = AddBand(rbDetail, 20);
    auto* memo = AddText<TQRMemo>(detail, QString(), 0, 0, 200);
    memo->SetAutoStretch(true);
    memo->Lines()->SetText(QStringLiteral("one\ntwo\nthree\nfour"));
    auto* wrapped = AddText(detail, QStringLiteral("a long caption that cannot stay on one short line"), 300, 0, 60);
    wrapped->SetWordWrap(true);
    AddText(AddBand(rbSummary), QStringLiteral("after"));
    const TQRPreparedPage page = Run().Page(0);
    const double four = FindText(page, "four")->Y;
    EXPECT_GT(four, FindText(page, "one")->Y);
    EXPECT_GE(FindText(page, "after")->Y, four + 10);
    int wrappedLines = 0;
    for (const TQRPageText& t : page.Texts)
        wrappedLines += t.X == MMToPixels(10) + 300 ? 1 : 0;
    EXPECT_GE(wrappedLines, 3);
}

TEST_F(RunTest, SystemDataAndFaultyExpressionsPrintTheirValues)
{
    TMemDataSet* ds = Table(3);
    report->SetDataSet(ds);
    report->SetReportTitle(QStringLiteral("Orders"));
    TQRCustomBand* detail = AddBand(rbDetail, 300);
    detail->SetForceNewPage(true);
    auto sys = [&](TQRSysDataType kind, const QString& prefix, double y) {
        AddText<TQRSysData>(detail, prefix, 0, y, 300)->SetData(kind);
    };
    sys(qrsPageNumber, QStringLiteral("Page "), 0);
    sys(qrsDetailNo, QStringLiteral("No "), 20);
    sys(qrsDetailCount, QStringLiteral("Of "), 40);
    sys(qrsReportTitle, QString(), 60);
    sys(qrsDate, QStringLiteral("D "), 80);
    AddText<TQRExpr>(detail, QStringLiteral("QTY *"), 0, 100, 600);
    const auto texts = PageTexts(Run());
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[1].mid(0, 4), QStringList({"Page 2", "No 2", "Of 3", "Orders"}));
    EXPECT_EQ(texts[1][4], "D " + TExprValue(QDate::currentDate()).ToText());
    EXPECT_TRUE(texts[1][5].startsWith("Error in expression 'QTY *' at position 6")) << texts[1][5].toStdString();
}

}  // namespace
