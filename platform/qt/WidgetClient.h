#pragma once
// What a Qt widget's glue needs from the thing it is the window of: the
// window's input goes to these, the glue knows nothing else of its client.
#include "classes/Value.h"

#include <QChar>

class QEvent;
class QPainter;

VK_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
VK_ENUM(TShiftStateFlag, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
using TShiftState = TSet<TShiftStateFlag>;

// Every client: mouse input in client coordinates and the other window events.
class TWidgetClient {
public:
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void MouseMove(TShiftState shift, int x, int y) = 0;
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void DblClick() = 0;
    // True when the Qt widget itself acts on mouse input too (buttons, edits, ...).
    virtual bool NativeInput() const = 0;
    // A window event other than mouse, keys and focus; true when it is handled.
    virtual bool WindowEvent(QEvent* event) = 0;

protected:
    ~TWidgetClient() = default;
};

// A client that takes the focus and keys (key codes are Qt's). A handler may
// change the key or character, zero or null swallows it.
class TKeyClient {
public:
    virtual void KeyDown(int& key, TShiftState shift) = 0;
    virtual void KeyUp(int& key, TShiftState shift) = 0;
    virtual void KeyPress(QChar& key) = 0;
    virtual void DoEnter() = 0;
    virtual void DoExit() = 0;
    // Another client that hears every key before this one; nil when there is none.
    virtual TKeyClient* KeyPreviewer() = 0;
    // A key this client left; true when the window it sits on took it.
    virtual bool HostKey(int key) = 0;

protected:
    ~TKeyClient() = default;
};

// A client that paints its window itself.
class TPaintClient {
public:
    virtual void PaintWindow(QPainter& painter) = 0;

protected:
    ~TPaintClient() = default;
};
