#pragma once
// Tondrel's sample report: one animal per page, never shown; the designer
// window edits it in place.
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
    TQRLabel* QRLabel2 = nullptr;
    TQRBand* PageHeaderBand1 = nullptr;
    TQRLabel* QRLabel1 = nullptr;
    TQRBand* SummaryBand1 = nullptr;
    TQRBand* DetailBand1 = nullptr;
    TQRImage* QRImage1 = nullptr;
    TQRDBImage* QRDBImage1 = nullptr;
    TQRDBText* QRDBText1 = nullptr;
    TQRDBText* QRDBText2 = nullptr;
    TQRDBText* QRDBText3 = nullptr;
    TTable* Table1 = nullptr;
};

extern TForm2* Form2;
