#pragma once
// What a user's mouse does to a control on a shown window: QtTest's mouse
// events sent to the control's own Qt window, at points of its client area.
#include "controls/Controls.h"

#include <QTest>

namespace user {

inline void Press(TControl* control, QPoint at)
{
    QTest::mousePress(control->Widget(), Qt::LeftButton, Qt::NoModifier, at);
}

inline void Release(TControl* control, QPoint at)
{
    QTest::mouseRelease(control->Widget(), Qt::LeftButton, Qt::NoModifier, at);
}

// A press and a release at one point, without any movement between them.
inline void Click(TControl* control, QPoint at = QPoint(3, 3))
{
    Press(control, at);
    Release(control, at);
}

// A left-button drag from one point of the control to another, both given in
// the control's client coordinates where the drag starts. The pointer moves in
// steps; each event comes in the coordinates of the window where the control
// then stands, as a dragged control that moves under the pointer gets them.
inline void Drag(TControl* control, QPoint from, QPoint to)
{
    const QPoint origin = control->Widget()->mapToGlobal(QPoint(0, 0));
    auto local = [&](QPoint p) { return p + origin - control->Widget()->mapToGlobal(QPoint(0, 0)); };
    Press(control, from);
    for (const QPoint p : {from + (to - from) / 2, to})
        QTest::mouseMove(control->Widget(), local(p));
    Release(control, local(to));
}

}  // namespace user
