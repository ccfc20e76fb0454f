// The designer object: selection notification order, arming and placing,
// mouse editing, keys, Delete and the end of an edited report.
#include "model_fixture.h"

#include <QDir>

namespace {

class DesignerTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        report->Bands()->SetHasTitle(true);
        report->Bands()->SetHasDetail(true);
        report->SetSnapToGrid(false);
        designer = New<TQRDesigner>(form);
        designer->SetOnSelectComponent(TQRSelectEvent([this](TControl* c) {
            notified.push_back(c);
            selectedDuringCall.push_back(designer->Selected());
        }));
    }
    void Click(TControl* control, int x, int y)
    {
        control->MouseDown(mbLeft, TShiftState{ssLeft}, x, y);
        control->MouseUp(mbLeft, TShiftState{}, x, y);
    }
    // The control's top left corner on the report.
    QPoint Origin(TControl* control) const
    {
        QPoint p;
        for (TControl* c = control; c && c != report; c = c->Parent())
            p += c->BoundsRect().topLeft();
        return p;
    }
    // A drag as the window system reports it: each position relative to
    // where the pressed control stands at that moment.
    void Drag(TControl* control, QPoint from, QPoint to)
    {
        const QPoint start = Origin(control) + from, end = Origin(control) + to;
        control->MouseDown(mbLeft, TShiftState{ssLeft}, from.x(), from.y());
        QPoint p = (start + end) / 2 - Origin(control);
        control->MouseMove(TShiftState{ssLeft}, p.x(), p.y());
        p = end - Origin(control);
        control->MouseMove(TShiftState{ssLeft}, p.x(), p.y());
        p = end - Origin(control);
        control->MouseUp(mbLeft, TShiftState{}, p.x(), p.y());
    }

    TQRDesigner* designer = nullptr;
    std::vector<TControl*> notified;
    std::vector<TControl*> selectedDuringCall;
};

TEST_F(DesignerTest, EachSelectionIsToldBeforeItIsRecorded)
{
    TQRCustomBand* detail = Band(rbDetail);
    TQRPrintable* label = detail->AddPrintable(TQRLabel::ClassInfo());

    designer->Edit(report);
    Click(detail, 300, 20);
    Click(label, 2, 2);
    Click(report, 5, 5);  // the margin: the report itself

    EXPECT_EQ(notified, (std::vector<TControl*>{report, detail, label, report}));
    EXPECT_EQ(selectedDuringCall, (std::vector<TControl*>{nullptr, report, detail, label}));
    EXPECT_EQ(designer->Selected(), report);
    EXPECT_EQ(report->Designer(), designer);

    designer->StopEdit();
    EXPECT_EQ(designer->Selected(), nullptr);
    EXPECT_EQ(report->Designer(), nullptr);
    Click(detail, 10, 10);  // no longer edited: nothing is told
    EXPECT_EQ(notified.size(), 4u);
}

TEST_F(DesignerTest, ArmingPlacesOneElementAtTheClickPoint)
{
    designer->Edit(report);
    designer->AddComponent(TQRShape::ClassInfo());
    designer->AddComponent(TQRLabel::ClassInfo());  // replaces the shape
    TQRCustomBand* detail = Band(rbDetail);
    Click(detail, 120, 7);

    ASSERT_EQ(detail->Printables().size(), 1u);
    TQRPrintable* placed = detail->Printables()[0];
    EXPECT_TRUE(placed->Is<TQRLabel>());
    EXPECT_EQ(placed->Owner(), form);
    EXPECT_EQ(placed->BoundsRect().topLeft(), QPoint(120, 7));
    EXPECT_FALSE(placed->Name().isEmpty());
    EXPECT_EQ(notified.back(), placed);
    EXPECT_EQ(selectedDuringCall.back(), report);
    EXPECT_EQ(designer->Selected(), placed);
    EXPECT_EQ(designer->ArmedClass(), nullptr);

    Click(detail, 300, 7);  // the arming ended with the placement
    EXPECT_EQ(detail->Printables().size(), 1u);
    EXPECT_EQ(designer->Selected(), detail);

    // at another zoom the click point is still the corner
    report->SetZoom(50);
    designer->AddComponent(TQRImage::ClassInfo());
    Click(detail, 40, 4);
    report->SetZoom(100);
    EXPECT_EQ(detail->Printables().back()->BoundsRect().topLeft(), QPoint(80, 8));
}

TEST_F(DesignerTest, MouseMovesResizesAndSetsBandHeights)
{
    TQRCustomBand* title = Band(rbTitle);
    TQRCustomBand* detail = Band(rbDetail);
    TQRPrintable* shape = title->AddPrintable(TQRShape::ClassInfo());
    shape->SetBounds(10, 5, 30, 20);
    designer->Edit(report);

    Drag(shape, {5, 5}, {25, 10});
    EXPECT_EQ(shape->BoundsRect(), QRect(30, 10, 30, 20));

    // the lower right handle of the selected element resizes it
    Drag(shape, {28, 18}, {38, 23});
    EXPECT_EQ(shape->BoundsRect(), QRect(30, 10, 40, 25));

    // snapping keeps the corner on the grid
    report->SetSnapToGrid(true);
    Drag(shape, {5, 5}, {12, 6});
    EXPECT_EQ(shape->Left() % report->GridSize(), 0);
    EXPECT_EQ(shape->Top() % report->GridSize(), 0);
    report->SetSnapToGrid(false);

    // dragged down onto the next band, the element changes band
    Drag(shape, {5, 5}, {5, 5 + 45});
    EXPECT_EQ(shape->Parent(), detail);
    EXPECT_EQ(shape->ParentBand(), detail);

    // the lower edge of a band drags its height, and the bands below follow
    Drag(title, {100, 38}, {100, 68});
    EXPECT_EQ(title->Height(), 70);
    EXPECT_EQ(detail->Top(), title->Top() + 70);
}

TEST_F(DesignerTest, KeysNudgeAndDeleteFreesTheElement)
{
    TQRCustomBand* detail = Band(rbDetail);
    TQRPrintable* label = detail->AddPrintable(TQRLabel::ClassInfo());
    designer->Edit(report);
    Click(label, 1, 1);
    const QPoint start = label->BoundsRect().topLeft();
    int key = Qt::Key_Right;
    report->KeyDown(key, TShiftState{});
    key = Qt::Key_Down;
    report->KeyDown(key, TShiftState{});
    EXPECT_EQ(label->BoundsRect().topLeft(), start + QPoint(1, 1));

    const int components = form->ComponentCount();
    key = Qt::Key_Delete;
    report->KeyDown(key, TShiftState{});
    EXPECT_EQ(form->ComponentCount(), components - 1);
    EXPECT_TRUE(detail->Printables().empty());
    EXPECT_EQ(designer->Selected(), detail);
    EXPECT_EQ(notified.back(), detail);

    // Delete with a band selected frees nothing
    report->KeyDown(key, TShiftState{});
    EXPECT_EQ(form->ComponentCount(), components - 1);
}

TEST_F(DesignerTest, AnElementFreedElsewhereLeavesNoSelection)
{
    TQRPrintable* label = Band(rbDetail)->AddPrintable(TQRLabel::ClassInfo());
    designer->Edit(report);
    Click(label, 1, 1);
    report->Bands()->SetHasDetail(false);
    EXPECT_EQ(designer->Selected(), nullptr);
    int key = Qt::Key_Delete;
    report->KeyDown(key, TShiftState{});  // nothing left to delete: no crash
}

TEST_F(DesignerTest, FreeingTheEditedReportStopsTheDesigner)
{
    designer->Edit(report);
    Click(Band(rbTitle), 3, 3);
    report->Free();
    report = nullptr;
    EXPECT_EQ(designer->Report(), nullptr);
    EXPECT_EQ(designer->Selected(), nullptr);

    // editing another report after that works as on the first day
    report = New<TQuickRep>(form);
    report->SetParent(form);
    designer->Edit(report);
    EXPECT_EQ(designer->Selected(), report);
}

TEST_F(DesignerTest, EditingAnotherReportLeavesTheFirst)
{
    designer->Edit(report);
    TQuickRep* second = New<TQuickRep>(form);
    second->SetParent(form);
    designer->Edit(second);
    EXPECT_EQ(report->Designer(), nullptr);
    EXPECT_EQ(second->Designer(), designer);
    EXPECT_EQ(notified.back(), second);
    EXPECT_EQ(selectedDuringCall.back(), nullptr);  // the first report's selection went with it
}

}  // namespace
