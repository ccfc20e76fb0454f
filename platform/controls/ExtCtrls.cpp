#include "controls/ExtCtrls.h"
#include "controls/ControlProps.h"
#include "qt/Dispatch.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>

namespace cp = controlprops;

VK_PUBLISHED(TCustomPanel) {}

VK_PUBLISHED(TPanel)
{
    cp::Align(c);
    c.Prop("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
    c.Prop("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
    c.Prop("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
    c.Prop("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
    cp::Caption(c);
    cp::Color(c, clBtnFace);
    c.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    cp::Tabs(c, false);
    cp::MouseEvents(c);
    c.Prop("OnEnter", &TWinControl::OnEnter);
    c.Prop("OnExit", &TWinControl::OnExit);
    c.Prop("OnResize", &TControl::OnResize);
}

VK_PUBLISHED(TRadioGroup)
{
    cp::Align(c);
    cp::Caption(c);
    cp::Color(c, clBtnFace);
    c.Prop("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns).Default(1).Range(1, TRadioGroup::MaxColumns);
    cp::State(c);
    cp::Font(c);
    cp::Hints(c);
    c.Prop("Items", &TRadioGroup::Items);
    c.Prop("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex).Default(-1).DependsOnContext();  // needs items
    cp::Tabs(c, true);
    c.Prop("OnClick", &TControl::OnClick);
    c.Prop("OnEnter", &TWinControl::OnEnter);
    c.Prop("OnExit", &TWinControl::OnExit);
}

// ---------------------------------------------------------------- TCustomPanel

void TCustomPanel::Create(TComponent* owner)
{
    inherited::Create(owner);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    SetBounds(Left(), Top(), 185, 41);
}

void TCustomPanel::SetBevelInner(TBevelCut v)
{
    bevelInner_ = v;
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut v)
{
    bevelOuter_ = v;
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int v)
{
    bevelWidth_ = v;
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int v)
{
    borderWidth_ = v;
    AlignControls();
    Invalidate();
}

QRect TCustomPanel::AlignRect() const
{
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    return ClientRect().adjusted(inset, inset, -inset, -inset);
}

void TCustomPanel::SetName(const QString& name)
{
    const bool follows = Caption() == Name() && ControlStyle.Contains(csSetCaption) && !IsLoading();
    inherited::SetName(name);
    if (follows)
        SetCaption(name);
}

namespace {

// Draws a bevel of the given width inside rect and shrinks rect by it.
void DrawBevel(QPainter& painter, QRect& rect, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const QColor light = ColorToQColor(clBtnHighlight), dark = ColorToQColor(clBtnShadow);
    const QColor topLeft = cut == bvLowered ? dark : light;
    const QColor bottomRight = cut == bvLowered ? light : dark;
    for (int i = 0; i < width; ++i) {
        if (cut != bvSpace) {
            painter.setPen(topLeft);
            painter.drawLine(rect.topLeft(), rect.topRight());
            painter.drawLine(rect.topLeft(), rect.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(rect.bottomLeft(), rect.bottomRight());
            painter.drawLine(rect.topRight(), rect.bottomRight());
        }
        rect.adjust(1, 1, -1, -1);
    }
}

}  // namespace

void TCustomPanel::Paint()
{
    QPainter& painter = *Canvas()->Painter();
    QRect rect = ClientRect().adjusted(0, 0, -1, -1);
    DrawBevel(painter, rect, bevelOuter_, bevelWidth_);
    rect.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    DrawBevel(painter, rect, bevelInner_, bevelWidth_);
    if (Caption().isEmpty())
        return;
    painter.setFont(Font()->ToQFont());
    painter.setPen(ColorToQColor(Font()->Color()));
    painter.drawText(rect, int(CaptionAlignment | Qt::AlignVCenter), Caption());
}

// ---------------------------------------------------------------- TRadioGroup

void TRadioGroup::Create(TComponent* owner)
{
    items_.OnChange = TNotifyEvent([this](TObject*) { Rebuild(); });
    inherited::Create(owner);
    SetTabStop(true);
    SetBounds(Left(), Top(), 185, 105);
}

QWidget* TRadioGroup::CreateWidget()
{
    auto* box = new QGroupBox();
    new QGridLayout(box);
    return box;
}

void TRadioGroup::Rebuild()
{
    auto* box = static_cast<QGroupBox*>(Widget());
    auto* layout = static_cast<QGridLayout*>(box->layout());
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const int count = items_.Count();
    const int rows = (count + columns_ - 1) / std::max(columns_, 1);
    for (int i = 0; i < count; ++i) {
        auto* button = new QRadioButton(items_.Strings(i), box);
        layout->addWidget(button, rows ? i % rows : 0, rows ? i / rows : 0);
        QObject::connect(button, &QRadioButton::clicked, box, [this, i] {
            DispatchSafely([this, i] {
                if (i == itemIndex_)
                    return;
                SetItemIndex(i);
                Click();
            });
        });
    }
    if (itemIndex_ >= count)
        itemIndex_ = -1;
    SyncWidget();
}

void TRadioGroup::SyncWidget()
{
    inherited::SyncWidget();
    auto* box = static_cast<QGroupBox*>(Widget());
    box->setTitle(Caption());
    const auto buttons = box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i]->setAutoExclusive(false);
        buttons[i]->setChecked(i == itemIndex_);
        buttons[i]->setAutoExclusive(true);
    }
}

void TRadioGroup::SetItemIndex(int index)
{
    itemIndex_ = index >= 0 && index < items_.Count() ? index : -1;
    SyncWidget();
}

void TRadioGroup::SetColumns(int v)
{
    columns_ = std::clamp(v, 1, MaxColumns);
    Rebuild();
}
