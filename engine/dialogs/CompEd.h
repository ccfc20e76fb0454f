#pragma once
// The report settings dialog: paper, orientation, margins, columns, units,
// font, title, the six main bands, the data set, print-if-empty and the
// first-page-header and last-page-footer options. OK applies the choices to
// the report; Cancel changes nothing.
#include "classes/Owned.h"
#include "forms/Forms.h"

#include <vector>

class TCustomQuickRep;
class TStringList;
class TDataSet;

class TQRCompEd : public TForm {
    VK_CLASS(TQRCompEd, TForm)
public:
    void Create(TComponent* owner) override;
    // The data sets offered (names with the data sets as objects); the dialog
    // takes the list over and frees it.
    void SetAvailableDataSets(TStringList* list);
    // Loads the dialog from the report.
    void SetQuickRep(TCustomQuickRep* report);
    // Writes the dialog's choices into the report (OK does this).
    void Apply();

    TComboBox* PaperSize = nullptr;
    TComboBox* Orientation = nullptr;
    TEdit* TopMargin = nullptr;
    TEdit* BottomMargin = nullptr;
    TEdit* LeftMargin = nullptr;
    TEdit* RightMargin = nullptr;
    TEdit* Columns = nullptr;
    TEdit* ColumnSpace = nullptr;
    TComboBox* Units = nullptr;
    TComboBox* FontName = nullptr;
    TEdit* FontSize = nullptr;
    TEdit* Title = nullptr;
    TCheckBox* HasBand[6] = {};  // title, page header, column header, detail, page footer, summary
    TComboBox* DataSet = nullptr;
    TCheckBox* PrintIfEmpty = nullptr;
    TCheckBox* FirstPageHeader = nullptr;
    TCheckBox* LastPageFooter = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;

private:
    void Hidden(TObject*);
    void OfferDataSet(const QString& name, TDataSet* ds);
    TCustomQuickRep* report_ = nullptr;
    TOwned<TStringList> dataSets_;
    std::vector<TDataSet*> offered_;  // behind the data set box's entries after "(none)"
};
