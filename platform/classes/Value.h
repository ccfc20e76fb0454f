#pragma once
// Values of published properties as the streaming system sees them, and the
// type information of enumerations and sets.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

// Type bytes of the object stream; a TValue keeps the one it was read with so
// that a stream converted to text and back keeps its exact encoding.
enum class TValueType : std::uint8_t {
    Null = 0, List = 1, Int8 = 2, Int16 = 3, Int32 = 4, Extended = 5, String = 6, Ident = 7,
    False = 8, True = 9, Binary = 10, Set = 11, LString = 12, Nil = 13, Collection = 14,
    Single = 15, Currency = 16, Date = 17, WString = 18, Int64 = 19, Utf8String = 20,
};

struct TValue;
// One item of a collection value: an optional index and its properties.
struct TCollectionItemValue {
    std::optional<std::int64_t> Index;
    std::vector<std::pair<QString, TValue>> Properties;
    bool operator==(const TCollectionItemValue&) const;
};

struct TValue {
    TValueType Type = TValueType::Null;
    std::int64_t Int = 0;      // Int8/16/32/64
    double Float = 0;          // Extended, Single, Currency, Date
    QString Str;               // String, LString, WString, Utf8String, Ident
    QByteArray Bin;            // Binary
    QStringList Set;           // Set
    std::vector<TValue> List;  // List
    std::vector<TCollectionItemValue> Items;  // Collection

    static TValue Integer(std::int64_t v);  // picks the smallest integer type
    static TValue Boolean(bool v) { TValue r; r.Type = v ? TValueType::True : TValueType::False; return r; }
    static TValue Extended(double v) { TValue r; r.Type = TValueType::Extended; r.Float = v; return r; }
    static TValue String(const QString& v);  // ASCII as short/long string, other text as UTF-8
    static TValue Ident(const QString& v) { TValue r; r.Type = TValueType::Ident; r.Str = v; return r; }
    static TValue Binary(const QByteArray& v) { TValue r; r.Type = TValueType::Binary; r.Bin = v; return r; }
    static TValue SetOf(const QStringList& v) { TValue r; r.Type = TValueType::Set; r.Set = v; return r; }
    static TValue Nil() { TValue r; r.Type = TValueType::Nil; return r; }
    static TValue ListOf(std::vector<TValue> v) { TValue r; r.Type = TValueType::List; r.List = std::move(v); return r; }
    static TValue StringList(const QStringList& lines);

    bool IsInteger() const;
    bool IsFloat() const;
    bool IsString() const;  // any of the string types
    bool IsBoolean() const { return Type == TValueType::True || Type == TValueType::False; }
    bool AsBoolean() const { return Type == TValueType::True; }
    // Numeric value of an integer or float value.
    double AsFloat() const { return IsInteger() ? static_cast<double>(Int) : Float; }
    bool operator==(const TValue& other) const;
    bool operator!=(const TValue& other) const { return !(*this == other); }
};

// Names of an enumeration's values, in ordinal order.
class TEnumInfo {
public:
    TEnumInfo(const char* typeName, const char* commaSeparatedNames);
    const QString& TypeName() const { return typeName_; }
    int Count() const { return static_cast<int>(names_.size()); }
    QString NameOf(int ordinal) const;     // empty when out of range
    int ValueOf(const QString& name) const;  // -1 when unknown; case-insensitive
    const QStringList& Names() const { return names_; }

private:
    QString typeName_;
    QStringList names_;
};

// Declares an enumeration with its type information, found by EnumInfoOf(value).
#define VK_ENUM(Type, ...)                                                     \
    enum Type : int { __VA_ARGS__ };                                          \
    inline const TEnumInfo& EnumInfoOf(Type)                                  \
    {                                                                         \
        static const TEnumInfo info(#Type, #__VA_ARGS__);                     \
        return info;                                                          \
    }

// A set of up to 64 enumeration values.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) { for (E v : values) bits_ |= Bit(v); }
    static constexpr TSet FromBits(std::uint64_t bits) { TSet s; s.bits_ = bits; return s; }
    constexpr std::uint64_t Bits() const { return bits_; }
    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E v) { bits_ |= Bit(v); return *this; }
    constexpr TSet& Exclude(E v) { bits_ &= ~Bit(v); return *this; }
    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr std::uint64_t Bit(E v) { return std::uint64_t(1) << static_cast<int>(v); }
    std::uint64_t bits_ = 0;
};
