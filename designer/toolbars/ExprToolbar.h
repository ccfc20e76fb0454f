#pragma once
// The expression toolbar: edits the one text of the selected label (its
// caption) or expression element (its expression) in a text box, with OK,
// Cancel and the expression wizard beside it.
#include "designer/toolbars/NewQrToolbar.h"

class TQRExprToolbar : public TNewQrToolbar {
    VK_CLASS(TQRExprToolbar, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;
    // Refits the text box to every new width.
    void SetBounds(int left, int top, int width, int height) override;
    // Loads the text box from the element; nil keeps the text box's text.
    void SetComponent(TComponent* component) override;

    TSpeedButton* master = nullptr;  // never assigned
    TSpeedButton* CancelButton = nullptr;
    TEdit* Edit = nullptr;
    TSpeedButton* OKButton = nullptr;
    TSpeedButton* WizardButton = nullptr;

    void OKClick(TObject* sender);
    void CancelClick(TObject* sender);
    void WizardClick(TObject* sender);
    void EditKeyPress(TObject* sender, QChar& key);
    // The text box ends 4 pixels before the toolbar's right edge (never narrower than nothing).
    void FitEdit();

private:
    // The element's text: a label's caption, an expression element's expression.
    QString ElementText() const;
};
