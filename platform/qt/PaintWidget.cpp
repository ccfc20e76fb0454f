#include "qt/PaintWidget.h"
#include "qt/WidgetClient.h"
#include "qt/WidgetLink.h"

#include <QPainter>

void TPaintWidget::paintEvent(QPaintEvent*)
{
    TWidgetLink* link = TWidgetLink::Of(this);
    auto* client = link ? dynamic_cast<TPaintClient*>(link->Client()) : nullptr;
    if (!client)
        return;
    QPainter painter(this);
    client->PaintWindow(painter);
}
