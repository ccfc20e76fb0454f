#include "Unit2.h"
#include "classes/Published.h"

TForm2* Form2 = nullptr;

const QByteArray& Unit2FormResource();

VK_PUBLISHED(TForm2)
{
    c.Field("QuickRep1", &TForm2::QuickRep1);
    c.Field("TitleBand1", &TForm2::TitleBand1);
    c.Field("QRLabel1", &TForm2::QRLabel1);
    c.Field("ColumnHeaderBand1", &TForm2::ColumnHeaderBand1);
    c.Field("QRLabel2", &TForm2::QRLabel2);
    c.Field("QRLabel3", &TForm2::QRLabel3);
    c.Field("QRLabel4", &TForm2::QRLabel4);
    c.Field("QRLabel5", &TForm2::QRLabel5);
    c.Field("QRLabel6", &TForm2::QRLabel6);
    c.Field("QRLabel7", &TForm2::QRLabel7);
    c.Field("QRLabel8", &TForm2::QRLabel8);
    c.Field("QRLabel9", &TForm2::QRLabel9);
    c.Field("DetailBand1", &TForm2::DetailBand1);
    c.Field("QRExpr1", &TForm2::QRExpr1);
    c.Field("QRExpr2", &TForm2::QRExpr2);
    c.Field("QRExpr3", &TForm2::QRExpr3);
    c.Field("QRExpr4", &TForm2::QRExpr4);
    c.Field("QRExpr5", &TForm2::QRExpr5);
    c.Field("QRExpr6", &TForm2::QRExpr6);
    c.Field("QRExpr7", &TForm2::QRExpr7);
    c.Field("QRExpr8", &TForm2::QRExpr8);
    c.Field("PageFooterBand1", &TForm2::PageFooterBand1);
    c.Field("QRSysData1", &TForm2::QRSysData1);
    c.Field("Table1", &TForm2::Table1);
}

void TForm2::Create(TComponent* owner)
{
    TForm::Create(owner);
    InitFromResource(Unit2FormResource());
}
