#include "designer/toolbars/FontToolbar.h"

#include "classes/Owned.h"
#include "classes/Published.h"
#include "dialogs/Dialogs.h"
#include "engine/Printables.h"
#include "engine/QRUtils.h"
#include "rtl/SysUtils.h"
#include "designer/toolbars/FrameSides.h"

#include <array>

namespace {
constexpr std::array<int, 16> kFontSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
constexpr QChar kReturn(13), kBackspace(8);

using Handler = void (TQRCustomLabelToolbar::*)(TObject*);
struct TButtonRow {
    const char* Hint;
    const char* Glyph;
    int GroupIndex;
    Handler OnClick;
    TSpeedButton* TQRCustomLabelToolbar::*Field;
    bool SpaceAfter;
};
using T = TQRCustomLabelToolbar;
const TButtonRow kButtons[] = {
    {"Bold", "QRBOLDBITMAP", 2, &T::BoldClick, &T::BoldButton, false},
    {"Italic", "QRITALICBITMAP", 3, &T::ItalicClick, &T::ItalicButton, false},
    {"Underline", "QRULINEBITMAP", 4, &T::UnderlineClick, &T::UnderlineButton, true},
    {"Left align", "QRALLEFTBITMAP", 1, &T::AlignmentClick, &T::AlignLeftButton, false},
    {"Center", "QRALCENTERBITMAP", 1, &T::AlignmentClick, &T::AlignCenterButton, false},
    {"Right align", "QRALRIGHTBITMAP", 1, &T::AlignmentClick, &T::AlignRightButton, true},
    {"Font Color", "QRFONTCOLORBITMAP", 0, &T::FontColorClick, &T::FontColorButton, false},
    {"Background color", "QRBKCOLORBITMAP", 0, &T::BkColorClick, &T::BkColorButton, true},
    {kFrameSideButtons[0].Hint, kFrameSideButtons[0].Glyph, 5, &T::FrameClick, &T::FrameLeftButton, false},
    {kFrameSideButtons[1].Hint, kFrameSideButtons[1].Glyph, 6, &T::FrameClick, &T::FrameTopButton, false},
    {kFrameSideButtons[2].Hint, kFrameSideButtons[2].Glyph, 7, &T::FrameClick, &T::FrameBottomButton, false},
    {kFrameSideButtons[3].Hint, kFrameSideButtons[3].Glyph, 8, &T::FrameClick, &T::FrameRightButton, true},
    {"Autosize", "QRAUTOSIZEBITMAP", 9, &T::AutoSizeClick, &T::AutoSizeButton, false},
};
}  // namespace

VK_PUBLISHED(TQRCustomLabelToolbar) {}

void PopulateFontSizeCombo(TComboBox* box)
{
    const QString text = box->Text();
    box->Items()->Clear();
    for (int size : kFontSizes)
        box->Items()->Add(QString::number(size));
    box->SetText(text);
}

void TQRCustomLabelToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    FontNameBox = AddComboBox(130, true);
    FontNameBox->OnKeyPress = TKeyPressEvent(this, &T::FontNameKeyPress);
    FontNameBox->OnExit = TNotifyEvent(this, &T::ApplyFontName);
    FontNameBox->OnClick = TNotifyEvent(this, &T::ApplyFontName);
    FontNameBox->OnDropDown = TNotifyEvent(this, &T::FontNameDropDown);
    NextX = 130;  // the name box's width, not its right edge
    AddSpace();
    FontSizeBox = AddComboBox(50, false);
    FontSizeBox->OnKeyPress = TKeyPressEvent(this, &T::FontSizeKeyPress);
    FontSizeBox->OnExit = TNotifyEvent(this, &T::ApplyFontSize);
    FontSizeBox->OnClick = TNotifyEvent(this, &T::ApplyFontSize);
    FontSizeBox->OnEnter = TNotifyEvent(this, &T::FontSizeEnter);
    NextX += 50;
    AddSpace();
    AddButtons();
}

TComboBox* TQRCustomLabelToolbar::AddComboBox(int width, bool sorted)
{
    auto* box = New<TComboBox>(this);
    box->SetParent(this);
    box->SetTop(4);
    box->SetLeft(NextX);
    box->SetWidth(width);
    box->SetSorted(sorted);
    return box;
}

void TQRCustomLabelToolbar::AddButtons()
{
    for (const TButtonRow& row : kButtons) {
        this->*row.Field = AddButton("", row.Glyph, row.Hint, row.GroupIndex, TNotifyEvent(this, row.OnClick));
        if (row.SpaceAfter)
            AddSpace();
    }
}

void TQRCustomLabelToolbar::SetComponent(TComponent* component)
{
    inherited::SetComponent(component);
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    const TFont* font = element->Font();
    FontNameBox->SetText(font->Name());
    FontSizeBox->SetText(QString::number(font->Size()));
    BoldButton->SetDown(font->Style().Contains(fsBold));
    ItalicButton->SetDown(font->Style().Contains(fsItalic));
    UnderlineButton->SetDown(font->Style().Contains(fsUnderline));
    ShowFrameSides(element->Frame(), {FrameLeftButton, FrameTopButton, FrameBottomButton, FrameRightButton});
    AlignLeftButton->SetDown(element->Alignment() == taLeftJustify);
    AlignCenterButton->SetDown(element->Alignment() == taCenter);
    AlignRightButton->SetDown(element->Alignment() == taRightJustify);
    ShowAutoSize(element);
}

void TQRCustomLabelToolbar::ShowAutoSize(TComponent* element)
{
    // Only text elements size to their text; for anything else the button stays up.
    auto* label = dynamic_cast<TQRCustomLabel*>(element);
    AutoSizeButton->SetDown(label && label->AutoSize());
}

void TQRCustomLabelToolbar::FontNameKeyPress(TObject* sender, QChar& key)
{
    if (key == kReturn)
        ApplyFontName(sender);
}

void TQRCustomLabelToolbar::ApplyFontName(TObject*)
{
    if (auto* element = Element<TQRPrintable>()) {
        element->Font()->SetName(FontNameBox->Text());
        // The font may refuse or shorten the name: show what it holds.
        FontNameBox->SetText(element->Font()->Name());
    }
}

void TQRCustomLabelToolbar::FontNameDropDown(TObject*)
{
    // Fetched once in the toolbar's life.
    if (FontNameBox->Items()->Count() == 0)
        FontNameBox->Items()->SetStrings(GetFonts());
}

void TQRCustomLabelToolbar::FontSizeKeyPress(TObject* sender, QChar& key)
{
    if (key == kReturn)
        ApplyFontSize(sender);
    else if (key != kBackspace && !(key >= QChar('0') && key <= QChar('9')))
        key = QChar(0);
}

void TQRCustomLabelToolbar::ApplyFontSize(TObject*)
{
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    int size = 0;
    if (TryStrToInt(FontSizeBox->Text(), size))
        element->Font()->SetSize(size);
    else
        FontSizeBox->SetText(QString::number(element->Font()->Size()));
}

void TQRCustomLabelToolbar::FontSizeEnter(TObject*)
{
    PopulateFontSizeCombo(FontSizeBox);
}

void TQRCustomLabelToolbar::ToggleStyle(TFontStyle style, TSpeedButton* button)
{
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    TFontStyles styles = element->Font()->Style();
    if (styles.Contains(style))
        styles.Exclude(style);
    else
        styles.Include(style);
    element->Font()->SetStyle(styles);
    button->SetDown(element->Font()->Style().Contains(style));
}

void TQRCustomLabelToolbar::BoldClick(TObject*) { ToggleStyle(fsBold, BoldButton); }
void TQRCustomLabelToolbar::ItalicClick(TObject*) { ToggleStyle(fsItalic, ItalicButton); }
void TQRCustomLabelToolbar::UnderlineClick(TObject*) { ToggleStyle(fsUnderline, UnderlineButton); }

void TQRCustomLabelToolbar::AlignmentClick(TObject* sender)
{
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    if (sender == AlignLeftButton)
        element->SetAlignment(taLeftJustify);
    else if (sender == AlignCenterButton)
        element->SetAlignment(taCenter);
    else
        element->SetAlignment(taRightJustify);
}

bool TQRCustomLabelToolbar::PickColor(TColor& color)
{
    TOwned<TColorDialog> dialog(New<TColorDialog>(this));
    dialog->Color = color;
    const bool confirmed = dialog->Execute();
    if (confirmed)
        color = dialog->Color;
    return confirmed;
}

void TQRCustomLabelToolbar::FontColorClick(TObject*)
{
    if (auto* element = Element<TQRPrintable>()) {
        TColor color = element->Font()->Color();
        if (PickColor(color))
            element->Font()->SetColor(color);
    }
}

void TQRCustomLabelToolbar::BkColorClick(TObject*)
{
    if (auto* element = Element<TQRPrintable>()) {
        TColor color = element->Color();
        if (PickColor(color))
            element->SetColor(color);
    }
}

void TQRCustomLabelToolbar::FrameClick(TObject* sender)
{
    auto* element = Element<TQRPrintable>();
    if (!element)
        return;
    const std::array<TSpeedButton*, 4> buttons = {FrameLeftButton, FrameTopButton, FrameBottomButton, FrameRightButton};
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (sender == buttons[i]) {
            ToggleFrameSide(element->Frame(), kFrameSideButtons[i].Side, buttons[i]);
            return;
        }
}

void TQRCustomLabelToolbar::AutoSizeClick(TObject*)
{
    // Only the flag changes: the element is neither resized nor repainted
    // now. The button keeps the state its own click gave it, except on an
    // element that is no text element: there it changes nothing and stays up.
    if (auto* label = Element<TQRCustomLabel>())
        label->StoreAutoSize(!label->AutoSize());
    else
        ShowAutoSize(Component);
}
