// Pictures as layouts and tables carry them: Picture.Data (the graphic's
// class name, then its data), and the bytes of a picture file of any
// format. What loads is drawn and written back, as a report and a save do.
#include "FuzzTargets.h"
#include "classes/Owned.h"
#include "graphics/Picture.h"
#include "rtl/Exceptions.h"

#include <QImage>
#include <QPainter>

namespace {

void DrawAndWrite(const TPicture& picture)
{
    TGraphic* graphic = picture.Graphic();
    if (!graphic || graphic->Empty())
        return;
    QImage canvas(32, 32, QImage::Format_ARGB32);
    QPainter painter(&canvas);
    graphic->Draw(painter, QRect(0, 0, 32, 32));
    (void)graphic->WriteData();
}

void ReadPictureData(TPicture& picture, const QByteArray& bytes)
{
    TDefinedProperties props;
    picture.DefineProperties(props);
    for (const TDefinedProperty& p : props)
        if (p.Name == u"Data")
            p.Read(TValue::Binary(bytes));
}

}  // namespace

int FuzzPicture(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzInput(data, size);
    TOwned<TPicture> picture(new TPicture());
    try {
        ReadPictureData(*picture, bytes);
        DrawAndWrite(*picture);
    } catch (const Exception&) {
    }
    try {
        picture->LoadFromBytes(bytes);
        DrawAndWrite(*picture);
    } catch (const Exception&) {
    }
    return 0;
}
