// Tondrel: a launcher that previews and prints the sample animals report and
// edits it in a modal designer window.
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "designer/DesignerStartup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    StartVornakUnits();
    Application->Initialize();
    Application->CreateForm(Form1);
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->Run();
    return 0;
}
