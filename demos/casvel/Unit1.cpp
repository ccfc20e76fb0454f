#include "Unit1.h"
#include "Unit2.h"
#include "classes/Published.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"

TForm1* Form1 = nullptr;

const QByteArray& Unit1FormResource();

VK_PUBLISHED(TForm1)
{
    c.Field("Vornak1", &TForm1::Vornak1);
    c.Field("Panel1", &TForm1::Panel1);
    c.Field("Panel2", &TForm1::Panel2);
    c.Field("SpeedButton1", &TForm1::SpeedButton1);
    c.Field("SpeedButton2", &TForm1::SpeedButton2);
    c.Field("SpeedButton3", &TForm1::SpeedButton3);
    c.Field("SpeedButton4", &TForm1::SpeedButton4);
    c.Field("SpeedButton5", &TForm1::SpeedButton5);
    c.Field("SpeedButton6", &TForm1::SpeedButton6);
    c.Field("SpeedButton8", &TForm1::SpeedButton8);
    c.Field("SpeedButton9", &TForm1::SpeedButton9);
    c.Field("SpeedButton7", &TForm1::SpeedButton7);
    c.Field("SpeedButton10", &TForm1::SpeedButton10);
    c.Field("Edit1", &TForm1::Edit1);
    c.Field("Panel3", &TForm1::Panel3);
    c.Field("SpeedButton11", &TForm1::SpeedButton11);
    c.Field("SpeedButton12", &TForm1::SpeedButton12);
    c.Field("SpeedButton13", &TForm1::SpeedButton13);
    c.Method("FormCreate", &TForm1::FormCreate);
    c.Method("FormResize", &TForm1::FormResize);
    c.Method("SpeedButton1Click", &TForm1::SpeedButton1Click);
    c.Method("SpeedButton2Click", &TForm1::SpeedButton2Click);
    c.Method("SpeedButton3Click", &TForm1::SpeedButton3Click);
    c.Method("SpeedButton4Click", &TForm1::SpeedButton4Click);
    c.Method("SpeedButton5Click", &TForm1::SpeedButton5Click);
    c.Method("SpeedButton6Click", &TForm1::SpeedButton6Click);
    c.Method("SpeedButton7Click", &TForm1::SpeedButton7Click);
    c.Method("SpeedButton8Click", &TForm1::SpeedButton8Click);
    c.Method("SpeedButton9Click", &TForm1::SpeedButton9Click);
    c.Method("SpeedButton10Click", &TForm1::SpeedButton10Click);
    c.Method("Vornak1SelectComponent", &TForm1::Vornak1SelectComponent);
    c.Method("Edit1Change", &TForm1::Edit1Change);
}

void TForm1::Create(TComponent* owner)
{
    TForm::Create(owner);
    InitFromResource(Unit1FormResource());
}

void TForm1::FormCreate(TObject*)
{
    Vornak1->SetBase(Panel1);
    Vornak1->SetLabel(Panel2);
    Panel2->Hide();
    Vornak1->SetAlign(alNone);
}

void TForm1::FormResize(TObject* Sender)
{
    Vornak1->SetAlign(alClient);
    Vornak1->res(Sender);
    Vornak1->SetAlign(alNone);
}

// Save, preview, print and printer setup need a report; without one they
// return silently.
void TForm1::SpeedButton1Click(TObject*) { Vornak1->OpenReport(); }

void TForm1::SpeedButton2Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->SaveReport();
}

void TForm1::SpeedButton3Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->Preview();
}

void TForm1::SpeedButton4Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->Print();
}

void TForm1::SpeedButton5Click(TObject*)
{
    if (Vornak1->Report())
        Vornak1->Report()->PrinterSetup();
}

void TForm1::SpeedButton6Click(TObject*) { Vornak1->NewLabel(); }
void TForm1::SpeedButton7Click(TObject*) { Vornak1->NewMemo(); }
void TForm1::SpeedButton8Click(TObject*) { Vornak1->NewImage(); }
void TForm1::SpeedButton9Click(TObject*) { Vornak1->Newsysdata(); }

// Handing over the form that already is the report form would free its own
// report and table: the button does nothing then.
void TForm1::SpeedButton10Click(TObject*)
{
    if (ReportForm != Form2)
        Vornak1->OpenQrform(Form2);
}

void TForm1::Vornak1SelectComponent(TObject*)
{
    if (auto* label = dynamic_cast<TQRLabel*>(Vornak1->Active()))
        Edit1->SetText(label->Caption());
}

void TForm1::Edit1Change(TObject*)
{
    if (!Vornak1->Active())
        return;
    As<TQRLabel>(Vornak1->Active())->SetCaption(Edit1->Text());
}
