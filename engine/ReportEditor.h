#pragma once
// What the report model knows of an interactive editor: the report's controls
// hand it their mouse input and keys while it edits their report, and it draws
// its adornments (margins, band outlines, selection handles) over them. The
// report holds its editor as a watched reference; nothing else of the editor
// is needed to load, run or print a report.
#include "controls/Controls.h"

class QPainter;
class TCustomQuickRep;

class TQRReportEditor : public TComponent {
    VK_CLASS(TQRReportEditor, TComponent)
public:
    // Ends editing; a report being freed calls it before anything of the report goes.
    virtual void StopEdit() = 0;
    // Input from the edited report's controls, in the control's client coordinates.
    virtual void ControlMouseDown(TControl* control, TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void ControlMouseMove(TControl* control, TShiftState shift, int x, int y) = 0;
    virtual void ControlMouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y) = 0;
    // True when the editor used the key.
    virtual bool KeyDown(int key, TShiftState shift) = 0;
    // Draws the editor's marks over what a control of the edited report painted,
    // in the control's client coordinates.
    virtual void PaintAdornments(TControl* control, QPainter& painter) = 0;
};

// The editor editing the report, or nil (no report, or not edited).
TQRReportEditor* ReportEditor(const TCustomQuickRep* report);

// The mouse overrides of a report control class Derived (which has
// ParentReport()) built on the control class Base: the editor of the report
// takes the input while it edits; otherwise the control handles it as any
// control does.
template <class Derived, class Base>
class TEditorMouse : public Base {
public:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (TQRReportEditor* editor = Editor())
            editor->ControlMouseDown(this, button, shift, x, y);
        else
            Base::MouseDown(button, shift, x, y);
    }
    void MouseMove(TShiftState shift, int x, int y) override
    {
        if (TQRReportEditor* editor = Editor())
            editor->ControlMouseMove(this, shift, x, y);
        else
            Base::MouseMove(shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (TQRReportEditor* editor = Editor())
            editor->ControlMouseUp(this, button, shift, x, y);
        else
            Base::MouseUp(button, shift, x, y);
    }

private:
    TQRReportEditor* Editor() const { return ReportEditor(static_cast<const Derived*>(this)->ParentReport()); }
};
