#pragma once
// Tondrel's launcher: previews and prints the sample report and opens the
// designer window on it.
#include "forms/Forms.h"

class TForm1 : public TForm {
    VK_CLASS(TForm1, TForm)
public:
    void Create(TComponent* owner) override;

    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm1* Form1;
