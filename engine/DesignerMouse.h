#pragma once
// Report controls (the report, its bands, their elements) hand their mouse
// input to the designer object while it edits their report; otherwise the
// control handles it as any control does.
#include "controls/Controls.h"

class TCustomQuickRep;

// Each hands the event to the designer editing the report and says whether
// one did.
bool DesignerMouseDown(TCustomQuickRep* report, TControl* control, TMouseButton button, TShiftState shift, int x,
                       int y);
bool DesignerMouseMove(TCustomQuickRep* report, TControl* control, TShiftState shift, int x, int y);
bool DesignerMouseUp(TCustomQuickRep* report, TControl* control, TMouseButton button, TShiftState shift, int x,
                     int y);

// The mouse overrides of a report control class Derived (which has
// ParentReport()) built on the control class Base.
template <class Derived, class Base>
class TDesignerMouse : public Base {
public:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (!DesignerMouseDown(Self()->ParentReport(), this, button, shift, x, y))
            Base::MouseDown(button, shift, x, y);
    }
    void MouseMove(TShiftState shift, int x, int y) override
    {
        if (!DesignerMouseMove(Self()->ParentReport(), this, shift, x, y))
            Base::MouseMove(shift, x, y);
    }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override
    {
        if (!DesignerMouseUp(Self()->ParentReport(), this, button, shift, x, y))
            Base::MouseUp(button, shift, x, y);
    }

private:
    const Derived* Self() const { return static_cast<const Derived*>(this); }
};
