#pragma once
// The run-time designer object: edits one report with the mouse and the
// keyboard (select, move, resize, band heights, snap to grid, nudge, delete)
// and places new elements. It tells its client of each selection before it
// records the selection as its own.
#include "engine/Printables.h"

using TQRSelectEvent = TEvent<TControl*>;
class TCustomQuickRep;

class TQRDesigner : public TComponent {
    VK_CLASS(TQRDesigner, TComponent)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    // Leaves the report edited before, starts on this one and selects it.
    void Edit(TCustomQuickRep* report);
    // Ends editing; nothing stays selected.
    void StopEdit();
    // Arms the designer object: the next left click on a band of the edited
    // report places one element of the class there. A second arming replaces the first.
    void AddComponent(TClass elementClass);
    TClass ArmedClass() const { return armed_; }
    void SetOnSelectComponent(TQRSelectEvent handler) { onSelect_ = std::move(handler); }
    TCustomQuickRep* Report() const { return report_; }
    TControl* Selected() const { return selected_; }
    // Notifies the client, then records the control as the selection.
    void Select(TControl* control);
    // Frees the selected element and selects its band.
    void DeleteSelected();
    void Notification(TComponent* component, TOperation operation) override;

    // Input from the edited report's controls, in the control's client coordinates.
    void ControlMouseDown(TControl* control, TMouseButton button, TShiftState shift, int x, int y);
    void ControlMouseMove(TControl* control, TShiftState shift, int x, int y);
    void ControlMouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y);
    // Keys: arrows nudge the selected element (with Shift they resize it), Delete frees it.
    bool KeyDown(int key, TShiftState shift);

    // Side of the square handles drawn on the selected element.
    static constexpr int HandleSize = 5;
    // Height of the zone at a band's lower edge that drags its height.
    static constexpr int BandEdgeZone = 4;

private:
    enum class TDrag { None, Move, Resize, BandHeight };
    void Place(TQRCustomBand* band, int x, int y);
    int HandleAt(TQRPrintable* element, int x, int y) const;
    double Snap(double value) const;  // zoom-independent pixels onto the report's grid
    QPoint ToReport(TControl* control, int x, int y) const;
    bool Dragged(QPoint reportPoint);
    void DragTo(QPoint reportPoint);
    void MoveOntoBandAt(TQRPrintable* element);
    TQRCustomBand* BandAt(QPoint reportPoint) const;
    void Untrack(TComponent* component);

    TCustomQuickRep* report_ = nullptr;
    TControl* selected_ = nullptr;
    TClass armed_ = nullptr;
    TQRSelectEvent onSelect_;
    TDrag drag_ = TDrag::None;
    int handle_ = -1;
    QPoint dragStart_;
    bool moved_ = false;  // the pointer left the press point since the press
    QRectF startSize_;
};

// Draws the selection handles over a control's client area.
void PaintSelectionHandles(QPainter& painter, const QRect& rect);

// The designer object editing the report, or nil (no report, or not edited):
// report controls hand their mouse input to it while it edits them.
TQRDesigner* EditingDesigner(const TCustomQuickRep* report);
