#pragma once
// The report: a page-sized panel that holds bands stacked in print order.
// Every report control keeps its geometry twice: the control's bounds in
// pixels at the report's current zoom, and a zoom-independent rectangle in
// pixels at zoom 100 (96 pixels per inch) that is what is stored and printed.
// Changing the zoom recomputes the bounds from the zoom-independent rectangle,
// so returning to a zoom restores every position exactly.
#include "controls/ExtCtrls.h"
#include "engine/References.h"
#include "engine/ReportEditor.h"
#include "graphics/Picture.h"
#include "rtl/ScopeExit.h"

#include <QRectF>
#include <vector>

class TDataSet;
class TQRCustomBand;
class TCustomQuickRep;

VK_ENUM(TQRBandType, rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
        rbSubDetail, rbColumnHeader, rbOverlay, rbChild)
VK_ENUM(TPrinterOrientation, poPortrait, poLandscape)
VK_ENUM(TQRPaperSize, pzA4, pzA3, pzA5, pzB5, pzLetter, pzLegal, pzExecutive, pzCustom)
VK_ENUM(TQRUnit, qruMM, qruInches, qruPixels, qruCharacters, qruNative)
VK_ENUM(TQROption, FirstPageHeader, LastPageFooter)
using TQROptions = TSet<TQROption>;
VK_ENUM(TQRBin, binFirst, binUpper, binLower, binMiddle, binManual, binEnvelope, binAuto)

// Lines drawn along the sides of a report control.
class TQRFrame : public TPersistent {
    VK_CLASS(TQRFrame, TPersistent)
public:
    bool DrawTop() const { return sides_[0]; }
    void SetDrawTop(bool v) { SetValue(0, v); }
    bool DrawBottom() const { return sides_[1]; }
    void SetDrawBottom(bool v) { SetValue(1, v); }
    bool DrawLeft() const { return sides_[2]; }
    void SetDrawLeft(bool v) { SetValue(2, v); }
    bool DrawRight() const { return sides_[3]; }
    void SetDrawRight(bool v) { SetValue(3, v); }
    // Side 0 top, 1 bottom, 2 left, 3 right; stores and repaints the owner.
    bool Value(int side) const;
    void SetValue(int side, bool value);
    bool AnyFrame() const { return sides_[0] || sides_[1] || sides_[2] || sides_[3]; }
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v);
    int Width() const { return width_; }
    void SetWidth(int v);
    void Assign(const TPersistent* source) override;
    // Draws the chosen sides inside rect (painter coordinates).
    void Paint(QPainter& painter, const QRectF& rect) const;
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    bool sides_[4] = {false, false, false, false};
    TColor color_ = clBlack;
    TPenStyle style_ = psSolid;
    int width_ = 1;
};

// The zoom-independent rectangle of a report control as it streams: pixels at
// zoom 100, written beside the control's bounds so that a layout saved at any
// zoom reads back exactly.
class TQRSize : public TPersistent {
    VK_CLASS(TQRSize, TPersistent)
public:
    TQRSize() = default;
    explicit TQRSize(QRectF* rect) : rect_(rect) {}
    double Left() const { return rect_->left(); }
    void SetLeft(double v) { rect_->moveLeft(v); Changed(); }
    double Top() const { return rect_->top(); }
    void SetTop(double v) { rect_->moveTop(v); Changed(); }
    double Width() const { return rect_->width(); }
    void SetWidth(double v) { rect_->setWidth(v); Changed(); }
    double Height() const { return rect_->height(); }
    void SetHeight(double v) { rect_->setHeight(v); Changed(); }
    // Runs after every change, so that the control re-places itself.
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    QRectF* rect_ = nullptr;
};

// Rounds half to even, as every conversion of the engine does; values beyond
// a billion pixels saturate and a NaN gives 0, so that no conversion is undefined.
int RoundPx(double value);

// The largest extent of the report's geometry, pixels at zoom 100 (about 26
// metres). A layout may come from anywhere: positions and sizes read from it
// are clamped to this, so that no zoom or sum of band heights nears the
// limits of a pixel coordinate.
inline constexpr double MaxReportExtent = 100000;
inline constexpr double MaxReportExtentMM = MaxReportExtent * 25.4 / 96;
// Clamps a zoom-independent rectangle to the extent (sizes to 0 and up);
// true when it had to.
bool ClampGeometry(QRectF& rect);

// The zoom factor of a report (1.0 at zoom 100, and without a report).
double ReportZoomFactor(const TCustomQuickRep* report);

// The geometry every report control shares, on the control class Base of
// Derived (which has ParentReport()): a frame, and a zoom-independent
// rectangle with its streamed form that places the control for the report's
// zoom. Bounds set from outside (a drag, a layout) become the rectangle,
// clamped to the report's extent.
template <class Derived, class Base>
class TQRZoomGeometry : public TEditorMouse<Derived, Base> {
public:
    TQRZoomGeometry()
    {
        frame_.OnChange = TNotifyEvent([this](TObject*) { this->Invalidate(); });
        streamedSize_.OnChange = TNotifyEvent([this](TObject*) {
            if (!this->IsLoading())
                SizeChanged();  // Loaded places the control once the whole layout is read
        });
    }
    TQRFrame* Frame() { return &frame_; }
    const TQRFrame* Frame() const { return &frame_; }
    void SetFrame(TQRFrame* frame) { frame_.Assign(frame); }
    // The zoom factor of the report (1.0 at zoom 100).
    double ZoomFactor() const { return ReportZoomFactor(static_cast<const Derived*>(this)->ParentReport()); }
    // Zoom-independent rectangle, pixels at zoom 100.
    const QRectF& Size() const { return size_; }
    // Sets the zoom-independent rectangle and places the control for the zoom.
    void SetSize(const QRectF& size)
    {
        size_ = size;
        ApplyZoom();
    }
    TQRSize* StreamedSize() { return &streamedSize_; }
    const TQRSize* StreamedSize() const { return &streamedSize_; }
    void Loaded() override
    {
        Base::Loaded();
        ApplyZoom();  // the streamed rectangle wins over the bounds read at the saved zoom
    }
    void SetBounds(int left, int top, int width, int height) override
    {
        if (!zooming_) {
            const double z = ZoomFactor();
            size_ = QRectF(left / z, top / z, width / z, height / z);
            if (ClampGeometry(size_)) {
                ApplyZoom();  // bounds beyond the extent (from a layout, say) place the clamped rectangle
                return;
            }
        }
        Base::SetBounds(left, top, width, height);
    }
    // Places the control for the current zoom from its zoom-independent rectangle.
    void ApplyZoom()
    {
        FitSize(size_);
        const double z = ZoomFactor();
        zooming_ = true;
        TScopeExit done([this] { zooming_ = false; });
        SetBounds(RoundPx(size_.left() * z), RoundPx(size_.top() * z), RoundPx(size_.width() * z),
                  RoundPx(size_.height() * z));
    }

protected:
    // True while ApplyZoom places the control (its rectangle stays as it is).
    bool Zooming() const { return zooming_; }
    // After a streamed Size value changed the rectangle, outside loading.
    virtual void SizeChanged() { ApplyZoom(); }
    // Moves the rectangle where the control must stand before it is placed.
    virtual void FitSize(QRectF&) const {}

private:
    TQRFrame frame_;
    QRectF size_;
    TQRSize streamedSize_{&size_};
    bool zooming_ = false;
};

// Base of the report and its bands: a panel with a frame and a
// zoom-independent rectangle.
class TQRBasePanel : public TQRZoomGeometry<TQRBasePanel, TCustomPanel> {
    VK_CLASS(TQRBasePanel, TCustomPanel)
public:
    void Create(TComponent* owner) override;
    // The report this control belongs to (itself for a report), or nil.
    virtual TCustomQuickRep* ParentReport() const = 0;

protected:
    void PaintFrame();
};

// The report's band set: the six standard kinds, read and set by index
// (1 title, 2 page header, 3 column header, 4 detail, 6 page footer, 7 summary).
class TQuickRepBands : public TPersistent {
    VK_CLASS(TQuickRepBands, TPersistent)
public:
    TQuickRepBands() = default;
    explicit TQuickRepBands(TCustomQuickRep* report) : report_(report) {}
    // Raises EListError for an index outside the set.
    bool GetHasBand(int index) const;
    // True adds a band of the kind; False frees the first band of the kind with its elements.
    void SetHasBand(int index, bool value);
    bool HasTitle() const { return GetHasBand(1); }
    void SetHasTitle(bool v) { SetHasBand(1, v); }
    bool HasPageHeader() const { return GetHasBand(2); }
    void SetHasPageHeader(bool v) { SetHasBand(2, v); }
    bool HasColumnHeader() const { return GetHasBand(3); }
    void SetHasColumnHeader(bool v) { SetHasBand(3, v); }
    bool HasDetail() const { return GetHasBand(4); }
    void SetHasDetail(bool v) { SetHasBand(4, v); }
    bool HasPageFooter() const { return GetHasBand(6); }
    void SetHasPageFooter(bool v) { SetHasBand(6, v); }
    bool HasSummary() const { return GetHasBand(7); }
    void SetHasSummary(bool v) { SetHasBand(7, v); }
    // The band kind of an index of the set.
    static TQRBandType BandTypeOfIndex(int index);

private:
    TCustomQuickRep* report_ = nullptr;
};

// Paper, orientation and margins (millimetres).
class TQRPage : public TPersistent {
    VK_CLASS(TQRPage, TPersistent)
public:
    TQRPage() = default;
    explicit TQRPage(TCustomQuickRep* report) : report_(report) {}
    TQRPaperSize PaperSize() const { return paperSize_; }
    void SetPaperSize(TQRPaperSize v);  // sets width and length of a named size
    TPrinterOrientation Orientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation v);  // swaps width and length on a change
    double Width() const { return width_; }
    void SetWidth(double v);
    double Length() const { return length_; }
    void SetLength(double v);
    double TopMargin() const { return margins_[0]; }
    void SetTopMargin(double v) { SetMargin(0, v); }
    double BottomMargin() const { return margins_[1]; }
    void SetBottomMargin(double v) { SetMargin(1, v); }
    double LeftMargin() const { return margins_[2]; }
    void SetLeftMargin(double v) { SetMargin(2, v); }
    double RightMargin() const { return margins_[3]; }
    void SetRightMargin(double v) { SetMargin(3, v); }
    int Columns() const { return columns_; }
    void SetColumns(int v);
    double ColumnSpace() const { return columnSpace_; }
    void SetColumnSpace(double v);
    void Assign(const TPersistent* source) override;
    // Millimetres to pixels at zoom 100 (96 pixels per inch), rounded.
    static int ToPixels(double mm);

private:
    void SetMargin(int side, double v);
    void Changed();
    TCustomQuickRep* report_ = nullptr;
    TQRPaperSize paperSize_ = pzA4;
    TPrinterOrientation orientation_ = poPortrait;
    double width_ = 210, length_ = 297;
    double margins_[4] = {10, 10, 10, 10};
    int columns_ = 1;
    double columnSpace_ = 0;
};

// Printer settings of a report.
class TQRPrinterSettings : public TPersistent {
    VK_CLASS(TQRPrinterSettings, TPersistent)
public:
    int Copies = 1;
    bool Duplex = false;
    int FirstPage = 0;  // 0: from the first page
    int LastPage = 0;   // 0: to the last page
    TQRBin OutputBin = binFirst;
    // The print queue chosen in the printer set-up; empty, or a queue this
    // machine does not have: the system's default.
    QString PrinterName;
    // When set, printing writes a PDF file of this name instead of using a printer.
    QString OutputFileName;
    void Assign(const TPersistent* source) override;
};

class TCustomQuickRep : public TQRBasePanel {
    VK_CLASS(TCustomQuickRep, TQRBasePanel)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    TCustomQuickRep* ParentReport() const override { return const_cast<TCustomQuickRep*>(this); }

    TQuickRepBands* Bands() { return &bands_; }
    const TQuickRepBands* Bands() const { return &bands_; }
    TQRPage* Page() { return &page_; }
    const TQRPage* Page() const { return &page_; }
    void SetPage(TQRPage* page) { page_.Assign(page); }
    TQRPrinterSettings* PrinterSettings() { return &printerSettings_; }
    const TQRPrinterSettings* PrinterSettings() const { return &printerSettings_; }
    void SetPrinterSettings(TQRPrinterSettings* v) { printerSettings_.Assign(v); }
    TQRUnit Units() const { return units_; }
    void SetUnits(TQRUnit v) { units_ = v; }
    int Zoom() const { return zoom_; }
    void SetZoom(int zoom);  // 1 to 300; anything else is ignored
    QString ReportTitle() const { return reportTitle_; }
    void SetReportTitle(const QString& v) { reportTitle_ = v; }
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* v);
    TQROptions Options() const { return options_; }
    void SetOptions(TQROptions v) { options_ = v; }
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool v) { printIfEmpty_ = v; }
    bool SnapToGrid() const { return snapToGrid_; }
    void SetSnapToGrid(bool v) { snapToGrid_ = v; }
    int GridSize() const { return 4; }  // pixels at zoom 100

    // Running, defined with the engine's printing code.
    void Preview();
    void Print();
    void PrinterSetup();
    // Runs the report into the filter, then frees the filter.
    void ExportToFilter(class TQRExportFilter* filter);

    // The report's bands in print order (page header, title, column header,
    // group headers, detail, sub-details, group footers, summary, page footer,
    // each child right after its parent; overlays last).
    std::vector<TQRCustomBand*> BandList() const;
    TQRCustomBand* FirstBandOfType(TQRBandType type) const;
    // Creates a band of the kind owned by the report's owner, shown on the report.
    TQRCustomBand* CreateBand(TQRBandType type);
    // Restacks the bands from the top margin in print order.
    void LayoutBands();
    // Page size and margins in pixels at zoom 100.
    int PageWidthPx() const;
    int PageLengthPx() const;
    int LeftMarginPx() const;
    int TopMarginPx() const;
    int BandWidthPx() const;  // page width less the left and right margins
    void PageChanged();

    // The editor editing this report, set by the editor.
    TQRReportEditor* Designer() const { return designer_; }
    void SetDesigner(TQRReportEditor* designer);

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void KeyDown(int& key, TShiftState shift) override;

protected:
    void Paint() override;

private:
    void ApplyPageSize();
    bool layingOut_ = false;
    TQuickRepBands bands_{this};
    TQRPage page_{this};
    TQRPrinterSettings printerSettings_;
    TQRUnit units_ = qruMM;
    int zoom_ = 100;
    QString reportTitle_;
    TDataSet* dataSet_ = nullptr;
    TQROptions options_ = TQROptions{FirstPageHeader, LastPageFooter};
    bool printIfEmpty_ = true;
    bool snapToGrid_ = true;
    TQRReportEditor* designer_ = nullptr;
};

class TQuickRep : public TCustomQuickRep {
    VK_CLASS(TQuickRep, TCustomQuickRep)
};
