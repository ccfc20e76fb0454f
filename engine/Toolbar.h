#pragma once
// The toolbar base: a panel that shows one element and places speed buttons
// and check boxes from left to right.
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"

class TQRToolbar : public TCustomPanel {
    VK_CLASS(TQRToolbar, TCustomPanel)
public:
    // Height 30, hints shown, hidden, NextX 4, SetComponent(nil), aligned to
    // the top, events on.
    void Create(TComponent* owner) override;
    // The element becomes the shown one; events go off until EndSetComponent.
    virtual void SetComponent(TComponent* component);
    void EndSetComponent() { EventsOn = true; }
    // A 24 x 24 speed button at NextX, top 4, all-up allowed; NextX grows by 24.
    TSpeedButton* AddButton(const QString& caption, const QString& bitmapName, const QString& hint, int groupIndex,
                            TNotifyEvent onClick);
    // A check box at NextX, top 8, width 80; NextX grows by 80.
    TCheckBox* AddCheckBox(const QString& caption, const QString& hint, TNotifyEvent onClick);
    void AddSpace() { NextX += 8; }
    void Notification(TComponent* component, TOperation operation) override;

    TComponent* Component = nullptr;  // the element shown; not owned, cleared when it goes
    int NextX = 4;
    bool EventsOn = false;
};
