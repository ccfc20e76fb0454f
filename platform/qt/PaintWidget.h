#pragma once
// The window of a control that paints itself (custom and graphic controls):
// its paint events run the control's Paint on the control's canvas.
#include <QWidget>

class TControl;

class TPaintWidget : public QWidget {
    Q_OBJECT
public:
    TPaintWidget() = default;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <class C>
    static void PaintControl(C* control, QPainter& painter, bool fill);
};
