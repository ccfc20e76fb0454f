#include "engine/Designer.h"

#include "classes/Owned.h"
#include "classes/Published.h"
#include "engine/QRUtils.h"

#include <algorithm>
#include <array>
#include <cmath>

VK_PUBLISHED(TQRDesigner) {}

// The eight handle squares inside a rectangle: 0 top left, 1 top, 2 top right,
// 3 right, 4 bottom right, 5 bottom, 6 bottom left, 7 left.
static std::array<QRect, 8> HandleRects(const QRect& rect)
{
    const int s = TQRDesigner::HandleSize;
    const int l = rect.left(), cx = rect.center().x() - s / 2, r = rect.right() - s + 1;
    const int t = rect.top(), cy = rect.center().y() - s / 2, b = rect.bottom() - s + 1;
    return {QRect(l, t, s, s), QRect(cx, t, s, s), QRect(r, t, s, s), QRect(r, cy, s, s),
            QRect(r, b, s, s), QRect(cx, b, s, s), QRect(l, b, s, s), QRect(l, cy, s, s)};
}

// The selection handles over a control's client area.
static void PaintSelectionHandles(QPainter& painter, const QRect& rect)
{
    // framed squares stay apart where handles touch, on small elements
    for (const QRect& handle : HandleRects(rect)) {
        painter.fillRect(handle, Qt::white);
        painter.fillRect(handle.adjusted(1, 1, -1, -1), Qt::black);
    }
}

// The selected element is drawn above its neighbours, handles and all, while
// its place among them (the order that the layout file keeps) stays as it is.
static void RaiseOnScreen(TControl* control)
{
    if (dynamic_cast<TQRPrintable*>(control) && control->Widget())
        control->Widget()->raise();
}

// Puts an element's window back where its place among its siblings has it:
// under the window of the next sibling, or on top when it is the last.
static void RestackOnScreen(TControl* control)
{
    TWinControl* parent = control ? control->Parent() : nullptr;
    if (!dynamic_cast<TQRPrintable*>(control) || !parent || !control->Widget())
        return;
    bool after = false;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (after && sibling->Widget()) {
            control->Widget()->stackUnder(sibling->Widget());
            return;
        }
        after = after || sibling == control;
    }
    control->Widget()->raise();
}

void TQRDesigner::Create(TComponent* owner)
{
    inherited::Create(owner);
}

void TQRDesigner::Destroy()
{
    StopEdit();
    inherited::Destroy();
}

void TQRDesigner::Edit(TCustomQuickRep* report)
{
    StopEdit();
    if (!report)
        return;
    report_ = report;
    FreeNotification(report_);
    report_->SetDesigner(this);
    Select(report_);
}

void TQRDesigner::StopEdit()
{
    armed_ = nullptr;
    drag_ = TDrag::None;
    TControl* old = selected_;
    TCustomQuickRep* report = report_;
    selected_ = nullptr;
    report_ = nullptr;
    if (old && old != report)
        RemoveFreeNotification(old);
    if (!report)
        return;
    RemoveFreeNotification(report);
    report->SetDesigner(nullptr);
    // the handles go
    if (!report->IsDestroying()) {
        report->Invalidate();
        RestackOnScreen(old);
        if (old)
            old->Invalidate();
    }
}

void TQRDesigner::AddComponent(TClass elementClass)
{
    armed_ = elementClass;
}

void TQRDesigner::Select(TControl* control)
{
    // the client hears first: meanwhile Selected() is still the previous selection
    onSelect_(control);
    if (!report_)
        return;  // the client stopped the editing meanwhile
    TControl* old = selected_;
    if (old != report_)
        Untrack(old);
    selected_ = control;
    if (selected_)
        FreeNotification(selected_);
    RestackOnScreen(old);
    RaiseOnScreen(selected_);
    if (old)
        old->Invalidate();
    if (selected_)
        selected_->Invalidate();
}

void TQRDesigner::Untrack(TComponent* component)
{
    // the report stays tracked while it is edited, whatever is selected
    if (component && component != report_)
        RemoveFreeNotification(component);
}

void TQRDesigner::DeleteSelected()
{
    auto* element = dynamic_cast<TQRPrintable*>(selected_);
    if (!element)
        return;
    TQRCustomBand* band = element->ParentBand();
    element->Free();  // the free notification clears the selection
    if (band)
        Select(band);
}

void TQRDesigner::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == report_) {
        StopEdit();
    } else if (component == selected_) {
        selected_ = nullptr;
        drag_ = TDrag::None;
    }
}

QPoint TQRDesigner::ToReport(TControl* control, int x, int y) const
{
    QPoint p(x, y);
    for (TControl* c = control; c && c != report_; c = c->Parent())
        p += QPoint(c->Left(), c->Top());
    return p;
}

TQRCustomBand* TQRDesigner::BandAt(QPoint reportPoint) const
{
    for (TQRCustomBand* band : report_->BandList())
        if (band->BoundsRect().contains(reportPoint))
            return band;
    return nullptr;
}

static TQRCustomBand* BandOf(TControl* control)
{
    if (auto* band = dynamic_cast<TQRCustomBand*>(control))
        return band;
    if (auto* element = dynamic_cast<TQRPrintable*>(control))
        return element->ParentBand();
    return nullptr;
}

int TQRDesigner::HandleAt(TQRPrintable* element, int x, int y) const
{
    const auto handles = HandleRects(element->ClientRect());
    for (int i = 0; i < 8; ++i)
        if (handles[i].contains(x, y))
            return i;
    return -1;
}

void TQRDesigner::ControlMouseDown(TControl* control, TMouseButton button, TShiftState, int x, int y)
{
    if (!report_)
        return;
    if (report_->CanFocus())
        report_->SetFocus();
    const QPoint p = ToReport(control, x, y);
    TQRCustomBand* band = BandOf(control);
    if (!band && control == report_)
        band = BandAt(p);
    if (armed_ && button == mbLeft && band) {
        const QPoint inBand = p - band->BoundsRect().topLeft();
        Place(band, inBand.x(), inBand.y());
        return;
    }
    TControl* target = control;
    if (control == report_ && band)
        target = band;
    drag_ = TDrag::None;
    if (auto* element = dynamic_cast<TQRPrintable*>(target)) {
        handle_ = selected_ == element ? HandleAt(element, x, y) : -1;
        drag_ = handle_ >= 0 ? TDrag::Resize : TDrag::Move;
    } else if (target == band && p.y() >= band->Top() + band->Height() - BandEdgeZone) {
        drag_ = TDrag::BandHeight;
    }
    Select(target);
    if (button != mbLeft || selected_ != target) {
        drag_ = TDrag::None;
        return;
    }
    dragStart_ = p;
    moved_ = false;
    if (auto* element = dynamic_cast<TQRPrintable*>(target))
        startSize_ = element->Size();
    else if (band)
        startSize_ = band->Size();
}

void TQRDesigner::ControlMouseMove(TControl* control, TShiftState, int x, int y)
{
    if (!report_ || drag_ == TDrag::None)
        return;
    const QPoint p = ToReport(control, x, y);
    if (Dragged(p))
        DragTo(p);
}

void TQRDesigner::ControlMouseUp(TControl* control, TMouseButton, TShiftState, int x, int y)
{
    if (!report_ || drag_ == TDrag::None)
        return;
    const QPoint p = ToReport(control, x, y);
    if (Dragged(p)) {
        DragTo(p);
        if (drag_ == TDrag::Move)
            if (auto* element = dynamic_cast<TQRPrintable*>(selected_))
                MoveOntoBandAt(element);
    }
    drag_ = TDrag::None;
}

// A press and release without movement only selects: the snap to the grid
// would otherwise move an element that the user merely clicked.
bool TQRDesigner::Dragged(QPoint reportPoint)
{
    moved_ = moved_ || reportPoint != dragStart_;
    return moved_;
}

double TQRDesigner::Snap(double value) const
{
    if (!report_->SnapToGrid())
        return value;
    const int grid = report_->GridSize();
    return std::nearbyint(value / grid) * grid;
}

void TQRDesigner::DragTo(QPoint reportPoint)
{
    const double z = report_->Zoom() / 100.0;
    const double dx = (reportPoint.x() - dragStart_.x()) / z;
    const double dy = (reportPoint.y() - dragStart_.y()) / z;
    if (drag_ == TDrag::BandHeight) {
        if (auto* band = dynamic_cast<TQRCustomBand*>(selected_))
            band->SetBandHeight(std::max(1.0, Snap(startSize_.height() + dy)));
        return;
    }
    auto* element = dynamic_cast<TQRPrintable*>(selected_);
    if (!element)
        return;
    QRectF r = startSize_;
    if (drag_ == TDrag::Move) {
        r.moveTopLeft(QPointF(Snap(r.left() + dx), Snap(r.top() + dy)));
    } else {
        // which edges the handle moves: left, top, right, bottom
        static const bool edges[8][4] = {{1, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}, {0, 0, 1, 0},
                                         {0, 0, 1, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {1, 0, 0, 0}};
        const bool* e = edges[handle_];
        if (e[0])
            r.setLeft(std::min(Snap(r.left() + dx), r.right() - 1));
        if (e[1])
            r.setTop(std::min(Snap(r.top() + dy), r.bottom() - 1));
        if (e[2])
            r.setRight(std::max(Snap(r.right() + dx), r.left() + 1));
        if (e[3])
            r.setBottom(std::max(Snap(r.bottom() + dy), r.top() + 1));
    }
    element->SetSize(r);
}

void TQRDesigner::MoveOntoBandAt(TQRPrintable* element)
{
    TQRCustomBand* from = element->ParentBand();
    const QPoint centre = ToReport(element, element->Width() / 2, element->Height() / 2);
    TQRCustomBand* to = BandAt(centre);
    if (!from || !to || to == from)
        return;
    // the element keeps its place on the page: its top becomes relative to the new band
    QRectF r = element->Size();
    r.moveTop(r.top() + from->Size().top() - to->Size().top());
    element->SetParent(to);
    element->SetSize(r);
}

void TQRDesigner::Place(TQRCustomBand* band, int x, int y)
{
    TClass cls = armed_;
    armed_ = nullptr;  // one placement per arming, whatever happens next
    TComponent* owner = report_->Owner() ? report_->Owner() : report_;
    TOwned<TQRPrintable> element(TQRPrintable::CreateOf(cls, owner));
    element->SetName(UniqueName(owner, cls->Name().mid(1)));
    element->SetParent(band);
    const double z = report_->Zoom() / 100.0;
    const QSizeF size = element->DefaultSize();
    element->SetSize(QRectF(x / z, y / z, size.width(), size.height()));
    Select(element.release());
}

bool TQRDesigner::KeyDown(int key, TShiftState shift)
{
    if (!report_)
        return false;
    if (key == Qt::Key_Delete) {
        DeleteSelected();
        return true;
    }
    auto* element = dynamic_cast<TQRPrintable*>(selected_);
    if (!element)
        return false;
    const double step = report_->SnapToGrid() ? report_->GridSize() : 100.0 / report_->Zoom();
    QPointF d;
    switch (key) {
    case Qt::Key_Left: d = {-step, 0}; break;
    case Qt::Key_Right: d = {step, 0}; break;
    case Qt::Key_Up: d = {0, -step}; break;
    case Qt::Key_Down: d = {0, step}; break;
    default: return false;
    }
    QRectF r = element->Size();
    if (shift.Contains(ssShift)) {
        r.setWidth(std::max(1.0, r.width() + d.x()));
        r.setHeight(std::max(1.0, r.height() + d.y()));
    } else {
        r.translate(d);
    }
    element->SetSize(r);
    return true;
}

// The printable area within the margins, dotted.
static void PaintMargins(QPainter& painter, const TCustomQuickRep* report)
{
    const double z = report->ZoomFactor();
    painter.save();
    painter.setPen(QPen(QColor(192, 192, 192), 1, Qt::DotLine));
    const QRectF printable(report->LeftMarginPx() * z, report->TopMarginPx() * z, report->BandWidthPx() * z,
                           (report->PageLengthPx() - report->TopMarginPx() -
                            TQRPage::ToPixels(report->Page()->BottomMargin())) *
                               z);
    painter.drawRect(printable);
    painter.restore();
}

// The band's outline and its kind in the lower left corner.
static void PaintBandOutline(QPainter& painter, const TQRCustomBand* band)
{
    painter.save();
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(band->ClientRect().adjusted(0, 0, -1, -1));
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.drawText(QRect(2, 0, band->Width() - 4, band->Height() - 1), Qt::AlignLeft | Qt::AlignBottom,
                     QRBandTypeName(band->BandType()));
    painter.restore();
}

void TQRDesigner::PaintAdornments(TControl* control, QPainter& painter)
{
    if (control == report_) {
        PaintMargins(painter, report_);
        return;
    }
    if (auto* band = dynamic_cast<TQRCustomBand*>(control))
        PaintBandOutline(painter, band);
    if (control == selected_)
        PaintSelectionHandles(painter, control->ClientRect());
}
