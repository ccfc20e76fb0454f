#include "Unit2.h"
#include "classes/Published.h"

TForm2* Form2 = nullptr;

const QByteArray& Unit2FormResource();

VK_PUBLISHED(TForm2)
{
    c.Field("QuickRep1", &TForm2::QuickRep1);
    c.Field("TitleBand1", &TForm2::TitleBand1);
    c.Field("QRLabel2", &TForm2::QRLabel2);
    c.Field("PageHeaderBand1", &TForm2::PageHeaderBand1);
    c.Field("QRLabel1", &TForm2::QRLabel1);
    c.Field("SummaryBand1", &TForm2::SummaryBand1);
    c.Field("DetailBand1", &TForm2::DetailBand1);
    c.Field("QRImage1", &TForm2::QRImage1);
    c.Field("QRDBImage1", &TForm2::QRDBImage1);
    c.Field("QRDBText1", &TForm2::QRDBText1);
    c.Field("QRDBText2", &TForm2::QRDBText2);
    c.Field("QRDBText3", &TForm2::QRDBText3);
    c.Field("Table1", &TForm2::Table1);
}

void TForm2::Create(TComponent* owner)
{
    TForm::Create(owner);
    InitFromResource(Unit2FormResource());
}
