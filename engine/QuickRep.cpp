#include "engine/QuickRep.h"

#include "classes/Published.h"
#include "controls/ControlProps.h"
#include "db/DataSet.h"
#include "engine/Bands.h"
#include "engine/Printables.h"
#include "rtl/ScopeExit.h"

#include <algorithm>
#include <cmath>

int RoundPx(double value)
{
    constexpr double limit = 1e9;
    if (std::isnan(value))
        return 0;
    // the default rounding mode: half to even
    return static_cast<int>(std::clamp(std::nearbyint(value), -limit, limit));
}

bool ClampGeometry(QRectF& rect)
{
    const QRectF wanted = rect;
    const auto position = [](double v) { return std::clamp(v, -MaxReportExtent, MaxReportExtent); };
    const auto extent = [](double v) { return std::clamp(v, 0.0, MaxReportExtent); };
    rect = QRectF(position(wanted.left()), position(wanted.top()), extent(wanted.width()), extent(wanted.height()));
    return rect.left() != wanted.left() || rect.top() != wanted.top() || rect.width() != wanted.width() ||
           rect.height() != wanted.height();
}

double ReportZoomFactor(const TCustomQuickRep* report)
{
    return report ? report->Zoom() / 100.0 : 1.0;
}

TQRReportEditor* ReportEditor(const TCustomQuickRep* report)
{
    return report ? report->Designer() : nullptr;
}

VK_PUBLISHED(TQRReportEditor) {}

// ---- TQRFrame ----

VK_PUBLISHED(TQRFrame)
{
    c.Prop("Color", &TQRFrame::Color, &TQRFrame::SetColor).Default(clBlack);
    c.Prop("DrawBottom", &TQRFrame::DrawBottom, &TQRFrame::SetDrawBottom).Default(false);
    c.Prop("DrawLeft", &TQRFrame::DrawLeft, &TQRFrame::SetDrawLeft).Default(false);
    c.Prop("DrawRight", &TQRFrame::DrawRight, &TQRFrame::SetDrawRight).Default(false);
    c.Prop("DrawTop", &TQRFrame::DrawTop, &TQRFrame::SetDrawTop).Default(false);
    c.Prop("Style", &TQRFrame::Style, &TQRFrame::SetStyle).Default(psSolid);
    c.Prop("Width", &TQRFrame::Width, &TQRFrame::SetWidth).Default(1);
}

static void CheckSide(int side)
{
    if (side < 0 || side > 3)
        throw EListError(QStringLiteral("Frame side index out of bounds (%1)").arg(side));
}

bool TQRFrame::Value(int side) const
{
    CheckSide(side);
    return sides_[side];
}

void TQRFrame::SetValue(int side, bool value)
{
    CheckSide(side);
    sides_[side] = value;
    Changed();
}

void TQRFrame::SetColor(TColor v)
{
    color_ = v;
    Changed();
}

void TQRFrame::SetStyle(TPenStyle v)
{
    style_ = v;
    Changed();
}

void TQRFrame::SetWidth(int v)
{
    width_ = std::max(0, v);
    Changed();
}

void TQRFrame::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TQRFrame*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    std::copy(std::begin(other->sides_), std::end(other->sides_), std::begin(sides_));
    color_ = other->color_;
    style_ = other->style_;
    width_ = other->width_;
    Changed();
}

void TQRFrame::Paint(QPainter& painter, const QRectF& rect) const
{
    if (!AnyFrame() || width_ == 0)
        return;
    TPen pen;
    pen.SetColor(color_);
    pen.SetStyle(style_);
    pen.SetWidth(width_);
    painter.save();
    painter.setPen(pen.ToQPen());
    // lines run inside the rectangle so that a frame never leaves its control
    const double inset = width_ / 2.0;
    const QRectF r = rect.adjusted(inset, inset, -inset, -inset);
    if (sides_[0])
        painter.drawLine(r.topLeft(), r.topRight());
    if (sides_[1])
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    if (sides_[2])
        painter.drawLine(r.topLeft(), r.bottomLeft());
    if (sides_[3])
        painter.drawLine(r.topRight(), r.bottomRight());
    painter.restore();
}

// ---- TQRBasePanel ----

VK_PUBLISHED(TQRBasePanel)
{
    controlprops::Color(c, clWhite);
    controlprops::Font(c);
    controlprops::State(c);
    c.Prop("Frame", &TQRBasePanel::Frame);
    c.Prop("Size", &TQRBasePanel::StreamedSize);
}

VK_PUBLISHED(TQRSize)
{
    c.Prop("Left", &TQRSize::Left, &TQRSize::SetLeft).FloatRange(-MaxReportExtent, MaxReportExtent);
    c.Prop("Top", &TQRSize::Top, &TQRSize::SetTop).FloatRange(-MaxReportExtent, MaxReportExtent);
    c.Prop("Width", &TQRSize::Width, &TQRSize::SetWidth).FloatRange(0, MaxReportExtent);
    c.Prop("Height", &TQRSize::Height, &TQRSize::SetHeight).FloatRange(0, MaxReportExtent);
}

void TQRBasePanel::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetBevelOuter(bvNone);
    SetCaption(QString());
    SetColor(clWhite);
}

void TQRBasePanel::PaintFrame()
{
    QPainter& painter = *Canvas()->Painter();
    const double z = ZoomFactor();
    painter.save();
    painter.scale(z, z);
    Frame()->Paint(painter, QRectF(0, 0, Width() / z, Height() / z));
    painter.restore();
}

// ---- TQuickRepBands ----

VK_PUBLISHED(TQuickRepBands) {}

TQRBandType TQuickRepBands::BandTypeOfIndex(int index)
{
    switch (index) {
    case 1: return rbTitle;
    case 2: return rbPageHeader;
    case 3: return rbColumnHeader;
    case 4: return rbDetail;
    case 6: return rbPageFooter;
    case 7: return rbSummary;
    default:
        throw EListError(QStringLiteral("Band set index out of bounds (%1)").arg(index));
    }
}

bool TQuickRepBands::GetHasBand(int index) const
{
    const TQRBandType type = BandTypeOfIndex(index);
    return report_ && report_->FirstBandOfType(type) != nullptr;
}

void TQuickRepBands::SetHasBand(int index, bool value)
{
    const TQRBandType type = BandTypeOfIndex(index);
    if (!report_)
        return;
    TQRCustomBand* band = report_->FirstBandOfType(type);
    if (value && !band)
        report_->CreateBand(type);
    else if (!value && band)
        band->Free();
}

// ---- TQRPage ----

VK_PUBLISHED(TQRPage)
{
    c.Prop("BottomMargin", &TQRPage::BottomMargin, &TQRPage::SetBottomMargin).FloatRange(0, MaxReportExtentMM);
    c.Prop("Columns", &TQRPage::Columns, &TQRPage::SetColumns).Default(1);
    c.Prop("ColumnSpace", &TQRPage::ColumnSpace, &TQRPage::SetColumnSpace).FloatRange(0, MaxReportExtentMM);
    c.Prop("LeftMargin", &TQRPage::LeftMargin, &TQRPage::SetLeftMargin).FloatRange(0, MaxReportExtentMM);
    c.Prop("Length", &TQRPage::Length, &TQRPage::SetLength).FloatRange(1, MaxReportExtentMM);
    c.Prop("Orientation", &TQRPage::Orientation, &TQRPage::SetOrientation).Default(poPortrait);
    c.Prop("PaperSize", &TQRPage::PaperSize, &TQRPage::SetPaperSize).Default(pzA4);
    c.Prop("RightMargin", &TQRPage::RightMargin, &TQRPage::SetRightMargin).FloatRange(0, MaxReportExtentMM);
    c.Prop("TopMargin", &TQRPage::TopMargin, &TQRPage::SetTopMargin).FloatRange(0, MaxReportExtentMM);
    c.Prop("Width", &TQRPage::Width, &TQRPage::SetWidth).FloatRange(1, MaxReportExtentMM);
}

// Portrait width and length in millimetres of the named sizes.
static QSizeF PaperDimensions(TQRPaperSize size)
{
    switch (size) {
    case pzA3: return {297, 420};
    case pzA5: return {148, 210};
    case pzB5: return {182, 257};
    case pzLetter: return {215.9, 279.4};
    case pzLegal: return {215.9, 355.6};
    case pzExecutive: return {184.2, 266.7};
    default: return {210, 297};
    }
}

void TQRPage::SetPaperSize(TQRPaperSize v)
{
    paperSize_ = v;
    if (v != pzCustom) {
        QSizeF d = PaperDimensions(v);
        if (orientation_ == poLandscape)
            d.transpose();
        width_ = d.width();
        length_ = d.height();
    }
    Changed();
}

void TQRPage::SetOrientation(TPrinterOrientation v)
{
    if (v == orientation_)
        return;
    orientation_ = v;
    std::swap(width_, length_);
    Changed();
}

void TQRPage::SetWidth(double v)
{
    width_ = std::max(1.0, v);
    Changed();
}

void TQRPage::SetLength(double v)
{
    length_ = std::max(1.0, v);
    Changed();
}

void TQRPage::SetMargin(int side, double v)
{
    margins_[side] = std::max(0.0, v);
    Changed();
}

void TQRPage::SetColumns(int v)
{
    columns_ = std::max(1, v);
    Changed();
}

void TQRPage::SetColumnSpace(double v)
{
    columnSpace_ = std::max(0.0, v);
    Changed();
}

void TQRPage::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TQRPage*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    paperSize_ = other->paperSize_;
    orientation_ = other->orientation_;
    width_ = other->width_;
    length_ = other->length_;
    std::copy(std::begin(other->margins_), std::end(other->margins_), std::begin(margins_));
    columns_ = other->columns_;
    columnSpace_ = other->columnSpace_;
    Changed();
}

int TQRPage::ToPixels(double mm)
{
    return RoundPx(mm * 96.0 / 25.4);
}

void TQRPage::Changed()
{
    if (report_)
        report_->PageChanged();
}

// ---- TQRPrinterSettings ----

VK_PUBLISHED(TQRPrinterSettings)
{
    c.Prop("Copies", &TQRPrinterSettings::Copies).Default(1);
    c.Prop("Duplex", &TQRPrinterSettings::Duplex).Default(false);
    c.Prop("FirstPage", &TQRPrinterSettings::FirstPage).Default(0);
    c.Prop("LastPage", &TQRPrinterSettings::LastPage).Default(0);
    c.Prop("OutputBin", &TQRPrinterSettings::OutputBin).Default(binFirst);
    c.Prop("PrinterName", &TQRPrinterSettings::PrinterName);
}

void TQRPrinterSettings::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TQRPrinterSettings*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    Copies = other->Copies;
    Duplex = other->Duplex;
    FirstPage = other->FirstPage;
    LastPage = other->LastPage;
    OutputBin = other->OutputBin;
    PrinterName = other->PrinterName;
    OutputFileName = other->OutputFileName;
}

// ---- TCustomQuickRep ----

VK_PUBLISHED(TCustomQuickRep)
{
    c.Prop("DataSet", &TCustomQuickRep::DataSet, &TCustomQuickRep::SetDataSet);
    c.Prop("Options", &TCustomQuickRep::Options, &TCustomQuickRep::SetOptions);
    c.Prop("Page", &TCustomQuickRep::Page);
    c.Prop("PrinterSettings", &TCustomQuickRep::PrinterSettings);
    c.Prop("PrintIfEmpty", &TCustomQuickRep::PrintIfEmpty, &TCustomQuickRep::SetPrintIfEmpty).Default(true);
    c.Prop("ReportTitle", &TCustomQuickRep::ReportTitle, &TCustomQuickRep::SetReportTitle);
    c.Prop("SnapToGrid", &TCustomQuickRep::SnapToGrid, &TCustomQuickRep::SetSnapToGrid).Default(true);
    c.Prop("Units", &TCustomQuickRep::Units, &TCustomQuickRep::SetUnits).Default(qruMM);
    c.Prop("Zoom", &TCustomQuickRep::Zoom, &TCustomQuickRep::SetZoom).Default(100);
}

VK_PUBLISHED(TQuickRep) {}

void TCustomQuickRep::Create(TComponent* owner)
{
    inherited::Create(owner);
    ControlStyle.Include(csAcceptsControls);
    SetTabStop(true);
    ApplyPageSize();
}

void TCustomQuickRep::Destroy()
{
    // an editor editing the report stops before anything of the report goes
    if (designer_)
        designer_->StopEdit();
    inherited::Destroy();
}

void TCustomQuickRep::SetZoom(int zoom)
{
    if (zoom < 1 || zoom > 300 || zoom == zoom_)
        return;
    zoom_ = zoom;
    PageChanged();
}

void TCustomQuickRep::SetDataSet(TDataSet* v)
{
    TrackReference(this, dataSet_, v);
}

void TCustomQuickRep::SetDesigner(TQRReportEditor* designer)
{
    TrackReference(this, designer_, designer);
    Invalidate();
}

void TCustomQuickRep::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == dataSet_)
        dataSet_ = nullptr;
    if (component == designer_)
        designer_ = nullptr;
}

static int PrintRank(TQRBandType type)
{
    switch (type) {
    case rbPageHeader: return 0;
    case rbTitle: return 1;
    case rbColumnHeader: return 2;
    case rbGroupHeader: return 3;
    case rbDetail: return 4;
    case rbSubDetail: return 5;
    case rbGroupFooter: return 6;
    case rbSummary: return 7;
    case rbPageFooter: return 8;
    default: return 9;  // overlays and children without a parent band
    }
}

std::vector<TQRCustomBand*> TCustomQuickRep::BandList() const
{
    std::vector<TQRCustomBand*> mains;
    std::vector<TQRChildBand*> children;
    for (int i = 0; i < ControlCount(); ++i) {
        auto* band = dynamic_cast<TQRCustomBand*>(Controls(i));
        auto* child = dynamic_cast<TQRChildBand*>(band);
        if (child && child->ParentBand() && child->ParentBand()->Parent() == this)
            children.push_back(child);
        else if (band)
            mains.push_back(band);
    }
    std::stable_sort(mains.begin(), mains.end(), [](TQRCustomBand* a, TQRCustomBand* b) {
        return PrintRank(a->BandType()) < PrintRank(b->BandType());
    });
    std::vector<TQRCustomBand*> ordered;
    // each band is followed by its chain of children
    const auto appendChain = [&](TQRCustomBand* band, auto& self) -> void {
        ordered.push_back(band);
        for (TQRChildBand* child : children)
            if (child->ParentBand() == band && std::find(ordered.begin(), ordered.end(), child) == ordered.end())
                self(child, self);
    };
    for (TQRCustomBand* band : mains)
        appendChain(band, appendChain);
    return ordered;
}

TQRCustomBand* TCustomQuickRep::FirstBandOfType(TQRBandType type) const
{
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* band = dynamic_cast<TQRCustomBand*>(Controls(i)); band && band->BandType() == type)
            return band;
    return nullptr;
}

TQRCustomBand* TCustomQuickRep::CreateBand(TQRBandType type)
{
    TComponent* owner = Owner() ? Owner() : this;
    TQRCustomBand* band = nullptr;
    if (type == rbChild)
        band = New<TQRChildBand>(owner);
    else if (type == rbGroupHeader)
        band = New<TQRGroup>(owner);
    else if (type == rbSubDetail)
        band = New<TQRSubDetail>(owner);
    else
        band = New<TQRBand>(owner);
    band->SetBandType(type);
    band->SetParent(this);
    return band;
}

int TCustomQuickRep::PageWidthPx() const { return TQRPage::ToPixels(page_.Width()); }
int TCustomQuickRep::PageLengthPx() const { return TQRPage::ToPixels(page_.Length()); }
int TCustomQuickRep::LeftMarginPx() const { return TQRPage::ToPixels(page_.LeftMargin()); }
int TCustomQuickRep::TopMarginPx() const { return TQRPage::ToPixels(page_.TopMargin()); }

int TCustomQuickRep::BandWidthPx() const
{
    return PageWidthPx() - LeftMarginPx() - TQRPage::ToPixels(page_.RightMargin());
}

void TCustomQuickRep::LayoutBands()
{
    if (layingOut_ || IsLoading() || IsDestroying())
        return;
    layingOut_ = true;
    TScopeExit done([this] { layingOut_ = false; });
    double y = TopMarginPx();
    for (TQRCustomBand* band : BandList()) {
        band->SetSize(QRectF(LeftMarginPx(), y, BandWidthPx(), band->BandHeight()));
        for (TQRPrintable* element : band->Printables())
            element->ApplyZoom();
        y += band->BandHeight();
    }
}

void TCustomQuickRep::ApplyPageSize()
{
    const double z = ZoomFactor();
    inherited::SetBounds(Left(), Top(), RoundPx(PageWidthPx() * z), RoundPx(PageLengthPx() * z));
}

void TCustomQuickRep::PageChanged()
{
    if (IsLoading())
        return;
    ApplyPageSize();
    LayoutBands();
    Invalidate();
}

void TCustomQuickRep::Loaded()
{
    TQRBasePanel::Loaded();
    PageChanged();
}

void TCustomQuickRep::KeyDown(int& key, TShiftState shift)
{
    if (designer_ && designer_->KeyDown(key, shift)) {
        key = 0;
        return;
    }
    inherited::KeyDown(key, shift);
}

void TCustomQuickRep::Paint()
{
    QPainter& painter = *Canvas()->Painter();
    painter.fillRect(ClientRect(), ColorToQColor(Color()));
    if (!designer_)
        return;
    designer_->PaintAdornments(this, painter);
    PaintFrame();
}
