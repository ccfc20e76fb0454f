#pragma once
// The "Text editor" dialog: edits the lines of a memo element. Built from its
// form resource; the memo toolbar shows it modally.
#include "designer/VornakExport.h"
#include "controls/Buttons.h"
#include "forms/Forms.h"

class VORNAK_EXPORT Tmainform : public TForm {
    VK_CLASS(Tmainform, TForm)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;

    TMemo* edit = nullptr;
    TPanel* Panel1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

    void FormActivate(TObject* sender);
};

// The text editor that every memo toolbar edits through: the one built last,
// nil while none lives.
VORNAK_EXPORT extern Tmainform* mainform;
