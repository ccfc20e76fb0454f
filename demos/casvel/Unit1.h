#pragma once
// Casvel's designer window: the designer control under a bar of speed
// buttons, with a text box of its own in place of the label toolbar.
#include "controls/Buttons.h"
#include "designer/Vornak.h"
#include "forms/Forms.h"

class TForm1 : public TForm {
    VK_CLASS(TForm1, TForm)
public:
    void Create(TComponent* owner) override;

    TVornak* Vornak1 = nullptr;
    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TSpeedButton* SpeedButton1 = nullptr;
    TSpeedButton* SpeedButton2 = nullptr;
    TSpeedButton* SpeedButton3 = nullptr;
    TSpeedButton* SpeedButton4 = nullptr;
    TSpeedButton* SpeedButton5 = nullptr;
    TSpeedButton* SpeedButton6 = nullptr;
    TSpeedButton* SpeedButton8 = nullptr;
    TSpeedButton* SpeedButton9 = nullptr;
    TSpeedButton* SpeedButton7 = nullptr;
    TSpeedButton* SpeedButton10 = nullptr;
    TEdit* Edit1 = nullptr;
    TPanel* Panel3 = nullptr;
    TSpeedButton* SpeedButton11 = nullptr;
    TSpeedButton* SpeedButton12 = nullptr;
    TSpeedButton* SpeedButton13 = nullptr;

    void FormCreate(TObject* Sender);
    void FormResize(TObject* Sender);
    void SpeedButton1Click(TObject* Sender);
    void SpeedButton2Click(TObject* Sender);
    void SpeedButton3Click(TObject* Sender);
    void SpeedButton4Click(TObject* Sender);
    void SpeedButton5Click(TObject* Sender);
    void SpeedButton6Click(TObject* Sender);
    void SpeedButton7Click(TObject* Sender);
    void SpeedButton8Click(TObject* Sender);
    void SpeedButton9Click(TObject* Sender);
    void SpeedButton10Click(TObject* Sender);
    void Vornak1SelectComponent(TObject* Sender);
    void Edit1Change(TObject* Sender);
};

extern TForm1* Form1;
