#include "engine/Bands.h"

#include "classes/Published.h"
#include "db/DataSet.h"
#include "engine/Printables.h"
#include "engine/QRUtils.h"

#include <algorithm>

// ---- TQRCustomBand ----

VK_PUBLISHED(TQRCustomBand)
{
    c.Prop("BandType", &TQRCustomBand::BandType, &TQRCustomBand::SetBandType).Default(rbTitle);
    c.Prop("ForceNewPage", &TQRCustomBand::ForceNewPage, &TQRCustomBand::SetForceNewPage).Default(false);
}

VK_PUBLISHED(TQRBand) {}

void TQRCustomBand::Create(TComponent* owner)
{
    inherited::Create(owner);
    ControlStyle.Include(csAcceptsControls);
    SetSize(QRectF(0, 0, 100, DefaultHeight));
}

void TQRCustomBand::Destroy()
{
    TCustomQuickRep* report = ParentReport();
    // a child band that followed this one now follows this band's parent
    if (auto* self = dynamic_cast<TQRChildBand*>(this); self && report && !report->IsDestroying())
        if (TQRChildBand* next = ChildBand())
            next->SetParentBand(self->ParentBand());
    inherited::Destroy();
    if (report && !report->IsDestroying())
        report->LayoutBands();
}

TCustomQuickRep* TQRCustomBand::ParentReport() const
{
    return dynamic_cast<TCustomQuickRep*>(Parent());
}

void TQRCustomBand::SetBandType(TQRBandType v)
{
    bandType_ = v;
    if (TCustomQuickRep* report = ParentReport())
        report->LayoutBands();
    Invalidate();
}

TQRChildBand* TQRCustomBand::ChildBand() const
{
    const TCustomQuickRep* report = ParentReport();
    if (!report)
        return nullptr;
    for (int i = 0; i < report->ControlCount(); ++i)
        if (auto* child = dynamic_cast<TQRChildBand*>(report->Controls(i)); child && child->ParentBand() == this)
            return child;
    return nullptr;
}

void TQRCustomBand::SetHasChild(bool v)
{
    TQRChildBand* child = ChildBand();
    TCustomQuickRep* report = ParentReport();
    if (v && !child && report) {
        auto* band = static_cast<TQRChildBand*>(report->CreateBand(rbChild));
        band->SetParentBand(this);
    } else if (!v && child) {
        child->Free();  // its own child, if any, moves up to this band
    }
}

void TQRCustomBand::SetBandHeight(double height)
{
    QRectF r = Size();
    r.setHeight(std::min(std::max(1.0, height), MaxReportExtent));  // max first: a NaN gives 1
    SetSize(r);
    if (TCustomQuickRep* report = ParentReport())
        report->LayoutBands();
}

void TQRCustomBand::SizeChanged()
{
    inherited::SizeChanged();
    if (TCustomQuickRep* report = ParentReport())
        report->LayoutBands();
}

TQRPrintable* TQRCustomBand::AddPrintable(TClass printableClass)
{
    TCustomQuickRep* report = ParentReport();
    TComponent* owner = report && report->Owner() ? report->Owner() : Owner();
    TQRPrintable* element = TQRPrintable::CreateOf(printableClass, owner);
    double right = 0;
    for (TQRPrintable* other : Printables())
        right = std::max(right, other->Size().right() + 10);
    element->SetParent(this);
    const QSizeF size = element->DefaultSize();
    element->SetSize(QRectF(std::max(1.0, right), 0, size.width(), size.height()));
    return element;
}

std::vector<TQRPrintable*> TQRCustomBand::Printables() const
{
    std::vector<TQRPrintable*> list;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* element = dynamic_cast<TQRPrintable*>(Controls(i)))
            list.push_back(element);
    return list;
}

void TQRCustomBand::SetParent(TWinControl* parent)
{
    TCustomQuickRep* before = ParentReport();
    inherited::SetParent(parent);
    if (before && before != ParentReport())
        before->LayoutBands();
    if (TCustomQuickRep* report = ParentReport())
        report->LayoutBands();
}

void TQRCustomBand::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    // a band stands where the report stacks it: a change of height restacks
    if (!Zooming())
        if (TCustomQuickRep* report = ParentReport())
            report->LayoutBands();
}

void TQRCustomBand::Paint()
{
    QPainter& painter = *Canvas()->Painter();
    painter.fillRect(ClientRect(), ColorToQColor(Color()));
    if (TQRReportEditor* editor = ReportEditor(ParentReport()))
        editor->PaintAdornments(this, painter);
    PaintFrame();
}

// ---- TQRChildBand ----

VK_PUBLISHED(TQRChildBand)
{
    c.Prop("BandType", &TQRChildBand::BandType, &TQRChildBand::SetBandType).Default(rbChild);
    c.Prop("ParentBand", &TQRChildBand::ParentBand, &TQRChildBand::SetParentBand);
}

void TQRChildBand::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetBandType(rbChild);
}

void TQRChildBand::SetParentBand(TQRCustomBand* band)
{
    if (band == this)
        return;
    // the layout file keeps the link by the parent's name: a band without one would lose its child
    if (band && band->Name().isEmpty() && band->Owner())
        band->SetName(UniqueName(band->Owner(), band->ClassName().mid(1)));
    TrackReference(this, parentBand_, band);
    if (TCustomQuickRep* report = ParentReport())
        report->LayoutBands();
}

void TQRChildBand::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == parentBand_)
        parentBand_ = nullptr;
}

// ---- TQRGroup ----

VK_PUBLISHED(TQRGroup)
{
    c.Prop("BandType", &TQRGroup::BandType, &TQRGroup::SetBandType).Default(rbGroupHeader);
    c.Prop("Expression", &TQRGroup::Expression, &TQRGroup::SetExpression);
    c.Prop("FooterBand", &TQRGroup::FooterBand, &TQRGroup::SetFooterBand);
}

void TQRGroup::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetBandType(rbGroupHeader);
}

void TQRGroup::SetFooterBand(TQRCustomBand* band)
{
    TrackReference(this, footerBand_, band);
}

void TQRGroup::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == footerBand_)
        footerBand_ = nullptr;
}

// ---- TQRSubDetail ----

VK_PUBLISHED(TQRSubDetail)
{
    c.Prop("BandType", &TQRSubDetail::BandType, &TQRSubDetail::SetBandType).Default(rbSubDetail);
    c.Prop("DataSet", &TQRSubDetail::DataSet, &TQRSubDetail::SetDataSet);
    c.Prop("FooterBand", &TQRSubDetail::FooterBand, &TQRSubDetail::SetFooterBand);
    c.Prop("HeaderBand", &TQRSubDetail::HeaderBand, &TQRSubDetail::SetHeaderBand);
    c.Prop("Master", &TQRSubDetail::Master, &TQRSubDetail::SetMaster);
    c.Prop("PrintIfEmpty", &TQRSubDetail::PrintIfEmpty, &TQRSubDetail::SetPrintIfEmpty).Default(false);
}

void TQRSubDetail::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetBandType(rbSubDetail);
}

void TQRSubDetail::SetDataSet(TDataSet* v) { TrackReference(this, dataSet_, v); }
void TQRSubDetail::SetMaster(TComponent* v) { TrackReference(this, master_, v); }
void TQRSubDetail::SetHeaderBand(TQRCustomBand* v) { TrackReference(this, headerBand_, v); }
void TQRSubDetail::SetFooterBand(TQRCustomBand* v) { TrackReference(this, footerBand_, v); }

void TQRSubDetail::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == dataSet_)
        dataSet_ = nullptr;
    if (component == master_)
        master_ = nullptr;
    if (component == headerBand_)
        headerBand_ = nullptr;
    if (component == footerBand_)
        footerBand_ = nullptr;
}
