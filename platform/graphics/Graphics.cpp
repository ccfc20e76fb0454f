#include "Graphics.h"
#include "Picture.h"
#include "classes/Published.h"
#include "rtl/SysUtils.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>

#include <algorithm>
#include <map>
#include <tuple>

// ---------------------------------------------------------------- colours

namespace {

// Values that stream as identifiers when they have one.
struct TIdent {
    int Value;
    const char* Name;
};

template <size_t N>
const char* IdentOf(const TIdent (&idents)[N], int value)
{
    for (const TIdent& i : idents)
        if (i.Value == value)
            return i.Name;
    return nullptr;
}

template <size_t N>
bool ValueOfIdent(const TIdent (&idents)[N], const QString& name, int& value)
{
    for (const TIdent& i : idents)
        if (name.compare(QLatin1String(i.Name), Qt::CaseInsensitive) == 0) {
            value = i.Value;
            return true;
        }
    return false;
}

template <size_t N>
TValue IdentOrInteger(const TIdent (&idents)[N], int value)
{
    if (const char* name = IdentOf(idents, value))
        return TValue::Ident(QLatin1String(name));
    return TValue::Integer(value);
}

// Takes an identifier of the table or a 32-bit integer (a colour written as
// $80000005 reads as a positive 64-bit number).
template <size_t N>
int IdentOrIntegerValue(const TIdent (&idents)[N], const TValue& value)
{
    int result = 0;
    if (value.Type == TValueType::Ident && ValueOfIdent(idents, value.Str, result))
        return result;
    if (value.IsInteger() && value.Int >= INT32_MIN && value.Int <= UINT32_MAX)
        return static_cast<qint32>(static_cast<quint32>(value.Int));
    throw EReadError(QLatin1String(rtlstr::SInvalidPropertyValue));
}

constexpr TIdent colorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"}, {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
};

constexpr TIdent charsetNames[] = {
    {0, "ANSI_CHARSET"},        {1, "DEFAULT_CHARSET"},      {2, "SYMBOL_CHARSET"},    {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},  {129, "HANGEUL_CHARSET"},    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},    {162, "TURKISH_CHARSET"}, {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},    {178, "ARABIC_CHARSET"},     {186, "BALTIC_CHARSET"},  {204, "RUSSIAN_CHARSET"},
    {222, "THAI_CHARSET"},      {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

// System colours the Qt palette has a role for; the others keep the classic
// desktop values so that forms look the same on every machine.
struct TSystemColor {
    int Index;
    int Role;  // a QPalette::ColorRole, or -1
    QRgb Classic;
};

constexpr TSystemColor systemColors[] = {
    {0x00, -1, 0xC8C8C8},                             {0x01, -1, 0x000000},
    {0x02, -1, 0x000080},                             {0x03, -1, 0x808080},
    {0x04, QPalette::Window, 0xD4D0C8},               {0x05, QPalette::Base, 0xFFFFFF},
    {0x06, -1, 0x000000},                             {0x07, QPalette::WindowText, 0x000000},
    {0x08, QPalette::WindowText, 0x000000},           {0x09, -1, 0xFFFFFF},
    {0x0A, -1, 0xD4D0C8},                             {0x0B, -1, 0xD4D0C8},
    {0x0C, -1, 0x808080},                             {0x0D, QPalette::Highlight, 0x0A246A},
    {0x0E, QPalette::HighlightedText, 0xFFFFFF},      {0x0F, QPalette::Button, 0xD4D0C8},
    {0x10, QPalette::Mid, 0x808080},                  {0x11, -1, 0x808080},
    {0x12, QPalette::ButtonText, 0x000000},           {0x13, -1, 0xD4D0C8},
    {0x14, QPalette::Light, 0xFFFFFF},                {0x15, QPalette::Shadow, 0x404040},
    {0x16, QPalette::Midlight, 0xD4D0C8},             {0x17, QPalette::ToolTipText, 0x000000},
    {0x18, QPalette::ToolTipBase, 0xFFFFE1},
};

QColor SystemColor(int index)
{
    for (const TSystemColor& s : systemColors)
        if (s.Index == index) {
            if (s.Role >= 0 && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
                return QGuiApplication::palette().color(static_cast<QPalette::ColorRole>(s.Role));
            return QColor::fromRgb(s.Classic);
        }
    return Qt::black;
}

}  // namespace

QColor ColorToQColor(TColor color)
{
    const quint32 value = static_cast<quint32>(color);
    if (color == clNone)
        return Qt::transparent;
    if (color == clDefault)
        return SystemColor(clWindow & 0xFF);
    if (value & 0x80000000u)
        return SystemColor(static_cast<int>(value & 0xFF));
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color)
{
    if (color.alpha() == 0)
        return clNone;
    return static_cast<TColor>(color.red() | (color.green() << 8) | (color.blue() << 16));
}

QString ColorToString(TColor color)
{
    if (const char* name = IdentOf(colorNames, color))
        return QLatin1String(name);
    return QStringLiteral("$%1").arg(static_cast<quint32>(color), 8, 16, QLatin1Char('0')).toUpper();
}

bool StringToColor(const QString& text, TColor& color)
{
    int value = 0;
    if (!ValueOfIdent(colorNames, text.trimmed(), value) && !TryStrToInt(text, value))
        return false;
    color = static_cast<TColor>(value);
    return true;
}

TValue VkStreamOut(TColor color)
{
    return IdentOrInteger(colorNames, color);
}

TColor VkStreamIn(const TValue& value, TColor*)
{
    return static_cast<TColor>(IdentOrIntegerValue(colorNames, value));
}

TValue VkStreamOut(TFontCharset charset)
{
    return IdentOrInteger(charsetNames, charset);
}

TFontCharset VkStreamIn(const TValue& value, TFontCharset*)
{
    return static_cast<TFontCharset>(IdentOrIntegerValue(charsetNames, value));
}

// ---------------------------------------------------------------- graphics objects

VK_PUBLISHED(TGraphicsObject) {}

void TGraphicsObject::Changed()
{
    OnChange(this);
}

// Sets a field and notifies the owner, only when the value really changes.
template <class T>
static void Update(T& field, const T& value, const std::function<void()>& changed)
{
    if (field == value)
        return;
    field = value;
    changed();
}

VK_PUBLISHED(TFont)
{
    c.Prop("Charset", &TFont::StreamedCharset, &TFont::SetStreamedCharset);
    c.Prop("Color", &TFont::Color, &TFont::SetColor);
    c.Prop("Height", &TFont::Height, &TFont::SetHeight);
    c.Prop("Name", &TFont::Name, &TFont::SetName);
    c.Prop("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Prop("Size", &TFont::Size, &TFont::SetSize).Stored([](const TObject*) { return false; });
    c.Prop("Style", &TFont::Style, &TFont::SetStyle);
}

TFont::TFont() = default;

void TFont::SetName(const QString& name)
{
    if (name.isEmpty())
        return;
    Update(name_, name.left(31), [this] { Changed(); });
}

int TFont::Size() const
{
    return Round(-height_ * 72.0 / PixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(-Round(points * double(PixelsPerInch) / 72.0));
}

void TFont::SetHeight(int height)
{
    Update(height_, height, [this] { Changed(); });
}

void TFont::SetStyle(TFontStyles style)
{
    Update(style_, style, [this] { Changed(); });
}

void TFont::SetColor(TColor color)
{
    Update(color_, color, [this] { Changed(); });
}

void TFont::SetCharset(int charset)
{
    Update(charset_, charset, [this] { Changed(); });
}

void TFont::SetPitch(TFontPitch pitch)
{
    Update(pitch_, pitch, [this] { Changed(); });
}

void TFont::Assign(const TPersistent* source)
{
    auto* font = dynamic_cast<const TFont*>(source);
    if (!font) {
        inherited::Assign(source);
        return;
    }
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    PixelsPerInch = font->PixelsPerInch;
    Changed();
}

bool TFont::SameAs(const TFont& other) const
{
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ && color_ == other.color_ &&
           charset_ == other.charset_ && pitch_ == other.pitch_ && PixelsPerInch == other.PixelsPerInch;
}

namespace {

bool FamilyInstalled(const QString& family)
{
    static QHash<QString, bool> known;
    auto it = known.find(family);
    if (it == known.end())
        it = known.insert(family, QFontDatabase::families().contains(family, Qt::CaseInsensitive));
    return *it;
}

// The faces forms name, mapped to installed metric-compatible ones. The
// "MS" faces are always replaced: fontconfig maps them to a wider face.
QString SubstituteFamily(const QString& name)
{
    static const struct {
        const char* From;
        const char* To;
        bool Always;
    } substitutes[] = {
        {"MS Sans Serif", "Liberation Sans", true},  {"MS Serif", "Liberation Serif", true},
        {"Arial", "Liberation Sans", false},         {"Times New Roman", "Liberation Serif", false},
        {"Courier New", "Liberation Mono", false},
    };
    for (const auto& s : substitutes)
        if (name.compare(QLatin1String(s.From), Qt::CaseInsensitive) == 0 &&
            (s.Always || !FamilyInstalled(name)))
            return QLatin1String(s.To);
    return name;
}

// A positive height is the cell height (ascent plus descent); Qt sizes fonts
// by the em, which is the character height a negative height gives.
int EmPixels(QFont font, int height)
{
    if (height <= 0)
        return std::max(1, -height);
    font.setPixelSize(100);
    const QFontMetricsF metrics(font);
    return std::max(1, Round(height * 100.0 / (metrics.ascent() + metrics.descent())));
}

using TFontLook = std::tuple<QString, int, std::uint64_t, TFontPitch>;

void ForgetMadeFonts();

std::map<TFontLook, QFont>& MadeFonts()
{
    // The fonts hold font engines, which must go before the application's: the
    // application empties the set as it ends. The set itself is never freed, as
    // an application kept in a static ends after this unit's statics are gone.
    static auto* made = new std::map<TFontLook, QFont>;
    if (made->empty())
        qAddPostRoutine(ForgetMadeFonts);
    return *made;
}

void ForgetMadeFonts() { MadeFonts().clear(); }

}  // namespace

QFont TFont::ToQFont() const
{
    // every element of a layout has a font of a few looks: each is made once
    auto& made = MadeFonts();
    const TFontLook look(name_, height_, style_.Bits(), pitch_);
    auto it = made.find(look);
    if (it == made.end())
        it = made.emplace(look, MakeQFont()).first;
    return it->second;
}

QFont TFont::MakeQFont() const
{
    QFont font(SubstituteFamily(name_));
    font.setBold(style_.Contains(fsBold));
    font.setItalic(style_.Contains(fsItalic));
    font.setUnderline(style_.Contains(fsUnderline));
    font.setStrikeOut(style_.Contains(fsStrikeOut));
    if (pitch_ == fpFixed) {
        font.setFixedPitch(true);
        font.setStyleHint(QFont::TypeWriter);
    }
    font.setPixelSize(EmPixels(font, height_));
    return font;
}

VK_PUBLISHED(TPen)
{
    c.Prop("Color", &TPen::Color, &TPen::SetColor).Default(clBlack);
    c.Prop("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    c.Prop("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Prop("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

void TPen::SetColor(TColor color)
{
    Update(color_, color, [this] { Changed(); });
}

void TPen::SetStyle(TPenStyle style)
{
    Update(style_, style, [this] { Changed(); });
}

void TPen::SetMode(TPenMode mode)
{
    Update(mode_, mode, [this] { Changed(); });
}

void TPen::SetWidth(int width)
{
    Update(width_, std::max(0, width), [this] { Changed(); });
}

void TPen::Assign(const TPersistent* source)
{
    auto* pen = dynamic_cast<const TPen*>(source);
    if (!pen) {
        inherited::Assign(source);
        return;
    }
    color_ = pen->color_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    width_ = pen->width_;
    Changed();
}

QPen TPen::ToQPen() const
{
    static constexpr Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                              Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    QPen pen(ColorToQColor(color_));
    pen.setStyle(styles[style_]);
    pen.setWidth(width_);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

VK_PUBLISHED(TBrush)
{
    c.Prop("Color", &TBrush::Color, &TBrush::SetColor).Default(clWhite);
    c.Prop("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::SetColor(TColor color)
{
    Update(color_, color, [this] { Changed(); });
}

void TBrush::SetStyle(TBrushStyle style)
{
    Update(style_, style, [this] { Changed(); });
}

void TBrush::Assign(const TPersistent* source)
{
    auto* brush = dynamic_cast<const TBrush*>(source);
    if (!brush) {
        inherited::Assign(source);
        return;
    }
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
}

QBrush TBrush::ToQBrush() const
{
    static constexpr Qt::BrushStyle styles[] = {Qt::SolidPattern,   Qt::NoBrush,      Qt::HorPattern,
                                                Qt::VerPattern,     Qt::FDiagPattern, Qt::BDiagPattern,
                                                Qt::CrossPattern,   Qt::DiagCrossPattern};
    return QBrush(ColorToQColor(color_), styles[style_]);
}

// ---------------------------------------------------------------- canvas

VK_PUBLISHED(TCanvas) {}

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPainter* painter) : TCanvas()
{
    painter_ = painter;
}

namespace {

QPainter::CompositionMode CompositionOf(TPenMode mode)
{
    switch (mode) {
    case pmNot: return QPainter::RasterOp_NotDestination;
    case pmNotCopy: return QPainter::RasterOp_NotSource;
    case pmMergePenNot: return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot: return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen: return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen: return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge: return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge: return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask: return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask: return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor: return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor: return QPainter::RasterOp_NotSourceXorDestination;
    case pmBlack: return QPainter::CompositionMode_Clear;
    case pmNop: return QPainter::CompositionMode_Destination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

}  // namespace

void TCanvas::ApplyPen() const
{
    QPen pen = pen_.ToQPen();
    if (pen_.Mode() == pmWhite)
        pen.setColor(Qt::white);
    painter_->setPen(pen);
    painter_->setCompositionMode(CompositionOf(pen_.Mode()));
}

void TCanvas::ApplyBrush() const
{
    painter_->setBrush(brush_.ToQBrush());
}

QSize TextExtentOf(const TFont* font, const QString& text)
{
    const QFontMetrics metrics(font->ToQFont());
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

QSize TCanvas::TextExtent(const QString& text) const
{
    return TextExtentOf(&font_, text);
}

int TCanvas::TextWidth(const QString& text) const
{
    return TextExtent(text).width();
}

int TCanvas::TextHeight(const QString& text) const
{
    return TextExtent(text).height();
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    const QSize extent = TextExtent(text);
    TextRect(QRect(QPoint(x, y), extent), x, y, text);
    penPos_ = QPoint(x + extent.width(), y);
}

// Text is drawn like the classic canvas: top-left at (x, y), its background
// filled with the brush unless the brush is clear.
void TCanvas::TextRect(const QRect& rect, int x, int y, const QString& text)
{
    if (!painter_)
        return;
    painter_->save();
    painter_->setClipRect(rect, painter_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (brush_.Style() != bsClear)
        painter_->fillRect(rect, brush_.ToQBrush());
    const QFont font = font_.ToQFont();
    painter_->setFont(font);
    painter_->setPen(ColorToQColor(font_.Color()));
    painter_->drawText(x, y + QFontMetrics(font).ascent(), text);
    painter_->restore();
}

void TCanvas::MoveTo(int x, int y)
{
    penPos_ = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    if (painter_) {
        ApplyPen();
        painter_->drawLine(penPos_, QPoint(x, y));
    }
    penPos_ = QPoint(x, y);
}

// A shape covers exactly the pixels of its QRect, outline included (Qt would
// draw a 1-pixel outline one pixel wider and higher).
void TCanvas::Rectangle(const QRect& rect)
{
    if (!painter_)
        return;
    ApplyPen();
    ApplyBrush();
    painter_->drawRect(rect.adjusted(0, 0, -1, -1));
}

void TCanvas::Ellipse(const QRect& rect)
{
    if (!painter_)
        return;
    ApplyPen();
    ApplyBrush();
    painter_->drawEllipse(rect.adjusted(0, 0, -1, -1));
}

void TCanvas::FillRect(const QRect& rect)
{
    if (painter_ && brush_.Style() != bsClear)
        painter_->fillRect(rect, brush_.ToQBrush());
}

void TCanvas::FrameRect(const QRect& rect)
{
    if (!painter_)
        return;
    painter_->save();
    painter_->setPen(QPen(ColorToQColor(brush_.Color()), 1));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(rect.adjusted(0, 0, -1, -1));
    painter_->restore();
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic)
{
    if (graphic && !graphic->Empty())
        StretchDraw(QRect(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const QRect& rect, const TGraphic* graphic)
{
    if (painter_ && graphic && !graphic->Empty())
        graphic->Draw(*painter_, rect);
}

QRect TCanvas::ClipRect() const
{
    if (!painter_)
        return QRect();
    if (painter_->hasClipping())
        return painter_->clipBoundingRect().toAlignedRect();
    return painter_->window();
}
