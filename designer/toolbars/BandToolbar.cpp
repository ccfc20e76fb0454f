#include "designer/toolbars/BandToolbar.h"

#include "classes/Published.h"
#include "engine/Bands.h"
#include "engine/QRUtils.h"
#include "designer/toolbars/FrameSides.h"

VK_PUBLISHED(TQRCustomBandToolbar) {}

void TQRCustomBandToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    AddSpace();
    CreateNameLabel();
    NextX = 110;
    using Handler = void (TQRCustomBandToolbar::*)(TObject*);
    const Handler handlers[] = {&TQRCustomBandToolbar::FrameLeftClick, &TQRCustomBandToolbar::FrameTopClick,
                                &TQRCustomBandToolbar::FrameBottomClick, &TQRCustomBandToolbar::FrameRightClick};
    TSpeedButton** fields[] = {&FrameLeftButton, &FrameTopButton, &FrameBottomButton, &FrameRightButton};
    for (std::size_t i = 0; i < kFrameSideButtons.size(); ++i)
        *fields[i] = AddButton("", kFrameSideButtons[i].Glyph, kFrameSideButtons[i].Hint, static_cast<int>(i) + 1,
                               TNotifyEvent(this, handlers[i]));
    ChildBox = AddCheckBox("Child", "", TNotifyEvent(this, &TQRCustomBandToolbar::ChildClick));
    // Placed at a fixed spot, overlapping the end of the "Child" box.
    NewPageBox = New<TCheckBox>(this);
    NewPageBox->SetParent(this);
    NewPageBox->SetLeft(280);
    NewPageBox->SetTop(8);
    NewPageBox->SetCaption("New page");
    NewPageBox->SetWidth(150);
    NewPageBox->OnClick = TNotifyEvent(this, &TQRCustomBandToolbar::NewPageClick);
}

void TQRCustomBandToolbar::CreateNameLabel()
{
    BandNameLabel = New<TLabel>(this);
    BandNameLabel->SetParent(this);
    // Sized to one line of its font while automatic sizing is still on.
    BandNameLabel->Font()->SetName("Arial");
    BandNameLabel->Font()->SetSize(10);
    BandNameLabel->SetAutoSize(false);
    BandNameLabel->SetWidth(90);
    BandNameLabel->SetLeft(NextX);
    BandNameLabel->SetTop((Height() - BandNameLabel->Height()) / 2);
}

void TQRCustomBandToolbar::SetComponent(TComponent* component)
{
    inherited::SetComponent(component);
    if (auto* band = Element<TQRCustomBand>()) {
        BandNameLabel->SetCaption(QRBandTypeName(band->BandType()));
        ShowFrameSides(band->Frame(), {FrameLeftButton, FrameTopButton, FrameBottomButton, FrameRightButton});
        ChildBox->SetChecked(band->HasChild());
        NewPageBox->SetChecked(band->ForceNewPage());
    }
    Update();
    EndSetComponent();
}

void TQRCustomBandToolbar::ToggleSide(int button)
{
    if (auto* band = Element<TQRCustomBand>()) {
        TSpeedButton* const buttons[] = {FrameLeftButton, FrameTopButton, FrameBottomButton, FrameRightButton};
        ToggleFrameSide(band->Frame(), kFrameSideButtons[button].Side, buttons[button]);
    }
}

void TQRCustomBandToolbar::FrameLeftClick(TObject*) { ToggleSide(0); }
void TQRCustomBandToolbar::FrameTopClick(TObject*) { ToggleSide(1); }
void TQRCustomBandToolbar::FrameBottomClick(TObject*) { ToggleSide(2); }
void TQRCustomBandToolbar::FrameRightClick(TObject*) { ToggleSide(3); }

void TQRCustomBandToolbar::ChildClick(TObject*)
{
    auto* band = Element<TQRCustomBand>();
    if (!EventsOn || !band)
        return;
    band->SetHasChild(!band->HasChild());
    ShowChecked(ChildBox, band->HasChild());
}

void TQRCustomBandToolbar::NewPageClick(TObject*)
{
    // Copies the box into the band; the refresh's own update writes back the band's value.
    if (auto* band = Element<TQRCustomBand>())
        band->SetForceNewPage(NewPageBox->Checked());
}
