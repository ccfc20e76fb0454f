// The designer under a user's hands: mouse events on the shown host window's
// report elements, and what the user then sees and saves.
#include "DesignerHost.h"
#include "UserInput.h"


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
