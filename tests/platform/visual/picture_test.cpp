// Pictures: loading by extension, failures, Picture.Data and BMP depths;
// fonts, colours, pictures and dialogs through component streaming.
#include "classes/Published.h"
#include "classes/Streaming.h"
#include "dialogs/Dialogs.h"
#include "graphics/Picture.h"
#include "rtl/Exceptions.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};

// A BMP file of the given depth, 3 x 2 pixels, pixel (x, y) of palette
// colour (x + y) % 4 (two colours at 1 bit): written by hand, since Qt writes
// only some of the depths.
QByteArray HandMadeBmp(int bits)
{
    const int width = 3;
    const int height = 2;
    const int colours = bits == 1 ? 2 : bits <= 8 ? 4 : 0;
    const int stride = ((width * bits + 31) / 32) * 4;
    const int offset = 14 + 40 + colours * 4;
    QByteArray file(offset + stride * height, '\0');
    auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, file.data() + at); };
    auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, file.data() + at); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, file.size());
    put32(10, offset);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    put16(26, 1);
    put16(28, bits);
    put32(46, colours);
    for (int i = 0; i < colours; ++i)
        put32(54 + i * 4, palette[i] & 0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        char* row = file.data() + offset + (height - 1 - y) * stride;  // bottom-up
        for (int x = 0; x < width; ++x) {
            const int index = (x + y) % (bits == 1 ? 2 : 4);
            const QRgb c = palette[index];
            if (bits <= 8) {
                const int bit = x * bits;
                row[bit / 8] = char(row[bit / 8] | (index << (8 - bits - bit % 8)));
            } else {
                char* p = row + x * (bits / 8);
                p[0] = char(qBlue(c));
                p[1] = char(qGreen(c));
                p[2] = char(qRed(c));
                if (bits == 32)
                    p[3] = char(0xFF);
            }
        }
    }
    return file;
}

QByteArray Encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage TestImage()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.setPixelColor(1, 2, Qt::magenta);
    return image;
}

struct PictureTest : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<TPicture> picture = std::make_unique<TPicture>();

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    TDefinedProperty Data(TPicture& p)
    {
        TDefinedProperties props;
        p.DefineProperties(props);
        EXPECT_EQ(props.size(), 1u);
        EXPECT_EQ(props[0].Name, "Data");
        return props[0];
    }

    // Loads a 4 x 3 PNG, then expects the failing load to leave it as it was.
    void ExpectLoadFailsAndKeeps(const QString& path, const QString& messagePart)
    {
        picture->LoadFromFile(Write("kept.png", Encoded(TestImage(), "PNG")));
        TGraphic* before = picture->Graphic();
        try {
            picture->LoadFromFile(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const EInvalidGraphic& e) {
            EXPECT_TRUE(e.Message().contains(messagePart)) << e.Message().toStdString();
        }
        EXPECT_EQ(picture->Graphic(), before);
        EXPECT_EQ(picture->Width(), 4);
    }
};

}  // namespace

TEST_F(PictureTest, PicksTheGraphicClassByExtension)
{
    const QImage image = TestImage();
    const struct {
        const char* Name;
        const char* Format;
        const char* Class;
    } cases[] = {{"a.bmp", "BMP", "TBitmap"},     {"a.PNG", "PNG", "TPngImage"}, {"a.jpg", "JPG", "TJPEGImage"},
                 {"a.jpeg", "JPG", "TJPEGImage"}, {"a.ico", "ICO", "TIcon"}};
    for (const auto& c : cases) {
        picture->LoadFromFile(Write(c.Name, Encoded(image, c.Format)));
        ASSERT_NE(picture->Graphic(), nullptr) << c.Name;
        EXPECT_EQ(picture->Graphic()->ClassName(), c.Class) << c.Name;
        EXPECT_EQ(picture->Width(), 4) << c.Name;
    }
    EXPECT_EQ(GraphicClassForExtension(".GIF"), TGIFImage::ClassInfo());
    EXPECT_EQ(GraphicClassForExtension("tif"), nullptr);
    EXPECT_TRUE(GraphicFileFilter().startsWith("All ("));
}

TEST_F(PictureTest, FailedLoadsRaiseAndKeepThePicture)
{
    ExpectLoadFailsAndKeeps(Write("notes.txt", "hello"), ".txt");
    ExpectLoadFailsAndKeeps(dir.filePath("missing.bmp"), "missing.bmp");
    ExpectLoadFailsAndKeeps(Write("broken.png", "not a png at all"), "broken.png");
    ExpectLoadFailsAndKeeps(Write("png-named.bmp", Encoded(TestImage(), "PNG")), "png-named.bmp");
}

TEST_F(PictureTest, BitmapDataIsClassNameThenCountedBmpBytes)
{
    const QByteArray bmp = HandMadeBmp(24);
    picture->LoadFromFile(Write("a.bmp", bmp));
    TDefinedProperty data = Data(*picture);
    ASSERT_TRUE(data.HasData());
    const TValue value = data.Write();
    ASSERT_EQ(value.Type, TValueType::Binary);
    EXPECT_EQ(value.Bin.left(8), QByteArray("\x07TBitmap"));
    EXPECT_EQ(qFromLittleEndian<quint32>(value.Bin.constData() + 8), quint32(bmp.size()));
    EXPECT_EQ(value.Bin.mid(12), bmp);

    TPicture copy;
    Data(copy).Read(value);
    ASSERT_NE(dynamic_cast<TBitmap*>(copy.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TBitmap*>(copy.Graphic())->Image(), static_cast<TBitmap*>(picture->Graphic())->Image());
    EXPECT_EQ(Data(copy).Write(), value);
}

TEST_F(PictureTest, PngDataIsClassNameThenTheFileAsItIs)
{
    const QByteArray png = Encoded(TestImage(), "PNG");
    picture->LoadFromFile(Write("a.png", png));
    const TValue value = Data(*picture).Write();
    EXPECT_EQ(value.Bin, QByteArray("\x09TPngImage") + png);

    TPicture copy;
    Data(copy).Read(value);
    ASSERT_NE(dynamic_cast<TPngImage*>(copy.Graphic()), nullptr);
    EXPECT_EQ(static_cast<TPngImage*>(copy.Graphic())->Image().pixelColor(1, 2), QColor(Qt::magenta));
}

TEST_F(PictureTest, BadDataRaisesAndKeepsThePicture)
{
    picture->LoadFromFile(Write("a.png", Encoded(TestImage(), "PNG")));
    TDefinedProperty data = Data(*picture);
    const QByteArray truncated = QByteArray("\x07TBitmap") + QByteArray("\xFF\x00\x00\x00", 4) + "BM";
    for (const QByteArray& bad : {QByteArray("\x08TUnknown"), truncated, QByteArray("\x09TPngImagegarbage"),
                                  QByteArray()}) {
        EXPECT_THROW(data.Read(TValue::Binary(bad)), EInvalidGraphic);
        EXPECT_EQ(picture->Graphic()->ClassName(), "TPngImage");
    }
}

TEST_F(PictureTest, BitmapsOfEveryDepthRead)
{
    for (int bits : {1, 4, 8, 24, 32}) {
        TBitmap bitmap;
        bitmap.LoadFromBytes(HandMadeBmp(bits));
        ASSERT_EQ(bitmap.Width(), 3) << bits;
        ASSERT_EQ(bitmap.Height(), 2) << bits;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(bitmap.Image().pixel(x, y) | 0xFF000000, palette[(x + y) % (bits == 1 ? 2 : 4)])
                    << bits << " bits at " << x << "," << y;
        EXPECT_EQ(bitmap.SaveToBytes(), HandMadeBmp(bits)) << "kept as read";
    }
}

TEST_F(PictureTest, BitmapWritesBmpOfAnImageSetInCode)
{
    TBitmap bitmap;
    bitmap.SetImage(TestImage());
    const QByteArray bytes = bitmap.SaveToBytes();
    EXPECT_TRUE(bytes.startsWith("BM"));
    TBitmap back;
    back.LoadFromBytes(bytes);
    EXPECT_EQ(back.Image().pixelColor(1, 2), QColor(Qt::magenta));

    // a picture turned into a bitmap keeps its image
    picture->LoadFromFile(Write("a.png", Encoded(TestImage(), "PNG")));
    EXPECT_TRUE(picture->Bitmap()->SaveToBytes().startsWith("BM"));
    EXPECT_EQ(picture->Width(), 4);
}

TEST_F(PictureTest, LoadFromBytesRecognisesTheFormat)
{
    picture->LoadFromBytes(Encoded(TestImage(), "PNG"));
    EXPECT_EQ(picture->Graphic()->ClassName(), "TPngImage");
    picture->LoadFromBytes(HandMadeBmp(8));
    EXPECT_EQ(picture->Graphic()->ClassName(), "TBitmap");
    EXPECT_THROW(picture->LoadFromBytes("nothing"), EInvalidGraphic);
    EXPECT_EQ(picture->Graphic()->ClassName(), "TBitmap");
}

namespace {

class TGraphicsHolder : public TComponent {
    VK_CLASS(TGraphicsHolder, TComponent)
public:
    void Create(TComponent* owner) override
    {
        inherited::Create(owner);
        font_ = new TFont();
        picture_ = new TPicture();
    }
    void Destroy() override
    {
        FreeAndNil(font_);
        FreeAndNil(picture_);
        inherited::Destroy();
    }
    TFont* Font() const { return font_; }
    TPicture* Picture() const { return picture_; }
    TColor Color = clBtnFace;
    TOpenDialog* Dialog = nullptr;

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }

private:
    TFont* font_ = nullptr;
    TPicture* picture_ = nullptr;
};

}  // namespace

VK_PUBLISHED(TGraphicsHolder)
{
    c.Prop("Color", &TGraphicsHolder::Color).Default(clBtnFace);
    c.Prop("Font", &TGraphicsHolder::Font);
    c.Prop("Picture", &TGraphicsHolder::Picture);
    c.Field("Dialog", &TGraphicsHolder::Dialog);
}

TEST(GraphicsStreaming, FontColourPictureAndDialogRoundTrip)
{
    RegisterDialogClasses();
    TGraphicsHolder* holder = New<TGraphicsHolder>(nullptr);
    holder->SetName("Holder");
    holder->Color = TColor(0x123456);
    holder->Font()->SetName("Arial");
    holder->Font()->SetSize(12);
    holder->Font()->SetColor(clRed);
    holder->Font()->SetStyle({fsBold});
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    holder->Picture()->Bitmap()->SetImage(image);
    TOpenDialog* dialog = New<TOpenDialog>(holder);
    dialog->SetName("Dialog");
    dialog->Filter = "Report|*.QR";
    dialog->DefaultExt = "QR";

    const QString text = WriteComponentText(holder);
    for (const char* line : {"Color = 1193046", "Font.Charset = DEFAULT_CHARSET", "Font.Color = clRed",
                             "Font.Height = -16", "Font.Name = 'Arial'", "Font.Style = [fsBold]",
                             "Picture.Data = {", "object Dialog: TOpenDialog", "Filter = 'Report|*.QR'"})
        EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("Font.Size")) << text.toStdString();
    EXPECT_FALSE(text.contains("Options")) << text.toStdString();

    TGraphicsHolder* copy = New<TGraphicsHolder>(nullptr);
    ReadComponentText(text, copy);
    EXPECT_EQ(copy->Color, TColor(0x123456));
    EXPECT_EQ(copy->Font()->Name(), "Arial");
    EXPECT_EQ(copy->Font()->Size(), 12);
    EXPECT_EQ(copy->Font()->Color(), clRed);
    ASSERT_NE(dynamic_cast<TBitmap*>(copy->Picture()->Graphic()), nullptr);
    EXPECT_EQ(copy->Picture()->Bitmap()->Image().pixelColor(1, 1), QColor(Qt::cyan));
    ASSERT_NE(copy->Dialog, nullptr);
    EXPECT_EQ(copy->Dialog->DefaultExt, "QR");
    EXPECT_TRUE(copy->Dialog->Options.Contains(ofHideReadOnly));
    EXPECT_EQ(WriteComponentText(copy), text);
    copy->Free();
    holder->Free();
}
