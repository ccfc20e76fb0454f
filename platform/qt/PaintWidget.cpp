#include "qt/PaintWidget.h"
#include "controls/Controls.h"
#include "qt/Dispatch.h"
#include "qt/WidgetLink.h"

#include <QPainter>

template <class C>
void TPaintWidget::PaintControl(C* control, QPainter& painter, bool fill)
{
    TCanvas* canvas = &control->canvas_;
    canvas->SetPainter(&painter);
    canvas->Font()->Assign(control->Font());
    canvas->Brush()->SetColor(control->Color());
    canvas->Brush()->SetStyle(bsSolid);
    if (fill)
        canvas->FillRect(control->ClientRect());
    DispatchSafely([control] { control->Paint(); });
    canvas->SetPainter(nullptr);
}

void TPaintWidget::paintEvent(QPaintEvent*)
{
    TWidgetLink* link = TWidgetLink::Of(this);
    TControl* control = link ? link->Control() : nullptr;
    if (!control)
        return;
    QPainter painter(this);
    // a windowed control fills its background; a graphic control shows its parent through
    if (auto* custom = dynamic_cast<TCustomControl*>(control))
        PaintControl(custom, painter, true);
    else if (auto* graphic = dynamic_cast<TGraphicControl*>(control))
        PaintControl(graphic, painter, false);
}
