#pragma once
// The base of the designer's element toolbars: the engine's toolbar panel
// plus `showform`, the operation by which the designer asks a toolbar to open
// its editing dialog.
//
// The engine's base forgets an element that is freed while shown, so every
// handler finds no element then and does nothing.
#include "designer/VornakExport.h"
#include "engine/Toolbar.h"

class VORNAK_EXPORT TNewQrToolbar : public TQRToolbar {
    VK_CLASS(TNewQrToolbar, TQRToolbar)
public:
    // Opens the toolbar's editing dialog; nothing here.
    virtual void showform() {}

protected:
    // The element when it is of the class, else nil.
    template <class T>
    T* Element() const
    {
        return dynamic_cast<T*>(Component);
    }
    // Shows a state in a check box without the box's handler acting on it.
    void ShowChecked(TCheckBox* box, bool checked);
};
