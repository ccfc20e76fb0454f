#include "qt/WidgetLink.h"
#include "controls/Controls.h"
#include "qt/Dispatch.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>

namespace {

TShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    TShiftState shift;
    if (modifiers & Qt::ShiftModifier)
        shift.Include(ssShift);
    if (modifiers & Qt::AltModifier)
        shift.Include(ssAlt);
    if (modifiers & Qt::ControlModifier)
        shift.Include(ssCtrl);
    if (buttons & Qt::LeftButton)
        shift.Include(ssLeft);
    if (buttons & Qt::RightButton)
        shift.Include(ssRight);
    if (buttons & Qt::MiddleButton)
        shift.Include(ssMiddle);
    return shift;
}

TMouseButton ButtonOf(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        return mbRight;
    if (button == Qt::MiddleButton)
        return mbMiddle;
    return mbLeft;
}

// The key code Qt gives a typed character, for a character a handler put in place of another.
int KeyOfChar(QChar ch)
{
    if (ch == QChar('\r'))
        return Qt::Key_Return;
    if (ch == QChar('\t'))
        return Qt::Key_Tab;
    if (ch == QChar('\b'))
        return Qt::Key_Backspace;
    if (ch.unicode() < 128)
        return ch.toUpper().unicode();
    return Qt::Key_unknown;
}

// Focus that moves with a popup or with the active window is no enter or exit.
bool IsControlFocusChange(const QFocusEvent* event)
{
    return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
}

}  // namespace

// A key that the focused widget leaves travels up to its parents; the control
// nearest to the focused widget had it already.
bool TWidgetLink::PassedOnByChild(const QWidget* watched)
{
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || !watched->isAncestorOf(focus))
        return false;
    for (const QWidget* w = focus; w; w = w->parentWidget())
        if (Of(w))
            return w != watched;
    return false;
}

TWidgetLink::TWidgetLink(QWidget* widget, TControl* control) : QObject(widget), control_(control)
{
    setObjectName(QStringLiteral("vkWidgetLink"));
    widget->installEventFilter(this);
}

void TWidgetLink::Detach()
{
    control_ = nullptr;
}

TWidgetLink* TWidgetLink::Of(const QWidget* widget)
{
    return widget ? widget->findChild<TWidgetLink*>(QStringLiteral("vkWidgetLink"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

bool TWidgetLink::eventFilter(QObject* watched, QEvent* event)
{
    if (!control_ || watched != parent())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return Mouse(static_cast<QMouseEvent*>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return Key(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        if (auto* win = dynamic_cast<TWinControl*>(control_); win && IsControlFocusChange(static_cast<QFocusEvent*>(event)))
            DispatchSafely([win, in = event->type() == QEvent::FocusIn] { in ? win->DoEnter() : win->DoExit(); });
        return false;
    default: {
        bool handled = false;
        TControl* control = control_;
        DispatchSafely([&] { handled = control->WindowEvent(event); });
        return handled;
    }
    }
}

bool TWidgetLink::Mouse(QMouseEvent* event)
{
    TControl* control = control_;
    const bool consume = !control->NativeInput();
    const QPoint p = event->position().toPoint();
    TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
    const TMouseButton button = ButtonOf(event->button());
    DispatchSafely([&] {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            control->MouseDown(button, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonDblClick:
            control->DblClick();
            if (control_)
                control->MouseDown(button, shift.Include(ssDouble), p.x(), p.y());
            break;
        case QEvent::MouseButtonRelease:
            control->MouseUp(button, shift, p.x(), p.y());
            break;
        default:
            control->MouseMove(shift, p.x(), p.y());
            break;
        }
    });
    return consume;
}

bool TWidgetLink::Key(QKeyEvent* event)
{
    auto* win = dynamic_cast<TWinControl*>(control_);
    if (!win || resending_ || PassedOnByChild(static_cast<QWidget*>(parent())))
        return false;
    TWindowHost* form = WindowHostOf(win);
    auto* preview = form && form->PreviewsKeys() ? dynamic_cast<TWinControl*>(form) : nullptr;
    if (preview == win)
        preview = nullptr;
    // The form hears the key first when it previews keys, then the control.
    // A step that frees the control or swallows the key ends the delivery.
    const auto deliver = [&](const std::function<bool(TWinControl*)>& step) {
        for (TWinControl* target : {preview, win}) {
            if (!target)
                continue;
            bool goOn = true;
            DispatchSafely([&] { goOn = step(target); });
            if (!control_ || !goOn)
                return false;
        }
        return true;
    };
    int key = event->key();
    const TShiftState shift = ShiftOf(event->modifiers(), {});
    if (event->type() == QEvent::KeyRelease)
        return !deliver([&](TWinControl* target) {
            target->KeyUp(key, shift);
            return key != 0;
        });
    if (!deliver([&](TWinControl* target) {
            target->KeyDown(key, shift);
            return key != 0;
        }))
        return true;
    bool pressed = false;
    if (form)
        DispatchSafely([&] { pressed = form->DialogKey(win, key); });
    if (pressed || !control_)
        return true;
    const QString text = event->text();
    if (text.size() != 1)
        return false;
    QChar ch = text[0];
    if (!deliver([&](TWinControl* target) {
            target->KeyPress(ch);
            return !ch.isNull();
        }))
        return true;
    if (ch == text[0])
        return false;
    // the handler typed another character in place of the one pressed
    QKeyEvent replaced(QEvent::KeyPress, KeyOfChar(ch), event->modifiers(), QString(ch));
    resending_ = true;
    QCoreApplication::sendEvent(parent(), &replaced);
    resending_ = false;
    return true;
}
