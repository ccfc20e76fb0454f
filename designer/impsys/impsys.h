#pragma once
// The "Report information" dialog: chooses what a system-data element shows
// (page number, date, time, ...). Built from its form resource.
#include "designer/VornakExport.h"
#include "controls/Buttons.h"
#include "engine/Printables.h"
#include "forms/Forms.h"

class VORNAK_EXPORT Timptxtsys : public TForm {
    VK_CLASS(Timptxtsys, TForm)
public:
    void Create(TComponent* owner) override;

    TRadioGroup* RadioGroup1 = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

    // The element that the dialog edits; kept after use.
    void SetSysData(TQRSysData* sysData);
    TQRSysData* SysData() const { return sysData_; }

    void BitBtn1Click(TObject* sender);
    void FormActivate(TObject* sender);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TQRSysData* sysData_ = nullptr;
};

// Declared for hosts; the designer keeps its dialogs elsewhere.
VORNAK_EXPORT extern Timptxtsys* imptxtsys;
