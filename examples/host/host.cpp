// A window that embeds the designer control. Linking the package starts it
// (its export filter and layout classes are there before main runs).
#include <QApplication>

#include "Startup.h"
#include "db/DbStartup.h"
#include "designer/Vornak.h"
#include "engine/EngineStartup.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    StartPlatform();
    StartDb();
    StartEngine();
    TForm* window = New<TForm>(nullptr);
    window->SetCaption(QStringLiteral("Report designer"));
    window->SetClientWidth(640);
    window->SetClientHeight(480);
    TVornak* designer = New<TVornak>(window);
    designer->SetParent(window);
    designer->SetAlign(alClient);
    designer->NewReport();
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--check"))
        return designer->Report() ? 0 : 1;
    window->Show();
    const int result = app.exec();
    window->Free();
    return result;
}
