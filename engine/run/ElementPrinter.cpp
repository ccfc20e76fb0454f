#include "ElementPrinter.h"

#include "db/DataSet.h"
#include "db/Field.h"
#include "classes/Owned.h"
#include "graphics/Picture.h"
#include "engine/Printables.h"
#include "engine/expr/ReportFields.h"

#include <QFontMetricsF>
#include <QHash>
#include <array>

struct TQRElementPrinter::TFontInfo {
    TFontInfo(const QFont& font, std::shared_ptr<TFont> copy)
        : Font(font), Metrics(font), Copy(std::move(copy)), LineHeight(Metrics.height())
    {
    }

    QFont Font;
    QFontMetricsF Metrics;
    std::shared_ptr<TFont> Copy;  // what the printed lines keep
    std::array<double, 256> Advances{};  // of Latin-1 characters, 0 until measured
    double LineHeight = 0;
    // The widths of the texts shaped so far: field values repeat from record
    // to record. Bounded, as a long report's texts are many.
    QHash<QString, double> Shaped;

    // The width of the text from the advances of its characters, or -1 when
    // it has characters beyond Latin-1. Shaping a whole text costs far more.
    double QuickWidth(const QString& text)
    {
        double width = 0;
        for (const QChar c : text) {
            if (c.unicode() > 255)
                return -1;
            double& advance = Advances[c.unicode()];
            if (advance == 0)
                advance = Metrics.horizontalAdvance(c);
            width += advance;
        }
        return width;
    }

    double ShapedWidth(const QString& text)
    {
        if (const auto it = Shaped.constFind(text); it != Shaped.cend())
            return *it;
        if (Shaped.size() >= 8192)
            Shaped.clear();
        return *Shaped.insert(text, Metrics.horizontalAdvance(text));
    }
};

struct TQRElementPrinter::TElement {
    enum class TKind { Other, Image, Text, Expr, SysData, DBText, Memo };
    TKind Kind;  // set by the constructor, which classifies every element
    const TQRCustomLabel* Label = nullptr;  // the text kinds'
    std::unique_ptr<TExpression> Expr;  // an expression element's, once parsed
    QString Error;  // why its expression does not parse or evaluate
    std::unique_ptr<TFontInfo> Font;  // a text element's, on first use
    TOwned<TFieldLink> Field;  // a data field's, on first use

    explicit TElement(const TQRPrintable* element) : Label(dynamic_cast<const TQRCustomLabel*>(element))
    {
        if (dynamic_cast<const TQRDBImage*>(element))
            Kind = TKind::Image;
        else if (!Label)
            Kind = TKind::Other;
        else if (dynamic_cast<const TQRExpr*>(Label))
            Kind = TKind::Expr;
        else if (dynamic_cast<const TQRSysData*>(Label))
            Kind = TKind::SysData;
        else if (dynamic_cast<const TQRDBText*>(Label))
            Kind = TKind::DBText;
        else
            Kind = dynamic_cast<const TQRMemo*>(Label) ? TKind::Memo : TKind::Text;
    }
};

namespace {

TExprFieldResolver ResolverOf(TCustomQuickRep* report)
{
    return DataSetFieldResolver(report->Owner(), report->DataSet());
}

// The horizontal extent of a text element's lines, from its left edge: text
// aligned to its band is laid out across the band, so that its alignment
// places it against the band's edges whatever the element's own width.
std::pair<double, double> TextSpan(const TQRCustomLabel* label, double bandWidth)
{
    if (label->AlignToBand() && dynamic_cast<const TQRBasePanel*>(label->Parent()))
        return {-label->Size().left(), bandWidth};
    return {0.0, label->Size().width()};
}

// A database image prints the picture of its field in the current record (the
// screen shows only the field's name); nothing when the field holds none.
void PrintFieldPicture(const TQRDBImage* image, const QRectF& rect, QPainter& painter)
{
    painter.fillRect(rect, ColorToQColor(image->Color()));
    TDataSet* ds = image->DataSet();
    auto* field = ds ? dynamic_cast<TBlobField*>(ds->FindField(image->DataField())) : nullptr;
    if (field && !field->IsNull()) {
        TPicture picture;
        try {
            picture.LoadFromBytes(field->AsBytes());
            image->DrawPicture(painter, rect, picture.Graphic());
        } catch (const EInvalidGraphic&) {
            // bytes that are no picture print as an empty frame
        }
    }
    image->Frame()->Paint(painter, rect);
}

QString SysDataValue(const TQRSysData* sys, const TQRRunState& state, const TCustomQuickRep* report)
{
    switch (sys->Data()) {
    case qrsTime: return TExprValue(QTime::currentTime()).ToText();
    case qrsDate: return TExprValue(QDate::currentDate()).ToText();
    case qrsDateTime: return TExprValue(QDateTime::currentDateTime()).ToText();
    case qrsPageNumber: return QString::number(state.PageNumber);
    case qrsReportTitle: return report->ReportTitle();
    case qrsDetailCount: return QString::number(state.DetailCount());
    case qrsDetailNo: return QString::number(state.DetailNo);
    }
    return {};
}

QString FieldText(TFieldLink& link, TDataSet* ds, const QString& fieldName)
{
    if (!ds || !ds->Active())
        return {};
    const TField* field = link.Field(ds, fieldName);
    return field ? field->DisplayText() : QString();
}

// Breaks one paragraph into lines no wider than width, at spaces where it can.
template <class TFontInfo>
void WrapParagraph(const QString& paragraph, TFontInfo& font, double width, QStringList& out)
{
    // Kerning makes a text at most a little narrower than its characters'
    // sum, so a text well within the width needs no shaping to know it fits.
    auto fits = [&](const QString& text) {
        const double quick = font.QuickWidth(text);
        return (quick >= 0 && quick <= width * 0.97) || font.ShapedWidth(text) <= width;
    };
    if (fits(paragraph)) {
        out << paragraph;  // the common case: no breaking
        return;
    }
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        // A candidate as long as the paragraph is the paragraph, which does not fit.
        if (line.isEmpty() || (candidate.size() < paragraph.size() && fits(candidate))) {
            line = candidate;
            continue;
        }
        out << line;
        line = word;
    }
    out << line;
}

}  // namespace

int TQRRunState::DetailCount() const
{
    if (!detailCount_)
        detailCount_ = DataSet && DataSet->Active() ? DataSet->RecordCount() : 0;
    return *detailCount_;
}

TQRElementPrinter::TQRElementPrinter(TCustomQuickRep* report) : report_(report) {}
TQRElementPrinter::~TQRElementPrinter() = default;

void TQRElementPrinter::Prepare(const std::vector<TQRPrintable*>& elements)
{
    const TExprFieldResolver resolver = ResolverOf(report_);
    elements_.clear();
    exprs_.clear();
    for (TQRPrintable* element : elements) {
        TElement& e = ElementOf(element);
        // An element without an expression (a new one, say) prints nothing.
        if (e.Kind != TElement::TKind::Expr)
            continue;
        const QString text = static_cast<const TQRExpr*>(e.Label)->Expression();
        if (text.trimmed().isEmpty())
            continue;
        try {
            e.Expr = std::make_unique<TExpression>(text, resolver);
        } catch (const EExprError& error) {
            e.Error = error.Message();
        }
        exprs_.push_back(&e);
    }
}

void TQRElementPrinter::AccumulateAll()
{
    for (TElement* e : exprs_) {
        if (!e->Expr)
            continue;
        try {
            e->Expr->Accumulate();
        } catch (const EExprError& error) {
            e->Error = error.Message();
            e->Expr.reset();
        }
    }
}

void TQRElementPrinter::AfterPrint(TQRPrintable* element)
{
    TElement& e = ElementOf(element);
    if (e.Expr && static_cast<const TQRExpr*>(e.Label)->ResetAfterPrint())
        e.Expr->Reset();
}

TQRElementPrinter::TElement& TQRElementPrinter::ElementOf(const TQRPrintable* element) const
{
    auto& e = elements_[element];
    if (!e)
        e = std::make_unique<TElement>(element);
    return *e;
}

QString TQRElementPrinter::ExpressionText(const TElement& e) const
{
    if (!e.Expr)
        return e.Error;
    try {
        const TExprValue v = e.Expr->Value();
        const QString& mask = static_cast<const TQRExpr*>(e.Label)->Mask();
        if (!mask.isEmpty() && v.IsNumeric())
            return FormatNumeric(mask, v.AsFloat());
        return v.ToText();
    } catch (const EExprError& error) {
        return error.Message();
    }
}

QString TQRElementPrinter::TextOf(TElement& e, const TQRRunState& state) const
{
    switch (e.Kind) {
    case TElement::TKind::Expr: return ExpressionText(e);
    case TElement::TKind::SysData: {
        auto* sys = static_cast<const TQRSysData*>(e.Label);
        return sys->Text() + SysDataValue(sys, state, report_);
    }
    case TElement::TKind::DBText: {
        auto* db = static_cast<const TQRDBText*>(e.Label);
        if (!e.Field)
            e.Field.reset(New<TFieldLink>(nullptr));
        return FieldText(*e.Field, db->DataSet(), db->DataField());
    }
    case TElement::TKind::Memo: {
        QString text = e.Label->Lines()->Text();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);  // the last line's end is no further line
        return text;
    }
    default: return e.Label->Caption();
    }
}

TQRElementPrinter::TFontInfo& TQRElementPrinter::FontOf(TElement& e) const
{
    if (!e.Font) {
        auto copy = std::make_shared<TFont>();
        copy->Assign(e.Label->Font());
        const QFont font = copy->ToQFont();
        e.Font = std::make_unique<TFontInfo>(font, std::move(copy));
    }
    return *e.Font;
}

QStringList TQRElementPrinter::LinesOf(TElement& e, const QString& text, double bandWidth) const
{
    // most texts are one paragraph, which needs no list of paragraphs
    const bool single = !text.contains(QLatin1Char('\n'));
    const auto paragraphs = [&] {
        return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'));
    };
    if (e.Label->AutoSize() || !e.Label->WordWrap())
        return single ? QStringList{text} : paragraphs();
    QStringList lines;
    const double width = TextSpan(e.Label, bandWidth).second;
    if (single)
        WrapParagraph(text, FontOf(e), width, lines);
    else
        for (const QString& p : paragraphs())
            WrapParagraph(p, FontOf(e), width, lines);
    return lines;
}

TQRElementLayout TQRElementPrinter::Measure(TQRPrintable* element, const TQRRunState& state, double bandWidth) const
{
    TQRElementLayout layout;
    layout.Height = element->Size().height();
    TElement& e = ElementOf(element);
    if (!e.Label)
        return layout;
    layout.Lines = LinesOf(e, TextOf(e, state), bandWidth);
    const double needed = layout.Lines.size() * FontOf(e).LineHeight;
    // Memos stretch when asked; word-wrapped text grows to show every line.
    if (e.Label->AutoStretch() || (e.Label->WordWrap() && !e.Label->AutoSize()))
        layout.Height = std::max(layout.Height, needed);
    return layout;
}

void TQRElementPrinter::Print(TQRPrintable* element, const TQRElementLayout& layout, const QPointF& origin,
                              double bandWidth, QPainter& painter, std::vector<TQRPageText>& texts) const
{
    const QRectF rect(origin + element->Size().topLeft(), QSizeF(element->Size().width(), layout.Height));
    TElement& e = ElementOf(element);
    if (e.Kind == TElement::TKind::Image) {
        PrintFieldPicture(static_cast<const TQRDBImage*>(element), rect, painter);
        return;
    }
    if (!e.Label) {
        element->Draw(painter, rect);
        return;
    }
    const auto [offset, width] = TextSpan(e.Label, bandWidth);
    PrintText(e, layout.Lines, QRectF(rect.left() + offset, rect.top(), width, rect.height()), painter, texts);
    element->Frame()->Paint(painter, rect);
}

void TQRElementPrinter::PrintText(TElement& e, const QStringList& lines, const QRectF& rect, QPainter& painter,
                                  std::vector<TQRPageText>& texts) const
{
    const TQRCustomLabel* label = e.Label;
    const TFontInfo& fi = FontOf(e);
    if (!label->Transparent() && label->Color() != clWhite && label->Color() != clNone)
        painter.fillRect(TextBox(e, lines, rect), ColorToQColor(label->Color()));
    // The anchor is the edge or centre the alignment keeps in place, which an
    // auto-sized element's growing text keeps as well.
    const double anchor = label->Alignment() == taRightJustify ? rect.right()
                          : label->Alignment() == taCenter     ? rect.center().x()
                                                               : rect.left();
    const double lineHeight = fi.LineHeight;
    double y = rect.top();
    for (const QString& line : lines) {
        if (!line.isEmpty())
            texts.push_back({anchor, y, fi.Copy, label->Color(), label->Alignment(), line});
        y += lineHeight;
    }
}

QRectF TQRElementPrinter::TextBox(TElement& e, const QStringList& lines, const QRectF& rect) const
{
    const TQRCustomLabel* label = e.Label;
    double width = rect.width();
    if (label->AutoSize())
        for (const QString& line : lines)
            width = std::max(width, FontOf(e).Metrics.horizontalAdvance(line));
    QRectF box = rect;
    box.setWidth(width);
    if (label->Alignment() == taRightJustify)
        box.moveRight(rect.right());
    else if (label->Alignment() == taCenter)
        box.moveCenter(QPointF(rect.center().x(), box.center().y()));
    return box;
}

TQRGroupValue::TQRGroupValue(const QString& text, TCustomQuickRep* report)
{
    try {
        expr_ = std::make_unique<TExpression>(text, ResolverOf(report));
    } catch (const EExprError& e) {
        error_ = e.Message();
    }
}

TQRGroupValue::~TQRGroupValue() = default;

QString TQRGroupValue::Current() const
{
    if (!expr_)
        return error_;
    try {
        return ExprTypeName(expr_->Value().Type()) + QLatin1Char(':') + expr_->Value().ToText();
    } catch (const EExprError& e) {
        return e.Message();
    }
}
