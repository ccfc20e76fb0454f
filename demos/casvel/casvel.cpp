// Casvel: a designer window over the sample orders report.
#include "Unit1.h"
#include "Unit2.h"
#include "Startup.h"
#include "db/DbStartup.h"
#include "designer/DesignerStartup.h"
#include "engine/EngineStartup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    StartPlatform();
    StartDb();
    StartEngine();
    StartDesigner();
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->Run();
    return 0;
}
