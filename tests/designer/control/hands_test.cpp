// The designer under a user's hands: mouse events on the shown host window's
// report elements, and what the user then sees and saves.
#include "DesignerHost.h"
#include "UserInput.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

struct THands : ::testing::Test {
    void SetUp() override
    {
        host.Resize(544, 345);
        host.NewReport()->SetSnapToGrid(true);
        host.Form->Show();
    }
    TVornak* V() const { return host.Vornak; }
    // An expression element on the detail band, named, at a place off the grid.
    TQRExpr* Element(const QString& name, const QRectF& size)
    {
        auto* element = static_cast<TQRExpr*>(host.Place(TQRExpr::ClassInfo(), rbDetail));
        element->SetName(name);
        element->SetAutoSize(false);
        element->SetExpression("[" + name + "]");
        element->SetSize(size);
        return element;
    }
    // Saves the report and reads the file back into the control.
    void SaveAndReopen()
    {
        const QString path = ScratchPath("hands.QR");
        V()->SaveReportFile(path);
        V()->OpenReportFile(path);
        ASSERT_TRUE(Modal::Messages().isEmpty());
        ASSERT_NE(V()->Report(), nullptr);
    }
    TQRPrintable* Saved(const QString& name) const
    {
        return dynamic_cast<TQRPrintable*>(ReportForm->FindComponent(name));
    }
    // The colour the user sees at a point of the element, on the report panel.
    QColor SeenAt(const QImage& panel, TControl* element, QPoint at) const
    {
        return panel.pixelColor(element->Widget()->mapTo(V()->ReportPanel->Widget(), at));
    }
    THost host;
};

}  // namespace

TEST_F(THands, APressAndReleaseAtOnePointOnlySelectsAndADragSnaps)
{
    TQRExpr* element = Element("OrderNo", QRectF(1, 0, 72, 15));
    user::Click(element, QPoint(10, 5));
    EXPECT_EQ(V()->Active(), element);
    // once selected, a press on a handle without movement does not resize either
    user::Click(element, QPoint(element->Width() - 2, element->Height() - 2));
    EXPECT_EQ(element->Size(), QRectF(1, 0, 72, 15));
    SaveAndReopen();
    TQRPrintable* saved = Saved("OrderNo");
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->Left(), 1);
    EXPECT_EQ(saved->Size(), QRectF(1, 0, 72, 15));

    // a drag puts the element on the grid
    user::Drag(saved, QPoint(10, 5), QPoint(20, 5));
    EXPECT_EQ(saved->Size().topLeft(), QPointF(12, 0));
}

TEST_F(THands, TheSelectedElementIsSeenAboveItsNeighboursInTheirOwnOrder)
{
    TQRExpr* saleDate = Element("SaleDate", QRectF(8, 0, 160, 15));
    TQRExpr* shipDate = Element("ShipDate", QRectF(140, 0, 160, 15));
    saleDate->SetColor(clRed);
    shipDate->SetColor(clBlue);
    // dragged onto its neighbour, the element shows whole with its handles
    user::Drag(saleDate, QPoint(10, 5), QPoint(70, 5));
    ASSERT_EQ(saleDate->Size(), QRectF(68, 0, 160, 15));
    ASSERT_EQ(V()->Active(), saleDate);
    const QImage panel = V()->ReportPanel->Grab();
    const QPoint overlap(152, 7);  // clear of both texts
    EXPECT_EQ(SeenAt(panel, saleDate, overlap), QColor(Qt::red));
    const QPoint rightHandle(saleDate->Width() - 3, saleDate->Height() / 2);
    EXPECT_EQ(SeenAt(panel, saleDate, rightHandle), QColor(Qt::black));
    // once the band is selected, the element is back under its neighbour
    TQRCustomBand* band = host.Band(rbDetail);
    user::Click(band, QPoint(320, 5));
    ASSERT_EQ(V()->Active(), band);
    EXPECT_EQ(SeenAt(V()->ReportPanel->Grab(), saleDate, overlap), QColor(Qt::blue));

    // the layout keeps the elements in the order in which they were made
    const std::vector<TQRPrintable*> order = {saleDate, shipDate};
    EXPECT_EQ(host.Band(rbDetail)->Printables(), order);
    SaveAndReopen();
    ASSERT_EQ(V()->Report()->FirstBandOfType(rbDetail)->Printables(),
              std::vector<TQRPrintable*>({Saved("SaleDate"), Saved("ShipDate")}));
}

TEST_F(THands, TheToolbarsStackTheSameWhateverWasSelectedBefore)
{
    TControl* label = host.Place(TQRLabel::ClassInfo());
    label->SetCaption("Vornak");
    auto* memo = static_cast<TQRMemo*>(host.Place(TQRMemo::ClassInfo(), rbDetail));
    memo->Lines()->Add("memo");
    TControl* image = host.Place(TQRImage::ClassInfo(), rbDetail);
    image->SetLeft(200);
    TControl* report = V()->Report();
    // the slots shown, from the top of the toolbar panel down
    auto stack = [this] {
        std::vector<std::pair<int, TControl*>> shown;
        for (TControl* slot : {V()->ImpBar(), V()->FrameBar(), V()->FontBar(), V()->LabelBar(), V()->ShapeBar(),
                               V()->SysBar()})
            if (slot->Visible())
                shown.emplace_back(slot->Top(), slot);
        std::sort(shown.begin(), shown.end());
        std::vector<TControl*> order;
        for (auto [top, slot] : shown)
            order.push_back(slot);
        return order;
    };
    const std::vector<TControl*> textStack = {V()->SysBar(), V()->FontBar()};
    const std::vector<TControl*> labelStack = {V()->FontBar(), V()->LabelBar()};
    for (TControl* before : std::initializer_list<TControl*>{report, label, image, report, memo, label}) {
        user::Click(before);
        for (TControl* text : std::initializer_list<TControl*>{memo, image}) {
            if (text == before)
                continue;
            user::Click(text);
            EXPECT_EQ(stack(), textStack)
                << before->ClassName().toStdString() << " then " << text->ClassName().toStdString();
        }
        user::Click(label);
        EXPECT_EQ(stack(), labelStack) << "a label after a " << before->ClassName().toStdString();
    }
}

TEST_F(THands, AFailedSaveLeavesTheReportOnThePanelToGoOnEditing)
{
    TQRExpr* element = Element("OrderNo", QRectF(8, 0, 72, 15));
    user::Click(element);
    host.RecordEvents();
    const QString path = ScratchPath("missing/folder/report.QR");
    QDir(QFileInfo(path).path()).removeRecursively();
    const int applicationOwns = Application->ComponentCount();
    {
        TModalLog dialog(mrOk, path);  // the name as the user gives it to the save dialog
        EXPECT_THROW(V()->SaveReport(), Exception);
    }
    EXPECT_EQ(Application->ComponentCount(), applicationOwns);  // the dialog went all the same
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(V()->FileName, path);
    EXPECT_EQ(host.Events, QStringList({"save", "select"}));
    TQuickRep* report = V()->Report();
    EXPECT_EQ(report->Parent(), V()->ReportPanel);
    EXPECT_TRUE(report->Widget()->isVisible());
    EXPECT_EQ(report->BoundsRect().topLeft(), QPoint(0, 0));
    EXPECT_EQ(V()->Designer->Report(), report);
    EXPECT_EQ(V()->Active(), report);
    user::Click(element);
    EXPECT_EQ(V()->Active(), element);
    EXPECT_EQ(V()->Designer->Selected(), element);
    // the next save writes the report as usual
    QDir().mkpath(QFileInfo(path).path());
    V()->SaveReport();
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(report->Parent(), V()->ReportPanel);
}
