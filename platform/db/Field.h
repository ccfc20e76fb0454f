#pragma once
// Fields: the columns of an open data set as objects. A field reads the
// value of its column in the data set's current record and converts it to
// the kind the caller asks for; its display properties (label, width,
// alignment, visibility) tell reports and grids how to show it.
#include "DbTypes.h"
#include "classes/Component.h"

#include <QDateTime>
#include <QIODevice>
#include <memory>

class TDataSet;

// Text forms of dates and times; the default display widths follow them.
namespace dbformat {
inline const QString ShortDate = QStringLiteral("MM/dd/yyyy");
inline const QString LongTime = QStringLiteral("hh:mm:ss");
inline const QString DateTime = ShortDate + u' ' + LongTime;

// The texts of values as the fields show them, made without Qt's general
// formatting (a locale per date, big-number arithmetic for most doubles),
// which long reports pay for at every value. Each text is the one Qt gives.
QString FloatText(double value);  // 15 significant digits: QString::number(value, 'g', 15)
QString CurrencyText(double value);  // two decimals: QString::number(value, 'f', 2)
QString DateText(const QDate& date);  // in ShortDate
QString TimeText(const QTime& time);  // in LongTime
QString DateTimeText(const QDateTime& dateTime);  // its date alone at midnight
}  // namespace dbformat

class TField : public TComponent {
    VK_CLASS(TField, TComponent)
public:
    void Destroy() override;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);  // adds the field to the data set's persistent fields
    int FieldNo() const { return fieldNo_; }  // column in the data set's records, -1 when unbound
    void Bind(TDataSet* dataSet, int fieldNo, const TFieldDef& def);

    const QString& FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name) { fieldName_ = name; }
    TFieldType DataType() const { return dataType_; }
    int Size() const { return size_; }
    void SetSize(int size) { size_ = size; }
    const QString& DisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
    QString DisplayName() const { return displayLabel_.isEmpty() ? fieldName_ : displayLabel_; }
    int DisplayWidth() const { return displayWidth_ >= 0 ? displayWidth_ : DefaultWidth(); }
    void SetDisplayWidth(int width) { displayWidth_ = width; }
    TAlignment Alignment() const { return alignment_.value_or(DefaultAlignment()); }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // The value of the current record; a field of a closed or empty data set is null.
    QVariant Value() const;
    bool IsNull() const { return Value().isNull(); }
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    QString DisplayText() const { return AsString(); }

    // Streams write only what differs from the kind's defaults.
    bool DisplayWidthStored() const { return displayWidth_ >= 0; }
    bool AlignmentStored() const { return alignment_.has_value(); }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    virtual int DefaultWidth() const { return 10; }
    virtual TAlignment DefaultAlignment() const { return taLeftJustify; }
    virtual QString Format(const QVariant& v) const { return v.toString(); }
    [[noreturn]] void CannotAccess(const char* kind) const;

    TFieldType dataType_ = ftUnknown;

private:
    TDataSet* dataSet_ = nullptr;
    int fieldNo_ = -1;
    QString fieldName_;
    int size_ = 0;
    QString displayLabel_;
    int displayWidth_ = -1;  // -1: the kind's default
    std::optional<TAlignment> alignment_;
    bool visible_ = true;
};

class TStringField : public TField {
    VK_CLASS(TStringField, TField)
public:
    TStringField()
    {
        dataType_ = ftString;
        SetSize(20);  // the declared default: what a field made without a definition holds
    }

protected:
    int DefaultWidth() const override { return Size(); }
};

// Numbers align right.
class TNumericField : public TField {
    VK_CLASS(TNumericField, TField)
protected:
    TAlignment DefaultAlignment() const override { return taRightJustify; }
};

class TIntegerField : public TNumericField {
    VK_CLASS(TIntegerField, TNumericField)
public:
    TIntegerField() { dataType_ = ftInteger; }

protected:
    int DefaultWidth() const override { return 11; }  // "-2147483648"
};

class TSmallintField : public TIntegerField {
    VK_CLASS(TSmallintField, TIntegerField)
public:
    TSmallintField() { dataType_ = ftSmallint; }

protected:
    int DefaultWidth() const override { return 6; }  // "-32768"
};

class TAutoIncField : public TIntegerField {
    VK_CLASS(TAutoIncField, TIntegerField)
public:
    TAutoIncField() { dataType_ = ftAutoInc; }
};

class TLargeintField : public TNumericField {
    VK_CLASS(TLargeintField, TNumericField)
public:
    TLargeintField() { dataType_ = ftLargeint; }

protected:
    int DefaultWidth() const override { return 20; }  // "-9223372036854775808"
};

class TFloatField : public TNumericField {
    VK_CLASS(TFloatField, TNumericField)
public:
    TFloatField() { dataType_ = ftFloat; }

protected:
    QString Format(const QVariant& v) const override;
};

class TCurrencyField : public TFloatField {
    VK_CLASS(TCurrencyField, TFloatField)
public:
    TCurrencyField() { dataType_ = ftCurrency; }

protected:
    QString Format(const QVariant& v) const override;
};

class TBooleanField : public TField {
    VK_CLASS(TBooleanField, TField)
public:
    TBooleanField() { dataType_ = ftBoolean; }

protected:
    int DefaultWidth() const override { return 5; }  // "False"
    QString Format(const QVariant& v) const override;
};

class TDateTimeField : public TField {
    VK_CLASS(TDateTimeField, TField)
public:
    TDateTimeField() { dataType_ = ftDateTime; }

protected:
    int DefaultWidth() const override { return static_cast<int>(dbformat::DateTime.size()); }
    QString Format(const QVariant& v) const override;
};

class TDateField : public TDateTimeField {
    VK_CLASS(TDateField, TDateTimeField)
public:
    TDateField() { dataType_ = ftDate; }

protected:
    int DefaultWidth() const override { return static_cast<int>(dbformat::ShortDate.size()); }
};

class TTimeField : public TDateTimeField {
    VK_CLASS(TTimeField, TDateTimeField)
public:
    TTimeField() { dataType_ = ftTime; }

protected:
    int DefaultWidth() const override { return static_cast<int>(dbformat::LongTime.size()); }
};

// Binary values. A picture field's bytes are an image file (BMP and the
// formats Qt reads); image elements load them from the blob stream.
class TBlobField : public TField {
    VK_CLASS(TBlobField, TField)
public:
    TBlobField() { dataType_ = ftBlob; }
    QByteArray AsBytes() const;
    // A read-only stream over the current record's value.
    std::unique_ptr<QIODevice> CreateBlobStream() const;

protected:
    QString Format(const QVariant& v) const override;
};

class TMemoField : public TBlobField {
    VK_CLASS(TMemoField, TBlobField)
public:
    TMemoField() { dataType_ = ftMemo; }

protected:
    QString Format(const QVariant& v) const override { return v.toString(); }
};

class TGraphicField : public TBlobField {
    VK_CLASS(TGraphicField, TBlobField)
public:
    TGraphicField() { dataType_ = ftGraphic; }
};

// The field class of a column type.
TClass FieldClassOf(TFieldType type);
// Every field class, for registration.
std::vector<TClass> FieldClasses();
