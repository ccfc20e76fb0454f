#pragma once
// The window of a bit button: the style draws the button's bevel and focus,
// the control draws its glyph and caption in the face.
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <functional>

class TFaceButton : public QPushButton {
public:
    std::function<void(QPainter&, const QRect& face, bool down)> OnPaintFace;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        painter.drawControl(QStyle::CE_PushButton, option);
        if (OnPaintFace)
            OnPaintFace(painter, rect(), isDown());
    }
};
