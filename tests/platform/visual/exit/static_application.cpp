// A program that keeps its application in a static, as the fuzz programs do,
// ends it after the class library's own statics are gone: what the library
// hands the application to clean up on its way out must still be there.
// Under the sanitizers a use after free fails the run.
#include "Startup.h"
#include "graphics/Graphics.h"

#include <QApplication>

int main(int argc, char** argv)
{
    static QApplication app(argc, argv);
    StartPlatform();
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    return font.ToQFont().pixelSize() > 0 ? 0 : 1;
}
