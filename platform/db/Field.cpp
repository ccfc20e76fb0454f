#include "Field.h"
#include "DataSet.h"
#include "classes/Published.h"
#include "rtl/Codepage.h"

#include <QBuffer>

#include <cmath>

VK_PUBLISHED(TField)
{
    c.Prop("FieldName", &TField::FieldName, &TField::SetFieldName);
    c.Prop("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
    c.Prop("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth)
        .Stored([](const TObject* o) { return static_cast<const TField*>(o)->DisplayWidthStored(); });
    c.Prop("Alignment", &TField::Alignment, &TField::SetAlignment)
        .Stored([](const TObject* o) { return static_cast<const TField*>(o)->AlignmentStored(); });
    c.Prop("Visible", &TField::Visible, &TField::SetVisible).Default(true);
}
VK_PUBLISHED(TStringField) { c.Prop("Size", &TStringField::Size, &TStringField::SetSize).Default(20); }
VK_PUBLISHED(TNumericField) {}
VK_PUBLISHED(TIntegerField) {}
VK_PUBLISHED(TSmallintField) {}
VK_PUBLISHED(TAutoIncField) {}
VK_PUBLISHED(TLargeintField) {}
VK_PUBLISHED(TFloatField) {}
VK_PUBLISHED(TCurrencyField) {}
VK_PUBLISHED(TBooleanField) {}
VK_PUBLISHED(TDateTimeField) {}
VK_PUBLISHED(TDateField) {}
VK_PUBLISHED(TTimeField) {}
VK_PUBLISHED(TBlobField) {}
VK_PUBLISHED(TMemoField) {}
VK_PUBLISHED(TGraphicField) {}

void TField::Destroy()
{
    SetDataSet(nullptr);
    inherited::Destroy();
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        dataSet_->RemovePersistentField(this);
    dataSet_ = dataSet;
    fieldNo_ = -1;
    if (dataSet_)
        dataSet_->AddPersistentField(this);
}

void TField::Bind(TDataSet* dataSet, int fieldNo, const TFieldDef& def)
{
    dataSet_ = dataSet;
    fieldNo_ = fieldNo;
    fieldName_ = def.Name;
    size_ = def.Size;
}

TComponent* TField::GetParentComponent() const { return dataSet_; }

void TField::SetParentComponent(TComponent* parent)
{
    auto* ds = dynamic_cast<TDataSet*>(parent);
    if (parent && !ds)
        throw EDatabaseError(QStringLiteral("Field %1 belongs to a data set").arg(Name()));
    SetDataSet(ds);
}

QVariant TField::Value() const
{
    return dataSet_ && fieldNo_ >= 0 ? dataSet_->FieldValue(fieldNo_) : QVariant();
}

void TField::CannotAccess(const char* kind) const
{
    throw EDatabaseError(QStringLiteral("Field '%1' cannot be read as %2").arg(DisplayName(), QLatin1String(kind)));
}

QString TField::AsString() const
{
    const QVariant v = Value();
    return v.isNull() ? QString() : Format(v);
}

qint64 TField::AsLargeInt() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    switch (v.typeId()) {
    case QMetaType::LongLong: case QMetaType::Bool: return v.toLongLong();
    case QMetaType::Double: return static_cast<qint64>(std::llround(v.toDouble()));
    case QMetaType::QString: {
        bool ok = false;
        const qint64 n = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw EConvertError(::Format(QString::fromLatin1(rtlstr::SInvalidInteger), {v.toString()}));
        return n;
    }
    default: CannotAccess("Integer");
    }
}

int TField::AsInteger() const
{
    const qint64 v = AsLargeInt();
    if (v < INT32_MIN || v > INT32_MAX)
        throw EConvertError(QStringLiteral("Value of field '%1' is out of the range of Integer").arg(DisplayName()));
    return static_cast<int>(v);
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    switch (v.typeId()) {
    case QMetaType::LongLong: case QMetaType::Double: case QMetaType::Bool: return v.toDouble();
    case QMetaType::QString: {
        bool ok = false;
        const double d = v.toString().trimmed().toDouble(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        return d;
    }
    default: CannotAccess("Float");
    }
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (v.isNull())
        return false;
    switch (v.typeId()) {
    case QMetaType::Bool: case QMetaType::LongLong: case QMetaType::Double: return v.toBool();
    case QMetaType::QString: {
        const QString s = v.toString().trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(s));
    }
    default: CannotAccess("Boolean");
    }
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    switch (v.typeId()) {
    case QMetaType::QDateTime: return v.toDateTime();
    case QMetaType::QDate: return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QTime: return QDateTime(QDate(1899, 12, 30), v.toTime());  // the library's day zero
    default:
        if (v.isNull())
            return {};
        CannotAccess("DateTime");
    }
}

QString TFloatField::Format(const QVariant& v) const { return QString::number(v.toDouble(), 'g', 15); }

QString TCurrencyField::Format(const QVariant& v) const { return QString::number(v.toDouble(), 'f', 2); }

QString TBooleanField::Format(const QVariant& v) const
{
    return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
}

QString TDateTimeField::Format(const QVariant& v) const
{
    switch (v.typeId()) {
    case QMetaType::QDate: return v.toDate().toString(dbformat::ShortDate);
    case QMetaType::QTime: return v.toTime().toString(dbformat::LongTime);
    default: {
        // a date-time at midnight shows as its date alone, as the library's dates do
        const QDateTime dt = v.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.date().toString(dbformat::ShortDate) : dt.toString(dbformat::DateTime);
    }
    }
}

QByteArray TBlobField::AsBytes() const
{
    const QVariant v = Value();
    return v.typeId() == QMetaType::QString ? EncodeCp1252(v.toString()) : v.toByteArray();
}

std::unique_ptr<QIODevice> TBlobField::CreateBlobStream() const
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(AsBytes());
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

QString TBlobField::Format(const QVariant&) const { return QStringLiteral("(BLOB)"); }

TClass FieldClassOf(TFieldType type)
{
    switch (type) {
    case ftString: return TStringField::ClassInfo();
    case ftSmallint: return TSmallintField::ClassInfo();
    case ftInteger: return TIntegerField::ClassInfo();
    case ftLargeint: return TLargeintField::ClassInfo();
    case ftAutoInc: return TAutoIncField::ClassInfo();
    case ftBoolean: return TBooleanField::ClassInfo();
    case ftFloat: return TFloatField::ClassInfo();
    case ftCurrency: return TCurrencyField::ClassInfo();
    case ftDate: return TDateField::ClassInfo();
    case ftTime: return TTimeField::ClassInfo();
    case ftDateTime: return TDateTimeField::ClassInfo();
    case ftMemo: return TMemoField::ClassInfo();
    case ftBlob: return TBlobField::ClassInfo();
    case ftGraphic: return TGraphicField::ClassInfo();
    default: throw EDatabaseError(QStringLiteral("Unknown field type"));
    }
}

std::vector<TClass> FieldClasses()
{
    std::vector<TClass> out;
    for (int t = ftString; t <= ftGraphic; ++t)
        out.push_back(FieldClassOf(static_cast<TFieldType>(t)));
    return out;
}
