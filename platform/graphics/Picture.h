#pragma once
// Pictures: a graphic (bitmap, icon, PNG, JPEG, GIF) held by a TPicture that
// streams as Picture.Data.
//
// Picture.Data is a binary value: the graphic's class name as a short string
// (one length byte, then the Latin-1 name, say "TBitmap"), then the graphic's
// data. A bitmap's data is a 32-bit little-endian byte count followed by that
// many bytes of a BMP file; every other class's data is its file's bytes as
// they are (PNG, JPEG, GIF or ICO), up to the end of the value.
#include "classes/Owned.h"
#include "graphics/Graphics.h"

#include <QImage>

class TGraphic : public TPersistent {
    VK_CLASS(TGraphic, TPersistent)
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void Draw(QPainter& painter, const QRect& rect) const = 0;
    virtual void LoadFromBytes(const QByteArray& bytes) = 0;  // raises EInvalidGraphic
    virtual QByteArray SaveToBytes() const = 0;
    void LoadFromFile(const QString& fileName);  // raises EInvalidGraphic
    void SaveToFile(const QString& fileName) const;
    // The graphic's part of Picture.Data; raises EInvalidGraphic on bad data.
    virtual QByteArray WriteData() const { return SaveToBytes(); }
    virtual void ReadData(const QByteArray& data) { LoadFromBytes(data); }
    // A graphic held directly by a property (a button's Glyph) streams its
    // own part as Data.
    void DefineProperties(TDefinedProperties& props) override;
    TNotifyEvent OnChange;

protected:
    void Changed();
};

// A raster image in one of the formats Qt reads; the subclasses name the format.
class TRasterGraphic : public TGraphic {
    VK_CLASS(TRasterGraphic, TGraphic)
public:
    bool Empty() const override { return image_.isNull(); }
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    void Draw(QPainter& painter, const QRect& rect) const override;
    void LoadFromBytes(const QByteArray& bytes) override;
    QByteArray SaveToBytes() const override;
    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    void Assign(const TPersistent* source) override;

protected:
    virtual const char* Format() const = 0;

private:
    QImage image_;
    QByteArray original_;  // the bytes read, written back unchanged
};

// BMP files of 1, 4, 8, 24 and 32 bits per pixel.
class TBitmap : public TRasterGraphic {
    VK_CLASS(TBitmap, TRasterGraphic)
public:
    QByteArray WriteData() const override;  // with the byte count in front
    void ReadData(const QByteArray& data) override;

protected:
    const char* Format() const override { return "BMP"; }
};
class TIcon : public TRasterGraphic {
    VK_CLASS(TIcon, TRasterGraphic)
protected:
    const char* Format() const override { return "ICO"; }
};
class TPngImage : public TRasterGraphic {
    VK_CLASS(TPngImage, TRasterGraphic)
protected:
    const char* Format() const override { return "PNG"; }
};
class TJPEGImage : public TRasterGraphic {
    VK_CLASS(TJPEGImage, TRasterGraphic)
protected:
    const char* Format() const override { return "JPG"; }
};
class TGIFImage : public TRasterGraphic {
    VK_CLASS(TGIFImage, TRasterGraphic)
protected:
    const char* Format() const override { return "GIF"; }
};

class TPicture : public TPersistent {
    VK_CLASS(TPicture, TPersistent)
public:
    TGraphic* Graphic() const { return graphic_.get(); }
    void SetGraphic(const TGraphic* graphic);  // copies the graphic
    TBitmap* Bitmap();                         // the graphic as a bitmap (replaces another kind)
    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }
    // Picks the graphic class by extension; on failure raises EInvalidGraphic
    // and keeps the picture as it was.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Loads a picture from the bytes of a file of any supported format.
    void LoadFromBytes(const QByteArray& bytes);
    void Assign(const TPersistent* source) override;
    void DefineProperties(TDefinedProperties& props) override;
    TNotifyEvent OnChange;

private:
    void Changed();
    void Replace(TClass cls, const std::function<void(TGraphic*)>& load);
    TOwned<TGraphic> graphic_;
};

// Graphic classes by file extension ("bmp", "png" ...) and by class name.
TClass GraphicClassForExtension(const QString& extension);
TClass GraphicClassNamed(const QString& name);
QString GraphicFileFilter();  // "All (*.bmp;*.png;...)|...|Bitmaps (*.bmp)|*.bmp|..."
