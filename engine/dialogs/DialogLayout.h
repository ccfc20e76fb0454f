#pragma once
// Builds the engine's dialogs in code: captioned controls in rows down a
// form, and the OK and Cancel buttons at its foot.
#include "dialogs/Dialogs.h"

class TDialogLayout {
public:
    // Rows start at top; captions stand at left, controls at left + captionWidth.
    TDialogLayout(TForm* form, int left = 8, int captionWidth = 110, int top = 8);

    TEdit* AddEdit(const QString& caption, int width = 160);
    TComboBox* AddCombo(const QString& caption, const QStringList& items, bool listOnly = true, int width = 160);
    TCheckBox* AddCheck(const QString& caption, int width = 200);
    TMemo* AddMemo(const QString& caption, int height, int width = 260);
    TLabel* AddText(const QString& text, int width = 300);
    // Moves to the next column of rows (for long dialogs).
    void NextColumn(int columnWidth);
    // OK (mrOk, default) and Cancel (mrCancel) under the rows; sizes the form.
    void AddButtons(TButton*& ok, TButton*& cancel);
    int Top() const { return top_; }
    void Skip(int pixels) { top_ += pixels; }

private:
    template <class T>
    T* Place(const QString& caption, int width, int height);

    TForm* form_;
    int left_;
    int captionWidth_;
    int firstTop_;
    int top_;
    int bottom_ = 0;
    int right_ = 0;
};

// Text to number for the dialogs' numeric fields; keeps the fallback when the text is no number.
double DialogNumber(const TEdit* edit, double fallback);
