#pragma once
// Common dialogs and message boxes on Qt's dialogs, through the modal seam.
#include "forms/Forms.h"
#include "forms/Modal.h"

VK_ENUM(TOpenOption, ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
        ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware,
        ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog,
        ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing)
using TOpenOptions = TSet<TOpenOption>;

// The library's filter ("Report|*.QR|All files|*.*": description and
// semicolon-separated patterns alternating) as Qt's name filters
// ("Report (*.QR)", "All files (*.*)").
QStringList QtNameFilters(const QString& filter);

class TCommonDialog : public TComponent {
    VK_CLASS(TCommonDialog, TComponent)
public:
    virtual bool Execute() = 0;
    int HelpContext = 0;
};

class TOpenDialog : public TCommonDialog {
    VK_CLASS(TOpenDialog, TCommonDialog)
public:
    QString FileName;
    QString Filter;  // "Report|*.QR|All files|*.*"
    int FilterIndex = 1;
    QString DefaultExt;
    QString InitialDir;
    QString Title;
    TOpenOptions Options = {ofHideReadOnly};
    TStrings* Files() { return &files_; }
    const TStrings* Files() const { return &files_; }
    bool Execute() override;  // true when the user confirmed a name

protected:
    virtual bool IsSave() const { return false; }
    // The file name with the default extension added when it has none.
    QString WithDefaultExt(const QString& name) const;

private:
    // The initial folder, else the chosen file's, else the one last used.
    QString StartFolder() const;
    int RunFileDialog();
    TStringList files_;
};

class TSaveDialog : public TOpenDialog {
    VK_CLASS(TSaveDialog, TOpenDialog)
protected:
    bool IsSave() const override { return true; }
};

class TOpenPictureDialog : public TOpenDialog {
    VK_CLASS(TOpenPictureDialog, TOpenDialog)
public:
    void Create(TComponent* owner) override;  // the picture formats' filter
};

class TColorDialog : public TCommonDialog {
    VK_CLASS(TColorDialog, TCommonDialog)
public:
    TColor Color = clBlack;
    bool Execute() override;
};

class TFontDialog : public TCommonDialog {
    VK_CLASS(TFontDialog, TCommonDialog)
public:
    TFont* Font() { return &font_; }
    const TFont* Font() const { return &font_; }
    bool Execute() override;

private:
    TFont font_;
};

class TPrinterSetupDialog : public TCommonDialog {
    VK_CLASS(TPrinterSetupDialog, TCommonDialog)
public:
    bool Execute() override;
};

class TPrintDialog : public TCommonDialog {
    VK_CLASS(TPrintDialog, TCommonDialog)
public:
    int Copies = 1;
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
    bool Execute() override;
};

VK_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
VK_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// A message box with an OK button and the application's title.
void ShowMessage(const QString& text);
int MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext);
// The platform's plain message box; flags as Qt's standard buttons; returns a modal result.
int MessageBox(const QString& text, const QString& caption, int buttons = 0);

// Makes the dialog classes known to streams, so that forms can hold dialogs;
// part of the visual library's start-up.
void RegisterDialogClasses();
