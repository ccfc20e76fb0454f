#include "PreparedReport.h"

#include <QFontMetricsF>
#include <map>

namespace {

void DrawTexts(const std::vector<TQRPageText>& texts, QPainter& painter)
{
    struct TFontUse {
        QFont Font;
        QFontMetricsF Metrics;
    };
    std::map<const TFont*, TFontUse> fonts;
    const TFont* current = nullptr;
    for (const TQRPageText& t : texts) {
        const TFont* font = t.Font.get();
        auto it = fonts.find(font);
        if (it == fonts.end()) {
            const QFont qfont = font->ToQFont();
            it = fonts.emplace(font, TFontUse{qfont, QFontMetricsF(qfont)}).first;
        }
        const TFontUse& use = it->second;
        if (font != current) {
            painter.setFont(use.Font);
            painter.setPen(ColorToQColor(font->Color()));
            current = font;
        }
        double x = t.X;
        if (t.Alignment != taLeftJustify) {
            const double width = use.Metrics.horizontalAdvance(t.Text);
            x -= t.Alignment == taRightJustify ? width : width / 2;
        }
        painter.drawText(QPointF(x, t.Y + use.Metrics.ascent()), t.Text);
    }
}

}  // namespace

void PlayPage(const TQRPreparedPage& page, QPainter& painter, double scale)
{
    // A picture rescales itself from the resolution it was recorded at to the
    // device's; that share of the scale is taken out for it.
    QPicture picture = page.Picture;  // shared, not copied
    const double own = double(painter.device()->logicalDpiX()) / picture.logicalDpiX();
    painter.save();
    painter.scale(scale / own, scale / own);
    picture.play(&painter);
    painter.restore();
    painter.save();
    painter.scale(scale, scale);
    DrawTexts(page.Texts, painter);
    painter.restore();
}
