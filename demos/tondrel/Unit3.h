#pragma once
// Tondrel's designer window, shown modally by the launcher's "Edit": the
// designer control under a bar of speed buttons with three zoom buttons.
#include "controls/Buttons.h"
#include "designer/Vornak.h"
#include "dialogs/Dialogs.h"
#include "forms/Forms.h"

class TForm3 : public TForm {
    VK_CLASS(TForm3, TForm)
public:
    void Create(TComponent* owner) override;

    TVornak* Vornak1 = nullptr;
    TPanel* Panel1 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TSpeedButton* SpeedButton6 = nullptr;
    TSpeedButton* SpeedButton7 = nullptr;
    TSpeedButton* SpeedButton10 = nullptr;
    TSpeedButton* SpeedButton9 = nullptr;
    TSpeedButton* SpeedButton11 = nullptr;
    TSpeedButton* SpeedButton13 = nullptr;
    TSpeedButton* SpeedButton14 = nullptr;
    TSpeedButton* SpeedButton15 = nullptr;
    TSpeedButton* SpeedButton19 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    // The form whose first component is the report to edit; set by the
    // launcher, not owned.
    TForm* QrForm = nullptr;

    void FormCreate(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormActivate(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    void SpeedButton6Click(TObject* Sender);
    void SpeedButton7Click(TObject* Sender);
    void SpeedButton9Click(TObject* Sender);
    void SpeedButton10Click(TObject* Sender);
    void SpeedButton11Click(TObject* Sender);
    void SpeedButton13Click(TObject* Sender);
    void SpeedButton14Click(TObject* Sender);
    void SpeedButton15Click(TObject* Sender);
    void SpeedButton19Click(TObject* Sender);

private:
    // Zoom of the report that fits the extent: round(extent / size * 95),
    // with the report measured at zoom 100.
    static int FitZoom(int extent, int reportExtent);
};

extern TForm3* Form3;
