#pragma once
// Keys as a user presses them on a shown window: the cursor placed inside a
// text with Home and Right, typing, undo.
#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

// Makes the widget's window the active one and gives the widget the focus.
inline void FocusOn(QWidget* widget)
{
    QApplication::setActiveWindow(widget->window());
    widget->setFocus(Qt::OtherFocusReason);
}

// Puts the text cursor behind the first `chars` characters of the widget's line.
inline void CursorAfter(QWidget* widget, int chars)
{
    QTest::keyClick(widget, Qt::Key_Home);
    for (int i = 0; i < chars; ++i)
        QTest::keyClick(widget, Qt::Key_Right);
}

inline void Undo(QWidget* widget)
{
    QTest::keyClick(widget, Qt::Key_Z, Qt::ControlModifier);
}
