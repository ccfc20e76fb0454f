#pragma once
// The shape toolbar: six buttons, one per kind of shape; a click gives the
// selected shape that kind. The buttons show the kind last chosen here, not
// the selected shape's.
#include "designer/toolbars/NewQrToolbar.h"

#include <array>

class TQRShapeToolbar : public TNewQrToolbar {
    VK_CLASS(TQRShapeToolbar, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;

    // Rectangle, circle, vertical line, horizontal line, top-bottom line, right-left line.
    std::array<TSpeedButton*, 6> ShapeButtons{};

    void ShapeClick(TObject* sender);
};
