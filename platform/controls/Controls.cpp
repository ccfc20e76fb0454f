#include "controls/Controls.h"
#include "classes/Published.h"
#include "qt/Dispatch.h"
#include "qt/PaintWidget.h"
#include "qt/WidgetLink.h"
#include "rtl/ScopeExit.h"

#include <QCursor>
#include <algorithm>
#include <map>

VK_PUBLISHED(TControl)
{
    c.Prop("Left", &TControl::Left, &TControl::SetLeft);
    c.Prop("Top", &TControl::Top, &TControl::SetTop);
    c.Prop("Width", &TControl::Width, &TControl::SetWidth);
    c.Prop("Height", &TControl::Height, &TControl::SetHeight);
    c.Prop("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
    c.Prop("Hint", &TControl::Hint, &TControl::SetHint);
    c.Prop("HelpContext", &TControl::HelpContext).Default(0);
}

VK_PUBLISHED(TWinControl) {}
VK_PUBLISHED(TCustomControl) {}
VK_PUBLISHED(TGraphicControl) {}

namespace {

Qt::CursorShape ShapeOf(TCursor cursor)
{
    switch (cursor) {
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass: return Qt::WaitCursor;
    case crDrag: return Qt::DragMoveCursor;
    case crNoDrop: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crNone: return Qt::BlankCursor;
    default: return Qt::ArrowCursor;
    }
}

// The palette of a window with the text and background colours: windows of
// one look share one (every element of a report has the same), sparing each
// a round of colour changes.
QPalette PaletteOf(TColor text, TColor back)
{
    static std::map<std::pair<TColor, TColor>, QPalette> made;
    auto [it, added] = made.try_emplace({text, back});
    if (added) {
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            it->second.setColor(role, ColorToQColor(text));
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button})
            it->second.setColor(role, ColorToQColor(back));
    }
    return it->second;
}

// The order in which controls of one alignment take their places.
bool AlignsBefore(TAlign align, const TControl* a, const TControl* b)
{
    switch (align) {
    case alTop: return a->Top() < b->Top();
    case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
    case alLeft: return a->Left() < b->Left();
    case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
    default: return false;
    }
}

// Where a control stands in one of its parent's lists; controls mostly go
// from the end (a parent frees its children last first), so the search
// starts there.
template <class T>
typename std::vector<T*>::iterator FindFromEnd(std::vector<T*>& list, const TControl* control)
{
    auto it = std::find(list.rbegin(), list.rend(), control);
    return it == list.rend() ? list.end() : std::next(it).base();
}

}  // namespace

// ---------------------------------------------------------------- TControl

void TControl::Create(TComponent* owner)
{
    inherited::Create(owner);
    font_.OnChange = TNotifyEvent([this](TObject*) { FontChanged(); });
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    widget_ = CreateWidget();
    widget_->hide();
    // a graphic control shows its parent through where it does not paint
    widget_->setAutoFillBackground(!dynamic_cast<TGraphicControl*>(this));
    new TWidgetLink(widget_, this);
    ApplyFont();
    SyncWidget();
    UpdateWidgetGeometry();
}

void TControl::Destroy()
{
    // marked first: the parent then lets the widget go with the control
    // instead of taking it out of the window, a walk over all its widgets
    ComponentState.Include(csDestroying);
    // a window inside a dying parent's goes unseen with it
    const bool seen = !parent_ || !parent_->IsDestroying();
    if (parent_)
        parent_->RemoveControl(this);
    DetachWidget(seen);
    inherited::Destroy();
}

void TControl::DetachWidget(bool seen)
{
    QWidget* widget = widget_;
    widget_ = nullptr;
    if (!widget)
        return;
    if (TWidgetLink* link = TWidgetLink::Of(widget))
        link->Detach();
    QObject::disconnect(widget, nullptr, nullptr, nullptr);
    if (seen)
        widget->hide();
    // an event of this very window may be running: let it finish first
    if (TDispatchScope::Active())
        widget->deleteLater();
    else
        delete widget;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    for (const TWinControl* p = parent; p; p = p->parent_)
        if (p == this)
            throw EInvalidOperation(QStringLiteral("A control cannot have itself as parent"));
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    const bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    UpdateWidgetGeometry();
    if (resized)
        Resize();
    RequestAlign();
}

void TControl::WindowBoundsChanged(const QRect& bounds)
{
    SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
}

void TControl::SetClientWidth(int v)
{
    SetWidth(width_ - ClientWidth() + v);
}

void TControl::SetClientHeight(int v)
{
    SetHeight(height_ - ClientHeight() + v);
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    // the others may take the place this one leaves
    if (parent_)
        parent_->AlignControls();
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    UpdateWidgetVisibility();
    RequestAlign();
}

bool TControl::Showing() const
{
    if (!visible_ || !widget_)
        return false;
    if (parent_)
        return parent_->Showing();
    return IsTopLevel() && widget_->isVisible();
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (widget_)
        widget_->setEnabled(enabled);
}

void TControl::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    SyncWidget();
    Invalidate();
}

void TControl::SetParentFont(bool v)
{
    parentFont_ = v;
    ParentFontChanged();
}

void TControl::FontChanged()
{
    if (!adoptingFont_)
        parentFont_ = false;
    ApplyFont();
    Invalidate();
}

void TControl::ParentFontChanged()
{
    // a control moved between parents of one font keeps its own: applying it
    // again costs every widget inside a round of font and palette changes
    if (!parentFont_ || !parent_ || font_.SameAs(parent_->font_))
        return;
    adoptingFont_ = true;
    font_.Assign(&parent_->font_);
    adoptingFont_ = false;
}

void TControl::ApplyFont()
{
    if (!widget_)
        return;
    widget_->setFont(font_.ToQFont());
    ApplyPalette();
}

void TControl::ApplyPalette()
{
    if (widget_)
        widget_->setPalette(PaletteOf(font_.Color(), color_));
}

void TControl::SetColor(TColor color)
{
    parentColor_ = false;
    TakeColor(color);
}

void TControl::TakeColor(TColor color)
{
    color_ = color;
    ApplyPalette();
    Invalidate();
    if (auto* win = dynamic_cast<TWinControl*>(this))
        for (TControl* child : win->controls_)
            if (child->parentColor_)
                child->TakeColor(color);
}

void TControl::SetParentColor(bool v)
{
    parentColor_ = v;
    if (v && parent_)
        TakeColor(parent_->color_);
}

void TControl::SetHint(const QString& hint)
{
    hint_ = hint;
    SyncWidget();
}

void TControl::SetShowHint(bool v)
{
    showHint_ = v;
    parentShowHint_ = false;
    SyncWidget();
}

void TControl::SetParentShowHint(bool v)
{
    parentShowHint_ = v;
    SyncWidget();
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (widget_)
        widget_->setCursor(QCursor(ShapeOf(cursor)));
}

void TControl::SyncWidget()
{
    if (!widget_)
        return;
    const bool hints = parentShowHint_ && parent_ ? parent_->ShowHint() : showHint_;
    // a tip set again is still a change the window hears of
    if (const QString tip = hints ? hint_ : QString(); tip != widget_->toolTip())
        widget_->setToolTip(tip);
    widget_->setEnabled(enabled_);
}

void TControl::BringToFront()
{
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::find(list.begin(), list.end(), this));
        list.push_back(this);
    }
    if (widget_)
        widget_->raise();
}

void TControl::SendToBack()
{
    if (parent_) {
        auto& list = parent_->controls_;
        list.erase(std::find(list.begin(), list.end(), this));
        list.insert(list.begin(), this);
    }
    if (widget_)
        widget_->lower();
}

QPoint TControl::ClientToScreen(const QPoint& p) const
{
    return widget_ ? widget_->mapToGlobal(p) : p;
}

QPoint TControl::ScreenToClient(const QPoint& p) const
{
    return widget_ ? widget_->mapFromGlobal(p) : p;
}

void TControl::Invalidate()
{
    if (widget_)
        widget_->update();
}

void TControl::Update()
{
    if (widget_ && widget_->isVisible())
        widget_->repaint();
}

QImage TControl::Grab() const
{
    if (!widget_)
        return QImage();
    // a window that was never shown has not laid out its native parts yet
    widget_->ensurePolished();
    return widget_->grab().toImage();
}

void TControl::Click()
{
    OnClick(this);
}

void TControl::DblClick()
{
    OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && ControlStyle.Contains(csClickEvents) && !NativeInput())
        clicking_ = true;
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // a press and release of the left button over the control make a click
    if (button == mbLeft && clicking_) {
        clicking_ = false;
        if (ClientRect().contains(x, y))
            Click();
    }
    OnMouseUp(this, button, shift, x, y);
}

TComponent* TControl::GetParentComponent() const
{
    return parent_;
}

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* win = dynamic_cast<TWinControl*>(parent))
        SetParent(win);
}

void TControl::Loaded()
{
    inherited::Loaded();
    UpdateWidgetVisibility();
    RequestAlign();
}

void TControl::Resize()
{
    OnResize(this);
}

void TControl::RequestAlign()
{
    // a control that is not aligned moves none of the others
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

void TControl::UpdateWidgetGeometry()
{
    if (widget_)
        widget_->setGeometry(left_, top_, width_, height_);
}

void TControl::UpdateWidgetVisibility()
{
    if (!widget_)
        return;
    // a control without a parent has no window to show in, unless it is one;
    // a window comes up once it has been read completely
    widget_->setVisible(visible_ && (parent_ || (IsTopLevel() && !IsLoading())));
}

// ---------------------------------------------------------------- TWinControl

void TWinControl::Destroy()
{
    ComponentState.Include(csDestroying);
    // the controls shown here go with it, whoever owns them; their windows go
    // unseen: the window around repaints this one's place as it goes, not a
    // piece per child, each growing what is to be repainted
    if (widget_)
        widget_->setUpdatesEnabled(false);
    while (!controls_.empty())
        controls_.back()->Free();
    inherited::Destroy();
}

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return controls_[index];
}

void TWinControl::InsertControl(TControl* control)
{
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(win);
    if (control->widget_) {
        control->widget_->setParent(widget_);
        control->UpdateWidgetGeometry();
        control->UpdateWidgetVisibility();
        control->SyncWidget();
    }
    control->ParentFontChanged();
    if (control->parentColor_ && control->color_ != color_)
        control->TakeColor(color_);
    UpdateTabOrder();
    if (control->visible_ && control->align_ != alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* control)
{
    auto it = FindFromEnd(controls_, control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    if (auto tab = FindFromEnd(tabList_, control); tab != tabList_.end())
        tabList_.erase(tab);
    control->parent_ = nullptr;
    if (control->widget_ && !control->IsDestroying()) {
        control->widget_->hide();
        control->widget_->setParent(nullptr);
        control->UpdateWidgetVisibility();
    }
    if (control->visible_ && control->align_ != alNone)
        AlignControls();
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* c = control; c; c = c->parent_)
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const QPoint& pos, bool allowDisabled) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const TControl* c = *it;
        if (c->visible_ && (c->enabled_ || allowDisabled) && c->BoundsRect().contains(pos))
            return *it;
    }
    return nullptr;
}

int TWinControl::TabOrder() const
{
    if (!parent_)
        return -1;
    const auto& list = parent_->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    list.erase(std::find(list.begin(), list.end(), this));
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    parent_->UpdateTabOrder();
}

void TWinControl::UpdateTabOrder()
{
    QWidget* previous = nullptr;
    for (TWinControl* c : tabList_) {
        if (!c->widget_)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, c->widget_);
        previous = c->widget_;
    }
}

void TWinControl::SetTabStop(bool v)
{
    tabStop_ = v;
    if (widget_)
        widget_->setFocusPolicy(v ? Qt::StrongFocus : (NativeInput() ? Qt::ClickFocus : Qt::NoFocus));
}

bool TWinControl::Focused() const
{
    return widget_ && widget_->hasFocus();
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::CanFocus() const
{
    for (const TWinControl* c = this; c; c = c->parent_)
        if (!c->Visible() || !c->Enabled())
            return false;
    return widget_ != nullptr;
}

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0)
        AlignControls();
}

void TWinControl::AlignControls()
{
    if (alignDisabled_ > 0 || IsLoading() || IsDestroying())
        return;
    if (aligning_) {
        // a handler moved a control while the others were being placed: go again
        alignPending_ = true;
        return;
    }
    aligning_ = true;
    for (int pass = 0; pass < 4; ++pass) {
        alignPending_ = false;
        QRect rect = AlignRect();
        for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient})
            PlaceAligned(align, rect);
        if (!alignPending_)
            break;
    }
    aligning_ = false;
}

void TWinControl::PlaceAligned(TAlign align, QRect& rect)
{
    std::vector<TControl*> list;
    for (TControl* c : controls_)
        if (c->align_ == align && c->visible_)
            list.push_back(c);
    std::stable_sort(list.begin(), list.end(),
                     [align](const TControl* a, const TControl* b) { return AlignsBefore(align, a, b); });
    // QRect's right and bottom are inclusive; work with exclusive edges
    int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    for (TControl* c : list) {
        const int w = std::max(right - left, 0), h = std::max(bottom - top, 0);
        switch (align) {
        case alTop:
            c->SetBounds(left, top, w, c->height_);
            top += c->height_;
            break;
        case alBottom:
            c->SetBounds(left, bottom - c->height_, w, c->height_);
            bottom -= c->height_;
            break;
        case alLeft:
            c->SetBounds(left, top, c->width_, h);
            left += c->width_;
            break;
        case alRight:
            c->SetBounds(right - c->width_, top, c->width_, h);
            right -= c->width_;
            break;
        default:
            c->SetBounds(left, top, w, h);
            break;
        }
    }
    rect = QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

void TWinControl::Resize()
{
    AlignControls();
    inherited::Resize();
}

void TWinControl::FontChanged()
{
    inherited::FontChanged();
    for (TControl* c : controls_)
        c->ParentFontChanged();
}

void TWinControl::Loaded()
{
    inherited::Loaded();
    AlignControls();
}

void TWinControl::KeyDown(int& key, TShiftState shift)
{
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift)
{
    OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(QChar& key)
{
    OnKeyPress(this, key);
}

void TWinControl::DoEnter()
{
    OnEnter(this);
}

void TWinControl::DoExit()
{
    OnExit(this);
}

TKeyClient* TWinControl::KeyPreviewer()
{
    TWindowHost* form = WindowHostOf(this);
    auto* preview = form && form->PreviewsKeys() ? dynamic_cast<TWinControl*>(form) : nullptr;
    return preview == this ? nullptr : preview;
}

bool TWinControl::HostKey(int key)
{
    TWindowHost* form = WindowHostOf(this);
    return form && form->DialogKey(this, key);
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TControl* c : std::vector<TControl*>(controls_))
        if (c->Owner() == root)
            proc(c);
}

// ---------------------------------------------------------------- painted controls

namespace {

// Paints a control on its canvas, which draws through the window's painter
// while the paint runs; fill paints the background first.
void PaintOnCanvas(const TControl* control, TCanvas& canvas, QPainter& painter, bool fill,
                   const std::function<void()>& paint)
{
    canvas.SetPainter(&painter);
    // the painter is the window's for this paint only, however the paint ends
    TScopeExit release([&canvas] { canvas.SetPainter(nullptr); });
    canvas.Font()->Assign(control->Font());
    canvas.Brush()->SetColor(control->Color());
    canvas.Brush()->SetStyle(bsSolid);
    if (fill)
        canvas.FillRect(control->ClientRect());
    DispatchSafely(paint);
}

}  // namespace

QWidget* TCustomControl::CreateWidget()
{
    return new TPaintWidget();
}

// a windowed control fills its background; a graphic control shows its parent through
void TCustomControl::PaintWindow(QPainter& painter)
{
    PaintOnCanvas(this, canvas_, painter, true, [this] { Paint(); });
}

QWidget* TGraphicControl::CreateWidget()
{
    return new TPaintWidget();
}

void TGraphicControl::PaintWindow(QPainter& painter)
{
    PaintOnCanvas(this, canvas_, painter, false, [this] { Paint(); });
}

TControl* FindControl(const QWidget* widget)
{
    TWidgetLink* link = TWidgetLink::Of(widget);
    return link ? dynamic_cast<TControl*>(link->Client()) : nullptr;
}

TWindowHost* WindowHostOf(const TControl* control)
{
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TWindowHost*>(const_cast<TControl*>(control));
}
