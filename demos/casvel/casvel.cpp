// Casvel: a designer window over the sample orders report.
#include "Unit1.h"
#include "Unit2.h"
#include "designer/DesignerStartup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    StartVornakUnits();
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->Run();
    return 0;
}
