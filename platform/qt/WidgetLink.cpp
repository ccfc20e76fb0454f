#include "qt/WidgetLink.h"
#include "qt/Dispatch.h"
#include "qt/WidgetClient.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
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

// A key that the focused widget leaves travels up to its parents; the client
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

TWidgetLink::TWidgetLink(QWidget* widget, TWidgetClient* client) : QObject(widget), client_(client)
{
    setObjectName(QStringLiteral("vkWidgetLink"));
    widget->installEventFilter(this);
}

void TWidgetLink::Detach()
{
    client_ = nullptr;
}

TWidgetLink* TWidgetLink::Of(const QWidget* widget)
{
    return widget ? widget->findChild<TWidgetLink*>(QStringLiteral("vkWidgetLink"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

bool TWidgetLink::eventFilter(QObject* watched, QEvent* event)
{
    if (!client_ || watched != parent())
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
        if (auto* keys = dynamic_cast<TKeyClient*>(client_); keys && IsControlFocusChange(static_cast<QFocusEvent*>(event)))
            DispatchSafely([keys, in = event->type() == QEvent::FocusIn] { in ? keys->DoEnter() : keys->DoExit(); });
        return false;
    default: {
        // one reference captured: the handler fits in place, as every event
        // of every window comes this way
        struct {
            TWidgetClient* Client;
            QEvent* Event;
            bool Handled = false;
        } call{client_, event};
        DispatchSafely([&call] { call.Handled = call.Client->WindowEvent(call.Event); });
        return call.Handled;
    }
    }
}

bool TWidgetLink::Mouse(QMouseEvent* event)
{
    TWidgetClient* client = client_;
    const bool consume = !client->NativeInput();
    const QPoint p = event->position().toPoint();
    TShiftState shift = ShiftOf(event->modifiers(), event->buttons());
    const TMouseButton button = ButtonOf(event->button());
    DispatchSafely([&] {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            client->MouseDown(button, shift, p.x(), p.y());
            break;
        case QEvent::MouseButtonDblClick:
            client->DblClick();
            if (client_)
                client->MouseDown(button, shift.Include(ssDouble), p.x(), p.y());
            break;
        case QEvent::MouseButtonRelease:
            client->MouseUp(button, shift, p.x(), p.y());
            break;
        default:
            client->MouseMove(shift, p.x(), p.y());
            break;
        }
    });
    return consume;
}

bool TWidgetLink::Key(QKeyEvent* event)
{
    auto* keys = dynamic_cast<TKeyClient*>(client_);
    if (!keys || resending_ || PassedOnByChild(static_cast<QWidget*>(parent())))
        return false;
    TKeyClient* preview = keys->KeyPreviewer();
    // The previewer (a form) hears the key first, then the client.
    // A step that frees the client or swallows the key ends the delivery.
    const auto deliver = [&](const std::function<bool(TKeyClient*)>& step) {
        for (TKeyClient* target : {preview, keys}) {
            if (!target)
                continue;
            bool goOn = true;
            DispatchSafely([&] { goOn = step(target); });
            if (!client_ || !goOn)
                return false;
        }
        return true;
    };
    int key = event->key();
    const TShiftState shift = ShiftOf(event->modifiers(), {});
    if (event->type() == QEvent::KeyRelease)
        return !deliver([&](TKeyClient* target) {
            target->KeyUp(key, shift);
            return key != 0;
        });
    if (!deliver([&](TKeyClient* target) {
            target->KeyDown(key, shift);
            return key != 0;
        }))
        return true;
    bool pressed = false;
    DispatchSafely([&] { pressed = keys->HostKey(key); });
    if (pressed || !client_)
        return true;
    const QString text = event->text();
    if (text.size() != 1)
        return false;
    QChar ch = text[0];
    if (!deliver([&](TKeyClient* target) {
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
