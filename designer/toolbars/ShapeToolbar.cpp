#include "designer/toolbars/ShapeToolbar.h"

#include "classes/Published.h"
#include "engine/Printables.h"

namespace {
struct TShapeButton {
    const char* Glyph;
    const char* Hint;
    TQRShapeType Shape;
};
constexpr std::array<TShapeButton, 6> kShapeButtons = {{
    {"QRRECTANGLEBITMAP", "Rectangle", qrsRectangle},
    {"QRCIRCLEBITMAP", "Circle", qrsCircle},
    {"QRVERTLINEBITMAP", "Vertical line", qrsVertLine},
    {"QRHORZLINEBITMAP", "Horizontal", qrsHorLine},
    {"QRTOPBOTTOMBITMAP", "Top - Bottom line", qrsTopAndBottom},
    {"QRLEFTRIGHTBITMAP", "Right - left line", qrsRightAndLeft},
}};
}  // namespace

VK_PUBLISHED(TQRShapeToolbar) {}

void TQRShapeToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    for (std::size_t i = 0; i < kShapeButtons.size(); ++i)
        ShapeButtons[i] = AddButton("", kShapeButtons[i].Glyph, kShapeButtons[i].Hint, 1,
                                    TNotifyEvent(this, &TQRShapeToolbar::ShapeClick));
    AddSpace();
}

void TQRShapeToolbar::ShapeClick(TObject* sender)
{
    auto* shape = Element<TQRShape>();
    if (!shape)
        return;
    // A sender that is none of the first five counts as the last.
    std::size_t row = 0;
    while (row + 1 < ShapeButtons.size() && ShapeButtons[row] != sender)
        ++row;
    shape->SetShape(kShapeButtons[row].Shape);
    ShapeButtons[row]->SetDown(true);
}
