#include "controls/Buttons.h"
#include "controls/ControlProps.h"
#include "qt/FaceButton.h"

#include <QApplication>
#include <QPushButton>
#include <QStyle>

namespace cp = controlprops;

VK_PUBLISHED(TSpeedButton)
{
    c.Prop("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
    c.Prop("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
    c.Prop("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false);
    cp::Caption(c);
    cp::State(c);
    c.Prop("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false);
    cp::Font(c);
    c.Prop("Glyph", &TSpeedButton::Glyph);
    c.Prop("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
    c.Prop("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
    c.Prop("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1).Range(1, MaxGlyphs);
    cp::Hints(c);
    c.Prop("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
    cp::MouseEvents(c);
}

VK_PUBLISHED(TBitBtn)
{
    c.Prop("Glyph", &TBitBtn::Glyph);
    c.Prop("Kind", &TBitBtn::Kind, &TBitBtn::SetKind).Default(bkCustom);
    c.Prop("Layout", &TBitBtn::Layout).Default(blGlyphLeft);
    c.Prop("Margin", &TBitBtn::Margin).Default(-1);
    c.Prop("NumGlyphs", &TBitBtn::NumGlyphs).Default(1).Range(1, MaxGlyphs);
    c.Prop("Spacing", &TBitBtn::Spacing).Default(4);
}

// ---------------------------------------------------------------- TSpeedButton

void TSpeedButton::Create(TComponent* owner)
{
    glyph_.OnChange = TNotifyEvent([this](TObject*) { Invalidate(); });
    inherited::Create(owner);
    SetBounds(Left(), Top(), 25, 25);
}

void TSpeedButton::SetGroupIndex(int v)
{
    groupIndex_ = v;
    if (groupIndex_ == 0)
        down_ = false;
    Invalidate();
}

void TSpeedButton::SetDown(bool v)
{
    if (groupIndex_ == 0)
        v = false;
    if (v == down_)
        return;
    // the down button of a group goes up only where all may be up
    if (down_ && !allowAllUp_)
        return;
    down_ = v;
    if (down_)
        ReleaseGroup();
    Invalidate();
}

void TSpeedButton::ForEachInGroup(const std::function<void(TSpeedButton*)>& proc)
{
    if (groupIndex_ == 0 || !Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        if (other && other != this && other->groupIndex_ == groupIndex_)
            proc(other);
    }
}

void TSpeedButton::ReleaseGroup()
{
    ForEachInGroup([](TSpeedButton* other) {
        other->down_ = false;
        other->Invalidate();
    });
}

void TSpeedButton::SetAllowAllUp(bool v)
{
    allowAllUp_ = v;
    // the buttons of one group agree on it
    ForEachInGroup([v](TSpeedButton* other) { other->allowAllUp_ = v; });
}

void TSpeedButton::SetFlat(bool v)
{
    flat_ = v;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* glyph)
{
    glyph_.Assign(glyph);
}

void TSpeedButton::SetNumGlyphs(int v)
{
    numGlyphs_ = std::clamp(v, 1, MaxGlyphs);
    Invalidate();
}

void TSpeedButton::SetSpacing(int v)
{
    spacing_ = v;
    Invalidate();
}

void TSpeedButton::SetMargin(int v)
{
    margin_ = v;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v)
{
    layout_ = v;
    Invalidate();
}

void TSpeedButton::Click()
{
    if (groupIndex_ != 0)
        SetDown(!down_);
    inherited::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && Enabled()) {
        pressed_ = true;
        Invalidate();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    inherited::MouseUp(button, shift, x, y);
}

namespace {

// The part of a glyph strip: 0 up, 1 disabled, 2 pressed, 3 down.
QImage GlyphPart(const QImage& strip, int numGlyphs, int index)
{
    numGlyphs = std::clamp(numGlyphs, 1, MaxGlyphs);  // a bit button's count is a plain field
    if (index >= numGlyphs)
        index = 0;
    const int w = strip.width() / numGlyphs;
    QImage part = strip.copy(index * w, 0, w, strip.height());
    // the bottom-left pixel is the transparent colour of a glyph
    if (part.width() > 0 && part.height() > 0 && !part.hasAlphaChannel()) {
        const QColor transparent = part.pixelColor(0, part.height() - 1);
        part = part.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                if (part.pixelColor(x, y) == transparent)
                    part.setPixelColor(x, y, Qt::transparent);
    }
    return part;
}

struct TFacePlacement {
    TButtonLayout Layout;
    int Margin;
    int Spacing;
};

// Where a glyph and a caption go along the button's main axis (across for
// left/right layouts, down for top/bottom ones): returns their offsets.
std::pair<int, int> PlaceAlong(int extent, int glyph, int text, TFacePlacement place)
{
    int margin = place.Margin, spacing = glyph == 0 || text == 0 ? 0 : place.Spacing;
    if (margin < 0 && spacing < 0) {
        margin = spacing = (extent - glyph - text) / 3;
    } else if (margin < 0) {
        margin = (extent - glyph - spacing - text + 1) / 2;
    } else if (spacing < 0) {
        spacing = (extent - margin - glyph - text) / 2;
    }
    if (place.Layout == blGlyphRight || place.Layout == blGlyphBottom) {
        const int glyphAt = extent - margin - glyph;
        return {glyphAt, glyphAt - spacing - text};
    }
    return {margin, margin + glyph + spacing};
}

// Draws a button's glyph and caption in its face: the layout names the
// glyph's side, Margin -1 centres the pair, Spacing -1 spreads the free space.
void DrawFace(QPainter& painter, const QRect& face, const QImage& glyph, const QString& caption, TFacePlacement place)
{
    const int flags = Qt::TextShowMnemonic;
    const QSize size = caption.isEmpty() ? QSize(0, 0) : painter.fontMetrics().size(flags, caption);
    const QSize image = glyph.isNull() ? QSize(0, 0) : glyph.size();
    const bool across = place.Layout == blGlyphLeft || place.Layout == blGlyphRight;
    QPoint glyphAt, textAt;
    if (across) {
        const auto [g, t] = PlaceAlong(face.width(), image.width(), size.width(), place);
        glyphAt = QPoint(g, (face.height() - image.height() + 1) / 2);
        textAt = QPoint(t, (face.height() - size.height() + 1) / 2);
    } else {
        const auto [g, t] = PlaceAlong(face.height(), image.height(), size.height(), place);
        glyphAt = QPoint((face.width() - image.width() + 1) / 2, g);
        textAt = QPoint((face.width() - size.width() + 1) / 2, t);
    }
    if (!glyph.isNull())
        painter.drawImage(face.topLeft() + glyphAt, glyph);
    if (!caption.isEmpty())
        painter.drawText(QRect(face.topLeft() + textAt, size), flags, caption);
}

}  // namespace

void TSpeedButton::Paint()
{
    QPainter& painter = *Canvas()->Painter();
    const QRect rect = ClientRect();
    const bool sunken = down_ || pressed_;
    painter.fillRect(rect, ColorToQColor(down_ && !pressed_ ? clBtnHighlight : Color()));
    if (!flat_ || sunken) {
        const QColor light = ColorToQColor(clBtnHighlight), dark = ColorToQColor(clBtnShadow);
        painter.setPen(sunken ? dark : light);
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(sunken ? light : ColorToQColor(cl3DDkShadow));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    QImage glyph;
    if (!glyph_.Empty())
        glyph = GlyphPart(glyph_.Image(), numGlyphs_, !Enabled() ? 1 : pressed_ ? 2 : down_ ? 3 : 0);
    painter.setFont(Font()->ToQFont());
    painter.setPen(ColorToQColor(Enabled() ? Font()->Color() : clGrayText));
    DrawFace(painter, rect.translated(sunken ? 1 : 0, sunken ? 1 : 0), glyph, Caption(),
             {layout_, margin_, spacing_});
}

// ---------------------------------------------------------------- TBitBtn

namespace {

struct TKindLook {
    const char* Caption;
    TModalResult Result;
    bool Default;
    bool Cancel;
    QStyle::StandardPixmap Icon;
};

const TKindLook& LookOf(TBitBtnKind kind)
{
    static const TKindLook looks[] = {
        {"", mrNone, false, false, QStyle::SP_CustomBase},
        {"OK", mrOk, true, false, QStyle::SP_DialogOkButton},
        {"&Cancel", mrCancel, false, true, QStyle::SP_DialogCancelButton},
        {"&Help", mrNone, false, false, QStyle::SP_DialogHelpButton},
        {"&Yes", mrYes, true, false, QStyle::SP_DialogYesButton},
        {"&No", mrNo, false, true, QStyle::SP_DialogNoButton},
        {"&Close", mrNone, false, false, QStyle::SP_DialogCloseButton},
        {"Abort", mrAbort, false, true, QStyle::SP_DialogAbortButton},
        {"&Retry", mrRetry, false, false, QStyle::SP_DialogRetryButton},
        {"&Ignore", mrIgnore, false, false, QStyle::SP_DialogIgnoreButton},
        {"&All", mrAll, false, false, QStyle::SP_DialogYesToAllButton},
    };
    return looks[kind];
}

}  // namespace

void TBitBtn::Create(TComponent* owner)
{
    glyph_.OnChange = TNotifyEvent([this](TObject*) { SyncWidget(); });
    inherited::Create(owner);
}

void TBitBtn::SetKind(TBitBtnKind kind)
{
    kind_ = kind;
    if (kind != bkCustom) {
        const TKindLook& look = LookOf(kind);
        Default = look.Default;
        Cancel = look.Cancel;
        ModalResult = look.Result;
        // a stream gives the caption itself when it differs
        if (!IsLoading() || Caption().isEmpty())
            SetCaption(QString::fromLatin1(look.Caption));
    }
    SyncWidget();
}

void TBitBtn::SetGlyph(TBitmap* glyph)
{
    glyph_.Assign(glyph);
}

void TBitBtn::Click()
{
    inherited::Click();
    // a close button closes its form after its handler
    if (kind_ == bkClose)
        if (TWindowHost* form = WindowHostOf(this))
            form->Close();
}

QWidget* TBitBtn::CreateWidget()
{
    auto* button = new TFaceButton();
    button->OnPaintFace = [this](QPainter& painter, const QRect& face, bool down) {
        PaintFace(painter, face, down);
    };
    return Wire(button);
}

void TBitBtn::SyncWidget()
{
    inherited::SyncWidget();
    Widget()->update();
}

void TBitBtn::PaintFace(QPainter& painter, const QRect& face, bool down)
{
    QImage glyph;
    if (!glyph_.Empty())
        glyph = GlyphPart(glyph_.Image(), NumGlyphs, Enabled() ? 0 : 1);
    else if (kind_ != bkCustom)
        glyph = Widget()->style()->standardIcon(LookOf(kind_).Icon).pixmap(16, Enabled() ? QIcon::Normal : QIcon::Disabled).toImage();
    painter.setFont(Font()->ToQFont());
    painter.setPen(ColorToQColor(Enabled() ? Font()->Color() : clGrayText));
    const int shift = down ? 1 : 0;
    DrawFace(painter, face.translated(shift, shift), glyph, Caption(), {Layout, Margin, Spacing});
}
