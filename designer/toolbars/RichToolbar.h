#pragma once
// The memo, system-data and image toolbar: "Text editor" edits a memo's
// lines, "Sys Data" chooses what a system-data element shows, "Load image"
// loads an image element's picture from a file.
#include "dialogs/Dialogs.h"
#include "designer/impsys/impsys.h"
#include "designer/toolbars/NewQrToolbar.h"

class Tmainform;

class TQRRich : public TNewQrToolbar {
    VK_CLASS(TQRRich, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;
    // Enables each button only for the element class it serves; nil keeps their states.
    void SetComponent(TComponent* component) override;
    // The text editor for the memo, showing what the editor already holds.
    void showform() override;

    Timptxtsys* SysDataForm = nullptr;
    TOpenPictureDialog* PictureDialog = nullptr;
    TSpeedButton* TextButton = nullptr;
    TSpeedButton* SysDataButton = nullptr;
    TSpeedButton* ImageButton = nullptr;

    void TextEditorClick(TObject* sender);
    void SysDataClick(TObject* sender);
    void LoadImageClick(TObject* sender);

private:
    TSpeedButton* AddCaptionButton(const QString& caption, int width, int nextX, void (TQRRich::*onClick)(TObject*));
    // The shared text editor, built anew when the one it named has gone.
    Tmainform* Editor();
    // Shows the editor; on OK the memo takes its lines and the editor is emptied.
    void RunEditor(TQRMemo* memo);
};
