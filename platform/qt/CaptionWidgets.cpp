#include "qt/CaptionWidgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

// A caption is measured in whole pixels, as the control's automatic size is;
// the ellipsis comes only when that measure exceeds the room (the elision's
// own finer measure would shorten captions that fit exactly).

void TCheckBoxWidget::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int room = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this).width();
    const QFontMetrics metrics = fontMetrics();
    if (metrics.size(Qt::TextShowMnemonic, option.text).width() > room)
        option.text = metrics.elidedText(option.text, Qt::ElideRight, room, Qt::TextShowMnemonic);
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
    const QString shown =
        metrics.horizontalAdvance(text()) > box.width() ? metrics.elidedText(text(), Qt::ElideRight, box.width()) : text();
    style()->drawItemText(&painter, box, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}
