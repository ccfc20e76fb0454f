#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "classes/Published.h"

TForm1* Form1 = nullptr;

const QByteArray& Unit1FormResource();

VK_PUBLISHED(TForm1)
{
    c.Field("Button1", &TForm1::Button1);
    c.Field("Button2", &TForm1::Button2);
    c.Field("Button3", &TForm1::Button3);
    c.Method("Button1Click", &TForm1::Button1Click);
    c.Method("Button2Click", &TForm1::Button2Click);
    c.Method("Button3Click", &TForm1::Button3Click);
}

void TForm1::Create(TComponent* owner)
{
    TForm::Create(owner);
    InitFromResource(Unit1FormResource());
}

// The sample report may be gone (an open in the designer replaced the form's
// content): its published field is nil then, and the buttons do nothing.
void TForm1::Button1Click(TObject*)
{
    if (Form2 && Form2->QuickRep1)
        Form2->QuickRep1->Preview();
}

void TForm1::Button2Click(TObject*)
{
    if (Form2 && Form2->QuickRep1)
        Form2->QuickRep1->Print();
}

void TForm1::Button3Click(TObject*)
{
    Form3->QrForm = Form2;
    Form3->ShowModal();
}
