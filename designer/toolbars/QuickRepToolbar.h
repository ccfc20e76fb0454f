#pragma once
// The report toolbar: six check boxes that give the selected report, or take
// from it, its page-header, title, column-header, detail, summary and
// page-footer bands.
#include "designer/toolbars/NewQrToolbar.h"

class TQuickRepToolbar : public TNewQrToolbar {
    VK_CLASS(TQuickRepToolbar, TNewQrToolbar)
public:
    void Create(TComponent* owner) override;
    // Shows the report's bands in the boxes; nil keeps what they show.
    void SetComponent(TComponent* component) override;

    TCheckBox* PageHeaderBox = nullptr;
    TCheckBox* TitleBox = nullptr;
    TCheckBox* ColumnHeaderBox = nullptr;
    TCheckBox* DetailBox = nullptr;
    TCheckBox* SummaryBox = nullptr;
    TCheckBox* PageFooterBox = nullptr;

    void PageHeaderClick(TObject* sender);
    void TitleClick(TObject* sender);
    void ColumnHeaderClick(TObject* sender);
    void DetailClick(TObject* sender);
    void SummaryClick(TObject* sender);
    void PageFooterClick(TObject* sender);

private:
    // Switches the report's band of the set index once, from the report's own state.
    void ToggleBand(int index, TCheckBox* box);
};
