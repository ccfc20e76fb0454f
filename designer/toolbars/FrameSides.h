#pragma once
// The four frame-side buttons that the band and font toolbars share: their
// glyphs, hints and the frame's side indexes, in the toolbars' left-to-right
// order (left, top, bottom, right).
#include "controls/Buttons.h"
#include "engine/QuickRep.h"

#include <array>

struct TFrameSideButton {
    const char* Glyph;
    const char* Hint;
    int Side;  // the frame's index: 0 top, 1 bottom, 2 left, 3 right
};

inline constexpr std::array<TFrameSideButton, 4> kFrameSideButtons = {{
    {"QRFRAMELEFTBITMAP", "Left Frame", 2},
    {"QRFRAMETOPBITMAP", "Top Frame", 0},
    {"QRFRAMEBTMBITMAP", "Bottom Frame", 1},
    {"QRFRAMERIGHTBITMAP", "Right Frame", 3},
}};

// Puts each button down exactly when its side is drawn (buttons in the order above).
void ShowFrameSides(const TQRFrame* frame, const std::array<TSpeedButton*, 4>& buttons);
// Switches one side from the frame's own state and shows the result in the button.
void ToggleFrameSide(TQRFrame* frame, int side, TSpeedButton* button);
