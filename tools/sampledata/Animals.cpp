#include "Animals.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// What a drawing of an animal is made of: a body, a head, legs, and extras.
struct Animal {
    const char* Name;
    int Size;    // length in cm
    int Weight;  // kg
    const char* Area;
    QRgb Body;
    QRgb Accent;
    int Legs;       // 0, 2 or 4
    bool Fins;      // a swimmer
    bool Wings;
    bool Stripes;
    double Stretch;  // body length against height
};

const Animal kAnimals[] = {
    {"Glimmerfox", 80, 9, "Amber Steppes", qRgb(214, 120, 40), qRgb(250, 240, 220), 4, false, false, false, 1.8},
    {"Reefdancer", 40, 2, "Coral Shallows", qRgb(40, 160, 200), qRgb(250, 210, 60), 0, true, false, true, 2.2},
    {"Mossback", 120, 210, "Fern Marshes", qRgb(90, 120, 60), qRgb(150, 190, 90), 4, false, false, false, 1.5},
    {"Skylark Ox", 260, 700, "High Plateau", qRgb(120, 90, 60), qRgb(230, 220, 200), 4, false, false, false, 1.7},
    {"Tidewing", 60, 3, "Salt Cliffs", qRgb(240, 240, 245), qRgb(60, 70, 90), 2, false, true, false, 1.4},
    {"Emberjaw", 300, 380, "Ash Valleys", qRgb(160, 40, 30), qRgb(250, 180, 40), 4, false, false, true, 2.4},
    {"Silt Ray", 150, 45, "River Deltas", qRgb(110, 100, 90), qRgb(200, 190, 170), 0, true, false, false, 1.2},
    {"Dune Hopper", 35, 1, "Red Dunes", qRgb(220, 190, 120), qRgb(120, 80, 40), 2, false, false, false, 1.1},
    {"Frostmane", 180, 160, "Ice Fields", qRgb(220, 230, 240), qRgb(120, 150, 200), 4, false, false, true, 1.9},
    {"Lantern Eel", 200, 20, "Deep Trench", qRgb(30, 40, 80), qRgb(120, 250, 200), 0, true, false, false, 3.5},
    {"Canopy Kite", 50, 1, "Cloud Forest", qRgb(60, 150, 70), qRgb(230, 60, 80), 2, false, true, true, 1.3},
    {"Boulder Toad", 30, 2, "Granite Springs", qRgb(130, 130, 120), qRgb(200, 120, 60), 4, false, false, false, 1.2},
};

void DrawLegs(QPainter& p, const QRectF& body, int legs, QColor color)
{
    p.setPen(QPen(color.darker(150), 4, Qt::SolidLine, Qt::RoundCap));
    const double y = body.center().y() + body.height() * 0.35;
    for (int i = 0; i < legs; ++i) {
        const double x = body.left() + body.width() * (0.2 + 0.6 * i / qMax(1, legs - 1));
        p.drawLine(QPointF(x, y), QPointF(x + (i % 2 ? 3 : -3), body.bottom() + 18));
    }
}

void DrawFins(QPainter& p, const QRectF& body, QColor color)
{
    QPainterPath tail;
    tail.moveTo(body.left() + 4, body.center().y());
    tail.lineTo(body.left() - 22, body.top() - 4);
    tail.lineTo(body.left() - 22, body.bottom() + 4);
    tail.closeSubpath();
    p.fillPath(tail, color);
    QPainterPath top;
    top.moveTo(body.center().x() - 15, body.top() + 3);
    top.lineTo(body.center().x() + 5, body.top() - 14);
    top.lineTo(body.center().x() + 15, body.top() + 3);
    p.fillPath(top, color);
}

void DrawWings(QPainter& p, const QRectF& body, QColor color)
{
    QPainterPath wing;
    wing.moveTo(body.center().x() - 10, body.center().y());
    wing.cubicTo(body.center().x() - 40, body.top() - 40, body.center().x() + 30, body.top() - 30,
                 body.center().x() + 15, body.center().y());
    wing.closeSubpath();
    p.fillPath(wing, color);
}

void DrawStripes(QPainter& p, const QRectF& body, QColor color)
{
    p.save();
    QPainterPath clip;
    clip.addEllipse(body);
    p.setClipPath(clip);
    p.setPen(QPen(color, 4));
    for (double x = body.left() + 10; x < body.right(); x += 14)
        p.drawLine(QPointF(x, body.top()), QPointF(x - 8, body.bottom()));
    p.restore();
}

QImage Draw(const Animal& a)
{
    QImage img(160, 120, QImage::Format_RGB32);
    img.fill(qRgb(235, 245, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 96, 160, 24), a.Fins ? QColor(60, 110, 170) : QColor(120, 170, 90));  // water or grass
    const double h = 44, w = qMin(110.0, h * a.Stretch);
    const QRectF body(80 - w / 2, 52 - h / 2, w, h);
    const QColor bodyColor(a.Body), accent(a.Accent);
    DrawLegs(p, body, a.Legs, bodyColor);
    if (a.Fins)
        DrawFins(p, body, accent);
    p.setPen(QPen(bodyColor.darker(160), 2));
    p.setBrush(bodyColor);
    p.drawEllipse(body);
    if (a.Stripes)
        DrawStripes(p, body, accent);
    if (a.Wings)
        DrawWings(p, body, accent);
    const QRectF head(body.right() - 14, body.top() - 12, 30, 28);
    p.setPen(QPen(bodyColor.darker(160), 2));
    p.setBrush(bodyColor.lighter(110));
    p.drawEllipse(head);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(head.center().x() + 5, head.center().y() - 3), 3, 3);
    return img;
}

QByteArray Bmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw EDatabaseError(QStringLiteral("Cannot encode a picture as BMP"));
    return bytes;
}

}  // namespace

TTableData MakeAnimals()
{
    TTableData t;
    t.Defs = {{QStringLiteral("NAME"), ftString, 10, 0}, {QStringLiteral("SIZE"), ftSmallint, 5, 0},
              {QStringLiteral("WEIGHT"), ftSmallint, 5, 0}, {QStringLiteral("AREA"), ftString, 20, 0},
              {QStringLiteral("BMP"), ftBlob, 0, 0}};
    for (const Animal& a : kAnimals)
        t.Rows.push_back({QString::fromLatin1(a.Name).left(10), qint64(a.Size), qint64(a.Weight),
                          QString::fromLatin1(a.Area), Bmp(Draw(a))});
    return t;
}
