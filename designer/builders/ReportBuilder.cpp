#include "designer/builders/ReportBuilder.h"

#include "classes/Published.h"
#include "engine/Printables.h"
#include "engine/QRUtils.h"
#include "engine/Resources.h"
#include "rtl/ScopeExit.h"

namespace {
constexpr int kPageResource = 62787;  // "Page"
}

VK_PUBLISHED(TNameCount) {}
VK_PUBLISHED(TQRBuilder) {}

void TQRBuilder::Create(TComponent* owner)
{
    inherited::Create(owner);
    Active = false;
    Report = nullptr;
    Font->SetName(QStringLiteral("Arial"));
    SetOrientation(poPortrait);
}

void TQRBuilder::Destroy()
{
    SetActive(false);
    for (int i = 0; i < NameList->Count(); ++i)
        ::Free(NameList->Objects(i));
    NameList->Clear();
    inherited::Destroy();
}

void TQRBuilder::CheckOwner(const TComponent* owner)
{
    if (!dynamic_cast<const TWinControl*>(owner))
        throw EComponentError(QStringLiteral("A report builder needs a windowed control as its owner"));
}

void TQRBuilder::CheckCanActivate() const
{
    // a new report is parented to the owner; a report handed in is named through its owner
    if (!Report)
        CheckOwner(Owner());
    else if (!Report->Owner())
        throw EComponentError(QStringLiteral("A report handed to a report builder needs an owner"));
}

void TQRBuilder::SetActive(bool value)
{
    if (value == Active)
        return;
    if (value) {
        CheckCanActivate();
        BuildFramework();
        // the report may go with its owner while the builder still holds it
        Report->FreeNotification(this);
    } else {
        FreeAndNil(Report);
    }
    Active = value;
}

void TQRBuilder::BuildFramework()
{
    if (Report)
        return;
    Report = New<TQuickRep>(Owner());
    // the builder is not active yet, so nothing else would free the half-built report
    TScopeExit undo([this] { FreeAndNil(Report); });
    FurnishReport();
    undo.Dismiss();
}

void TQRBuilder::FurnishReport()
{
    Report->SetParent(As<TWinControl>(Owner()));
    Report->SetVisible(false);
    Report->Page()->SetOrientation(Orientation);
    Report->SetFont(Font.get());
    if (!Title.isEmpty())
        AddTitleLabel();
    AddPageNumber();
}

void TQRBuilder::AddTitleLabel()
{
    TQuickRepBands* bands = Report->Bands();
    if (!bands->HasTitle())
        bands->SetHasTitle(true);
    auto* label = As<TQRLabel>(Report->FirstBandOfType(rbTitle)->AddPrintable(TQRLabel::ClassInfo()));
    // the flag alone: sizing to the caption, still empty, would leave the label 0 wide
    label->StoreAutoSize(true);
    label->SetAlignment(taCenter);
    label->SetAlignToBand(true);
    label->Font()->SetName(QStringLiteral("Arial"));
    label->Font()->SetSize(14);
    label->Font()->SetStyle(TFontStyles{fsBold});
    label->SetCaption(Title);
    // the centring switched AutoSize off: the label takes its title's size here,
    // so that the designer shows it and the user can pick it
    label->SetSize(QRectF(label->Size().topLeft(), label->TextExtent(Title)));
}

void TQRBuilder::AddPageNumber()
{
    TQuickRepBands* bands = Report->Bands();
    const bool hadFooter = bands->HasPageFooter();
    if (!hadFooter)
        bands->SetHasPageFooter(true);
    TQRCustomBand* footer = Report->FirstBandOfType(rbPageFooter);
    auto* pageNumber = As<TQRSysData>(footer->AddPrintable(TQRSysData::ClassInfo()));
    pageNumber->SetAlignment(taRightJustify);
    pageNumber->SetAlignToBand(true);
    pageNumber->SetData(qrsPageNumber);
    pageNumber->SetText(LoadStr(kPageResource) + QLatin1Char(' '));
    // a footer the report already had keeps its height
    if (!hadFooter)
        footer->SetBandHeight(RoundPx(pageNumber->Size().height() * 1.5));
}

void TQRBuilder::SetOrientation(TPrinterOrientation value)
{
    Orientation = value;
    if (Active)
        Report->Page()->SetOrientation(value);
}

void TQRBuilder::SetTitle(const QString& value)
{
    Title = value;
    if (Active)
        Report->SetReportTitle(value);
}

TQuickRep* TQRBuilder::FetchReport()
{
    if (!Active)
        return nullptr;
    TQuickRep* report = Report;
    report->RemoveFreeNotification(this);
    Report = nullptr;
    Active = false;
    return report;
}

QString TQRBuilder::NewName(const QString& base)
{
    const QString name = base.mid(1);
    int number = 1;
    const int index = NameList->IndexOf(name);
    if (index < 0) {
        auto* counter = new TNameCount();
        counter->Count = number;
        NameList->AddObject(name, counter);
    } else {
        number = ++static_cast<TNameCount*>(NameList->Objects(index))->Count;
    }
    return name + QString::number(number);
}

void TQRBuilder::RenameObjects()
{
    TComponent* owner = Report ? Report->Owner() : nullptr;
    if (!owner)
        return;
    const int count = owner->ComponentCount();
    for (int i = 0; i < count; ++i) {
        TComponent* component = owner->Components(i);
        if (component->Name().isEmpty())
            component->SetName(UniqueName(owner, component->ClassName().mid(1)));
    }
}

void TQRBuilder::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == Report) {
        Report = nullptr;
        Active = false;
    }
}
