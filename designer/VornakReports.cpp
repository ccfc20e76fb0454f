// The designer control's report lifecycle: new, open, adopt, save and close
// reports, the *.QR layout files, arming new elements and the engine's two
// report dialogs; and the host routines that load a layout without a control.
#include "designer/Vornak.h"
#include "designer/DataSetLists.h"
#include "designer/DemoBuild.h"
#include "classes/Owned.h"
#include "classes/Streaming.h"
#include "dialogs/Dialogs.h"
#include "engine/Designer.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "engine/Resources.h"
#include "engine/dialogs/CompEd.h"
#include "engine/dialogs/DataSetup.h"
#include "rtl/ScopeExit.h"


namespace {
const QString kUntitled = QStringLiteral("Untitled");
const QString kReportFilter = QStringLiteral("Report|*.QR");
constexpr int kErrorLoadingReport = 62866;

// The report that a form read or adopted carries as its first component.
TQuickRep* FirstReport(TComponent* form)
{
    if (form->ComponentCount() == 0)
        return nullptr;
    return dynamic_cast<TQuickRep*>(form->Components(0));
}

// Whether the control would take another font or colour from the parent.
bool TakesLookFrom(const TControl* control, const TWinControl* parent)
{
    return (control->ParentFont() && !control->Font()->SameAs(*parent->Font())) ||
           (control->ParentColor() && control->Color() != parent->Color());
}

// The controls a form writes before its other components.
int OwnControlCount(const TWinControl* form)
{
    int count = 0;
    for (int i = 0; i < form->ControlCount(); ++i)
        count += form->Controls(i)->Owner() == form;
    return count;
}

// The layout file holds the report form with the report as its last control.
// The report is written where the designer shows it: moving its windows off
// and back costs a hide and show of every element. Only when the form would
// hand it another font or colour, which its elements' sizes follow, is it
// moved onto the form to be written.
TObjectNode LayoutNode(TQuickRep* report, TForm* form)
{
    if (TakesLookFrom(report, form)) {
        TWinControl* shownOn = report->Parent();
        report->SetParent(form);
        TScopeExit back([report, shownOn] { report->SetParent(shownOn); });
        return WriteComponentNode(form);
    }
    TObjectNode node = WriteComponentNode(form);
    node.Children.insert(node.Children.begin() + OwnControlCount(form), WriteComponentNode(report, form));
    return node;
}

QString OpenFailureText(const QString& name)
{
    if constexpr (kDemoBuild)
        return QStringLiteral("Errore durante l'apertura del report") + name;
    else
        return QStringLiteral("Error reading file ") + name;
}
}  // namespace

TForm* TVornak::TheReportForm()
{
    // the form a host handed over may have been destroyed by the host
    if (!ReportForm) {
        ReportForm = New<TForm>(this);
        Watch(ReportForm);
    }
    return ReportForm;
}

void TVornak::SetReport(TQuickRep* value)
{
    report_ = value;
    if (!value)
        return;
    Watch(value);
    value->SetParent(ReportPanel);
    Designer->Edit(value);
}

// Frees the first component of the report form until none is left: one free
// may take others with it (a report takes its bands and elements).
void TVornak::EmptyReportForm()
{
    TForm* form = TheReportForm();
    while (form->ComponentCount() > 0)
        form->Components(0)->Free();
}

void TVornak::EnterNoReport()
{
    SetReport(nullptr);
    FileName = kUntitled;
    ForgetSelection();
}

void TVornak::NewReport()
{
    FireEvent(OnNewReport);
    if (Editing())
        CloseReport();
    EmptyReportForm();
    SetReport(New<TQuickRep>(TheReportForm()));
}

void TVornak::CloseReport()
{
    if (!Editing())
        return;
    FireEvent(OnCloseReport);
    Designer->StopEdit();
    ::Free(report_);
    EnterNoReport();
}

void TVornak::SaveReport()
{
    if (!Editing())
        return;
    if (FileName != kUntitled) {
        SaveReportFile(FileName);
        return;
    }
    TOwned<TSaveDialog> dialog(New<TSaveDialog>(Application));
    dialog->Filter = kReportFilter;
    dialog->DefaultExt = QStringLiteral("QR");
    if (dialog->Execute())
        SaveReportFile(dialog->FileName);
}

void TVornak::SaveReportFile(const QString& name)
{
    if (name.isEmpty() || !Editing())
        return;
    FileName = name;
    FireEvent(OnSaveReport);
    Designer->StopEdit();
    TQuickRep* report = report_;
    // written or not, the report is edited on again: the work must not seem
    // gone, and the caller still hears of a failure
    TScopeExit resume([this, report] { Designer->Edit(report); });
    report->SetTop(0);
    report->SetLeft(0);
    WriteComponentResFile(FileName, LayoutNode(report, TheReportForm()));
}

void TVornak::OpenReport()
{
    TOwned<TOpenDialog> dialog(New<TOpenDialog>(Application));
    dialog->Filter = kReportFilter;
    if (dialog->Execute())
        OpenReportFile(dialog->FileName);
}

void TVornak::OpenReportFile(const QString& name)
{
    EmptyReportForm();
    // a report handed over by the host survives the emptying: a failed read
    // must not leave it in place of the file's
    bool set = false;
    try {
        ReadComponentResFile(name, ReportForm);
        TQuickRep* report = FirstReport(ReportForm);
        if (!report)
            throw EReadError(QStringLiteral("The file holds no report"));
        SetReport(report);
        set = true;
        FileName = name;
        FireEvent(OnOpenReport);
    } catch (const std::exception&) {
        if (!set)
            EnterNoReport();
        ShowMessage(OpenFailureText(name));
    }
}

void TVornak::OpenQrform(TForm* form)
{
    // refused before anything is emptied: there is no report to look up
    if (!form)
        throw EInvalidOperation(QStringLiteral("No form to take the report from"));
    if (form == ReportForm) {
        // handed over again: emptying it would free the very report it carries
        if (!Editing())
            AdoptFirstReport(form);
        return;
    }
    EmptyReportForm();
    ReportForm = form;
    Watch(form);
    AdoptFirstReport(form);
}

void TVornak::AdoptFirstReport(TForm* form)
{
    TQuickRep* report = FirstReport(form);
    if (!report) {
        EnterNoReport();
        if (form->ComponentCount() == 0)
            throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QStringLiteral("0")}));
        throw EInvalidCast(QStringLiteral("The first component of %1 is not a report").arg(form->Name()));
    }
    SetReport(report);
    FireEvent(OnOpenReport);
}

void TVornak::OpenQRReport(TQuickRep* report)
{
    if (!report || report == report_)
        return;
    if (report->Owner() == ReportForm) {
        // emptying the report form would free the very report handed over
        SetReport(report);
        FireEvent(OnOpenReport);
        return;
    }
    EmptyReportForm();
    if (report_) {
        TQuickRep* previous = report_;
        report_ = nullptr;
        ::Free(previous);
    }
    SetReport(New<TQuickRep>(TheReportForm()));
    SetReport(report);
    FireEvent(OnOpenReport);
}

void TVornak::NewLabel()
{
    if constexpr (kDemoBuild)
        Designer->AddComponent(TQRExpr::ClassInfo());
    else
        Designer->AddComponent(TQRLabel::ClassInfo());
}

void TVornak::NewImage() { Designer->AddComponent(TQRImage::ClassInfo()); }
void TVornak::NewMemo() { Designer->AddComponent(TQRMemo::ClassInfo()); }
void TVornak::Newsysdata() { Designer->AddComponent(TQRSysData::ClassInfo()); }

void TVornak::DataSetup()
{
    if (!Editing())
        return;
    TOwned<TQRDataSetup> dialog(New<TQRDataSetup>(Application));
    dialog->SetReport(report_);
    dialog->ShowModal();
}

void TVornak::ReportLayout()
{
    if (!Editing())
        return;
    TOwned<TQRCompEd> dialog(New<TQRCompEd>(this));
    dialog->SetAvailableDataSets(AllDataSets(report_->Owner(), true));
    dialog->SetQuickRep(report_);
    dialog->ShowModal();
}

void TVornak::blockreport()
{
    if (!Editing())
        return;
    report_->SetVisible(false);
    report_->Update();
}

void TVornak::sblockreport()
{
    if (!Editing())
        return;
    report_->SetVisible(true);
    report_->Update();
}

QString TVornak::dtset(int index) const { return DataSetNames->Strings(index); }

TQuickRep* QRLoadReport(const QString& fileName)
{
    TForm* form = nullptr;
    try {
        form = New<TForm>(Application);
        ReadComponentResFile(fileName, form);
    } catch (const std::exception&) {
        Free(form);
        ShowMessage(LoadStr(kErrorLoadingReport));
        return nullptr;
    }
    TQuickRep* report = FirstReport(form);
    // a form without a report would otherwise stay with the application
    if (!report)
        Free(form);
    return report;
}

void QRFreeReport(TQuickRep* report)
{
    if (report)
        Free(report->Owner());
}
