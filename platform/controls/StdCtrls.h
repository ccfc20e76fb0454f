#pragma once
// Standard controls on Qt's widgets: labels, edits, memos, check boxes,
// combo boxes, buttons and scroll bars.
#include "classes/StringList.h"
#include "controls/Controls.h"

#include "classes/Alignment.h"

class QPushButton;
VK_ENUM(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
VK_ENUM(TComboBoxStyle, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)
VK_ENUM(TScrollBarKind, sbHorizontal, sbVertical)
VK_ENUM(TScrollCode, scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll)
VK_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
using TScrollEvent = TEvent<TObject*, TScrollCode, int&>;

// Modal results of buttons and forms.
enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                          mrNo = 7, mrAll = 8 };
// Streamed as its number.
inline TValue VkStreamOut(TModalResult result) { return TValue::Integer(result); }
TModalResult VkStreamIn(const TValue& value, TModalResult*);

class TLabel : public TControl {
    VK_CLASS(TLabel, TControl)
public:
    void Create(TComponent* owner) override;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);  // sizes the label to its text: one line of its font
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TWinControl* FocusControl = nullptr;
    void SetText(const QString& text) override;

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    void FontChanged() override;

private:
    void AdjustSize();
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = false;
    bool transparent_ = false;
};

class TEdit : public TWinControl {
    VK_CLASS(TEdit, TWinControl)
public:
    void Create(TComponent* owner) override;  // 121 wide, the default height for its font
    void SetText(const QString& text) override;  // OnChange only when the text really changes
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool NativeInput() const override { return true; }

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
};

class TMemo : public TWinControl {
    VK_CLASS(TMemo, TWinControl)
public:
    void Create(TComponent* owner) override;
    TStrings* Lines() { return &lines_; }
    const TStrings* Lines() const { return &lines_; }
    void SetLines(TStrings* lines) { lines_.Assign(lines); }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle v);
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool v);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool v);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment v);
    TNotifyEvent OnChange;

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool NativeInput() const override { return true; }

private:
    void ShowLines();  // the window shows the lines
    TStringList lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    bool wordWrap_ = true;
    bool readOnly_ = false;
    TAlignment alignment_ = taLeftJustify;
    bool syncing_ = false;

public:
    void KeyPress(QChar& key) override;  // a return is no line break without WantReturns
    bool WantsKey(int key) const override;  // Enter, with WantReturns
};

class TCheckBox : public TWinControl {
    VK_CLASS(TCheckBox, TWinControl)
public:
    void Create(TComponent* owner) override;  // 97 x 17
    bool Checked() const { return state_ == cbChecked; }
    // Fires OnClick whenever the state changes, as a user's click does.
    void SetChecked(bool checked);
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState state);
    bool AllowGrayed = false;
    TAlignment Alignment = taRightJustify;

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool NativeInput() const override { return true; }

private:
    TCheckBoxState state_ = cbUnchecked;
};

class TComboBox : public TWinControl {
    VK_CLASS(TComboBox, TWinControl)
public:
    void Create(TComponent* owner) override;  // 145 wide
    TStrings* Items() { return &items_; }
    const TStrings* Items() const { return &items_; }
    void SetItems(TStrings* items) { items_.Assign(items); }
    int ItemIndex() const;
    void SetItemIndex(int index);
    void SetText(const QString& text) override;  // OnChange only on a real change
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle v);
    int DropDownCount = 8;
    TNotifyEvent OnChange;    // the text changed (typed or chosen)
    TNotifyEvent OnDropDown;  // the list is about to open
    // A user's choice of item index from the list: sets the text, then
    // OnChange and OnClick.
    void ChooseItem(int index);

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool NativeInput() const override { return true; }

private:
    TStringList items_;
    int itemIndex_ = -1;
    bool sorted_ = false;
    TComboBoxStyle style_ = csDropDown;
    bool syncing_ = false;
};

class TButton : public TWinControl {
    VK_CLASS(TButton, TWinControl)
public:
    void Create(TComponent* owner) override;  // 75 x 25
    TModalResult ModalResult = mrNone;
    bool Default = false;
    bool Cancel = false;
    // Runs OnClick, then hands the modal result to the form.
    void Click() override;

protected:
    QWidget* CreateWidget() override;
    // Makes a push button the button's window: its clicks run Click.
    QPushButton* Wire(QPushButton* button);
    void SyncWidget() override;
    bool NativeInput() const override { return true; }
};

class TScrollBar : public TWinControl {
    VK_CLASS(TScrollBar, TWinControl)
public:
    void Create(TComponent* owner) override;  // horizontal, 121 x 16
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);  // a change swaps width and height
    int Min() const { return min_; }
    void SetMin(int v);
    int Max() const { return max_; }
    void SetMax(int v);
    int Position() const { return position_; }
    void SetPosition(int v);  // fires nothing
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v);
    // Notified before the bar takes the new position, which the handler may
    // change; a scroll operation ends with scEndScroll at the final position.
    TScrollEvent OnScroll;
    // One scroll step as the user makes it (also what the window calls).
    void Scroll(TScrollCode code, int position);

protected:
    QWidget* CreateWidget() override;
    void SyncWidget() override;
    bool NativeInput() const override { return true; }
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void SetParams(int position, int min, int max);  // raises when max < min
    void EndScroll();  // the last notification of a scroll operation
    bool scrolling_ = false;
    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, largeChange_ = 1, smallChange_ = 1;
};

// Standard scroll-bar thickness in pixels.
constexpr int kScrollBarThickness = 16;
