#pragma once
// Counts the events of one kind that the windows it watches receive.
#include <QEvent>
#include <QObject>

struct TEventCount : QObject {
    explicit TEventCount(QEvent::Type type) : Type(type) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        Count += event->type() == Type;
        return false;
    }
    QEvent::Type Type;
    int Count = 0;
};
