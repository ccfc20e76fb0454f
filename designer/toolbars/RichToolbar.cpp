#include "designer/toolbars/RichToolbar.h"

#include "classes/Published.h"
#include "designer/editor/editor.h"
#include "engine/Printables.h"

VK_PUBLISHED(TQRRich) {}

void TQRRich::Create(TComponent* owner)
{
    inherited::Create(owner);
    PictureDialog = New<TOpenPictureDialog>(this);
    PictureDialog->Title = "Load image";
    TextButton = AddCaptionButton("Text editor", 70, 75, &TQRRich::TextEditorClick);
    SysDataButton = AddCaptionButton("Sys Data", 95, 173, &TQRRich::SysDataClick);
    ImageButton = AddCaptionButton("Load image", 85, 235, &TQRRich::LoadImageClick);
    AddSpace();
    mainform = New<Tmainform>(this);
    SysDataForm = New<Timptxtsys>(this);
}

TSpeedButton* TQRRich::AddCaptionButton(const QString& caption, int width, int nextX,
                                        void (TQRRich::*onClick)(TObject*))
{
    TSpeedButton* button = AddButton(caption, "", "", 0, TNotifyEvent(this, onClick));
    button->SetWidth(width);
    NextX = nextX;
    return button;
}

void TQRRich::SetComponent(TComponent* component)
{
    inherited::SetComponent(component);
    if (!component)
        return;
    TextButton->SetEnabled(component->Is<TQRMemo>());
    SysDataButton->SetEnabled(component->Is<TQRSysData>());
    ImageButton->SetEnabled(component->Is<TQRImage>());
}

Tmainform* TQRRich::Editor()
{
    if (!mainform)
        mainform = New<Tmainform>(this);
    return mainform;
}

void TQRRich::RunEditor(TQRMemo* memo)
{
    Tmainform* editor = Editor();
    if (editor->ShowModal() != mrOk)
        return;
    memo->SetLines(editor->edit->Lines());
    editor->edit->Lines()->Clear();
}

void TQRRich::TextEditorClick(TObject*)
{
    if (auto* memo = Element<TQRMemo>()) {
        Editor()->edit->SetLines(memo->Lines());
        RunEditor(memo);
    }
}

void TQRRich::showform()
{
    inherited::showform();
    if (auto* memo = Element<TQRMemo>())
        RunEditor(memo);
}

void TQRRich::SysDataClick(TObject*)
{
    if (auto* sysData = Element<TQRSysData>()) {
        SysDataForm->SetSysData(sysData);
        SysDataForm->ShowModal();
    }
}

void TQRRich::LoadImageClick(TObject*)
{
    if (auto* image = Element<TQRImage>(); image && PictureDialog->Execute())
        image->Picture()->LoadFromFile(PictureDialog->FileName);
}
