// The text form: its exact spelling, its round trips and its errors.
#include <gtest/gtest.h>

#include "classes/Streaming.h"

namespace {

// Every construct of the text form, as the writer spells it.
const char* const FullText = R"(object Form1: TForm1
  Left = -200
  Caption = 'It''s'#13#10'done'
  Long = '0123456789012345678901234567890123456789012345678901234567890123' +
    '456789'
  Unicode = 'Grüße €'
  Ratio = 1.5
  Small = 0.25s
  Price = 12.3456c
  When = 45000.5d
  Huge = 1e+300
  Whole = 3.0
  Big = 12345678901
  Font.Style = [fsBold, fsItalic]
  NoStyle = []
  Lines.Strings = (
    'a'
    ''
    'b')
  NoLines = ()
  Picture.Data = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    2021}
  NoData = {}
  Columns = <
    item
      Caption = 'x'
      Sub = (
        1
        2)
    end
    item [2]
    end>
  NoColumns = <>
  DataSource = Form2.Table1
  OnClick = ButtonClick
  Visible = False
  Enabled = True
  Nothing = nil
  object Panel1: TPanel
    inline Frame1: TFrame [3]
    end
    inherited Label1: TLabel
    end
  end
end
)";

}  // namespace

TEST(TextForm, TextToBinaryToTextGivesTheSameText)
{
    const QString text = QString::fromUtf8(FullText);
    const QByteArray stream = ObjectTextToBinary(text);
    EXPECT_EQ(ObjectBinaryToText(stream), text);
    EXPECT_EQ(ObjectResourceToText(ObjectTextToResource(text)), text);
    EXPECT_EQ(WriteObjectText(ReadObjectText(text)), text);
}

TEST(TextForm, ReadsWhatPeopleWrite)
{
    const TObjectNode node = ReadObjectText(QStringLiteral(
        "OBJECT   F : TF\r\n  s = 'a'#9'b' +\r\n 'c'#$41\r\n  n = $FF\n  l = ('x'\n'y')\n  e = 'it''s'END"));
    ASSERT_EQ(node.Properties.size(), 4u);
    EXPECT_EQ(node.Name, QStringLiteral("F"));
    EXPECT_EQ(node.Properties[0].second.Str, QStringLiteral("a\tbcA"));
    EXPECT_EQ(node.Properties[1].second.Int, 255);
    EXPECT_EQ(node.Properties[2].second.List.size(), 2u) << "strings on separate lines are separate items";
    EXPECT_EQ(node.Properties[3].second.Str, QStringLiteral("it's"));
}

TEST(TextForm, BooleansAndNilAreReadInAnyCase)
{
    const TObjectNode node =
        ReadObjectText(QStringLiteral("object F: T\n  a = TRUE\n  b = false\n  c = NIL\n  d = Nilly\nend"));
    std::vector<TValueType> types;
    for (const auto& [name, value] : node.Properties)
        types.push_back(value.Type);
    EXPECT_EQ(types, (std::vector{TValueType::True, TValueType::False, TValueType::Nil, TValueType::Ident}));
}

TEST(TextForm, ErrorsNameTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "Line 1: identifier expected"},
        {"thing X: T\nend", "Line 1: 'object' expected"},
        {"object X: T\n  A 1\nend", "Line 2: '=' expected"},
        {"object X: T\n  A = 'open\nend", "Line 2: unterminated string"},
        {"object X: T\n  A = {ABC}\nend", "Line 2: odd number of hexadecimal digits"},
        {"object X: T\n  A = {XY}\nend", "Line 2: hexadecimal digit expected"},
        {"object X: T\n  A = 'a' +\nend", "Line 3: string expected"},
        {"object X: T\n  A = 99999999999999999999\nend", "Line 2: invalid number 99999999999999999999"},
        {"object X: T\n  A = #70000\nend", "Line 2: invalid character code"},
        {"object X: T\n  A = <\n  thing\n  end>\nend", "Line 3: 'item' expected"},
        {"object X: T\nend\nend", "Line 3: end of text expected"},
        {"object X: T\n  A = (", "Line 2: value expected"},
        {"object X: T\n  A = {", "Line 2: '}' expected"},
    };
    for (auto [text, message] : cases) {
        try {
            ReadObjectText(QString::fromUtf8(text));
            ADD_FAILURE() << text;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message(), QString::fromUtf8(message)) << text;
        }
    }
    QString deep = QStringLiteral("object X: T\n  A = ");
    deep += QString(10000, u'(');
    EXPECT_THROW(ReadObjectText(deep), EReadError);
}
