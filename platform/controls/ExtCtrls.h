#pragma once
// Panels and radio groups.
#include "controls/StdCtrls.h"

class TCustomPanel : public TCustomControl {
    VK_CLASS(TCustomPanel, TCustomControl)
public:
    void Create(TComponent* owner) override;  // 185 x 41, raised outer bevel
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut v);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut v);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);
    Qt::Alignment CaptionAlignment = Qt::AlignCenter;
    QRect AlignRect() const override;  // client rectangle less bevels and border
    void SetName(const QString& name) override;  // the caption follows the name while they are equal

protected:
    void Paint() override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};

class TPanel : public TCustomPanel {
    VK_CLASS(TPanel, TCustomPanel)
};

class TRadioGroup : public TCustomControl {
    VK_CLASS(TRadioGroup, TCustomControl)
public:
    void Create(TComponent* owner) override;
    TStrings* Items() { return &items_; }
    const TStrings* Items() const { return &items_; }
    void SetItems(TStrings* items) { items_.Assign(items); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);  // -1: none
    static constexpr int MaxColumns = 16;
    int Columns() const { return columns_; }
    void SetColumns(int v);

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;

private:
    void Rebuild();
    TStringList items_;
    int itemIndex_ = -1;
    int columns_ = 1;
};
