#include "Field.h"
#include "DataSet.h"
#include "classes/Published.h"
#include "rtl/Codepage.h"

#include <QBuffer>

#include <algorithm>
#include <charconv>
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

namespace {

// Writes value in width digits, zero-padded on the left.
char16_t* PutDigits(char16_t* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = char16_t(u'0' + value % 10);
    return out + width;
}

// A date's parts, when its year shows in four digits; the others are rare
// enough for Qt to write them.
struct TDateParts {
    int Year = 0, Month = 0, Day = 0;
    explicit TDateParts(const QDate& date)
    {
        if (date.isValid())
            date.getDate(&Year, &Month, &Day);
    }
    bool FourDigitYear() const { return Year >= 1 && Year <= 9999; }
};

char16_t* PutDate(char16_t* out, const TDateParts& date)
{
    out = PutDigits(out, date.Month, 2);
    *out++ = u'/';
    out = PutDigits(out, date.Day, 2);
    *out++ = u'/';
    return PutDigits(out, date.Year, 4);
}

char16_t* PutTime(char16_t* out, const QTime& time)
{
    out = PutDigits(out, time.hour(), 2);
    *out++ = u':';
    out = PutDigits(out, time.minute(), 2);
    *out++ = u':';
    return PutDigits(out, time.second(), 2);
}

// value in pattern: written by put where it can, else (rare values) by Qt.
template <class Value, class Put>
QString InPattern(const Value& value, const QString& pattern, bool writable, Put put)
{
    if (!writable)
        return value.toString(pattern);
    QString text(pattern.size(), Qt::Uninitialized);
    put(reinterpret_cast<char16_t*>(text.data()));
    return text;
}

}  // namespace

QString dbformat::FloatText(double value)
{
    if (value == 0)
        return QStringLiteral("0");  // negative zero as well
    if (!std::isnormal(value))
        return QString::number(value, 'g', 15);  // infinities, NaN, and subnormals with fewer digits than 15
    // The shortest digits that read back as the value, [-]d[.ddd]e(+|-)xx. Up
    // to 15 of them they are the value rounded to 15 digits; more need rounding.
    char sci[32];
    const char* end = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific).ptr;
    const char* e = std::find(static_cast<const char*>(sci), end, 'e');
    const bool negative = sci[0] == '-';
    char digits[20];
    int count = 0;
    for (const char* p = sci + negative; p != e; ++p)
        if (*p != '.')
            digits[count++] = *p;
    if (count > 15)
        return QString::number(value, 'g', 15);
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
    if (exponent < -4 || exponent >= 15)
        return QString::fromLatin1(sci, end - sci);  // the exponent form is the same text
    char fixed[32];
    char* out = fixed;
    if (negative)
        *out++ = '-';
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        out = std::copy_n(digits, count, out);
    } else {
        const int whole = exponent + 1;
        out = std::copy_n(digits, std::min(count, whole), out);
        out = std::fill_n(out, std::max(0, whole - count), '0');
        if (count > whole) {
            *out++ = '.';
            out = std::copy(digits + whole, digits + count, out);
        }
    }
    return QString::fromLatin1(fixed, out - fixed);
}

QString dbformat::CurrencyText(double value)
{
    if (value == 0)
        return QStringLiteral("0.00");  // negative zero as well
    if (!std::isfinite(value) || std::abs(value) >= 1e13)
        return QString::number(value, 'f', 2);
    // A value exactly halfway between two cents (an odd number of eighths)
    // rounds away from zero here, where to_chars would round it to even. Below
    // 1e13 the next double is still nearer than the next half cent.
    const double eighths = value * 8;
    if (eighths == std::trunc(eighths) && std::fmod(eighths, 2) != 0)
        value = std::nextafter(value, value * 2);
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return QString::fromLatin1(text, end - text);
}

QString dbformat::DateText(const QDate& date)
{
    const TDateParts parts(date);
    return InPattern(date, ShortDate, parts.FourDigitYear(), [&](char16_t* out) { PutDate(out, parts); });
}

QString dbformat::TimeText(const QTime& time)
{
    return InPattern(time, LongTime, time.isValid(), [&](char16_t* out) { PutTime(out, time); });
}

QString dbformat::DateTimeText(const QDateTime& dateTime)
{
    // a date-time at midnight shows as its date alone, as the library's dates do
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    if (time == QTime(0, 0))
        return DateText(date);
    const TDateParts parts(date);
    return InPattern(dateTime, DateTime, parts.FourDigitYear() && time.isValid(), [&](char16_t* out) {
        out = PutDate(out, parts);
        *out++ = u' ';
        PutTime(out, time);
    });
}

QString TFloatField::Format(const QVariant& v) const { return dbformat::FloatText(v.toDouble()); }

QString TCurrencyField::Format(const QVariant& v) const { return dbformat::CurrencyText(v.toDouble()); }

QString TBooleanField::Format(const QVariant& v) const
{
    return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
}

QString TDateTimeField::Format(const QVariant& v) const
{
    switch (v.typeId()) {
    case QMetaType::QDate: return dbformat::DateText(v.toDate());
    case QMetaType::QTime: return dbformat::TimeText(v.toTime());
    default: return dbformat::DateTimeText(v.toDateTime());
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
