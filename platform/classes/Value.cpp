#include "Value.h"
#include "rtl/Codepage.h"

bool TCollectionItemValue::operator==(const TCollectionItemValue& o) const
{
    return Index == o.Index && Properties == o.Properties;
}

TValue TValue::Integer(std::int64_t v)
{
    TValue r;
    r.Int = v;
    if (v >= INT8_MIN && v <= INT8_MAX)
        r.Type = TValueType::Int8;
    else if (v >= INT16_MIN && v <= INT16_MAX)
        r.Type = TValueType::Int16;
    else if (v >= INT32_MIN && v <= INT32_MAX)
        r.Type = TValueType::Int32;
    else
        r.Type = TValueType::Int64;
    return r;
}

TValue TValue::String(const QString& v)
{
    TValue r;
    r.Str = v;
    if (!IsAscii(v))
        r.Type = TValueType::Utf8String;
    else
        r.Type = v.size() <= 255 ? TValueType::String : TValueType::LString;
    return r;
}

TValue TValue::StringList(const QStringList& lines)
{
    std::vector<TValue> items;
    items.reserve(lines.size());
    for (const QString& s : lines)
        items.push_back(String(s));
    return ListOf(std::move(items));
}

bool TValue::IsInteger() const
{
    return Type == TValueType::Int8 || Type == TValueType::Int16 || Type == TValueType::Int32 ||
           Type == TValueType::Int64;
}

bool TValue::IsFloat() const
{
    return Type == TValueType::Extended || Type == TValueType::Single || Type == TValueType::Currency ||
           Type == TValueType::Date;
}

bool TValue::IsString() const
{
    return Type == TValueType::String || Type == TValueType::LString || Type == TValueType::WString ||
           Type == TValueType::Utf8String;
}

bool TValue::operator==(const TValue& o) const
{
    if (IsInteger() && o.IsInteger())
        return Int == o.Int;
    if (IsString() && o.IsString())
        return Str == o.Str;
    if (Type != o.Type)
        return false;
    switch (Type) {
    case TValueType::Extended:
    case TValueType::Single:
    case TValueType::Currency:
    case TValueType::Date: return Float == o.Float;
    case TValueType::Ident: return Str.compare(o.Str, Qt::CaseInsensitive) == 0;
    case TValueType::Binary: return Bin == o.Bin;
    case TValueType::Set: return Set == o.Set;
    case TValueType::List: return List == o.List;
    case TValueType::Collection: return Items == o.Items;
    default: return true;
    }
}

TEnumInfo::TEnumInfo(const char* typeName, const char* commaSeparatedNames) : typeName_(QString::fromLatin1(typeName))
{
    for (const QString& part : QString::fromLatin1(commaSeparatedNames).split(u',', Qt::SkipEmptyParts)) {
        QString name = part.trimmed();
        const auto eq = name.indexOf(u'=');  // explicit values are not used by streamed enumerations
        if (eq >= 0)
            name = name.left(eq).trimmed();
        names_.append(name);
    }
}

QString TEnumInfo::NameOf(int ordinal) const
{
    return ordinal >= 0 && ordinal < names_.size() ? names_[ordinal] : QString();
}

int TEnumInfo::ValueOf(const QString& name) const
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
