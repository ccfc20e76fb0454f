#include "designer/toolbars/ExprToolbar.h"

#include "classes/Published.h"
#include "engine/Printables.h"
#include "engine/Resources.h"
#include "engine/dialogs/ExpressionBuilder.h"

#include <algorithm>

VK_PUBLISHED(TQRExprToolbar)
{
    c.Field("master", &TQRExprToolbar::master);
    c.Field("CancelButton", &TQRExprToolbar::CancelButton);
    c.Field("Edit", &TQRExprToolbar::Edit);
    c.Field("OKButton", &TQRExprToolbar::OKButton);
    c.Field("WizardButton", &TQRExprToolbar::WizardButton);
}

void TQRExprToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    const QString okHint = LoadStr(62773);
    OKButton = AddButton("", "QROKBITMAP", okHint, 0, TNotifyEvent(this, &TQRExprToolbar::OKClick));
    CancelButton = AddButton("", "QRCANCELBITMAP", "Cancel", 0, TNotifyEvent(this, &TQRExprToolbar::CancelClick));
    WizardButton = AddButton("", "QRFUNCTIONBITMAP", "Expression wizard", 0,
                             TNotifyEvent(this, &TQRExprToolbar::WizardClick));
    Edit = New<TEdit>(this);
    Edit->SetParent(this);
    Edit->SetLeft(NextX);
    Edit->SetTop(4);
    Edit->OnKeyPress = TKeyPressEvent(this, &TQRExprToolbar::EditKeyPress);
    FitEdit();
}

void TQRExprToolbar::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    FitEdit();
}

void TQRExprToolbar::FitEdit()
{
    if (Edit)
        Edit->SetWidth(std::max(0, Width() - Edit->Left() - 4));
}

void TQRExprToolbar::SetComponent(TComponent* component)
{
    inherited::SetComponent(component);
    // Writing the text back runs the element's setter once, which recomputes and repaints it.
    if (auto* label = Element<TQRLabel>()) {
        Edit->SetText(label->Caption());
        label->SetCaption(label->Caption());
    } else if (auto* expr = Element<TQRExpr>()) {
        Edit->SetText(expr->Expression());
        expr->SetExpression(expr->Expression());
    }
}

QString TQRExprToolbar::ElementText() const
{
    if (auto* label = Element<TQRLabel>())
        return label->Caption();
    if (auto* expr = Element<TQRExpr>())
        return expr->Expression();
    return Edit->Text();
}

void TQRExprToolbar::OKClick(TObject*)
{
    if (auto* label = Element<TQRLabel>())
        label->SetCaption(Edit->Text());
    else if (auto* expr = Element<TQRExpr>())
        expr->SetExpression(Edit->Text());
}

void TQRExprToolbar::CancelClick(TObject*)
{
    Edit->SetText(ElementText());
}

void TQRExprToolbar::EditKeyPress(TObject*, QChar& key)
{
    if (key == QChar(13))
        OKClick(this);
}

void TQRExprToolbar::WizardClick(TObject*)
{
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    // The builder offers the data sets of the form that holds the report.
    TCustomQuickRep* report = element->ParentReport();
    QString text = Edit->Text();
    if (GetExpression("", text, report ? report->Owner() : nullptr)) {
        Edit->SetText(text);
        OKClick(this);
    }
}
