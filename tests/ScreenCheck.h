#pragma once
// Checks of a window rendered to a picture (its Grab): a control that shows
// must be drawn where it stands, not left as a blank patch of its parent.
#include "controls/Controls.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

// True when the part of the picture holds more than one colour.
inline bool DrawnIn(const QImage& image, const QRect& part)
{
    const QRect area = part & image.rect();
    if (area.isEmpty())
        return false;
    const QRgb first = image.pixel(area.topLeft());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

namespace screencheck {
inline void ExpectDrawn(const TWinControl* parent, const QWidget* root, const QRect& clip, const QImage& image,
                        const std::string& picture)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* control = parent->Controls(i);
        const QWidget* widget = control->Widget();
        if (!control->Visible() || !widget || control->Width() <= 0 || control->Height() <= 0)
            continue;
        const QRect bounds(widget->mapTo(root, QPoint(0, 0)), widget->size());
        const QRect shown = bounds & clip;
        // a control its parent cuts off is checked through its children only
        if (shown == bounds) {
            EXPECT_TRUE(DrawnIn(image, bounds))
                << picture << ": " << control->ClassName().toStdString() << " '" << control->Name().toStdString()
                << "' is blank";
        }
        if (auto* window = dynamic_cast<const TWinControl*>(control); window && !shown.isEmpty())
            ExpectDrawn(window, root, shown, image, picture);
    }
}
}  // namespace screencheck

// The control's rectangle in the picture of the window that shows it.
inline QRect RectIn(const TControl* control, const TWinControl* window)
{
    return QRect(control->Widget()->mapTo(window->Widget(), QPoint(0, 0)), control->Widget()->size());
}

// Every showing control inside the window, at any depth, is drawn in the
// window's picture.
inline void ExpectControlsDrawn(const TWinControl* window, const QImage& image, const std::string& picture)
{
    ASSERT_FALSE(image.isNull()) << picture;
    ASSERT_NE(window->Widget(), nullptr) << picture;
    screencheck::ExpectDrawn(window, window->Widget(), image.rect(), image, picture);
}
