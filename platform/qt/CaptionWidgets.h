#pragma once
// The windows of controls that show a one-line caption in a box of their own
// width (check boxes, labels). A caption wider than its box, as a substituted
// font may make it, ends in an ellipsis inside the box rather than being cut
// off at its edge, where the next control begins.
#include <QCheckBox>
#include <QLabel>

class TCheckBoxWidget : public QCheckBox {
protected:
    void paintEvent(QPaintEvent* event) override;
};

// Captions are plain text; a word-wrapped or several-line caption is laid out
// as QLabel does it.
class TLabelWidget : public QLabel {
public:
    TLabelWidget();

protected:
    void paintEvent(QPaintEvent* event) override;
};
