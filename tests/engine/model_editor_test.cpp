// The report's editor seam: whatever editor edits a report gets its
// controls' mouse input and keys, paints over them, hears of the report's
// end, and is forgotten when it goes first.
#include "model_fixture.h"

#include <QPainter>

namespace {

// Records what the report hands it; uses the keys it is told to.
class TRecordingEditor : public TQRReportEditor {
public:
    void StopEdit() override { ++stops; }
    void ControlMouseDown(TControl* control, TMouseButton, TShiftState, int x, int y) override
    {
        presses.push_back(control);
        lastPoint = QPoint(x, y);
    }
    void ControlMouseMove(TControl* control, TShiftState, int, int) override { moves.push_back(control); }
    void ControlMouseUp(TControl* control, TMouseButton, TShiftState, int, int) override
    {
        releases.push_back(control);
    }
    bool KeyDown(int key, TShiftState) override { return key == usedKey; }
    void PaintAdornments(TControl* control, QPainter& painter) override
    {
        painted.push_back(control);
        painter.fillRect(control->ClientRect(), Qt::magenta);
    }

    int stops = 0;
    int usedKey = Qt::Key_Delete;
    QPoint lastPoint;
    std::vector<TControl*> presses, moves, releases, painted;
};

class EditorSeamTest : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        report->Bands()->SetHasDetail(true);
        label = Band(rbDetail)->AddPrintable(TQRLabel::ClassInfo());
        editor = New<TRecordingEditor>(form);
    }

    TQRPrintable* label = nullptr;
    TRecordingEditor* editor = nullptr;
};

TEST_F(EditorSeamTest, TheEditingEditorTakesInputAndPaintsOverTheControls)
{
    // not edited: the controls handle their input themselves
    label->MouseDown(mbLeft, TShiftState{ssLeft}, 2, 3);
    EXPECT_TRUE(editor->presses.empty());

    report->SetDesigner(editor);
    TQRCustomBand* band = Band(rbDetail);
    label->MouseDown(mbLeft, TShiftState{ssLeft}, 2, 3);
    band->MouseMove(TShiftState{ssLeft}, 5, 5);
    report->MouseUp(mbLeft, TShiftState{}, 7, 7);
    EXPECT_EQ(editor->presses, std::vector<TControl*>{label});
    EXPECT_EQ(editor->lastPoint, QPoint(2, 3));
    EXPECT_EQ(editor->moves, std::vector<TControl*>{band});
    EXPECT_EQ(editor->releases, std::vector<TControl*>{report});

    // a key the editor uses goes no further; another one does
    int key = Qt::Key_Delete;
    report->KeyDown(key, TShiftState{});
    EXPECT_EQ(key, 0);
    key = Qt::Key_A;
    report->KeyDown(key, TShiftState{});
    EXPECT_EQ(key, Qt::Key_A);

    // each control's painting ends with the editor's marks
    for (TControl* control : std::vector<TControl*>{report, band, label}) {
        editor->painted.clear();
        const QImage image = control->Widget()->grab().toImage();
        EXPECT_NE(std::find(editor->painted.begin(), editor->painted.end(), control), editor->painted.end());
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::magenta))
            << control->ClassName().toStdString();
    }
}

TEST_F(EditorSeamTest, TheReportStopsItsEditorBeforeGoingAndForgetsAnEditorThatGoes)
{
    report->SetDesigner(editor);
    editor->Free();
    EXPECT_EQ(report->Designer(), nullptr);
    label->MouseDown(mbLeft, TShiftState{ssLeft}, 2, 3);  // no editor to hand it to: no crash

    editor = New<TRecordingEditor>(form);
    report->SetDesigner(editor);
    report->Free();
    report = nullptr;
    EXPECT_EQ(editor->stops, 1);
}

}  // namespace
