#pragma once
// Speed buttons and bit buttons.
#include "controls/StdCtrls.h"
#include "graphics/Picture.h"

VK_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
VK_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)

// A glyph strip holds at most four images side by side: up, disabled,
// pressed and down.
inline constexpr int MaxGlyphs = 4;

class TSpeedButton : public TGraphicControl {
    VK_CLASS(TSpeedButton, TGraphicControl)
public:
    void Create(TComponent* owner) override;  // 25 x 25
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v);
    bool Down() const { return down_; }
    // Setting Down from code fires nothing; a down grouped button releases
    // the others of its group on the same parent.
    void SetDown(bool v);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool v);
    bool Flat() const { return flat_; }
    void SetFlat(bool v);
    TBitmap* Glyph() { return &glyph_; }
    const TBitmap* Glyph() const { return &glyph_; }
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int v);
    // Glyph and caption placement: the layout names the glyph's side, Margin
    // -1 centres the pair, Spacing (between them) -1 spreads the free space.
    int Spacing() const { return spacing_; }
    void SetSpacing(int v);
    int Margin() const { return margin_; }
    void SetMargin(int v);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout v);
    // A user's click: toggles a grouped button, then OnClick.
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    void ReleaseGroup();
    // Runs proc for the other buttons of this one's group on the same parent.
    void ForEachInGroup(const std::function<void(TSpeedButton*)>& proc);
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool pressed_ = false;
    TBitmap glyph_;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    int margin_ = -1;
    TButtonLayout layout_ = blGlyphLeft;
};

class TBitBtn : public TButton {
    VK_CLASS(TBitBtn, TButton)
public:
    void Create(TComponent* owner) override;
    TBitBtnKind Kind() const { return kind_; }
    // bkOK: caption "OK", default button, mrOk; bkCancel: "&Cancel", cancel button, mrCancel.
    void SetKind(TBitBtnKind kind);
    TBitmap* Glyph() { return &glyph_; }
    const TBitmap* Glyph() const { return &glyph_; }
    void SetGlyph(TBitmap* glyph);
    int NumGlyphs = 1;
    // Glyph and caption placement as for speed buttons: Margin -1 centres
    // them, Spacing -1 spreads the free space evenly.
    int Spacing = 4;
    int Margin = -1;
    TButtonLayout Layout = blGlyphLeft;
    void Click() override;  // bkClose: closes the form after OnClick

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;

private:
    void PaintFace(QPainter& painter, const QRect& face, bool down);
    TBitBtnKind kind_ = bkCustom;
    TBitmap glyph_;
};
