#include "Startup.h"
#include "classes/ClassRegistry.h"
#include "controls/Buttons.h"
#include "controls/ExtCtrls.h"
#include "dialogs/Dialogs.h"
#include "forms/Forms.h"

void StartPlatform()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    StartClasses();
    RegisterClasses({TPanel::ClassInfo(), TLabel::ClassInfo(), TEdit::ClassInfo(), TMemo::ClassInfo(),
                     TCheckBox::ClassInfo(), TComboBox::ClassInfo(), TButton::ClassInfo(), TBitBtn::ClassInfo(),
                     TSpeedButton::ClassInfo(), TScrollBar::ClassInfo(), TRadioGroup::ClassInfo(),
                     TForm::ClassInfo(), TDataModule::ClassInfo()});
    RegisterDialogClasses();
    Screen = New<TScreen>(nullptr);
    Application = New<TApplication>(nullptr);
    Application->Initialize();
}

void StopPlatform()
{
    // the application's forms go first: they leave the screen's lists as they go
    FreeAndNil(Application);
    FreeAndNil(Screen);
    StopClasses();
}
