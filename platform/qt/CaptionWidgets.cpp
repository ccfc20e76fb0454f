#include "qt/CaptionWidgets.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

void TCheckBoxWidget::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect textRect = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    option.text = fontMetrics().elidedText(option.text, Qt::ElideRight, textRect.width(), Qt::TextShowMnemonic);
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
    style()->drawItemText(&painter, box, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), fontMetrics().elidedText(text(), Qt::ElideRight, box.width()),
                          foregroundRole());
}
