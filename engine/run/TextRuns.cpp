#include "TextRuns.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <unordered_map>

namespace {

// Texts with line breaks, tabs and other controls are left to QPainter::drawText, as they always were,
// and so are underlined and struck-out texts: a glyph run misplaces its lines on a scaled painter.
bool Plain(const QString& text, const QFont& font)
{
    if (font.underline() || font.strikeOut() || font.overline())
        return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

// QPainter::drawText starts a text at its origin cut to 1/64 pixel and
// places the glyphs from there; the runs do the same, or a glyph could fall
// on the other side of a rounding.
QPointF Fixed(const QPointF& p)
{
    return QPointF(std::trunc(p.x() * 64) / 64.0, std::trunc(p.y() * 64) / 64.0);
}

}  // namespace

TQRTextRuns::TQRTextRuns(int capacity) : shapes_(std::max(capacity, 1)) {}

void TQRTextRuns::Draw(const std::vector<TQRPageText>& texts, QPainter& painter)
{
    struct TFontUse {
        int Number;
        QColor Color;
    };
    std::unordered_map<const TFont*, TFontUse> uses;
    const TFontUse* current = nullptr;
    for (const TQRPageText& t : texts) {
        auto it = uses.find(t.Font.get());
        if (it == uses.end()) {
            const TFontUse use{FontNumber(t.Font->ToQFont(), painter.device()), ColorToQColor(t.Font->Color())};
            it = uses.emplace(t.Font.get(), use).first;
        }
        const TFontUse& use = it->second;
        if (!current || current->Color != use.Color) {
            Flush(painter);
            painter.setPen(use.Color);
        }
        current = &use;
        const TFontKey& font = fonts_[size_t(use.Number)];
        const TShape* shape = Shape(use.Number, t.Text, painter);
        double x = t.X;
        if (t.Alignment != taLeftJustify)
            x -= t.Alignment == taRightJustify ? shape->Width : shape->Width / 2;
        const QPointF baseline(x, t.Y + font.Ascent);
        if (!shape->Shaped) {
            Flush(painter);
            painter.setFont(font.Font);
            painter.drawText(baseline, t.Text);
            continue;
        }
        for (const QGlyphRun& run : shape->Runs)
            Add(run, Fixed(baseline), painter);
    }
    Flush(painter);
}

int TQRTextRuns::FontNumber(const QFont& font, QPaintDevice* device)
{
    const int dpi = device->logicalDpiY();
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].Dpi == dpi && fonts_[i].Font == font)
            return int(i);
    // The font for the device, as QPainter::setFont makes it; one copy serves
    // every text shaped in it, which saves looking its font engine up again.
    fonts_.push_back(TFontKey{font, QFont(font, device), dpi, QFontMetricsF(font).ascent()});
    return int(fonts_.size() - 1);
}

const TQRTextRuns::TShape* TQRTextRuns::Shape(int font, const QString& text, QPainter& painter)
{
    TKey key{font, text};
    if (const TShape* shape = shapes_.object(key))
        return shape;
    scratch_ = MakeShape(fonts_[size_t(font)], text, painter);
    // Most texts of a long report print once (numbers, names); only those
    // seen before are kept, so that they do not push out the ones that repeat.
    if (seen_.remove(key)) {
        shapes_.insert(std::move(key), new TShape(scratch_));
    } else {
        if (seen_.size() >= shapes_.maxCost())
            seen_.clear();
        seen_.insert(std::move(key));
    }
    return &scratch_;
}

TQRTextRuns::TShape TQRTextRuns::MakeShape(const TFontKey& font, const QString& text, QPainter& painter)
{
    TShape shape;
    if (!Plain(text, font.Font)) {
        shape.Width = QFontMetricsF(font.Font).horizontalAdvance(text);
        return shape;
    }
    // Shaped as QPainter::drawText shapes it: for the painter's device, in the painter's direction.
    QTextLayout layout(text, font.DeviceFont);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(painter.layoutDirection());
    layout.setTextOption(option);
    layout.setCacheEnabled(true);  // else the glyph runs shape the text again
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    shape.Width = line.horizontalAdvance();
    shape.Runs = line.glyphRuns();
    for (QGlyphRun& run : shape.Runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions)
            p.ry() -= line.ascent();
        run.setPositions(positions);
    }
    shape.Shaped = true;
    return shape;
}

void TQRTextRuns::Add(const QGlyphRun& run, const QPointF& origin, QPainter& painter)
{
    // A right-to-left run keeps to itself, in its own order.
    if (run.flags() != QGlyphRun::GlyphRunFlags()) {
        Flush(painter);
        painter.drawGlyphRun(origin, run);
        return;
    }
    if (!pendingGlyphs_.isEmpty() && run.rawFont() != pendingFont_)
        Flush(painter);
    pendingFont_ = run.rawFont();
    pendingGlyphs_.append(run.glyphIndexes());
    for (const QPointF& p : run.positions())
        pendingPositions_.append(p + origin);
}

void TQRTextRuns::Flush(QPainter& painter)
{
    if (pendingGlyphs_.isEmpty())
        return;
    QGlyphRun run;
    run.setGlyphIndexes(pendingGlyphs_);
    if (painter.paintEngine()->type() == QPaintEngine::Pdf) {
        // A PDF writes the step to each glyph as a number of ten characters;
        // in units of 1/64 pixel, where the places fall on whole numbers, it
        // writes three or four. The font is as much larger.
        for (QPointF& p : pendingPositions_)
            p *= FineSteps;
        run.setRawFont(FineFont(pendingFont_));
        run.setPositions(pendingPositions_);
        painter.save();
        painter.scale(1.0 / FineSteps, 1.0 / FineSteps);
        painter.drawGlyphRun(QPointF(), run);
        painter.restore();
    } else {
        run.setRawFont(pendingFont_);
        run.setPositions(pendingPositions_);
        painter.drawGlyphRun(QPointF(), run);
    }
    pendingGlyphs_.clear();
    pendingPositions_.clear();
}

const QRawFont& TQRTextRuns::FineFont(const QRawFont& font)
{
    for (const auto& [normal, fine] : fineFonts_)
        if (normal == font)
            return fine;
    QRawFont fine = font;
    fine.setPixelSize(font.pixelSize() * FineSteps);
    return fineFonts_.emplace_back(font, fine).second;
}
