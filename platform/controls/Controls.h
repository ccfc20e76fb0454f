#pragma once
// The control model. A control's bounds, alignment, visibility, parent and
// events live here and are the truth; each control has a Qt widget as its
// window, created by the control and kept in sync with it. Windowed controls
// (TWinControl) hold child controls and align them.
#include "classes/Component.h"
#include "graphics/Graphics.h"
#include "qt/WidgetClient.h"

#include <QPointer>
#include <QWidget>

VK_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
VK_ENUM(TControlStyleFlag, csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed,
        csSetCaption, csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
        csNoStdEvents)
using TControlStyle = TSet<TControlStyleFlag>;
VK_ENUM(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)

// Cursor identifiers of the library (crDefault 0, crArrow -2, ...).
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12,
                  crNoDrop = -13, crHSplit = -14, crVSplit = -15, crSizeAll = -22, crHandPoint = -21;

// Key codes are Qt's (Qt::Key_Delete ...).
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, int&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, QChar&>;

class TWinControl;
class TCanvas;

class TControl : public TComponent, public TWidgetClient {
    VK_CLASS(TControl, TComponent)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    QRect BoundsRect() const { return QRect(left_, top_, width_, height_); }
    virtual QRect ClientRect() const { return QRect(0, 0, width_, height_); }
    int ClientWidth() const { return ClientRect().width(); }
    int ClientHeight() const { return ClientRect().height(); }
    virtual void SetClientWidth(int v);
    virtual void SetClientHeight(int v);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // True when the control and all its parents are visible and a window shows them.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    QString Caption() const { return text_; }
    void SetCaption(const QString& text) { SetText(text); }
    QString Text() const { return text_; }
    virtual void SetText(const QString& text);
    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    void SetFont(TFont* font) { font_.Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool v);
    QString Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool v);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    int HelpContext = 0;
    TControlStyle ControlStyle;

    void BringToFront();
    void SendToBack();
    QPoint ClientToScreen(const QPoint& p) const;
    QPoint ScreenToClient(const QPoint& p) const;
    virtual void Invalidate();
    virtual void Update();  // paints pending changes now
    void Repaint() { Invalidate(); Update(); }
    void Refresh() { Repaint(); }
    // Renders the control and what it shows into an image (for previews and tests).
    QImage Grab() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnResize;

    virtual void Click();
    // Mouse input in client coordinates; the widget forwards what the user
    // does, and tests may call these to simulate it.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;

    // The window behind the control; created with the control.
    QWidget* Widget() const { return widget_; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override;

protected:
    virtual QWidget* CreateWidget() = 0;
    // Pushes the model's state (text, font, colour, enabled...) to the widget.
    virtual void SyncWidget();
    virtual void Resize();  // fires OnResize after a real size change
    virtual void FontChanged();
    virtual void ParentFontChanged();
    void RequestAlign();
    // A window event other than mouse, keys and focus; true when it is handled.
    bool WindowEvent(QEvent*) override { return false; }
    // True when the Qt widget itself acts on mouse input (buttons, edits, ...).
    bool NativeInput() const override { return false; }
    // Whether the window stands alone on the desktop (forms without a parent).
    virtual bool IsTopLevel() const { return false; }
    // Sets the bounds the window already has (a user moved or sized it).
    void WindowBoundsChanged(const QRect& bounds);
    void UpdateWidgetVisibility();

private:
    friend class TWinControl;
    void UpdateWidgetGeometry();
    void DetachWidget(bool seen);
    void ApplyFont();
    void ApplyPalette();  // the text and background colours
    void TakeColor(TColor color);  // this control's and the children's that follow it

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    QString text_;
    TFont font_;
    bool parentFont_ = true;
    TColor color_ = clBtnFace;
    bool parentColor_ = false;
    QString hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    QPointer<QWidget> widget_;
    bool clicking_ = false;      // a left press awaits its release to make a click
    bool adoptingFont_ = false;  // the font is being copied from the parent
};

class TWinControl : public TControl, public TKeyClient {
    VK_CLASS(TWinControl, TControl)
public:
    void Destroy() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;  // raises EListError
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(const TControl* control) const;
    TControl* ControlAtPos(const QPoint& pos, bool allowDisabled = false) const;

    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool v);
    bool Focused() const;
    virtual void SetFocus();
    bool CanFocus() const;

    // Aligns the child controls: top-aligned first, then bottom, left, right,
    // client, each in the space the earlier ones left; controls of one
    // alignment in the order of their position.
    void AlignControls();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    // The area that aligned children fill (the client rectangle less borders).
    virtual QRect AlignRect() const { return ClientRect(); }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Keyboard input; the widget forwards what the user types.
    void KeyDown(int& key, TShiftState shift) override;
    void KeyUp(int& key, TShiftState shift) override;
    void KeyPress(QChar& key) override;
    // Whether the control handles a key itself that its form would otherwise
    // take as a dialog key (Enter, Escape).
    virtual bool WantsKey(int) const { return false; }
    void DoEnter() override;
    void DoExit() override;
    // The form previews keys, and takes the dialog keys (Enter, Escape) a control leaves.
    TKeyClient* KeyPreviewer() override;
    bool HostKey(int key) override;

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;
    void Loaded() override;

protected:
    void Resize() override;
    void FontChanged() override;
    void UpdateTabOrder();

private:
    friend class TControl;
    void PlaceAligned(TAlign align, QRect& rect);
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
};

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl, public TPaintClient {
    VK_CLASS(TCustomControl, TWinControl)
public:
    TCanvas* Canvas() const { return &canvas_; }

protected:
    QWidget* CreateWidget() override;
    // Paints the control; Canvas() draws on its window while this runs.
    virtual void Paint() {}

    void PaintWindow(QPainter& painter) override;

private:
    mutable TCanvas canvas_;  // painting draws through the const control's canvas
};

// A control without child controls that paints itself.
class TGraphicControl : public TControl, public TPaintClient {
    VK_CLASS(TGraphicControl, TControl)
public:
    TCanvas* Canvas() const { return &canvas_; }

protected:
    QWidget* CreateWidget() override;
    virtual void Paint() {}

    void PaintWindow(QPainter& painter) override;

private:
    mutable TCanvas canvas_;  // painting draws through the const control's canvas
};

// Finds the control whose window this is.
TControl* FindControl(const QWidget* widget);

// What the window on top of a tree of controls (a form) does for the controls
// on it: they reach it through this, below the unit of forms.
class TWindowHost {
public:
    virtual void SetModalResult(int result) = 0;
    virtual void Close() = 0;
    virtual bool PreviewsKeys() const = 0;  // hears every key before the focused control
    // A key the focused control left; true when a button of the window took it.
    virtual bool DialogKey(TWinControl* focused, int key) = 0;

protected:
    ~TWindowHost() = default;
};

// The window host a control sits on (through its parents); nil when there is none.
TWindowHost* WindowHostOf(const TControl* control);
