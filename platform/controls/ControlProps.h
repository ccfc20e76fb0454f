#pragma once
// Declaring the published properties that many controls share, each group
// with the library's defaults, for the VK_PUBLISHED blocks of the controls.
#include "classes/Published.h"
#include "controls/Controls.h"

namespace controlprops {

template <class C>
void Align(TClassBuilder<C>& c)
{
    c.Prop("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
}

template <class C>
void Caption(TClassBuilder<C>& c)
{
    c.Prop("Caption", &TControl::Caption, &TControl::SetCaption);
}

// Color with its default; not stored while it follows the parent's.
template <class C>
void Color(TClassBuilder<C>& c, TColor defaultColor)
{
    c.Prop("Color", &TControl::Color, &TControl::SetColor)
        .Default(defaultColor)
        .Stored([](const TObject* o) { return !static_cast<const TControl*>(o)->ParentColor(); });
}

// Font (stored only when it does not follow the parent's) and ParentFont.
template <class C>
void Font(TClassBuilder<C>& c)
{
    c.Prop("Font", &TControl::Font).Stored([](const TObject* o) {
        return !static_cast<const TControl*>(o)->ParentFont();
    });
    c.Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
}

template <class C>
void Hints(TClassBuilder<C>& c)
{
    c.Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    c.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Stored([](const TObject* o) { return !static_cast<const TControl*>(o)->ParentShowHint(); });
}

template <class C>
void State(TClassBuilder<C>& c)
{
    c.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    c.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
}

template <class C>
void Tabs(TClassBuilder<C>& c, bool tabStop)
{
    // the place among the parent's controls: without a parent there is none
    c.Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1).DependsOnContext();
    c.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(tabStop);
}

template <class C>
void MouseEvents(TClassBuilder<C>& c)
{
    c.Prop("OnClick", &TControl::OnClick);
    c.Prop("OnDblClick", &TControl::OnDblClick);
    c.Prop("OnMouseDown", &TControl::OnMouseDown);
    c.Prop("OnMouseMove", &TControl::OnMouseMove);
    c.Prop("OnMouseUp", &TControl::OnMouseUp);
}

template <class C>
void KeyEvents(TClassBuilder<C>& c)
{
    c.Prop("OnEnter", &TWinControl::OnEnter);
    c.Prop("OnExit", &TWinControl::OnExit);
    c.Prop("OnKeyDown", &TWinControl::OnKeyDown);
    c.Prop("OnKeyPress", &TWinControl::OnKeyPress);
    c.Prop("OnKeyUp", &TWinControl::OnKeyUp);
}

}  // namespace controlprops
