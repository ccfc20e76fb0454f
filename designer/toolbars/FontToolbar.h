#pragma once
// The font toolbar: edits the look of the selected text element (font name
// and size, bold, italic, underline, alignment, font and background colour,
// frame sides, automatic sizing). Every control acts on the element at once.
#include "designer/VornakExport.h"
#include "designer/toolbars/NewQrToolbar.h"

class TQRCustomLabelToolbar : public TNewQrToolbar {
    VK_CLASS(TQRCustomLabelToolbar, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;
    // Shows the element's state in every control; nil leaves the controls alone.
    void SetComponent(TComponent* component) override;

    TSpeedButton* AlignCenterButton = nullptr;
    TSpeedButton* AlignLeftButton = nullptr;
    TSpeedButton* AlignRightButton = nullptr;
    TSpeedButton* BkColorButton = nullptr;
    TSpeedButton* BoldButton = nullptr;
    TSpeedButton* FontColorButton = nullptr;
    TComboBox* FontNameBox = nullptr;
    TComboBox* FontSizeBox = nullptr;
    TSpeedButton* FrameLeftButton = nullptr;
    TSpeedButton* FrameRightButton = nullptr;
    TSpeedButton* FrameTopButton = nullptr;
    TSpeedButton* FrameBottomButton = nullptr;
    TSpeedButton* ItalicButton = nullptr;
    TSpeedButton* UnderlineButton = nullptr;
    TSpeedButton* AutoSizeButton = nullptr;

    void FontNameKeyPress(TObject* sender, QChar& key);
    void ApplyFontName(TObject* sender);
    void FontNameDropDown(TObject* sender);
    void FontSizeKeyPress(TObject* sender, QChar& key);
    void ApplyFontSize(TObject* sender);
    void FontSizeEnter(TObject* sender);
    void BoldClick(TObject* sender);
    void ItalicClick(TObject* sender);
    void UnderlineClick(TObject* sender);
    void AlignmentClick(TObject* sender);
    void FontColorClick(TObject* sender);
    void BkColorClick(TObject* sender);
    void FrameClick(TObject* sender);
    void AutoSizeClick(TObject* sender);

private:
    TComboBox* AddComboBox(int width, bool sorted);
    void AddButtons();
    void ShowAutoSize(TComponent* element);
    void ToggleStyle(TFontStyle style, TSpeedButton* button);
    // Runs a colour dialog preset to color; true (and color changed) when confirmed.
    bool PickColor(TColor& color);
};

// Fills the box's list with the usual font sizes, 8 to 72 points; its text stays.
VORNAK_EXPORT void PopulateFontSizeCombo(TComboBox* box);
