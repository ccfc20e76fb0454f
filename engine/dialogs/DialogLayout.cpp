#include "DialogLayout.h"

namespace {
constexpr int RowHeight = 26;
}

TDialogLayout::TDialogLayout(TForm* form, int left, int captionWidth, int top)
    : form_(form), left_(left), captionWidth_(captionWidth), firstTop_(top), top_(top)
{
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
}

template <class T>
T* TDialogLayout::Place(const QString& caption, int width, int height)
{
    int x = left_;
    if (!caption.isEmpty()) {
        auto* label = New<TLabel>(form_);
        label->SetParent(form_);
        label->SetCaption(caption);
        label->SetBounds(left_, top_ + 3, captionWidth_ - 4, 17);
        x += captionWidth_;
    }
    T* control = New<T>(form_);
    control->SetParent(form_);
    control->SetBounds(x, top_, width, height);
    top_ += std::max(height, RowHeight - 4) + 4;
    bottom_ = std::max(bottom_, top_);
    right_ = std::max(right_, x + width);
    return control;
}

TEdit* TDialogLayout::AddEdit(const QString& caption, int width)
{
    return Place<TEdit>(caption, width, 21);
}

TComboBox* TDialogLayout::AddCombo(const QString& caption, const QStringList& items, bool listOnly, int width)
{
    auto* combo = Place<TComboBox>(caption, width, 21);
    combo->SetStyle(listOnly ? csDropDownList : csDropDown);
    for (const QString& item : items)
        combo->Items()->Add(item);
    return combo;
}

TCheckBox* TDialogLayout::AddCheck(const QString& caption, int width)
{
    auto* check = Place<TCheckBox>(QString(), width, 17);
    check->SetCaption(caption);
    return check;
}

TMemo* TDialogLayout::AddMemo(const QString& caption, int height, int width)
{
    return Place<TMemo>(caption, width, height);
}

TLabel* TDialogLayout::AddText(const QString& text, int width)
{
    auto* label = Place<TLabel>(QString(), width, 17);
    label->SetCaption(text);
    return label;
}

void TDialogLayout::NextColumn(int columnWidth)
{
    left_ += columnWidth;
    top_ = firstTop_;
}

void TDialogLayout::AddButtons(TButton*& ok, TButton*& cancel)
{
    const int top = bottom_ + 8;
    auto make = [&](const QString& caption, TModalResult result, int x) {
        auto* button = New<TButton>(form_);
        button->SetParent(form_);
        button->SetCaption(caption);
        button->ModalResult = result;
        button->SetBounds(x, top, 75, 25);
        return button;
    };
    const int width = std::max(right_ + 8, 180);
    ok = make(QStringLiteral("OK"), mrOk, width - 166);
    ok->Default = true;
    cancel = make(QStringLiteral("Cancel"), mrCancel, width - 83);
    cancel->Cancel = true;
    form_->SetClientWidth(width);
    form_->SetClientHeight(top + 33);
}

double DialogNumber(const TEdit* edit, double fallback)
{
    bool ok = false;
    const double v = edit->Text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    return ok ? v : fallback;
}
