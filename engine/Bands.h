#pragma once
// Bands: horizontal strips of the report, each of one kind, holding the
// printable elements. A band stands at the report's left margin, as wide as
// the page less the margins; its zoom-independent height is what prints.
#include "engine/QuickRep.h"

class TQRPrintable;

class TQRCustomBand : public TQRBasePanel {
    VK_CLASS(TQRCustomBand, TQRBasePanel)
public:
    void Create(TComponent* owner) override;
    void Destroy() override;
    TCustomQuickRep* ParentReport() const override;

    TQRBandType BandType() const { return bandType_; }
    void SetBandType(TQRBandType v);
    // True adds a child band right after this band; False frees it, and a
    // child band that followed the freed one then follows this band.
    bool HasChild() const { return ChildBand() != nullptr; }
    bool GetHasChild() const { return HasChild(); }
    void SetHasChild(bool v);
    // The child band that follows this band, or nil.
    class TQRChildBand* ChildBand() const;
    bool ForceNewPage() const { return forceNewPage_; }
    void SetForceNewPage(bool v) { forceNewPage_ = v; }
    // Zoom-independent height, pixels at zoom 100; setting it restacks the report.
    double BandHeight() const { return Size().height(); }
    void SetBandHeight(double height);
    // Creates an element of the class on this band, right of the elements
    // already there, with the class's default size, owned by the report's owner.
    TQRPrintable* AddPrintable(TClass printableClass);
    // The elements on this band, in child order.
    std::vector<TQRPrintable*> Printables() const;
    void SetParent(TWinControl* parent) override;
    void SetBounds(int left, int top, int width, int height) override;

    static constexpr int DefaultHeight = 40;

protected:
    void Paint() override;
    void SizeChanged() override;  // also restacks the report

private:
    TQRBandType bandType_ = rbTitle;
    bool forceNewPage_ = false;
};

class TQRBand : public TQRCustomBand {
    VK_CLASS(TQRBand, TQRCustomBand)
};

// A band printed right after its parent band.
class TQRChildBand : public TQRCustomBand {
    VK_CLASS(TQRChildBand, TQRCustomBand)
public:
    void Create(TComponent* owner) override;
    TQRCustomBand* ParentBand() const { return parentBand_; }
    void SetParentBand(TQRCustomBand* band);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TQRCustomBand* parentBand_ = nullptr;
};

// A group header: printed whenever its expression's value changes.
class TQRGroup : public TQRCustomBand {
    VK_CLASS(TQRGroup, TQRCustomBand)
public:
    void Create(TComponent* owner) override;
    QString Expression() const { return expression_; }
    void SetExpression(const QString& v) { expression_ = v; }
    TQRCustomBand* FooterBand() const { return footerBand_; }
    void SetFooterBand(TQRCustomBand* band);
    void Notification(TComponent* component, TOperation operation) override;

private:
    QString expression_;
    TQRCustomBand* footerBand_ = nullptr;
};

// A detail band over a second data set, printed for each master record.
class TQRSubDetail : public TQRCustomBand {
    VK_CLASS(TQRSubDetail, TQRCustomBand)
public:
    void Create(TComponent* owner) override;
    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* v);
    // The report or sub-detail whose records drive this one.
    TComponent* Master() const { return master_; }
    void SetMaster(TComponent* v);
    TQRCustomBand* HeaderBand() const { return headerBand_; }
    void SetHeaderBand(TQRCustomBand* v);
    TQRCustomBand* FooterBand() const { return footerBand_; }
    void SetFooterBand(TQRCustomBand* v);
    bool PrintIfEmpty() const { return printIfEmpty_; }
    void SetPrintIfEmpty(bool v) { printIfEmpty_ = v; }
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
    TComponent* master_ = nullptr;
    TQRCustomBand* headerBand_ = nullptr;
    TQRCustomBand* footerBand_ = nullptr;
    bool printIfEmpty_ = false;
};
