#pragma once
// Colours, fonts, pens, brushes and the canvas that controls and reports
// paint on. A canvas draws through a QPainter; all measures are pixels at the
// canvas's resolution (96 pixels per inch on screen).
#include "classes/Component.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>

// 0x00BBGGRR, or a system colour (high bit set, palette index below).
enum TColor : qint32 {
    clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080, clNavy = 0x800000,
    clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080, clSilver = 0xC0C0C0, clRed = 0x0000FF,
    clLime = 0x00FF00, clYellow = 0x00FFFF, clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00,
    clWhite = 0xFFFFFF, clNone = 0x1FFFFFFF, clDefault = 0x20000000,
    clScrollBar = qint32(0x80000000), clBackground = qint32(0x80000001), clActiveCaption = qint32(0x80000002),
    clInactiveCaption = qint32(0x80000003), clMenu = qint32(0x80000004), clWindow = qint32(0x80000005),
    clWindowFrame = qint32(0x80000006), clMenuText = qint32(0x80000007), clWindowText = qint32(0x80000008),
    clCaptionText = qint32(0x80000009), clActiveBorder = qint32(0x8000000A), clInactiveBorder = qint32(0x8000000B),
    clAppWorkSpace = qint32(0x8000000C), clHighlight = qint32(0x8000000D), clHighlightText = qint32(0x8000000E),
    clBtnFace = qint32(0x8000000F), clBtnShadow = qint32(0x80000010), clGrayText = qint32(0x80000011),
    clBtnText = qint32(0x80000012), clInactiveCaptionText = qint32(0x80000013), clBtnHighlight = qint32(0x80000014),
    cl3DDkShadow = qint32(0x80000015), cl3DLight = qint32(0x80000016), clInfoText = qint32(0x80000017),
    clInfoBk = qint32(0x80000018),
};
QColor ColorToQColor(TColor color);  // system colours through the palette
TColor QColorToColor(const QColor& color);
QString ColorToString(TColor color);           // "clWhite" or "$00123456"
bool StringToColor(const QString& text, TColor& color);
// Streamed as the colour's identifier when it has one, else as an integer.
TValue VkStreamOut(TColor color);
TColor VkStreamIn(const TValue& value, TColor*);

// A font's character set (DEFAULT_CHARSET = 1), streamed as its identifier
// when it has one, else as an integer.
enum TFontCharset : int {};
TValue VkStreamOut(TFontCharset charset);
TFontCharset VkStreamIn(const TValue& value, TFontCharset*);

VK_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSet<TFontStyle>;
VK_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
VK_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
VK_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
        pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)
VK_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

// Base of fonts, pens and brushes: tells its owner of every change.
class TGraphicsObject : public TPersistent {
    VK_CLASS(TGraphicsObject, TPersistent)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

class TFont : public TGraphicsObject {
    VK_CLASS(TFont, TGraphicsObject)
public:
    TFont();
    QString Name() const { return name_; }
    void SetName(const QString& name);  // an empty name is ignored; at most 31 characters kept
    int Size() const;                   // points
    void SetSize(int points);
    int Height() const { return height_; }  // pixels; negative is the character height
    void SetHeight(int height);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Charset() const { return charset_; }
    void SetCharset(int charset);
    // Charset as streams see it (DEFAULT_CHARSET ...).
    TFontCharset StreamedCharset() const { return TFontCharset(charset_); }
    void SetStreamedCharset(TFontCharset charset) { SetCharset(charset); }
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);
    int PixelsPerInch = 96;

    void Assign(const TPersistent* source) override;
    // True when assigning the other font would change nothing.
    bool SameAs(const TFont& other) const;
    // The Qt font at 96 pixels per inch, with the library's face substitutions
    // ("MS Sans Serif" and "MS Serif" become Liberation Sans and Liberation Serif).
    QFont ToQFont() const;

private:
    QFont MakeQFont() const;

    QString name_ = QStringLiteral("MS Sans Serif");
    int height_ = -11;
    TFontStyles style_;
    TColor color_ = clWindowText;
    int charset_ = 1;
    TFontPitch pitch_ = fpDefault;
};

class TPen : public TGraphicsObject {
    VK_CLASS(TPen, TGraphicsObject)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    int Width() const { return width_; }
    void SetWidth(int width);
    void Assign(const TPersistent* source) override;
    QPen ToQPen() const;

private:
    TColor color_ = clBlack;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    int width_ = 1;
};

class TBrush : public TGraphicsObject {
    VK_CLASS(TBrush, TGraphicsObject)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    void Assign(const TPersistent* source) override;
    QBrush ToQBrush() const;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
};

class TGraphic;

// Drawing surface over a QPainter, with the library's font, pen and brush.
class TCanvas : public TPersistent {
    VK_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    explicit TCanvas(QPainter* painter);
    QPainter* Painter() const { return painter_; }
    void SetPainter(QPainter* painter) { painter_ = painter; }

    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    TPen* Pen() { return &pen_; }
    const TPen* Pen() const { return &pen_; }
    TBrush* Brush() { return &brush_; }
    const TBrush* Brush() const { return &brush_; }

    void TextOut(int x, int y, const QString& text);
    void TextRect(const QRect& rect, int x, int y, const QString& text);  // clipped to rect
    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    QSize TextExtent(const QString& text) const;
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(const QRect& rect);  // pen outline, brush fill
    void Ellipse(const QRect& rect);
    void FillRect(const QRect& rect);   // brush only
    void FrameRect(const QRect& rect);  // brush colour outline
    void Draw(int x, int y, const TGraphic* graphic);
    void StretchDraw(const QRect& rect, const TGraphic* graphic);
    QRect ClipRect() const;

private:
    void ApplyPen() const;
    void ApplyBrush() const;
    QPainter* painter_ = nullptr;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    QPoint penPos_;
};

// Font metrics of a font at 96 pixels per inch, without a canvas.
QSize TextExtentOf(const TFont* font, const QString& text);
