#include "designer/toolbars/NewQrToolbar.h"

#include "classes/Published.h"

VK_PUBLISHED(TNewQrToolbar) {}

void TNewQrToolbar::ShowChecked(TCheckBox* box, bool checked)
{
    const bool eventsOn = EventsOn;
    EventsOn = false;
    box->SetChecked(checked);
    EventsOn = eventsOn;
}
