#include "ElementPrinter.h"

#include "db/DataSet.h"
#include "db/Field.h"
#include "graphics/Picture.h"
#include "engine/Printables.h"
#include "engine/expr/ReportFields.h"

#include <QFontMetricsF>
#include <array>

struct TQRElementPrinter::TCompiled {
    std::unique_ptr<TExpression> Expr;
    QString Error;
};

struct TQRElementPrinter::TFontInfo {
    QFont Font;
    QFontMetricsF Metrics;
    std::shared_ptr<TFont> Copy;  // what the printed lines keep
    std::array<double, 256> Advances{};  // of Latin-1 characters, 0 until measured

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
    case qrsDetailCount: return QString::number(state.DetailCount);
    case qrsDetailNo: return QString::number(state.DetailNo);
    }
    return {};
}

QString FieldText(TDataSet* ds, const QString& fieldName)
{
    if (!ds || !ds->Active())
        return {};
    TField* field = ds->FindField(fieldName);
    return field ? field->DisplayText() : QString();
}

// Breaks one paragraph into lines no wider than width, at spaces where it can.
template <class TFontInfo>
void WrapParagraph(const QString& paragraph, TFontInfo& font, double width, QStringList& out)
{
    const QFontMetricsF& fm = font.Metrics;
    // Kerning makes a text at most a little narrower than its characters' sum.
    const double quick = font.QuickWidth(paragraph);
    if ((quick >= 0 && quick <= width * 0.97) || fm.horizontalAdvance(paragraph) <= width) {
        out << paragraph;  // the common case: one measure, no breaking
        return;
    }
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '))) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || fm.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        out << line;
        line = word;
    }
    out << line;
}

}  // namespace

TQRElementPrinter::TQRElementPrinter(TCustomQuickRep* report) : report_(report) {}
TQRElementPrinter::~TQRElementPrinter() = default;

void TQRElementPrinter::Prepare(const std::vector<TQRPrintable*>& elements)
{
    const TExprFieldResolver resolver = ResolverOf(report_);
    exprs_.clear();
    fonts_.clear();
    for (TQRPrintable* element : elements) {
        auto* expr = dynamic_cast<TQRExpr*>(element);
        // An element without an expression (a new one, say) prints nothing.
        if (!expr || expr->Expression().trimmed().isEmpty())
            continue;
        auto compiled = std::make_unique<TCompiled>();
        try {
            compiled->Expr = std::make_unique<TExpression>(expr->Expression(), resolver);
        } catch (const EExprError& e) {
            compiled->Error = e.Message();
        }
        exprs_[expr] = std::move(compiled);
    }
}

void TQRElementPrinter::AccumulateAll()
{
    for (auto& [expr, compiled] : exprs_) {
        if (!compiled->Expr)
            continue;
        try {
            compiled->Expr->Accumulate();
        } catch (const EExprError& e) {
            compiled->Error = e.Message();
            compiled->Expr.reset();
        }
    }
}

void TQRElementPrinter::AfterPrint(TQRPrintable* element)
{
    auto* expr = dynamic_cast<TQRExpr*>(element);
    if (!expr || !expr->ResetAfterPrint())
        return;
    auto it = exprs_.find(expr);
    if (it != exprs_.end() && it->second->Expr)
        it->second->Expr->Reset();
}

QString TQRElementPrinter::ExpressionText(const TQRExpr* expr) const
{
    auto it = exprs_.find(expr);
    if (it == exprs_.end())
        return {};
    const TCompiled& c = *it->second;
    if (!c.Expr)
        return c.Error;
    try {
        const TExprValue v = c.Expr->Value();
        if (!expr->Mask().isEmpty() && v.IsNumeric())
            return FormatNumeric(expr->Mask(), v.AsFloat());
        return v.ToText();
    } catch (const EExprError& e) {
        return e.Message();
    }
}

QString TQRElementPrinter::TextOf(const TQRCustomLabel* label, const TQRRunState& state) const
{
    if (auto* expr = dynamic_cast<const TQRExpr*>(label))
        return ExpressionText(expr);
    if (auto* sys = dynamic_cast<const TQRSysData*>(label))
        return sys->Text() + SysDataValue(sys, state, report_);
    if (auto* db = dynamic_cast<const TQRDBText*>(label))
        return FieldText(db->DataSet(), db->DataField());
    if (dynamic_cast<const TQRMemo*>(label)) {
        QString text = label->Lines()->Text();
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);  // the last line's end is no further line
        return text;
    }
    return label->Caption();
}

TQRElementPrinter::TFontInfo& TQRElementPrinter::FontOf(const TQRCustomLabel* label) const
{
    auto& info = fonts_[label];
    if (!info) {
        auto copy = std::make_shared<TFont>();
        copy->Assign(label->Font());
        const QFont font = copy->ToQFont();
        info = std::make_unique<TFontInfo>(TFontInfo{font, QFontMetricsF(font), std::move(copy)});
    }
    return *info;
}

QStringList TQRElementPrinter::LinesOf(const TQRCustomLabel* label, const QString& text, double bandWidth) const
{
    QStringList paragraphs = text.contains(QLatin1Char('\n'))
                                 ? QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'))
                                 : QStringList{text};
    if (label->AutoSize() || !label->WordWrap())
        return paragraphs;
    QStringList lines;
    for (const QString& p : paragraphs)
        WrapParagraph(p, FontOf(label), TextSpan(label, bandWidth).second, lines);
    return lines;
}

TQRElementLayout TQRElementPrinter::Measure(TQRPrintable* element, const TQRRunState& state, double bandWidth) const
{
    TQRElementLayout layout;
    layout.Height = element->Size().height();
    auto* label = dynamic_cast<TQRCustomLabel*>(element);
    if (!label)
        return layout;
    layout.Lines = LinesOf(label, TextOf(label, state), bandWidth);
    const double needed = layout.Lines.size() * FontOf(label).Metrics.height();
    // Memos stretch when asked; word-wrapped text grows to show every line.
    if (label->AutoStretch() || (label->WordWrap() && !label->AutoSize()))
        layout.Height = std::max(layout.Height, needed);
    return layout;
}

void TQRElementPrinter::Print(TQRPrintable* element, const TQRElementLayout& layout, const QPointF& origin,
                              double bandWidth, QPainter& painter, std::vector<TQRPageText>& texts) const
{
    const QRectF rect(origin + element->Size().topLeft(), QSizeF(element->Size().width(), layout.Height));
    if (auto* image = dynamic_cast<TQRDBImage*>(element)) {
        PrintFieldPicture(image, rect, painter);
        return;
    }
    auto* label = dynamic_cast<TQRCustomLabel*>(element);
    if (!label) {
        element->Draw(painter, rect);
        return;
    }
    const auto [offset, width] = TextSpan(label, bandWidth);
    PrintText(label, layout.Lines, QRectF(rect.left() + offset, rect.top(), width, rect.height()), painter, texts);
    element->Frame()->Paint(painter, rect);
}

void TQRElementPrinter::PrintText(const TQRCustomLabel* label, const QStringList& lines, const QRectF& rect,
                                  QPainter& painter, std::vector<TQRPageText>& texts) const
{
    const TFontInfo& fi = FontOf(label);
    if (!label->Transparent() && label->Color() != clWhite && label->Color() != clNone)
        painter.fillRect(TextBox(label, lines, rect), ColorToQColor(label->Color()));
    // The anchor is the edge or centre the alignment keeps in place, which an
    // auto-sized element's growing text keeps as well.
    const double anchor = label->Alignment() == taRightJustify ? rect.right()
                          : label->Alignment() == taCenter     ? rect.center().x()
                                                               : rect.left();
    const double lineHeight = fi.Metrics.height();
    double y = rect.top();
    for (const QString& line : lines) {
        if (!line.isEmpty())
            texts.push_back({anchor, y, fi.Copy, label->Color(), label->Alignment(), line});
        y += lineHeight;
    }
}

QRectF TQRElementPrinter::TextBox(const TQRCustomLabel* label, const QStringList& lines, const QRectF& rect) const
{
    double width = rect.width();
    if (label->AutoSize())
        for (const QString& line : lines)
            width = std::max(width, FontOf(label).Metrics.horizontalAdvance(line));
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
