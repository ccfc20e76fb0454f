#pragma once
// The band toolbar: names the selected band's kind and switches the sides of
// its frame, its child band and its new-page flag.
#include "designer/toolbars/NewQrToolbar.h"

class TQRCustomBandToolbar : public TNewQrToolbar {
    VK_CLASS(TQRCustomBandToolbar, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;
    // Shows the band's kind, frame, child band and new-page flag; nil keeps what is shown.
    void SetComponent(TComponent* component) override;

    TSpeedButton* FrameLeftButton = nullptr;
    TSpeedButton* FrameTopButton = nullptr;
    TSpeedButton* FrameBottomButton = nullptr;
    TSpeedButton* FrameRightButton = nullptr;
    TCheckBox* ChildBox = nullptr;
    TLabel* BandNameLabel = nullptr;
    TCheckBox* NewPageBox = nullptr;

    void FrameLeftClick(TObject* sender);
    void FrameTopClick(TObject* sender);
    void FrameBottomClick(TObject* sender);
    void FrameRightClick(TObject* sender);
    void ChildClick(TObject* sender);
    void NewPageClick(TObject* sender);

private:
    void CreateNameLabel();
    void ToggleSide(int button);
};
