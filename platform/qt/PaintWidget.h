#pragma once
// The window of a client that paints itself (custom and graphic controls):
// its paint events run the client's painting.
#include <QWidget>

class TPaintWidget : public QWidget {
    Q_OBJECT
public:
    TPaintWidget() = default;

protected:
    void paintEvent(QPaintEvent* event) override;
};
