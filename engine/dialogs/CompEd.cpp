#include "CompEd.h"

#include "DialogLayout.h"
#include "classes/Published.h"
#include "classes/StringList.h"
#include "db/DataSet.h"
#include "engine/QRUtils.h"
#include "engine/QuickRep.h"

#include <algorithm>

namespace {

// The band-set indexes of the six check boxes, in their order.
constexpr int BandIndexes[6] = {1, 2, 3, 4, 6, 7};
const char* const BandCaptions[6] = {"Title", "Page header", "Column header", "Detail", "Page footer", "Summary"};

// What the paper-size and unit boxes show, in the order of their enumerations.
const QStringList PaperSizeNames = {"A4", "A3", "A5", "B5", "Letter", "Legal", "Executive", "Custom"};
const QStringList UnitNames = {"Millimetres", "Inches", "Pixels", "Characters", "Native"};

QString Number(double v)
{
    return QString::number(v, 'g', 6);
}

}  // namespace

VK_PUBLISHED(TQRCompEd) {}

void TQRCompEd::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetCaption(QStringLiteral("Report settings"));
    TDialogLayout layout(this, 8, 130);
    PaperSize = layout.AddCombo(QStringLiteral("Paper size"), PaperSizeNames);
    Orientation = layout.AddCombo(QStringLiteral("Orientation"), {QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    TopMargin = layout.AddEdit(QStringLiteral("Top margin (mm)"), 60);
    BottomMargin = layout.AddEdit(QStringLiteral("Bottom margin (mm)"), 60);
    LeftMargin = layout.AddEdit(QStringLiteral("Left margin (mm)"), 60);
    RightMargin = layout.AddEdit(QStringLiteral("Right margin (mm)"), 60);
    Columns = layout.AddEdit(QStringLiteral("Columns"), 60);
    ColumnSpace = layout.AddEdit(QStringLiteral("Column space (mm)"), 60);
    Units = layout.AddCombo(QStringLiteral("Units"), UnitNames);
    FontName = layout.AddCombo(QStringLiteral("Font"), GetFonts(), false);
    FontSize = layout.AddEdit(QStringLiteral("Font size"), 60);
    Title = layout.AddEdit(QStringLiteral("Title"));
    layout.NextColumn(320);
    layout.AddText(QStringLiteral("Bands"));
    for (int i = 0; i < 6; ++i)
        HasBand[i] = layout.AddCheck(QString::fromLatin1(BandCaptions[i]));
    layout.Skip(8);
    DataSet = layout.AddCombo(QStringLiteral("Data set"), {QStringLiteral("(none)")});
    PrintIfEmpty = layout.AddCheck(QStringLiteral("Print if empty"));
    FirstPageHeader = layout.AddCheck(QStringLiteral("Page header on the first page"), 240);
    LastPageFooter = layout.AddCheck(QStringLiteral("Page footer on the last page"), 240);
    layout.AddButtons(OKButton, CancelButton);
    OnHide = TNotifyEvent(this, &TQRCompEd::Hidden);
}

void TQRCompEd::SetAvailableDataSets(TStringList* list)
{
    dataSets_.reset(list);
    offered_.clear();
    DataSet->Items()->Clear();
    DataSet->Items()->Add(QStringLiteral("(none)"));
    if (list)
        for (int i = 0; i < list->Count(); ++i)
            OfferDataSet(list->Strings(i), dynamic_cast<TDataSet*>(list->Objects(i)));
}

void TQRCompEd::OfferDataSet(const QString& name, TDataSet* ds)
{
    offered_.push_back(ds);
    DataSet->Items()->Add(name);
}

void TQRCompEd::SetQuickRep(TCustomQuickRep* report)
{
    report_ = report;
    const TQRPage* page = report->Page();
    PaperSize->SetItemIndex(page->PaperSize());
    Orientation->SetItemIndex(page->Orientation());
    TopMargin->SetText(Number(page->TopMargin()));
    BottomMargin->SetText(Number(page->BottomMargin()));
    LeftMargin->SetText(Number(page->LeftMargin()));
    RightMargin->SetText(Number(page->RightMargin()));
    Columns->SetText(QString::number(page->Columns()));
    ColumnSpace->SetText(Number(page->ColumnSpace()));
    Units->SetItemIndex(report->Units());
    FontName->SetText(report->Font()->Name());
    FontSize->SetText(QString::number(report->Font()->Size()));
    Title->SetText(report->ReportTitle());
    for (int i = 0; i < 6; ++i)
        HasBand[i]->SetChecked(report->Bands()->GetHasBand(BandIndexes[i]));
    // A data set the list lacks (one of another form) stays offered, so that
    // OK without a choice keeps it.
    TDataSet* ds = report->DataSet();
    if (ds && std::find(offered_.begin(), offered_.end(), ds) == offered_.end())
        OfferDataSet(ds->Name(), ds);
    DataSet->SetItemIndex(ds ? int(std::find(offered_.begin(), offered_.end(), ds) - offered_.begin()) + 1 : 0);
    PrintIfEmpty->SetChecked(report->PrintIfEmpty());
    FirstPageHeader->SetChecked(report->Options().Contains(::FirstPageHeader));
    LastPageFooter->SetChecked(report->Options().Contains(::LastPageFooter));
}

void TQRCompEd::Apply()
{
    if (!report_)
        return;
    TQRPage* page = report_->Page();
    if (PaperSize->ItemIndex() >= 0 && PaperSize->ItemIndex() != pzCustom)
        page->SetPaperSize(static_cast<TQRPaperSize>(PaperSize->ItemIndex()));
    if (Orientation->ItemIndex() >= 0)
        page->SetOrientation(static_cast<TPrinterOrientation>(Orientation->ItemIndex()));
    page->SetTopMargin(DialogNumber(TopMargin, page->TopMargin()));
    page->SetBottomMargin(DialogNumber(BottomMargin, page->BottomMargin()));
    page->SetLeftMargin(DialogNumber(LeftMargin, page->LeftMargin()));
    page->SetRightMargin(DialogNumber(RightMargin, page->RightMargin()));
    page->SetColumns(std::max(1, int(DialogNumber(Columns, page->Columns()))));
    page->SetColumnSpace(DialogNumber(ColumnSpace, page->ColumnSpace()));
    if (Units->ItemIndex() >= 0)
        report_->SetUnits(static_cast<TQRUnit>(Units->ItemIndex()));
    report_->Font()->SetName(FontName->Text());
    report_->Font()->SetSize(int(DialogNumber(FontSize, report_->Font()->Size())));
    report_->SetReportTitle(Title->Text());
    for (int i = 0; i < 6; ++i)
        if (HasBand[i]->Checked() != report_->Bands()->GetHasBand(BandIndexes[i]))
            report_->Bands()->SetHasBand(BandIndexes[i], HasBand[i]->Checked());
    const int ds = DataSet->ItemIndex();
    report_->SetDataSet(ds > 0 && ds <= int(offered_.size()) ? offered_[ds - 1] : nullptr);
    report_->SetPrintIfEmpty(PrintIfEmpty->Checked());
    TQROptions options;
    if (FirstPageHeader->Checked())
        options.Include(::FirstPageHeader);
    if (LastPageFooter->Checked())
        options.Include(::LastPageFooter);
    report_->SetOptions(options);
}

void TQRCompEd::Hidden(TObject*)
{
    if (ModalResult() == mrOk)
        Apply();
}
