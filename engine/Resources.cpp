#include "engine/Resources.h"

#include <QPainterPath>
#include <functional>
#include <map>

QString LoadStr(int ident)
{
    static const std::map<int, const char*> strings = {
        {62773, "OK"},
        {62787, "Page"},
        {62834, "Text export (ASCII) filter"},
        {62835, "Text file"},
        {62836, "TXT"},
        {62866, "Error loading report"},
    };
    const auto it = strings.find(ident);
    if (it == strings.end())
        throw EResNotFound(QStringLiteral("Resource string %1 not found").arg(ident));
    return QString::fromLatin1(it->second);
}

namespace {

// The sixteen colours every glyph is made of.
const QList<QRgb>& Palette16()
{
    static const QList<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(128, 128, 128),
        qRgb(192, 192, 192), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return colours;
}

const QColor kBack(192, 192, 192);  // the glyph's background: button face silver
const QColor kInk(0, 0, 0);
const QColor kGrey(128, 128, 128);

using Painter = std::function<void(QPainter&, int size)>;

void Letter(QPainter& p, int size, const char* text, bool bold, bool italic, bool underline)
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(size - 4);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QString::fromLatin1(text));
}

// Lines of text aligned left, centred or right.
void TextLines(QPainter& p, int size, Qt::Alignment align)
{
    p.setPen(kInk);
    for (int i = 0; i < 5; ++i) {
        const int width = i % 2 ? size - 10 : size - 4;
        int x = 2;
        if (align == Qt::AlignHCenter)
            x = (size - width) / 2;
        else if (align == Qt::AlignRight)
            x = size - 2 - width;
        const int y = 3 + i * 3;
        p.drawLine(x, y, x + width - 1, y);
    }
}

// A dotted square with one side drawn solid.
void FrameSide(QPainter& p, int size, int side)
{
    const QRect r(3, 3, size - 7, size - 7);
    p.setPen(QPen(kGrey, 1, Qt::DotLine));
    p.drawRect(r);
    p.setPen(QPen(kInk, 2));
    const QLine lines[4] = {QLine(r.topLeft(), r.topRight()), QLine(r.bottomLeft(), r.bottomRight()),
                            QLine(r.topLeft(), r.bottomLeft()), QLine(r.topRight(), r.bottomRight())};
    p.drawLine(lines[side]);
}

void ColourBar(QPainter& p, int size, const char* letter, const QColor& bar)
{
    Letter(p, size - 4, letter, true, false, false);
    p.fillRect(QRect(2, size - 5, size - 4, 4), bar);
    p.setPen(kInk);
    p.drawRect(QRect(2, size - 5, size - 5, 3));
}

void ShapeGlyph(QPainter& p, int size, const std::function<void(QPainter&, const QRect&)>& draw)
{
    p.setPen(QPen(kInk, 2));
    p.setBrush(Qt::NoBrush);
    draw(p, QRect(4, 4, size - 8, size - 8));
}

struct Glyph {
    int Size;
    Painter Paint;
};

const std::map<QString, Glyph>& Glyphs()
{
    static const std::map<QString, Glyph> glyphs = {
        {"QRBOLDBITMAP", {18, [](QPainter& p, int s) { Letter(p, s, "B", true, false, false); }}},
        {"QRITALICBITMAP", {18, [](QPainter& p, int s) { Letter(p, s, "I", false, true, false); }}},
        {"QRULINEBITMAP", {18, [](QPainter& p, int s) { Letter(p, s, "U", false, false, true); }}},
        {"QRALLEFTBITMAP", {18, [](QPainter& p, int s) { TextLines(p, s, Qt::AlignLeft); }}},
        {"QRALCENTERBITMAP", {18, [](QPainter& p, int s) { TextLines(p, s, Qt::AlignHCenter); }}},
        {"QRALRIGHTBITMAP", {18, [](QPainter& p, int s) { TextLines(p, s, Qt::AlignRight); }}},
        {"QRFONTCOLORBITMAP", {18, [](QPainter& p, int s) { ColourBar(p, s, "A", QColor(255, 0, 0)); }}},
        {"QRBKCOLORBITMAP",
         {18, [](QPainter& p, int s) {
              p.fillRect(QRect(2, 2, s - 4, s - 8), QColor(255, 255, 0));
              ColourBar(p, s, "", QColor(255, 255, 0));
              p.setPen(kInk);
              p.drawRect(QRect(2, 2, s - 5, s - 9));
          }}},
        {"QRFRAMETOPBITMAP", {20, [](QPainter& p, int s) { FrameSide(p, s, 0); }}},
        {"QRFRAMEBTMBITMAP", {20, [](QPainter& p, int s) { FrameSide(p, s, 1); }}},
        {"QRFRAMELEFTBITMAP", {20, [](QPainter& p, int s) { FrameSide(p, s, 2); }}},
        {"QRFRAMERIGHTBITMAP", {20, [](QPainter& p, int s) { FrameSide(p, s, 3); }}},
        {"QRAUTOSIZEBITMAP",
         {20, [](QPainter& p, int s) {
              p.setPen(QPen(kGrey, 1, Qt::DotLine));
              p.drawRect(QRect(2, 5, s - 5, s - 11));
              p.setPen(QPen(kInk, 1));
              const int y = s / 2;
              p.drawLine(4, y, s - 5, y);
              p.drawLine(4, y, 7, y - 3);
              p.drawLine(4, y, 7, y + 3);
              p.drawLine(s - 5, y, s - 8, y - 3);
              p.drawLine(s - 5, y, s - 8, y + 3);
          }}},
        {"QROKBITMAP",
         {20, [](QPainter& p, int s) {
              p.setPen(QPen(QColor(0, 128, 0), 3));
              p.drawPolyline(QPolygon({QPoint(4, s / 2), QPoint(8, s - 5), QPoint(s - 4, 4)}));
          }}},
        {"QRCANCELBITMAP",
         {20, [](QPainter& p, int s) {
              p.setPen(QPen(QColor(255, 0, 0), 3));
              p.drawLine(5, 5, s - 6, s - 6);
              p.drawLine(s - 6, 5, 5, s - 6);
          }}},
        {"QRFUNCTIONBITMAP", {20, [](QPainter& p, int s) { Letter(p, s, "fx", false, true, false); }}},
        {"QRRECTANGLEBITMAP",
         {20, [](QPainter& p, int s) { ShapeGlyph(p, s, [](QPainter& q, const QRect& r) { q.drawRect(r); }); }}},
        {"QRCIRCLEBITMAP",
         {20, [](QPainter& p, int s) { ShapeGlyph(p, s, [](QPainter& q, const QRect& r) { q.drawEllipse(r); }); }}},
        {"QRVERTLINEBITMAP",
         {20, [](QPainter& p, int s) {
              ShapeGlyph(p, s, [](QPainter& q, const QRect& r) {
                  q.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
              });
          }}},
        {"QRHORZLINEBITMAP",
         {20, [](QPainter& p, int s) {
              ShapeGlyph(p, s, [](QPainter& q, const QRect& r) {
                  q.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
              });
          }}},
        {"QRTOPBOTTOMBITMAP",
         {20, [](QPainter& p, int s) {
              ShapeGlyph(p, s, [](QPainter& q, const QRect& r) {
                  q.drawLine(r.topLeft(), r.topRight());
                  q.drawLine(r.bottomLeft(), r.bottomRight());
              });
          }}},
        {"QRLEFTRIGHTBITMAP",
         {20, [](QPainter& p, int s) {
              ShapeGlyph(p, s, [](QPainter& q, const QRect& r) {
                  q.drawLine(r.topLeft(), r.bottomLeft());
                  q.drawLine(r.topRight(), r.bottomRight());
              });
          }}},
    };
    return glyphs;
}

}  // namespace

TBitmap* LoadGlyph(const QString& name)
{
    const auto it = Glyphs().find(name.toUpper());
    if (it == Glyphs().end())
        throw EResNotFound(QStringLiteral("Bitmap resource %1 not found").arg(name));
    const int size = it->second.Size;
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(kBack);
    {
        QPainter painter(&image);
        it->second.Paint(painter, size);
    }
    // drawn smoothly, kept in the sixteen colours of the glyph set
    auto* bitmap = new TBitmap();
    bitmap->SetImage(image.convertToFormat(QImage::Format_Indexed8, Palette16(), Qt::ThresholdDither));
    return bitmap;
}

QStringList GlyphNames()
{
    QStringList names;
    for (const auto& entry : Glyphs())
        names << entry.first;
    return names;
}
