#include "Picture.h"
#include "classes/Owned.h"
#include "classes/Published.h"
#include "rtl/Exceptions.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

namespace {

struct TGraphicKind {
    TClass (*Class)();
    const char* Description;
    QStringList Extensions;
};

const std::vector<TGraphicKind>& GraphicKinds()
{
    static const std::vector<TGraphicKind> kinds = {
        {&TBitmap::ClassInfo, "Bitmaps", {"bmp"}},
        {&TIcon::ClassInfo, "Icons", {"ico"}},
        {&TPngImage::ClassInfo, "PNG images", {"png"}},
        {&TJPEGImage::ClassInfo, "JPEG images", {"jpg", "jpeg"}},
        {&TGIFImage::ClassInfo, "GIF images", {"gif"}},
    };
    return kinds;
}

QString Patterns(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e;
    return patterns.join(QLatin1Char(';'));
}

TGraphic* NewGraphic(TClass cls)
{
    return As<TGraphic>(cls->NewInstance());
}

}  // namespace

TClass GraphicClassForExtension(const QString& extension)
{
    const QString ext = (extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension).toLower();
    for (const TGraphicKind& k : GraphicKinds())
        if (k.Extensions.contains(ext))
            return k.Class();
    return nullptr;
}

TClass GraphicClassNamed(const QString& name)
{
    for (const TGraphicKind& k : GraphicKinds())
        if (k.Class()->Name().compare(name, Qt::CaseInsensitive) == 0)
            return k.Class();
    return nullptr;
}

QString GraphicFileFilter()
{
    QStringList all;
    QStringList items;
    for (const TGraphicKind& k : GraphicKinds()) {
        all << k.Extensions;
        const QString patterns = Patterns(k.Extensions);
        items << QStringLiteral("%1 (%2)|%2").arg(QLatin1String(k.Description), patterns);
    }
    items.prepend(QStringLiteral("All (%1)|%1").arg(Patterns(all)));
    return items.join(QLatin1Char('|'));
}

// ---------------------------------------------------------------- graphics

VK_PUBLISHED(TGraphic) {}

void TGraphic::Changed()
{
    OnChange(this);
}

void TGraphic::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic(QStringLiteral("Cannot open picture file \"%1\": %2").arg(fileName, file.errorString()));
    try {
        LoadFromBytes(file.readAll());
    } catch (const EInvalidGraphic& e) {
        throw EInvalidGraphic(QStringLiteral("Cannot load picture file \"%1\": %2").arg(fileName, e.Message()));
    }
}

void TGraphic::SaveToFile(const QString& fileName) const
{
    QFile file(fileName);
    const QByteArray bytes = SaveToBytes();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw EFCreateError(
            Format(QLatin1String(rtlstr::SFCreateError), {fileName, file.errorString()}));
}

VK_PUBLISHED(TRasterGraphic) {}

void TRasterGraphic::Draw(QPainter& painter, const QRect& rect) const
{
    painter.drawImage(rect, image_);
}

void TRasterGraphic::LoadFromBytes(const QByteArray& bytes)
{
    const QImage image = QImage::fromData(bytes, Format());
    if (image.isNull())
        throw EInvalidGraphic(QStringLiteral("not a valid %1 image").arg(QLatin1String(Format())));
    image_ = image;
    original_ = bytes;
    Changed();
}

// The bytes read are written back as they were, so that a picture keeps its
// exact file (bit depth, palette, compression) through a stream.
QByteArray TRasterGraphic::SaveToBytes() const
{
    if (!original_.isEmpty() || image_.isNull())
        return original_;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, Format());
    if (!writer.write(image_))
        throw EInvalidGraphic(QStringLiteral("Cannot write the picture as %1: %2")
                                  .arg(QLatin1String(Format()), writer.errorString()));
    return bytes;
}

void TRasterGraphic::SetImage(const QImage& image)
{
    image_ = image;
    original_.clear();
    Changed();
}

void TRasterGraphic::Assign(const TPersistent* source)
{
    auto* raster = dynamic_cast<const TRasterGraphic*>(source);
    if (!raster) {
        inherited::Assign(source);
        return;
    }
    image_ = raster->image_;
    // Another format's file bytes are not ours: re-encode on save.
    original_ = raster->ClassType() == ClassType() ? raster->original_ : QByteArray();
    Changed();
}

VK_PUBLISHED(TBitmap) {}

QByteArray TBitmap::WriteData() const
{
    const QByteArray bytes = SaveToBytes();
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(bytes.size()), data.data());
    return data + bytes;
}

void TBitmap::ReadData(const QByteArray& data)
{
    if (data.size() < 4)
        throw EInvalidGraphic(QStringLiteral("Bitmap data is truncated"));
    const quint32 size = qFromLittleEndian<quint32>(data.constData());
    if (size > static_cast<quint32>(data.size() - 4))
        throw EInvalidGraphic(QStringLiteral("Bitmap data is truncated"));
    LoadFromBytes(data.mid(4, size));
}

VK_PUBLISHED(TIcon) {}
VK_PUBLISHED(TPngImage) {}
VK_PUBLISHED(TJPEGImage) {}
VK_PUBLISHED(TGIFImage) {}

// ---------------------------------------------------------------- picture

VK_PUBLISHED(TPicture) {}

void TPicture::Changed()
{
    OnChange(this);
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    TOwned<TGraphic> copy;
    if (graphic) {
        copy.reset(NewGraphic(graphic->ClassType()));
        copy->Assign(graphic);
    }
    graphic_ = std::move(copy);
    Changed();
}

TBitmap* TPicture::Bitmap()
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get()))
        return bitmap;
    TOwned<TBitmap> bitmap(new TBitmap());
    if (graphic_)
        bitmap->Assign(graphic_.get());  // keeps the image of a raster graphic
    TBitmap* result = bitmap.get();
    graphic_ = std::move(bitmap);
    Changed();
    return result;
}

// The picture takes the new graphic only once it has loaded: a failure
// leaves the picture as it was.
void TPicture::Replace(TClass cls, const std::function<void(TGraphic*)>& load)
{
    TOwned<TGraphic> graphic(NewGraphic(cls));
    load(graphic.get());
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::LoadFromFile(const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix();
    TClass cls = GraphicClassForExtension(extension);
    if (!cls)
        throw EInvalidGraphic(
            QStringLiteral("Unknown picture file extension (.%1) of \"%2\"").arg(extension, fileName));
    Replace(cls, [&](TGraphic* graphic) { graphic->LoadFromFile(fileName); });
}

void TPicture::SaveToFile(const QString& fileName) const
{
    if (graphic_)
        graphic_->SaveToFile(fileName);
}

void TPicture::LoadFromBytes(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    TClass cls = GraphicClassForExtension(QString::fromLatin1(QImageReader::imageFormat(&buffer)));
    if (!cls)
        throw EInvalidGraphic(QStringLiteral("Unknown picture format"));
    Replace(cls, [&](TGraphic* graphic) { graphic->LoadFromBytes(bytes); });
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source)
        SetGraphic(nullptr);
    else if (auto* picture = dynamic_cast<const TPicture*>(source))
        SetGraphic(picture->Graphic());
    else if (auto* graphic = dynamic_cast<const TGraphic*>(source))
        SetGraphic(graphic);
    else
        inherited::Assign(source);
}

void TGraphic::DefineProperties(TDefinedProperties& props)
{
    TDefinedProperty data;
    data.Name = QStringLiteral("Data");
    data.HasData = [this] { return !Empty(); };
    data.Write = [this] { return TValue::Binary(WriteData()); };
    data.Read = [this](const TValue& value) {
        if (value.Type != TValueType::Binary)
            throw EInvalidGraphic(QStringLiteral("Graphic data is not binary"));
        ReadData(value.Bin);
    };
    props.push_back(std::move(data));
}

void TPicture::DefineProperties(TDefinedProperties& props)
{
    TDefinedProperty data;
    data.Name = QStringLiteral("Data");
    data.HasData = [this] { return graphic_ && !graphic_->Empty(); };
    data.Write = [this] {
        const QByteArray name = graphic_->ClassName().toLatin1();
        return TValue::Binary(char(name.size()) + name + graphic_->WriteData());
    };
    data.Read = [this](const TValue& value) {
        const QByteArray& bytes = value.Bin;
        const int nameLength = bytes.isEmpty() ? 0 : static_cast<quint8>(bytes[0]);
        TClass cls = nameLength < bytes.size() ? GraphicClassNamed(QString::fromLatin1(bytes.mid(1, nameLength)))
                                               : nullptr;
        if (value.Type != TValueType::Binary || !cls)
            throw EInvalidGraphic(QStringLiteral("Picture data of an unknown graphic class"));
        Replace(cls, [&](TGraphic* graphic) { graphic->ReadData(bytes.mid(1 + nameLength)); });
    };
    props.push_back(std::move(data));
}
