#include "engine/Toolbar.h"

#include "classes/Published.h"
#include "engine/References.h"
#include "engine/Resources.h"

VK_PUBLISHED(TQRToolbar) {}

void TQRToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetHeight(30);
    SetShowHint(true);
    SetVisible(false);
    NextX = 4;
    SetComponent(nullptr);
    SetAlign(alTop);
    EventsOn = true;
}

void TQRToolbar::SetComponent(TComponent* component)
{
    TrackReference(this, Component, component);
    EventsOn = false;
}

void TQRToolbar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == Component)
        Component = nullptr;
}

TSpeedButton* TQRToolbar::AddButton(const QString& caption, const QString& bitmapName, const QString& hint,
                                    int groupIndex, TNotifyEvent onClick)
{
    auto* button = New<TSpeedButton>(this);
    button->SetParent(this);
    button->SetBounds(NextX, 4, 24, 24);
    button->SetCaption(caption);
    if (!bitmapName.isEmpty()) {
        TBitmap* glyph = LoadGlyph(bitmapName);
        button->SetGlyph(glyph);
        glyph->Free();
    }
    button->SetHint(hint);
    button->SetGroupIndex(groupIndex);
    button->SetAllowAllUp(true);
    button->OnClick = std::move(onClick);
    NextX += button->Width();
    return button;
}

TCheckBox* TQRToolbar::AddCheckBox(const QString& caption, const QString& hint, TNotifyEvent onClick)
{
    auto* box = New<TCheckBox>(this);
    box->SetParent(this);
    box->SetBounds(NextX, 8, 80, box->Height());
    box->SetCaption(caption);
    box->SetHint(hint);
    box->OnClick = std::move(onClick);
    NextX += box->Width();
    return box;
}
