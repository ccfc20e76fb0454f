// The binary object stream and the resource wrapper, byte by byte.
#include <gtest/gtest.h>

#include "classes/Streaming.h"
#include "TestComponents.h"

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }

TValue Typed(TValueType type, double f)
{
    TValue v;
    v.Type = type;
    v.Float = f;
    return v;
}

TValue WideString(const QString& s)
{
    TValue v = TValue::String(s);
    v.Type = TValueType::WString;
    return v;
}

// One property of every value type the stream knows.
TObjectNode EveryValueType()
{
    TObjectNode node;
    node.ClassName = QStringLiteral("TThing");
    node.Name = QStringLiteral("Thing1");
    TCollectionItemValue plain;
    plain.Properties = {{QStringLiteral("Caption"), TValue::String(QStringLiteral("a"))}};
    TCollectionItemValue indexed;
    indexed.Index = 300;
    TValue coll;
    coll.Type = TValueType::Collection;
    coll.Items = {plain, indexed};
    node.Properties = {
        {QStringLiteral("I8"), TValue::Integer(-128)},
        {QStringLiteral("I16"), TValue::Integer(32767)},
        {QStringLiteral("I32"), TValue::Integer(-2147483647 - 1)},
        {QStringLiteral("I64"), TValue::Integer(-(qint64(1) << 40))},
        {QStringLiteral("Ext"), TValue::Extended(-0.1)},
        {QStringLiteral("Short"), TValue::String(QStringLiteral("It's"))},
        {QStringLiteral("Long"), TValue::String(QString(300, u'x'))},
        {QStringLiteral("Utf8"), TValue::String(QStringLiteral("Grüße €"))},
        {QStringLiteral("Wide"), WideString(QStringLiteral("Ωmega"))},
        {QStringLiteral("Id"), TValue::Ident(QStringLiteral("alClient"))},
        {QStringLiteral("No"), TValue::Boolean(false)},
        {QStringLiteral("Yes"), TValue::Boolean(true)},
        {QStringLiteral("Bin"), TValue::Binary(QByteArray(70, '\x5A') + QByteArray("\0\xFF", 2))},
        {QStringLiteral("Set"), TValue::SetOf({QStringLiteral("fsBold"), QStringLiteral("fsItalic")})},
        {QStringLiteral("Empty"), TValue::SetOf({})},
        {QStringLiteral("Nothing"), TValue::Nil()},
        {QStringLiteral("List"), TValue::ListOf({TValue::String(QStringLiteral("a")), TValue::Integer(1), TValue::ListOf({})})},
        {QStringLiteral("Coll"), coll},
        {QStringLiteral("Sgl"), Typed(TValueType::Single, 1.5)},
        {QStringLiteral("Cur"), Typed(TValueType::Currency, 12.3456)},
        {QStringLiteral("Date"), Typed(TValueType::Date, 45000.25)},
    };
    TObjectNode child;
    child.ClassName = QStringLiteral("TChild");
    child.Flags = TObjectNode::ffInline | TObjectNode::ffChildPos;
    child.ChildPos = 3;
    node.Children.push_back(child);
    return node;
}

}  // namespace

TEST(BinaryStream, EveryValueTypeRoundTripsWithItsType)
{
    const TObjectNode node = EveryValueType();
    const QByteArray stream = WriteObjectStream(node);
    const TObjectNode back = ReadObjectStream(stream);
    EXPECT_EQ(back, node);
    ASSERT_EQ(back.Properties.size(), node.Properties.size());
    for (size_t i = 0; i < node.Properties.size(); ++i)
        EXPECT_EQ(back.Properties[i].second.Type, node.Properties[i].second.Type) << node.Properties[i].first.toStdString();
    EXPECT_EQ(WriteObjectStream(back), stream) << "read and written again, the bytes stay the same";
}

// Names that repeat through a stream, in other spellings and as each
// other's beginnings, each read as written.
TEST(BinaryStream, RepeatedNamesReadAsWritten)
{
    TObjectNode root;
    root.ClassName = QStringLiteral("TForm");
    for (const char* name : {"Tag", "TAG", "Tags", "Ta", "Caption"})
        root.Properties.emplace_back(QLatin1String(name), TValue::Ident(QLatin1String(name)));
    for (int i = 0; i < 3; ++i) {
        TObjectNode child;
        child.ClassName = i == 1 ? QStringLiteral("TLabelX") : QStringLiteral("TLabel");
        child.Name = QStringLiteral("Label%1").arg(i);
        child.Properties = {{QStringLiteral("Tags"), TValue::Integer(i)}, {QStringLiteral("Tag"), TValue::Ident(QStringLiteral("Ta"))}};
        root.Children.push_back(child);
    }
    const TObjectNode back = ReadObjectStream(WriteObjectStream(root));
    EXPECT_EQ(back, root);
    ASSERT_EQ(back.Children.size(), 3u);
    EXPECT_EQ(back.Children[1].ClassName, QStringLiteral("TLabelX"));
    EXPECT_EQ(back.Children[2].Properties[0].second.Int, 2);
    EXPECT_EQ(back.Properties[1].first, QStringLiteral("TAG"));
    EXPECT_EQ(back.Properties[1].second.Str, QStringLiteral("TAG"));
}

TEST(BinaryStream, SmallestIntegerTypeAndStringTypes)
{
    const std::pair<qint64, TValueType> ints[] = {{127, TValueType::Int8},          {-128, TValueType::Int8},
                                                  {128, TValueType::Int16},         {-129, TValueType::Int16},
                                                  {32768, TValueType::Int32},       {-32769, TValueType::Int32},
                                                  {qint64(1) << 31, TValueType::Int64}};
    for (auto [v, type] : ints)
        EXPECT_EQ(TValue::Integer(v).Type, type) << v;
    EXPECT_EQ(TValue::String(QString(255, u'a')).Type, TValueType::String);
    EXPECT_EQ(TValue::String(QString(256, u'a')).Type, TValueType::LString);
    EXPECT_EQ(TValue::String(QStringLiteral("é")).Type, TValueType::Utf8String);

    // 8-bit strings read as Windows-1252
    const TObjectNode node = ReadObjectStream(Hex("54504630" "0154" "00" "0153" "0602E980" "014C" "0C02000000E980" "00" "00"));
    EXPECT_EQ(node.Properties[0].second.Str, QStringLiteral("é€"));
    EXPECT_EQ(node.Properties[1].second.Str, QStringLiteral("é€"));
}

TEST(BinaryStream, ExtendedIsTheX87Format)
{
    const std::pair<double, const char*> table[] = {
        {1.5, "000000000000 00C0 FF3F"},  {-2.0, "000000000000 0080 00C0"}, {0.1, "00D0CCCCCCCC CCCC FB3F"},
        {0.0, "000000000000 0000 0000"},  {-0.0, "000000000000 0000 0080"},
        {4.9406564584124654e-324, "000000000000 0080 CD3B"},  // the smallest subnormal double is a normal extended
        {HUGE_VAL, "000000000000 0080 FF7F"}};
    for (auto [value, hex] : table) {
        const QByteArray bytes = Hex(hex);
        const auto ext = DoubleToExtended(value);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ext.data()), 10), bytes) << value;
        const double back = ExtendedToDouble(reinterpret_cast<const unsigned char*>(bytes.constData()));
        EXPECT_EQ(back, value);
        EXPECT_EQ(std::signbit(back), std::signbit(value));
    }
    // beyond a double's range
    EXPECT_EQ(ExtendedToDouble(reinterpret_cast<const unsigned char*>(Hex("0000000000000080FF7E").constData())), HUGE_VAL);
    EXPECT_EQ(ExtendedToDouble(reinterpret_cast<const unsigned char*>(Hex("00000000000000800100").constData())), 0.0);
}

// A fixed tree, spelled out byte by byte from the format.
TEST(BinaryStream, GoldenBytesOfAComponentTree)
{
    const QByteArray stream = Hex(
        "54504630"                      // TPF0
        "09" "5454657374466F726D"       // TTestForm
        "05" "466F726D31"               // Form1
        "04" "4C656674" "03C800"        // Left = 200 (int16)
        "07" "43617074696F6E" "06024869"  // Caption = 'Hi'
        "00"                            // end of the form's properties
        "0C" "5454657374436F6E74726F6C"  // TTestControl
        "06" "50616E656C31"             // Panel1
        "07" "56697369626C65" "08"      // Visible = False
        "00"                            // end of the panel's properties
        "00"                            // end of the panel's children
        "00");                          // end of the form's children
    const QByteArray resource = Hex("FF" "0A00" "5454455354464F524D00" "3010" "49000000") + stream;

    RegisterTestClasses();
    auto* form = New<TTestForm>(nullptr);
    form->SetName(QStringLiteral("Form1"));
    form->Left = 200;
    form->Caption = QStringLiteral("Hi");
    auto* panel = New<TTestControl>(form);
    panel->SetName(QStringLiteral("Panel1"));
    panel->SetParent(form);
    panel->Visible = false;
    EXPECT_EQ(WriteComponentStream(form).toHex(' '), stream.toHex(' '));
    EXPECT_EQ(WriteComponentRes(form).toHex(' '), resource.toHex(' '));
    form->Free();

    auto* read = New<TTestForm>(nullptr);
    ReadComponentRes(resource, read);
    EXPECT_EQ(read->Left, 200);
    ASSERT_NE(read->Panel1, nullptr);
    EXPECT_FALSE(read->Panel1->Visible);
    read->Free();
}

TEST(BinaryStream, HostileLengthsAndNestingAreRefused)
{
    const QByteArray head = Hex("54504630" "0154" "00" "0142");
    for (const char* value : {"0AFFFFFFFF", "0CFFFFFF7F", "12FFFFFFFF", "14FFFFFF7F", "06FF", "15"}) {
        EXPECT_THROW(ReadObjectStream(head + Hex(value)), EReadError) << value;
    }
    EXPECT_THROW(ReadObjectStream(head + QByteArray(100000, '\x01')), EReadError) << "nested lists";
    QByteArray deepObjects = Hex("54504630");
    for (int i = 0; i < 100000; ++i)
        deepObjects += Hex("015400");
    EXPECT_THROW(ReadObjectStream(deepObjects), EReadError) << "nested objects";
    EXPECT_THROW(ReadObjectStream(Hex("54504631015400000000")), EReadError) << "foreign signature";
    EXPECT_THROW(ReadObjectStream(Hex("5450463001540000000000")), EReadError) << "bytes after the root";
    EXPECT_THROW(UnwrapResource(Hex("FF0A00410030100A000000545046300154000000")), EReadError) << "length beyond the data";
    EXPECT_THROW(UnwrapResource(Hex("FF0B00410030100800000054504630")), EReadError) << "not RCDATA";
}

// What the text form could not read back is refused, and the message shows
// control characters as the text form writes them.
TEST(BinaryStream, NamesAndIdentifiersTheTextFormCannotHoldAreRefused)
{
    auto refusal = [](const QByteArray& stream) {
        try {
            ReadObjectStream(stream);
        } catch (const EReadError& e) {
            return e.Message();
        }
        return QString();
    };
    // object T with the property B = <identifier>
    auto withIdent = [](const QByteArray& ident) {
        return Hex("54504630" "0154" "00" "0142" "07") + char(ident.size()) + ident + Hex("0000");
    };
    EXPECT_TRUE(refusal(withIdent("TRUE")).endsWith(QStringLiteral("\"TRUE\" is not a valid identifier")));
    EXPECT_TRUE(refusal(withIdent("Nil")).endsWith(QStringLiteral("\"Nil\" is not a valid identifier")));
    EXPECT_EQ(refusal(withIdent("Nilly")), QString());
    EXPECT_TRUE(refusal(Hex("54504630" "03410142" "00" "0000")).endsWith(QStringLiteral("\"A#1B\" is not a valid class name")));
}
