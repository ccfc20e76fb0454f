#include "PreparedReport.h"

void PlayPage(const TQRPreparedPage& page, QPainter& painter, double scale)
{
    // A picture rescales itself from the resolution it was recorded at to the
    // device's; that share of the scale is taken out here.
    QPicture picture = page.Picture;  // shared, not copied
    const double own = double(painter.device()->logicalDpiX()) / picture.logicalDpiX();
    painter.save();
    painter.scale(scale / own, scale / own);
    picture.play(&painter);
    painter.restore();
}
