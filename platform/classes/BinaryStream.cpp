#include "BinaryStream.h"
#include "rtl/Codepage.h"
#include "rtl/Exceptions.h"

#include <QHash>

#include <cmath>
#include <cstring>

namespace {

const char Signature[] = "TPF0";
constexpr quint16 ResourceType = 10;
constexpr quint16 ResourceFlags = 0x1030;

[[noreturn]] void Truncated() { throw EReadError(QString::fromLatin1(rtlstr::SReadError)); }
[[noreturn]] void Invalid() { throw EReadError(QString::fromLatin1(rtlstr::SInvalidStream)); }

// Refuses a name that the text form could not read back (what: "class name", ...).
void CheckName(const QString& name, bool valid, const char* what)
{
    if (valid)
        return;
    QString shown;
    for (QChar ch : name)
        shown += IsCodedChar(ch) ? CharCode(ch) : QString(ch);
    throw EReadError(QStringLiteral("%1: \"%2\" is not a valid %3").arg(QString::fromLatin1(rtlstr::SInvalidStream), shown,
                                                                      QLatin1String(what)));
}

// A currency value is a 64-bit count of ten-thousandths.
double CurrencyUnits(double value) { return std::round(value * 10000.0); }
bool CurrencyFits(double value) { return std::fabs(CurrencyUnits(value)) < 0x1p63; }  // false for NaN

bool IsIntegerType(quint8 type)
{
    return type == quint8(TValueType::Int8) || type == quint8(TValueType::Int16) || type == quint8(TValueType::Int32) ||
           type == quint8(TValueType::Int64);
}

// Reads the stream front to back; every read checks the bytes that remain.
// Values are decoded from views into the data, copied only where a value
// keeps the bytes.
class TBinaryReader {
public:
    explicit TBinaryReader(QByteArrayView data) : data_(data) {}

    TObjectNode Root()
    {
        if (Bytes(4) != QByteArrayView(Signature))
            Invalid();
        TObjectNode root = Node(0);
        if (pos_ != data_.size())
            Invalid();  // a stream holds exactly one root
        return root;
    }

private:
    qsizetype Remaining() const { return data_.size() - pos_; }
    quint8 Peek() const
    {
        if (Remaining() < 1)
            Truncated();
        return static_cast<quint8>(data_[pos_]);
    }
    quint8 Byte()
    {
        const quint8 b = Peek();
        ++pos_;
        return b;
    }
    QByteArrayView Bytes(qint64 count)
    {
        if (count < 0 || count > Remaining())
            Truncated();
        const QByteArrayView out = data_.sliced(pos_, static_cast<qsizetype>(count));
        pos_ += static_cast<qsizetype>(count);
        return out;
    }
    quint64 Unsigned(int size)
    {
        const QByteArrayView b = Bytes(size);
        quint64 v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = (v << 8) | static_cast<quint8>(b[i]);
        return v;
    }
    qint64 Signed(int size)
    {
        const quint64 v = Unsigned(size);
        const int shift = 64 - 8 * size;
        return static_cast<qint64>(v << shift) >> shift;  // sign-extends
    }
    QString ShortString() { return Cp1252(Bytes(Byte())); }
    // Class and property names and identifiers repeat through a stream: each
    // is decoded once and then shared.
    QString Word()
    {
        const QByteArrayView bytes = Bytes(Byte());
        auto it = words_.constFind(bytes);
        if (it == words_.cend())
            it = words_.insert(bytes, Cp1252(bytes));
        return *it;
    }
    static QString Cp1252(QByteArrayView b) { return DecodeCp1252(b.data(), b.size()); }
    void Enter()
    {
        if (++depth_ > MaxStreamNesting)
            Invalid();
    }
    void Leave() { --depth_; }

    TObjectNode Node(int level);
    TValue Value();
    TValue ValueOfType(quint8 type);
    TValue List();
    TValue SetValue();
    TValue Collection();
    TPropertyValues Properties();

    QByteArrayView data_;
    QHash<QByteArrayView, QString> words_;
    qsizetype pos_ = 0;
    int depth_ = 0;
};

TObjectNode TBinaryReader::Node(int level)
{
    Enter();
    TObjectNode node;
    if ((Peek() & 0xF0) == 0xF0) {
        node.Flags = Byte() & 0x0F;
        if (node.Flags & ~(TObjectNode::ffInherited | TObjectNode::ffChildPos | TObjectNode::ffInline))
            Invalid();
        if (node.Flags & TObjectNode::ffChildPos) {
            const TValue pos = Value();
            if (!pos.IsInteger() || pos.Int < INT32_MIN || pos.Int > INT32_MAX)
                Invalid();
            node.ChildPos = static_cast<int>(pos.Int);
        }
    }
    node.ClassName = Word();
    CheckName(node.ClassName, IsStreamName(node.ClassName), "class name");
    node.Name = ShortString();
    CheckName(node.Name, node.Name.isEmpty() || IsStreamName(node.Name), "component name");
    node.Properties = Properties();
    while (Peek() != 0)
        node.Children.push_back(Node(level + 1));
    Byte();
    Leave();
    return node;
}

TPropertyValues TBinaryReader::Properties()
{
    TPropertyValues props;
    props.reserve(8);  // what an element of a layout mostly has
    while (Peek() != 0) {
        QString name = Word();
        CheckName(name, IsStreamName(name) && !IsStreamKeyword(name), "property name");
        props.emplace_back(std::move(name), Value());
    }
    Byte();
    return props;
}

TValue TBinaryReader::Value() { return ValueOfType(Byte()); }

TValue TBinaryReader::ValueOfType(quint8 type)
{
    TValue v;
    v.Type = static_cast<TValueType>(type);
    switch (static_cast<TValueType>(type)) {
    case TValueType::List: return List();
    case TValueType::Int8: v.Int = Signed(1); break;
    case TValueType::Int16: v.Int = Signed(2); break;
    case TValueType::Int32: v.Int = Signed(4); break;
    case TValueType::Int64: v.Int = Signed(8); break;
    case TValueType::Extended: v.Float = ExtendedToDouble(reinterpret_cast<const unsigned char*>(Bytes(10).constData())); break;
    case TValueType::String: v.Str = ShortString(); break;
    case TValueType::Ident:
        v.Str = Word();
        CheckName(v.Str, IsStreamName(v.Str) && !ValueTypeOfWord(v.Str), "identifier");
        break;
    case TValueType::False:
    case TValueType::True:
    case TValueType::Nil: break;
    case TValueType::Binary: v.Bin = Bytes(static_cast<qint64>(Unsigned(4))).toByteArray(); break;
    case TValueType::Set: return SetValue();
    case TValueType::LString: v.Str = Cp1252(Bytes(static_cast<qint64>(Unsigned(4)))); break;
    case TValueType::Collection: return Collection();
    case TValueType::Single: {
        const quint32 bits = static_cast<quint32>(Unsigned(4));
        float f;
        std::memcpy(&f, &bits, sizeof f);
        v.Float = f;
        break;
    }
    case TValueType::Currency:
        // the largest counts come back from a double one beyond the range: refused, as they could not be written again
        v.Float = static_cast<double>(Signed(8)) / 10000.0;
        if (!CurrencyFits(v.Float))
            throw EReadError(QString::fromLatin1(rtlstr::SInvalidStream) + QStringLiteral(": currency value out of range"));
        break;
    case TValueType::Date: {
        const quint64 bits = Unsigned(8);
        std::memcpy(&v.Float, &bits, sizeof v.Float);
        break;
    }
    case TValueType::WString: {
        const qint64 units = static_cast<qint64>(Unsigned(4));
        if (units > Remaining() / 2)
            Truncated();
        const QByteArrayView b = Bytes(units * 2);
        v.Str.resize(static_cast<qsizetype>(units));
        for (qsizetype i = 0; i < units; ++i)
            v.Str[i] = QChar(static_cast<char16_t>(quint8(b[2 * i]) | (quint8(b[2 * i + 1]) << 8)));
        break;
    }
    case TValueType::Utf8String: v.Str = QString::fromUtf8(Bytes(static_cast<qint64>(Unsigned(4)))); break;
    default: Invalid();  // 0 has no payload and ends lists; anything above 20 is foreign
    }
    return v;
}

TValue TBinaryReader::List()
{
    Enter();
    std::vector<TValue> items;
    while (Peek() != 0)
        items.push_back(Value());
    Byte();
    Leave();
    return TValue::ListOf(std::move(items));
}

TValue TBinaryReader::SetValue()
{
    QStringList names;
    for (QString name = ShortString(); !name.isEmpty(); name = ShortString()) {
        CheckName(name, IsStreamName(name), "set element");
        names << name;
    }
    return TValue::SetOf(names);
}

TValue TBinaryReader::Collection()
{
    Enter();
    TValue v;
    v.Type = TValueType::Collection;
    while (Peek() != 0) {
        TCollectionItemValue item;
        if (IsIntegerType(Peek()))
            item.Index = Value().Int;
        if (Byte() != quint8(TValueType::List))
            Invalid();
        item.Properties = Properties();
        v.Items.push_back(std::move(item));
    }
    Byte();
    Leave();
    return v;
}

// Appends values in the stream's encoding.
class TBinaryWriter {
public:
    QByteArray Stream(const TObjectNode& root)
    {
        out_ = QByteArray(Signature);
        Node(root);
        return out_;
    }

private:
    void Byte(quint8 b) { out_.append(static_cast<char>(b)); }
    void Type(TValueType t) { Byte(static_cast<quint8>(t)); }
    void Unsigned(quint64 v, int size)
    {
        for (int i = 0; i < size; ++i, v >>= 8)
            Byte(static_cast<quint8>(v & 0xFF));
    }
    void ShortString(const QString& s)
    {
        const QByteArray b = EncodeCp1252(s);
        if (b.size() > 255)
            throw EWriteError(QStringLiteral("Name too long for the stream: %1").arg(s.left(32)));
        Byte(static_cast<quint8>(b.size()));
        out_.append(b);
    }
    void Sized(const QByteArray& b)
    {
        Unsigned(static_cast<quint64>(b.size()), 4);
        out_.append(b);
    }

    void Node(const TObjectNode& node);
    void Properties(const TPropertyValues& props);
    void Value(const TValue& v);
    void Integer(const TValue& v);
    void String(const TValue& v);

    QByteArray out_;
};

void TBinaryWriter::Node(const TObjectNode& node)
{
    if (node.Flags) {
        Byte(0xF0 | (node.Flags & 0x0F));
        if (node.Flags & TObjectNode::ffChildPos)
            Value(TValue::Integer(node.ChildPos));
    }
    ShortString(node.ClassName);
    ShortString(node.Name);
    Properties(node.Properties);
    for (const TObjectNode& child : node.Children)
        Node(child);
    Byte(0);
}

void TBinaryWriter::Properties(const TPropertyValues& props)
{
    for (const auto& [name, value] : props) {
        ShortString(name);
        Value(value);
    }
    Byte(0);
}

void TBinaryWriter::Integer(const TValue& v)
{
    // keep the type a value was read with when it holds the value, so that
    // a stream read and written again is the same byte for byte
    const TValueType smallest = TValue::Integer(v.Int).Type;
    const TValueType type = v.IsInteger() && v.Type >= smallest ? v.Type : smallest;
    const int size = type == TValueType::Int8 ? 1 : type == TValueType::Int16 ? 2 : type == TValueType::Int32 ? 4 : 8;
    Type(type);
    Unsigned(static_cast<quint64>(v.Int), size);
}

void TBinaryWriter::String(const TValue& v)
{
    // UTF-16 as read, and text that is not valid UTF-16: a lone surrogate has no UTF-8 form
    if (v.Type == TValueType::WString || !QStringView(v.Str).isValidUtf16()) {
        Type(TValueType::WString);
        Unsigned(static_cast<quint64>(v.Str.size()), 4);
        for (QChar ch : v.Str)
            Unsigned(ch.unicode(), 2);
        return;
    }
    const bool eightBit = v.Type != TValueType::Utf8String && DecodeCp1252(EncodeCp1252(v.Str)) == v.Str;
    if (!eightBit) {
        Type(TValueType::Utf8String);
        Sized(v.Str.toUtf8());
        return;
    }
    const QByteArray b = EncodeCp1252(v.Str);
    if (v.Type == TValueType::String && b.size() <= 255) {
        Type(TValueType::String);
        Byte(static_cast<quint8>(b.size()));
        out_.append(b);
    } else {
        Type(TValueType::LString);
        Sized(b);
    }
}

void TBinaryWriter::Value(const TValue& v)
{
    if (v.IsInteger())
        return Integer(v);
    if (v.IsString())
        return String(v);
    Type(v.Type);
    switch (v.Type) {
    case TValueType::List:
        for (const TValue& item : v.List)
            Value(item);
        Byte(0);
        break;
    case TValueType::Extended: {
        const auto b = DoubleToExtended(v.Float);
        out_.append(reinterpret_cast<const char*>(b.data()), 10);
        break;
    }
    case TValueType::Ident: ShortString(v.Str); break;
    case TValueType::False:
    case TValueType::True:
    case TValueType::Nil: break;
    case TValueType::Binary: Sized(v.Bin); break;
    case TValueType::Set:
        for (const QString& name : v.Set)
            ShortString(name);
        Byte(0);
        break;
    case TValueType::Collection:
        for (const TCollectionItemValue& item : v.Items) {
            if (item.Index)
                Value(TValue::Integer(*item.Index));
            Type(TValueType::List);
            Properties(item.Properties);
        }
        Byte(0);
        break;
    case TValueType::Single: {
        const float f = static_cast<float>(v.Float);
        quint32 bits;
        std::memcpy(&bits, &f, sizeof bits);
        Unsigned(bits, 4);
        break;
    }
    case TValueType::Currency:
        if (!CurrencyFits(v.Float))
            throw EWriteError(QStringLiteral("Currency value out of range"));
        Unsigned(static_cast<quint64>(static_cast<qint64>(CurrencyUnits(v.Float))), 8);
        break;
    case TValueType::Date: {
        quint64 bits;
        std::memcpy(&bits, &v.Float, sizeof bits);
        Unsigned(bits, 8);
        break;
    }
    default: throw EWriteError(QStringLiteral("Value without a stream type"));
    }
}

}  // namespace

QByteArray WriteObjectStream(const TObjectNode& root) { return TBinaryWriter().Stream(root); }

TObjectNode ReadObjectStream(QByteArrayView stream) { return TBinaryReader(stream).Root(); }

bool IsObjectStream(const QByteArray& data) { return data.startsWith(Signature); }

bool IsResource(const QByteArray& data) { return !data.isEmpty() && static_cast<quint8>(data[0]) == 0xFF; }

QByteArray WrapResource(const QByteArray& stream, const QString& className)
{
    QByteArray out;
    auto put = [&out](quint64 v, int size) {
        for (int i = 0; i < size; ++i, v >>= 8)
            out.append(static_cast<char>(v & 0xFF));
    };
    put(0xFF, 1);
    put(ResourceType, 2);
    out.append(className.toUpper().toLatin1());
    put(0, 1);
    put(ResourceFlags, 2);
    put(static_cast<quint64>(stream.size()), 4);
    out.append(stream);
    return out;
}

namespace {

// The stream inside a resource, checked against the wrapper's length.
QByteArrayView ResourcePayload(QByteArrayView resource)
{
    auto at = [&resource](qsizetype pos, int size) -> quint32 {
        if (pos + size > resource.size())
            Truncated();
        quint32 v = 0;
        for (int i = size - 1; i >= 0; --i)
            v = (v << 8) | static_cast<quint8>(resource[pos + i]);
        return v;
    };
    if (at(0, 1) != 0xFF || at(1, 2) != ResourceType)
        Invalid();
    const qsizetype nul = resource.indexOf('\0', 3);
    if (nul < 0)
        Truncated();
    const quint32 length = at(nul + 3, 4);
    const qsizetype start = nul + 7;
    if (length != static_cast<quint64>(resource.size() - start))
        length > static_cast<quint64>(resource.size() - start) ? Truncated() : Invalid();
    return resource.sliced(start);
}

}  // namespace

QByteArray UnwrapResource(const QByteArray& resource) { return ResourcePayload(resource).toByteArray(); }

TObjectNode ReadObjectData(const QByteArray& data)
{
    if (IsResource(data))
        return ReadObjectStream(ResourcePayload(data));
    if (IsObjectStream(data))
        return ReadObjectStream(data);
    Invalid();
}

std::array<unsigned char, 10> DoubleToExtended(double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = bits >> 63;
    const int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    quint64 fraction = bits & ((quint64(1) << 52) - 1);
    quint64 mantissa = 0;
    int biased = 0;
    if (exponent == 0x7FF) {  // infinity keeps only the integer bit, NaN its payload
        biased = 0x7FFF;
        mantissa = (quint64(1) << 63) | (fraction << 11);
    } else if (exponent != 0) {
        biased = exponent - 1023 + 16383;
        mantissa = (quint64(1) << 63) | (fraction << 11);
    } else if (fraction != 0) {  // a subnormal double is a normal extended
        int msb = 51;
        while (!(fraction >> msb))
            --msb;
        biased = msb - 1074 + 16383;
        mantissa = fraction << (63 - msb);
    }
    std::array<unsigned char, 10> out{};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    const unsigned top = static_cast<unsigned>(biased) | (negative ? 0x8000u : 0u);
    out[8] = static_cast<unsigned char>(top & 0xFF);
    out[9] = static_cast<unsigned char>(top >> 8);
    return out;
}

double ExtendedToDouble(const unsigned char* bytes)
{
    quint64 mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    const unsigned top = bytes[8] | (unsigned(bytes[9]) << 8);
    const bool negative = top & 0x8000;
    const int biased = static_cast<int>(top & 0x7FFF);
    double v;
    if (biased == 0x7FFF)
        v = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    else  // ldexp rounds what a double cannot hold: overflow to infinity, underflow to subnormals
        v = std::ldexp(static_cast<double>(mantissa), biased - 16383 - 63);
    return negative ? -v : v;
}
