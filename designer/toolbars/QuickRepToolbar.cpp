#include "designer/toolbars/QuickRepToolbar.h"

#include "classes/Published.h"
#include "engine/QuickRep.h"

namespace {
// The band set's indexes of the six boxes (the engine's numbering, not the band kinds').
constexpr int kPageHeader = 2, kTitle = 1, kColumnHeader = 3, kDetail = 4, kSummary = 7, kPageFooter = 6;
}  // namespace

VK_PUBLISHED(TQuickRepToolbar) {}

void TQuickRepToolbar::Create(TComponent* owner)
{
    inherited::Create(owner);
    PageHeaderBox = AddCheckBox("Page header", "", TNotifyEvent(this, &TQuickRepToolbar::PageHeaderClick));
    TitleBox = AddCheckBox("Title", "", TNotifyEvent(this, &TQuickRepToolbar::TitleClick));
    ColumnHeaderBox = AddCheckBox("C. header", "", TNotifyEvent(this, &TQuickRepToolbar::ColumnHeaderClick));
    DetailBox = AddCheckBox("Detail", "", TNotifyEvent(this, &TQuickRepToolbar::DetailClick));
    SummaryBox = AddCheckBox("Summary", "", TNotifyEvent(this, &TQuickRepToolbar::SummaryClick));
    PageFooterBox = AddCheckBox("Page footer", "", TNotifyEvent(this, &TQuickRepToolbar::PageFooterClick));
}

void TQuickRepToolbar::SetComponent(TComponent* component)
{
    inherited::SetComponent(component);
    if (auto* report = Element<TCustomQuickRep>()) {
        const TQuickRepBands* bands = report->Bands();
        // Each changed box fires its handler, which stays still while events are off.
        PageHeaderBox->SetChecked(bands->GetHasBand(kPageHeader));
        TitleBox->SetChecked(bands->GetHasBand(kTitle));
        ColumnHeaderBox->SetChecked(bands->GetHasBand(kColumnHeader));
        DetailBox->SetChecked(bands->GetHasBand(kDetail));
        SummaryBox->SetChecked(bands->GetHasBand(kSummary));
        PageFooterBox->SetChecked(bands->GetHasBand(kPageFooter));
    }
    EndSetComponent();
}

void TQuickRepToolbar::ToggleBand(int index, TCheckBox* box)
{
    auto* report = Element<TCustomQuickRep>();
    if (!EventsOn || !report)
        return;
    TQuickRepBands* bands = report->Bands();
    bands->SetHasBand(index, !bands->GetHasBand(index));
    ShowChecked(box, bands->GetHasBand(index));
}

void TQuickRepToolbar::PageHeaderClick(TObject*) { ToggleBand(kPageHeader, PageHeaderBox); }
void TQuickRepToolbar::TitleClick(TObject*) { ToggleBand(kTitle, TitleBox); }
void TQuickRepToolbar::ColumnHeaderClick(TObject*) { ToggleBand(kColumnHeader, ColumnHeaderBox); }
void TQuickRepToolbar::DetailClick(TObject*) { ToggleBand(kDetail, DetailBox); }
void TQuickRepToolbar::SummaryClick(TObject*) { ToggleBand(kSummary, SummaryBox); }
void TQuickRepToolbar::PageFooterClick(TObject*) { ToggleBand(kPageFooter, PageFooterBox); }
