#pragma once
// Where a rendered window has text: pixels as dark as text on a light ground.
#include <QImage>
#include <QRect>

// The rightmost column of the area that has such pixels; -1 without any.
inline int LastInkColumn(const QImage& image, const QRect& area)
{
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}
