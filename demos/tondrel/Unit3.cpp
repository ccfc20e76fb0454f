#include "Unit3.h"
#include "classes/Published.h"
#include "engine/Designer.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "rtl/SysUtils.h"

#include <algorithm>

TForm3* Form3 = nullptr;

const QByteArray& Unit3FormResource();

VK_PUBLISHED(TForm3)
{
    c.Field("Vornak1", &TForm3::Vornak1);
    c.Field("Panel1", &TForm3::Panel1);
    c.Field("SpeedButton2", &TForm3::SpeedButton2);
    c.Field("SpeedButton5", &TForm3::SpeedButton5);
    c.Field("SpeedButton6", &TForm3::SpeedButton6);
    c.Field("SpeedButton7", &TForm3::SpeedButton7);
    c.Field("SpeedButton10", &TForm3::SpeedButton10);
    c.Field("SpeedButton9", &TForm3::SpeedButton9);
    c.Field("SpeedButton11", &TForm3::SpeedButton11);
    c.Field("SpeedButton13", &TForm3::SpeedButton13);
    c.Field("SpeedButton14", &TForm3::SpeedButton14);
    c.Field("SpeedButton15", &TForm3::SpeedButton15);
    c.Field("SpeedButton19", &TForm3::SpeedButton19);
    c.Field("SpeedButton1", &TForm3::SpeedButton1);
    c.Field("SpeedButton3", &TForm3::SpeedButton3);
    c.Field("OpenPictureDialog1", &TForm3::OpenPictureDialog1);
    c.Field("OpenDialog1", &TForm3::OpenDialog1);
    c.Field("SaveDialog1", &TForm3::SaveDialog1);
    c.Method("FormCreate", &TForm3::FormCreate);
    c.Method("FormResize", &TForm3::FormResize);
    c.Method("FormActivate", &TForm3::FormActivate);
    c.Method("SpeedButton1Click", &TForm3::SpeedButton1Click);
    c.Method("SpeedButton2Click", &TForm3::SpeedButton2Click);
    c.Method("SpeedButton3Click", &TForm3::SpeedButton3Click);
    c.Method("SpeedButton5Click", &TForm3::SpeedButton5Click);
    c.Method("SpeedButton6Click", &TForm3::SpeedButton6Click);
    c.Method("SpeedButton7Click", &TForm3::SpeedButton7Click);
    c.Method("SpeedButton9Click", &TForm3::SpeedButton9Click);
    c.Method("SpeedButton10Click", &TForm3::SpeedButton10Click);
    c.Method("SpeedButton11Click", &TForm3::SpeedButton11Click);
    c.Method("SpeedButton13Click", &TForm3::SpeedButton13Click);
    c.Method("SpeedButton14Click", &TForm3::SpeedButton14Click);
    c.Method("SpeedButton15Click", &TForm3::SpeedButton15Click);
    c.Method("SpeedButton19Click", &TForm3::SpeedButton19Click);
}

void TForm3::Create(TComponent* owner)
{
    TForm::Create(owner);
    InitFromResource(Unit3FormResource());
}

void TForm3::FormCreate(TObject*)
{
    Vornak1->SetBase(Panel1);
    Vornak1->SetAlign(alNone);
}

void TForm3::FormResize(TObject* Sender)
{
    Vornak1->SetAlign(alClient);
    Vornak1->SetAlign(alNone);
    Vornak1->res(Sender);
}

// Activations come again after every dialog and preview; only a form that is
// not the report form yet is handed over, so its report and table survive.
void TForm3::FormActivate(TObject*)
{
    if (QrForm && ReportForm != QrForm)
        Vornak1->OpenQrform(QrForm);
}

void TForm3::SpeedButton1Click(TObject*)
{
    if (OpenDialog1->Execute())
        Vornak1->OpenReportFile(OpenDialog1->FileName);
}

// The buttons below act on the designer's report and do nothing without one.
void TForm3::SpeedButton3Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->SaveReport();
}

void TForm3::SpeedButton2Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->Preview();
}

void TForm3::SpeedButton5Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->Print();
}

void TForm3::SpeedButton6Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->PrinterSetup();
}

void TForm3::SpeedButton7Click(TObject*) { Vornak1->NewLabel(); }
void TForm3::SpeedButton10Click(TObject*) { Vornak1->NewMemo(); }
void TForm3::SpeedButton9Click(TObject*) { Vornak1->NewImage(); }

void TForm3::SpeedButton19Click(TObject*) { Vornak1->Designer->AddComponent(TQRShape::ClassInfo()); }

void TForm3::SpeedButton11Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->ReportLayout();
}

int TForm3::FitZoom(int extent, int reportExtent) { return Round(double(extent) / reportExtent * 95.0); }

void TForm3::SpeedButton13Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->SetZoom(100);
}

void TForm3::SpeedButton15Click(TObject*)
{
    TQuickRep* report = Vornak1->Report();
    if (!report)
        return;
    report->SetZoom(100);
    report->SetZoom(FitZoom(Vornak1->Width(), report->Width()));
}

void TForm3::SpeedButton14Click(TObject*)
{
    TQuickRep* report = Vornak1->Report();
    if (!report)
        return;
    report->SetZoom(100);
    const int w = FitZoom(Vornak1->Width(), report->Width());
    const int h = FitZoom(Vornak1->ReportPanel->Height(), report->Height());
    report->SetZoom(std::min(w, h));
}
