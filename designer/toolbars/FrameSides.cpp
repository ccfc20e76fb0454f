#include "designer/toolbars/FrameSides.h"

void ShowFrameSides(const TQRFrame* frame, const std::array<TSpeedButton*, 4>& buttons)
{
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttons[i]->SetDown(frame->Value(kFrameSideButtons[i].Side));
}

void ToggleFrameSide(TQRFrame* frame, int side, TSpeedButton* button)
{
    frame->SetValue(side, !frame->Value(side));
    button->SetDown(frame->Value(side));
}
