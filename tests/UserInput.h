#pragma once
// What a user's mouse does on a shown window: QtTest's mouse events at a
// point of the screen, given as a point of a control's client area. Like the
// window system, the press goes to the topmost window shown at that point (a
// control covered by another one, or too small to be seen there, does not get
// it), and the moves and the release go to the window that got the press.
#include "controls/Controls.h"

#include <QTest>

namespace user {

struct TPointer {
    QWidget* window;  // the window under the pointer at the press
    QPoint screen;
    QPoint Local() const { return window->mapFromGlobal(screen); }
};

// The topmost window shown at a point of the control, as the pointer finds it.
inline TPointer At(TControl* control, QPoint at)
{
    const QPoint screen = control->Widget()->mapToGlobal(at);
    QWidget* top = control->Widget()->window();
    QWidget* hit = top->childAt(top->mapFromGlobal(screen));
    return {hit ? hit : top, screen};
}

// A press and a release at one point, without any movement between them.
inline void Click(TControl* control, QPoint at = QPoint(3, 3))
{
    const TPointer pointer = At(control, at);
    QTest::mousePress(pointer.window, Qt::LeftButton, Qt::NoModifier, pointer.Local());
    QTest::mouseRelease(pointer.window, Qt::LeftButton, Qt::NoModifier, pointer.Local());
}

// A left-button drag from one point of the control to another, both given in
// the control's client coordinates where the drag starts. The pointer moves
// in steps; each event comes in the coordinates of the pressed window where
// it then stands, as a dragged element that moves under the pointer gets them.
inline void Drag(TControl* control, QPoint from, QPoint to)
{
    TPointer pointer = At(control, from);
    const QPoint offset = control->Widget()->mapToGlobal(to) - pointer.screen;
    QTest::mousePress(pointer.window, Qt::LeftButton, Qt::NoModifier, pointer.Local());
    const QPoint start = pointer.screen;
    for (const QPoint step : {offset / 2, offset}) {
        pointer.screen = start + step;
        QTest::mouseMove(pointer.window, pointer.Local());
    }
    QTest::mouseRelease(pointer.window, Qt::LeftButton, Qt::NoModifier, pointer.Local());
}

}  // namespace user
