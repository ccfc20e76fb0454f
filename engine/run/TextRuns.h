#pragma once
// Draws the text lines of prepared pages as glyph runs. A long report prints
// the same texts (dates, names, captions) again and again; each text is
// shaped once per font and kept in a bounded cache, and the lines that
// follow each other in one font and colour go to the painter as one run,
// which a PDF writes as one text object instead of one per line.
#include "PreparedReport.h"

#include <QCache>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QSet>

class TQRTextRuns {
public:
    // At most capacity shaped texts are kept; the least used go first.
    explicit TQRTextRuns(int capacity = DefaultCapacity);

    // Draws the lines with the painter's current transform, in their order.
    void Draw(const std::vector<TQRPageText>& texts, QPainter& painter);

    int Count() const { return int(shapes_.size()); }
    int Capacity() const { return int(shapes_.maxCost()); }

    static constexpr int DefaultCapacity = 20000;

private:
    // A text as shaped: its runs with the left end of the baseline at 0, 0.
    struct TShape {
        QList<QGlyphRun> Runs;
        double Width = 0;
        bool Shaped = false;  // else drawn as text
    };
    struct TKey {
        int Font = 0;
        QString Text;
        bool operator==(const TKey&) const = default;
        friend size_t qHash(const TKey& key, size_t seed = 0) { return qHashMulti(seed, key.Font, key.Text); }
    };

    struct TFontKey {
        QFont Font;
        QFont DeviceFont;
        int Dpi = 0;
        double Ascent = 0;
    };
    int FontNumber(const QFont& font, QPaintDevice* device);
    // The shape of the text, valid until the next call.
    const TShape* Shape(int font, const QString& text, QPainter& painter);
    static TShape MakeShape(const TFontKey& font, const QString& text, QPainter& painter);
    void Add(const QGlyphRun& run, const QPointF& origin, QPainter& painter);
    void Flush(QPainter& painter);
    const QRawFont& FineFont(const QRawFont& font);
    static constexpr int FineSteps = 64;  // QPainter places glyphs in 1/64 pixel

    std::vector<TFontKey> fonts_;  // a run prints with a few fonts
    QCache<TKey, TShape> shapes_;
    QSet<TKey> seen_;  // shaped once and not kept, at most as many as shapes_
    TShape scratch_;
    // The glyphs gathered for the next run, all of one raw font.
    QRawFont pendingFont_;
    QList<quint32> pendingGlyphs_;
    QList<QPointF> pendingPositions_;
    std::vector<std::pair<QRawFont, QRawFont>> fineFonts_;  // fonts at FineSteps times their size
};
