#pragma once
// The tie between a client (a control) and the Qt widget that is its window:
// installed on the widget as an event filter, it hands what the user does
// (mouse, keys, focus, window events) to the client, each delivery through
// DispatchSafely. When the client goes first, Detach cuts the tie so a widget
// that lives on for a moment (deleted later) reaches nothing.
#include <QObject>

class QWidget;
class QKeyEvent;
class QMouseEvent;
class TWidgetClient;

class TWidgetLink : public QObject {
    Q_OBJECT
public:
    TWidgetLink(QWidget* widget, TWidgetClient* client);
    TWidgetClient* Client() const { return client_; }
    void Detach();
    static TWidgetLink* Of(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Mouse(QMouseEvent* event);
    bool Key(QKeyEvent* event);
    static bool PassedOnByChild(const QWidget* watched);
    TWidgetClient* client_;
    bool resending_ = false;  // a key event replaced by a handler is on its way
};

// Marks a delivery from a window to the model; while one runs, a window
// whose control goes is deleted later rather than under the running event.
class TDispatchScope {
public:
    TDispatchScope() { ++depth_; }
    ~TDispatchScope() { --depth_; }
    TDispatchScope(const TDispatchScope&) = delete;
    TDispatchScope& operator=(const TDispatchScope&) = delete;
    static bool Active() { return depth_ > 0; }

private:
    static inline int depth_ = 0;
};
