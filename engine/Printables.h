#pragma once
// Printable elements: what stands on a band and prints. Each element keeps a
// zoom-independent rectangle (pixels at zoom 100, relative to its band) and
// draws itself through Draw, which serves the screen and the printed page.
#include "engine/Bands.h"
#include "engine/ReportEditor.h"
#include "classes/StringList.h"
#include "controls/StdCtrls.h"

VK_ENUM(TQRSysDataType, qrsTime, qrsDate, qrsDateTime, qrsPageNumber, qrsReportTitle, qrsDetailCount, qrsDetailNo)
VK_ENUM(TQRShapeType, qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine, qrsTopAndBottom, qrsRightAndLeft)

class TQRPrintable : public TQRZoomGeometry<TQRPrintable, TGraphicControl> {
    VK_CLASS(TQRPrintable, TGraphicControl)
public:
    void Create(TComponent* owner) override;
    // A new element of the class with the owner; raises EInvalidCast, creating
    // nothing, for a class that is no element.
    static TQRPrintable* CreateOf(TClass printableClass, TComponent* owner);
    // Aligned to the band: Alignment places the element left, centred or right within its band.
    bool AlignToBand() const { return alignToBand_; }
    void SetAlignToBand(bool v);
    TAlignment Alignment() const { return alignment_; }
    // Stores, re-places an element aligned to its band and repaints.
    void SetAlignment(TAlignment v);
    TQRCustomBand* ParentBand() const;
    TCustomQuickRep* ParentReport() const;
    // Size() is the zoom-independent rectangle within the band; ApplyZoom()
    // places the element within its band when aligned to it.
    void SetParent(TWinControl* parent) override;
    // Draws the element's content and frame into rect, in painter coordinates
    // where one unit is one pixel at zoom 100.
    virtual void Draw(QPainter& painter, const QRectF& rect) const;
    // The size a new element of this class gets, pixels at zoom 100.
    virtual QSizeF DefaultSize() const { return QSizeF(64, 17); }
    bool HasParent() const override { return true; }

protected:
    void Paint() override;
    // Draws the element's own content (without the frame).
    virtual void DrawContent(QPainter& painter, const QRectF& rect) const;
    virtual void AlignmentChanged() {}
    void FitSize(QRectF& size) const override;

private:
    bool alignToBand_ = false;
    TAlignment alignment_ = taLeftJustify;
};

// Base of the text elements: caption or lines in a font.
class TQRCustomLabel : public TQRPrintable {
    VK_CLASS(TQRCustomLabel, TQRPrintable)
public:
    void Create(TComponent* owner) override;
    // Caption() and SetCaption() are the control's; setting it recomputes and repaints.
    void SetText(const QString& text) override;
    TStrings* Lines() { return &lines_; }
    const TStrings* Lines() const { return &lines_; }
    void SetLines(TStrings* lines);  // copies the lines
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);  // True sizes the element to its text
    // Writes the flag alone: the element keeps its size until its text next changes.
    void StoreAutoSize(bool v) { autoSize_ = v; }
    bool AutoStretch() const { return autoStretch_; }
    void SetAutoStretch(bool v) { autoStretch_ = v; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    // The text the element shows in the designer.
    virtual QString DisplayText() const;
    // Draws lines of text in the element's font and alignment into rect.
    void DrawText(QPainter& painter, const QRectF& rect, const QString& text) const;
    // The text's extent in the element's font, pixels at zoom 100.
    QSizeF TextExtent(const QString& text) const;
    QSizeF DefaultSize() const override;

protected:
    void DrawContent(QPainter& painter, const QRectF& rect) const override;
    void AlignmentChanged() override;
    void FontChanged() override;
    // Recomputes the shown text: resizes when AutoSize is on and repaints.
    void TextChanged();

private:
    void LinesChanged(TObject*);
    TStringList lines_;
    bool autoSize_ = true;
    bool autoStretch_ = false;
    bool wordWrap_ = true;
    bool transparent_ = false;
};

class TQRLabel : public TQRCustomLabel {
    VK_CLASS(TQRLabel, TQRCustomLabel)
};

class TQRMemo : public TQRCustomLabel {
    VK_CLASS(TQRMemo, TQRCustomLabel)
public:
    void Create(TComponent* owner) override;
    QString DisplayText() const override;
    QSizeF DefaultSize() const override { return QSizeF(120, 64); }
};

class TQRDBText : public TQRCustomLabel {
    VK_CLASS(TQRDBText, TQRCustomLabel)
public:
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* v);
    QString DataField() const { return dataField_; }
    void SetDataField(const QString& v);
    QString DisplayText() const override;  // the field name
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
    QString dataField_;
};

class TQRExpr : public TQRCustomLabel {
    VK_CLASS(TQRExpr, TQRCustomLabel)
public:
    QString Expression() const { return expression_; }
    void SetExpression(const QString& v);
    bool ResetAfterPrint() const { return resetAfterPrint_; }
    void SetResetAfterPrint(bool v) { resetAfterPrint_ = v; }
    QString Mask() const { return mask_; }
    void SetMask(const QString& v) { mask_ = v; }
    QString DisplayText() const override;  // the expression text

private:
    QString expression_;
    bool resetAfterPrint_ = false;
    QString mask_;
};

class TQRSysData : public TQRCustomLabel {
    VK_CLASS(TQRSysData, TQRCustomLabel)
public:
    TQRSysDataType Data() const { return data_; }
    void SetData(TQRSysDataType v);
    // Text() is the control's: a prefix printed before the value.
    QString DisplayText() const override;  // the prefix and the kind's name
    static QString DataTypeName(TQRSysDataType type);

private:
    TQRSysDataType data_ = qrsTime;
};

class TQRShape : public TQRPrintable {
    VK_CLASS(TQRShape, TQRPrintable)
public:
    void Create(TComponent* owner) override;
    TQRShapeType Shape() const { return shape_; }
    void SetShape(TQRShapeType v);  // an unchanged value is ignored
    TPen* Pen() { return &pen_; }
    const TPen* Pen() const { return &pen_; }
    void SetPen(TPen* v) { pen_.Assign(v); }
    TBrush* Brush() { return &brush_; }
    const TBrush* Brush() const { return &brush_; }
    void SetBrush(TBrush* v) { brush_.Assign(v); }
    QSizeF DefaultSize() const override { return QSizeF(65, 65); }

protected:
    void DrawContent(QPainter& painter, const QRectF& rect) const override;

private:
    void StyleChanged(TObject*);
    TQRShapeType shape_ = qrsRectangle;
    TPen pen_;
    TBrush brush_;
};

// Shared drawing of a picture in a rectangle: stretched, centred or at the top left.
class TQRPictureElement : public TQRPrintable {
    VK_CLASS(TQRPictureElement, TQRPrintable)
public:
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v);
    bool Center() const { return center_; }
    void SetCenter(bool v);
    QSizeF DefaultSize() const override { return QSizeF(105, 105); }
    void DrawPicture(QPainter& painter, const QRectF& rect, const TGraphic* graphic) const;

private:
    bool stretch_ = false;
    bool center_ = false;
};

class TQRImage : public TQRPictureElement {
    VK_CLASS(TQRImage, TQRPictureElement)
public:
    void Create(TComponent* owner) override;
    TPicture* Picture() { return &picture_; }
    const TPicture* Picture() const { return &picture_; }
    void SetPicture(TPicture* v) { picture_.Assign(v); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);  // True sizes the element to its picture

protected:
    void DrawContent(QPainter& painter, const QRectF& rect) const override;

private:
    void PictureChanged(TObject*);
    TPicture picture_;
    bool autoSize_ = false;
};

class TQRDBImage : public TQRPictureElement {
    VK_CLASS(TQRDBImage, TQRPictureElement)
public:
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* v);
    QString DataField() const { return dataField_; }
    void SetDataField(const QString& v);
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void DrawContent(QPainter& painter, const QRectF& rect) const override;

private:
    TDataSet* dataSet_ = nullptr;
    QString dataField_;
};
