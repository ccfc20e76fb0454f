#include "engine/Printables.h"

#include "classes/Published.h"
#include "controls/ControlProps.h"
#include "db/DataSet.h"

#include <QFontMetricsF>
#include <algorithm>

// ---- TQRPrintable ----

VK_PUBLISHED(TQRPrintable)
{
    c.Prop("Alignment", &TQRPrintable::Alignment, &TQRPrintable::SetAlignment).Default(taLeftJustify);
    c.Prop("AlignToBand", &TQRPrintable::AlignToBand, &TQRPrintable::SetAlignToBand).Default(false);
    controlprops::Color(c, clWhite);
    controlprops::Font(c);
    controlprops::State(c);
    c.Prop("Frame", &TQRPrintable::Frame);
    c.Prop("Size", &TQRPrintable::StreamedSize);
}

void TQRPrintable::Create(TComponent* owner)
{
    // coloured before its window is made: the window comes in the colour
    // rather than changing to it
    SetColor(clWhite);
    inherited::Create(owner);
    const QSizeF size = DefaultSize();
    SetSize(QRectF(0, 0, size.width(), size.height()));
}

TQRPrintable* TQRPrintable::CreateOf(TClass printableClass, TComponent* owner)
{
    if (!printableClass || !printableClass->InheritsFrom(ClassInfo()))
        RaiseInvalidCast();
    return static_cast<TQRPrintable*>(printableClass->CreateComponent(owner));
}

TQRCustomBand* TQRPrintable::ParentBand() const
{
    return dynamic_cast<TQRCustomBand*>(Parent());
}

TCustomQuickRep* TQRPrintable::ParentReport() const
{
    const TQRCustomBand* band = ParentBand();
    return band ? band->ParentReport() : nullptr;
}

void TQRPrintable::SetAlignToBand(bool v)
{
    alignToBand_ = v;
    ApplyZoom();
}

void TQRPrintable::SetAlignment(TAlignment v)
{
    alignment_ = v;
    AlignmentChanged();
    ApplyZoom();
    Invalidate();
}

void TQRPrintable::SetParent(TWinControl* parent)
{
    inherited::SetParent(parent);
    if (!IsLoading())
        ApplyZoom();
}

void TQRPrintable::FitSize(QRectF& size) const
{
    const TQRCustomBand* band = ParentBand();
    if (!alignToBand_ || !band)
        return;
    const double free = band->Size().width() - size.width();
    if (alignment_ == taLeftJustify)
        size.moveLeft(0);
    else if (alignment_ == taCenter)
        size.moveLeft(free / 2);
    else
        size.moveLeft(free);
}

void TQRPrintable::Draw(QPainter& painter, const QRectF& rect) const
{
    DrawContent(painter, rect);
    Frame()->Paint(painter, rect);
}

void TQRPrintable::DrawContent(QPainter& painter, const QRectF& rect) const
{
    painter.fillRect(rect, ColorToQColor(Color()));
}

void TQRPrintable::Paint()
{
    QPainter& painter = *Canvas()->Painter();
    const double z = ZoomFactor();
    painter.save();
    painter.scale(z, z);
    Draw(painter, QRectF(0, 0, Width() / z, Height() / z));
    painter.restore();
    if (TQRReportEditor* editor = ReportEditor(ParentReport()))
        editor->PaintAdornments(this, painter);
}

// ---- TQRCustomLabel ----

VK_PUBLISHED(TQRCustomLabel)
{
    c.Prop("AutoSize", &TQRCustomLabel::AutoSize, &TQRCustomLabel::SetAutoSize).Default(true);
    c.Prop("AutoStretch", &TQRCustomLabel::AutoStretch, &TQRCustomLabel::SetAutoStretch).Default(false);
    c.Prop("Lines", &TQRCustomLabel::Lines);
    c.Prop("Transparent", &TQRCustomLabel::Transparent, &TQRCustomLabel::SetTransparent).Default(false);
    c.Prop("WordWrap", &TQRCustomLabel::WordWrap, &TQRCustomLabel::SetWordWrap).Default(true);
}

VK_PUBLISHED(TQRLabel)
{
    controlprops::Caption(c);
}

void TQRCustomLabel::Create(TComponent* owner)
{
    lines_.OnChange = TNotifyEvent(this, &TQRCustomLabel::LinesChanged);
    inherited::Create(owner);
}

void TQRCustomLabel::SetText(const QString& text)
{
    inherited::SetText(text);
    TextChanged();
}

void TQRCustomLabel::SetLines(TStrings* lines)
{
    lines_.Assign(lines);
}

void TQRCustomLabel::LinesChanged(TObject*)
{
    TextChanged();
}

void TQRCustomLabel::SetAutoSize(bool v)
{
    autoSize_ = v;
    if (v)
        TextChanged();
}

void TQRCustomLabel::SetWordWrap(bool v)
{
    wordWrap_ = v;
    Invalidate();
}

void TQRCustomLabel::SetTransparent(bool v)
{
    transparent_ = v;
    Invalidate();
}

QString TQRCustomLabel::DisplayText() const
{
    return Caption();
}

QSizeF TQRCustomLabel::TextExtent(const QString& text) const
{
    const QFontMetricsF metrics(Font()->ToQFont());
    const QStringList lines = text.split(QLatin1Char('\n'));
    double width = 0;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    return QSizeF(std::ceil(width), std::ceil(metrics.height()) * lines.size());
}

QSizeF TQRCustomLabel::DefaultSize() const
{
    return QSizeF(64, TextExtent(QString()).height());
}

void TQRCustomLabel::TextChanged()
{
    if (IsLoading())
        return;  // a stored size stays as it was read
    if (autoSize_) {
        const QString text = DisplayText();
        QSizeF extent = TextExtent(text);
        // while an editor edits the report, an element without text keeps its
        // width, so that it can still be seen and picked
        if (text.isEmpty() && ReportEditor(ParentReport()))
            extent.setWidth(Size().width());
        SetSize(QRectF(Size().topLeft(), extent));
    }
    Invalidate();
}

void TQRCustomLabel::AlignmentChanged()
{
    // a stored layout keeps the AutoSize it was saved with, whatever the alignment
    if (Alignment() != taLeftJustify && !IsLoading())
        autoSize_ = false;
}

void TQRCustomLabel::FontChanged()
{
    inherited::FontChanged();
    TextChanged();
}

void TQRCustomLabel::DrawText(QPainter& painter, const QRectF& rect, const QString& text) const
{
    int flags = Qt::AlignTop;
    if (Alignment() == taCenter)
        flags |= Qt::AlignHCenter;
    else if (Alignment() == taRightJustify)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    painter.save();
    painter.setFont(Font()->ToQFont());
    painter.setPen(ColorToQColor(Font()->Color()));
    painter.drawText(rect, flags, text);
    painter.restore();
}

void TQRCustomLabel::DrawContent(QPainter& painter, const QRectF& rect) const
{
    if (!transparent_)
        inherited::DrawContent(painter, rect);
    DrawText(painter, rect, DisplayText());
}

// ---- TQRMemo ----

VK_PUBLISHED(TQRMemo)
{
    c.Prop("AutoSize", &TQRMemo::AutoSize, &TQRMemo::SetAutoSize).Default(false);
}

void TQRMemo::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetAutoSize(false);
}

QString TQRMemo::DisplayText() const
{
    return Lines()->ToStringList().join(QLatin1Char('\n'));
}

// ---- TQRDBText ----

VK_PUBLISHED(TQRDBText)
{
    c.Prop("DataField", &TQRDBText::DataField, &TQRDBText::SetDataField);
    c.Prop("DataSet", &TQRDBText::DataSet, &TQRDBText::SetDataSet);
}

void TQRDBText::SetDataSet(TDataSet* v)
{
    TrackReference(this, dataSet_, v);
}

void TQRDBText::SetDataField(const QString& v)
{
    dataField_ = v;
    TextChanged();
}

QString TQRDBText::DisplayText() const
{
    return dataField_;
}

void TQRDBText::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == dataSet_)
        dataSet_ = nullptr;
}

// ---- TQRExpr ----

VK_PUBLISHED(TQRExpr)
{
    c.Prop("Expression", &TQRExpr::Expression, &TQRExpr::SetExpression);
    c.Prop("Mask", &TQRExpr::Mask, &TQRExpr::SetMask);
    c.Prop("ResetAfterPrint", &TQRExpr::ResetAfterPrint, &TQRExpr::SetResetAfterPrint).Default(false);
}

void TQRExpr::SetExpression(const QString& v)
{
    expression_ = v;
    TextChanged();
}

QString TQRExpr::DisplayText() const
{
    return expression_;
}

// ---- TQRSysData ----

VK_PUBLISHED(TQRSysData)
{
    c.Prop("Data", &TQRSysData::Data, &TQRSysData::SetData).Default(qrsTime);
    c.Prop("Text", &TControl::Text, &TControl::SetText);
}

void TQRSysData::SetData(TQRSysDataType v)
{
    data_ = v;
    TextChanged();
}

QString TQRSysData::DataTypeName(TQRSysDataType type)
{
    static const char* const names[] = {"Time", "Date", "Date and time", "Page number", "Report title",
                                        "Detail count", "Detail number"};
    return QString::fromLatin1(names[type]);
}

QString TQRSysData::DisplayText() const
{
    return Text() + QLatin1Char('(') + DataTypeName(data_) + QLatin1Char(')');
}

// ---- TQRShape ----

VK_PUBLISHED(TQRShape)
{
    c.Prop("Brush", &TQRShape::Brush);
    c.Prop("Pen", &TQRShape::Pen);
    c.Prop("Shape", &TQRShape::Shape, &TQRShape::SetShape).Default(qrsRectangle);
}

void TQRShape::Create(TComponent* owner)
{
    pen_.OnChange = TNotifyEvent(this, &TQRShape::StyleChanged);
    brush_.OnChange = TNotifyEvent(this, &TQRShape::StyleChanged);
    inherited::Create(owner);
}

void TQRShape::StyleChanged(TObject*)
{
    Invalidate();
}

void TQRShape::SetShape(TQRShapeType v)
{
    if (v == shape_)
        return;
    shape_ = v;
    Invalidate();
}

void TQRShape::DrawContent(QPainter& painter, const QRectF& rect) const
{
    painter.save();
    painter.setPen(pen_.Style() == psClear ? QPen(Qt::NoPen) : pen_.ToQPen());
    painter.setBrush(brush_.ToQBrush());
    const double inset = pen_.Width() / 2.0;
    const QRectF r = rect.adjusted(inset, inset, -inset, -inset);
    switch (shape_) {
    case qrsRectangle: painter.drawRect(r); break;
    case qrsCircle: painter.drawEllipse(r); break;
    case qrsVertLine: painter.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom())); break;
    case qrsHorLine: painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y())); break;
    case qrsTopAndBottom:
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        break;
    case qrsRightAndLeft:
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.drawLine(r.topRight(), r.bottomRight());
        break;
    }
    painter.restore();
}

// ---- TQRPictureElement ----

VK_PUBLISHED(TQRPictureElement)
{
    c.Prop("Center", &TQRPictureElement::Center, &TQRPictureElement::SetCenter).Default(false);
    c.Prop("Stretch", &TQRPictureElement::Stretch, &TQRPictureElement::SetStretch).Default(false);
}

void TQRPictureElement::SetStretch(bool v)
{
    stretch_ = v;
    Invalidate();
}

void TQRPictureElement::SetCenter(bool v)
{
    center_ = v;
    Invalidate();
}

void TQRPictureElement::DrawPicture(QPainter& painter, const QRectF& rect, const TGraphic* graphic) const
{
    if (!graphic || graphic->Empty())
        return;
    QRectF target(rect.topLeft(), QSizeF(graphic->Width(), graphic->Height()));
    if (stretch_)
        target = rect;
    else if (center_)
        target.moveCenter(rect.center());
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    graphic->Draw(painter, target.toRect());
    painter.restore();
}

// ---- TQRImage ----

VK_PUBLISHED(TQRImage)
{
    c.Prop("AutoSize", &TQRImage::AutoSize, &TQRImage::SetAutoSize).Default(false);
    c.Prop("Picture", &TQRImage::Picture);
}

void TQRImage::Create(TComponent* owner)
{
    picture_.OnChange = TNotifyEvent(this, &TQRImage::PictureChanged);
    inherited::Create(owner);
}

void TQRImage::SetAutoSize(bool v)
{
    autoSize_ = v;
    PictureChanged(nullptr);
}

void TQRImage::PictureChanged(TObject*)
{
    if (autoSize_ && !IsLoading() && picture_.Width() > 0)
        SetSize(QRectF(Size().topLeft(), QSizeF(picture_.Width(), picture_.Height())));
    Invalidate();
}

void TQRImage::DrawContent(QPainter& painter, const QRectF& rect) const
{
    inherited::DrawContent(painter, rect);
    DrawPicture(painter, rect, picture_.Graphic());
}

// ---- TQRDBImage ----

VK_PUBLISHED(TQRDBImage)
{
    c.Prop("DataField", &TQRDBImage::DataField, &TQRDBImage::SetDataField);
    c.Prop("DataSet", &TQRDBImage::DataSet, &TQRDBImage::SetDataSet);
}

void TQRDBImage::SetDataSet(TDataSet* v)
{
    TrackReference(this, dataSet_, v);
}

void TQRDBImage::SetDataField(const QString& v)
{
    dataField_ = v;
    Invalidate();
}

void TQRDBImage::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == dataSet_)
        dataSet_ = nullptr;
}

void TQRDBImage::DrawContent(QPainter& painter, const QRectF& rect) const
{
    // on the page the running report draws the field's picture; here the field is named
    inherited::DrawContent(painter, rect);
    painter.save();
    painter.setPen(QPen(QColor(128, 128, 128), 0, Qt::DashLine));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.drawText(rect, Qt::AlignCenter, dataField_);
    painter.restore();
}
