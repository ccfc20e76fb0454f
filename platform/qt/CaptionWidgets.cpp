#include "qt/CaptionWidgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// A caption is measured in whole pixels, as the control's automatic size is;
// the ellipsis comes only when that measure (width) exceeds the room (the
// elision's own finer measure would shorten captions that fit exactly).
QString Fitted(const QFontMetrics& metrics, const QString& text, int width, int room, int flags = 0)
{
    return width > room ? metrics.elidedText(text, Qt::ElideRight, room, flags) : text;
}

}  // namespace

void TCheckBoxWidget::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int room = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this).width();
    const QFontMetrics metrics = fontMetrics();
    const int flags = Qt::TextShowMnemonic;
    option.text = Fitted(metrics, option.text, metrics.size(flags, option.text).width(), room, flags);
    painter.drawControl(QStyle::CE_CheckBox, option);
}

TLabelWidget::TLabelWidget()
{
    setTextFormat(Qt::PlainText);
}

void TLabelWidget::paintEvent(QPaintEvent* event)
{
    if (wordWrap() || text().contains(QChar('\n'))) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect box = contentsRect();
    const QFontMetrics metrics = fontMetrics();
    const QString shown = Fitted(metrics, text(), metrics.horizontalAdvance(text()), box.width());
    style()->drawItemText(&painter, box, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}
