#pragma once
// Casvel's sample report: a list of orders, never shown, handed to the
// designer by "Open report form and edit it".
#include "db/Table.h"
#include "engine/Bands.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "forms/Forms.h"

class TForm2 : public TForm {
    VK_CLASS(TForm2, TForm)
public:
    void Create(TComponent* owner) override;

    TQuickRep* QuickRep1 = nullptr;
    TQRBand* TitleBand1 = nullptr;
    TQRLabel* QRLabel1 = nullptr;
    TQRBand* ColumnHeaderBand1 = nullptr;
    TQRLabel* QRLabel2 = nullptr;
    TQRLabel* QRLabel3 = nullptr;
    TQRLabel* QRLabel4 = nullptr;
    TQRLabel* QRLabel5 = nullptr;
    TQRLabel* QRLabel6 = nullptr;
    TQRLabel* QRLabel7 = nullptr;
    TQRLabel* QRLabel8 = nullptr;
    TQRLabel* QRLabel9 = nullptr;
    TQRBand* DetailBand1 = nullptr;
    TQRExpr* QRExpr1 = nullptr;
    TQRExpr* QRExpr2 = nullptr;
    TQRExpr* QRExpr3 = nullptr;
    TQRExpr* QRExpr4 = nullptr;
    TQRExpr* QRExpr5 = nullptr;
    TQRExpr* QRExpr6 = nullptr;
    TQRExpr* QRExpr7 = nullptr;
    TQRExpr* QRExpr8 = nullptr;
    TQRBand* PageFooterBand1 = nullptr;
    TQRSysData* QRSysData1 = nullptr;
    TTable* Table1 = nullptr;
};

extern TForm2* Form2;
