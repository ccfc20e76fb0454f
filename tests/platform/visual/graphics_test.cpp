// Fonts, colours and the canvas.
#include "classes/Published.h"
#include "graphics/Graphics.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

namespace {

TColor ColorIn(const TValue& value)
{
    return VkStreamIn(value, static_cast<TColor*>(nullptr));
}

struct FontTest : ::testing::Test {
    TFont font;
    int changes = 0;
    void SetUp() override
    {
        font.OnChange = TNotifyEvent([this](TObject*) { ++changes; });
    }
};

}  // namespace

TEST_F(FontTest, NameIgnoresEmptyAndKeepsAtMost31Characters)
{
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    font.SetName(QString());
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(changes, 0);

    font.SetName(QString(40, QLatin1Char('A')));
    EXPECT_EQ(font.Name(), QString(31, QLatin1Char('A')));
    font.SetName(QString(35, QLatin1Char('A')));  // the same after truncation
    EXPECT_EQ(changes, 1);
}

TEST_F(FontTest, SizeAndHeightConvertAtTheFontsResolution)
{
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);

    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);

    // halves round to the even neighbour: 10.5 -> 10, 13.5 -> 14
    font.SetHeight(-14);
    EXPECT_EQ(font.Size(), 10);
    font.SetHeight(-18);
    EXPECT_EQ(font.Size(), 14);

    font.PixelsPerInch = 120;
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -17);
    EXPECT_EQ(font.Size(), 10);
}

TEST_F(FontTest, FormFacesResolveToMetricCompatibleFaces)
{
    font.SetName("Arial");
    font.SetSize(10);
    EXPECT_EQ(TextExtentOf(&font, "XXXXXXXXXX"), QSize(87, 15));

    font.SetName("MS Sans Serif");
    EXPECT_EQ(QFontInfo(font.ToQFont()).family(), "Liberation Sans");
    font.SetName("MS Serif");
    EXPECT_EQ(QFontInfo(font.ToQFont()).family(), "Liberation Serif");
    font.SetName("Courier New");
    EXPECT_EQ(QFontInfo(font.ToQFont()).family(), "Liberation Mono");
}

TEST_F(FontTest, PositiveHeightIsTheCellHeight)
{
    font.SetName("Arial");
    font.SetHeight(15);
    EXPECT_NEAR(QFontMetrics(font.ToQFont()).height(), 15, 1);
    font.SetHeight(-13);
    EXPECT_EQ(font.ToQFont().pixelSize(), 13);
}

TEST_F(FontTest, StyleReachesTheQtFont)
{
    font.SetStyle({fsBold, fsUnderline});
    const QFont q = font.ToQFont();
    EXPECT_TRUE(q.bold());
    EXPECT_TRUE(q.underline());
    EXPECT_FALSE(q.italic());
    EXPECT_FALSE(q.strikeOut());
}

// Fonts of one look share the Qt font made for it; a font whose look changes
// after it was asked for gets its new look, the others keep theirs.
TEST_F(FontTest, AskedAgainAfterAChangeGivesTheNewLook)
{
    TFont other;
    EXPECT_EQ(other.ToQFont(), font.ToQFont());
    other.SetStyle({fsItalic});
    EXPECT_TRUE(other.ToQFont().italic());
    other.SetHeight(-20);
    EXPECT_EQ(other.ToQFont().pixelSize(), 20);
    other.SetPitch(fpFixed);
    EXPECT_TRUE(other.ToQFont().fixedPitch());
    other.SetName("Courier New");
    EXPECT_EQ(QFontInfo(other.ToQFont()).family(), "Liberation Mono");

    const QFont mine = font.ToQFont();
    EXPECT_FALSE(mine.italic());
    EXPECT_FALSE(mine.fixedPitch());
    EXPECT_EQ(mine.pixelSize(), 11);
    EXPECT_EQ(QFontInfo(mine).family(), "Liberation Sans");
}

TEST_F(FontTest, PublishedPropertiesStreamSizeThroughHeightOnly)
{
    const TClass cls = TFont::ClassInfo();
    for (const char* name : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
        EXPECT_NE(cls->FindProperty(name), nullptr) << name;
    EXPECT_FALSE(cls->FindProperty("Size")->IsStored(&font));
    EXPECT_TRUE(cls->FindProperty("Pitch")->HoldsDefault(&font));

    cls->FindProperty("Height")->Set(&font, TValue::Integer(-16));
    EXPECT_EQ(font.Size(), 12);

    const TPropInfo* charset = cls->FindProperty("Charset");
    EXPECT_EQ(charset->Get(&font), TValue::Ident("DEFAULT_CHARSET"));
    charset->Set(&font, TValue::Ident("RUSSIAN_CHARSET"));
    EXPECT_EQ(font.Charset(), 204);
    charset->Set(&font, TValue::Integer(99));
    EXPECT_EQ(charset->Get(&font), TValue::Integer(99));
}

TEST(Colors, StreamAsIdentifierWhenNamedElseAsInteger)
{
    EXPECT_EQ(VkStreamOut(clWhite), TValue::Ident("clWhite"));
    EXPECT_EQ(VkStreamOut(clBtnFace), TValue::Ident("clBtnFace"));
    EXPECT_EQ(VkStreamOut(TColor(0x123456)), TValue::Integer(0x123456));

    EXPECT_EQ(ColorIn(TValue::Ident("clWindowText")), clWindowText);
    EXPECT_EQ(ColorIn(TValue::Ident("CLRED")), clRed);
    EXPECT_EQ(ColorIn(TValue::Integer(0x123456)), TColor(0x123456));
    EXPECT_EQ(ColorIn(TValue::Integer(qint64(0x8000000F))), clBtnFace);
    EXPECT_THROW(ColorIn(TValue::Ident("clNoSuchColour")), EReadError);
    EXPECT_THROW(ColorIn(TValue::String("clRed")), EReadError);
}

TEST(Colors, PublishedColourPropertyUsesTheColourForm)
{
    TPen pen;
    const TPropInfo* color = TPen::ClassInfo()->FindProperty("Color");
    ASSERT_NE(color, nullptr);
    EXPECT_TRUE(color->HoldsDefault(&pen));
    color->Set(&pen, TValue::Ident("clNavy"));
    EXPECT_EQ(pen.Color(), clNavy);
    color->Set(&pen, TValue::Integer(0x010203));
    EXPECT_EQ(color->Get(&pen), TValue::Integer(0x010203));
}

TEST(Colors, TextFormsAndQtColours)
{
    EXPECT_EQ(ColorToString(clWhite), "clWhite");
    EXPECT_EQ(ColorToString(TColor(0x123456)), "$00123456");
    TColor c = clBlack;
    ASSERT_TRUE(StringToColor("$00123456", c));
    EXPECT_EQ(c, TColor(0x123456));
    ASSERT_TRUE(StringToColor("clInfoBk", c));
    EXPECT_EQ(c, clInfoBk);
    EXPECT_FALSE(StringToColor("nonsense", c));

    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56)), TColor(0x563412));
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
    EXPECT_EQ(ColorToQColor(clBtnFace), QGuiApplication::palette().color(QPalette::Button));
}

TEST(Canvas, RectanglesCoverExactlyTheirRectsPixels)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Pen()->SetColor(clRed);
    canvas.Brush()->SetColor(clBlue);
    canvas.Rectangle(QRect(2, 2, 7, 7));  // 2..8, outline included
    painter.end();

    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::white));
}

TEST(Canvas, TextOutFillsItsBackgroundWithTheBrushUnlessClear)
{
    QImage image(100, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    TCanvas canvas(&painter);
    canvas.Brush()->SetColor(clYellow);
    canvas.TextOut(0, 0, "X");
    const QSize extent = canvas.TextExtent("X");
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(50, 0, "X");
    painter.end();

    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(image.pixelColor(extent.width(), 0), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(50, 0), QColor(Qt::white));
}
