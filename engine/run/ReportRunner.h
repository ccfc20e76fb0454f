#pragma once
// Runs a report over its data set into prepared pages: title once at the
// start, page header on each page (on the first only with FirstPageHeader),
// column header, group headers and footers when a group's expression
// changes, a detail band per record with its child bands, sub-detail bands
// per master record, summary at the end, page footer at the foot of each page
// (on the last only with LastPageFooter); ForceNewPage, PrintIfEmpty,
// columns, disabled bands skipped, stretching text that grows its band.
#include "ElementPrinter.h"

#include <functional>
#include <memory>

class TCustomQuickRep;
class TQRCustomBand;
class TQRGroup;
class TQRSubDetail;
class TComponent;
class TDataSet;

class TQRReportRunner {
public:
    explicit TQRReportRunner(TCustomQuickRep* report);
    ~TQRReportRunner();

    // Told after each finished page with the pages so far; returning false
    // stops the run (the pages prepared so far stay).
    std::function<bool(const TQRPreparedReport&)> OnPageReady;

    // Prepares every page into out (emptied first). Returns false when
    // OnPageReady stopped the run.
    bool Run(TQRPreparedReport& out);

private:
    struct TBands;
    class TStop;

    void StartPage();
    void FinishPage(bool lastPage);
    void PrintBand(TQRCustomBand* band);
    // Moves to the next column or page when the band does not fit; true on a new page.
    bool PlaceBand(TQRCustomBand* band, double height);
    void DrawBand(TQRCustomBand* band, const QPointF& origin, double height,
                  const std::vector<TQRElementLayout>& layouts);
    double MeasureBand(TQRCustomBand* band, std::vector<TQRElementLayout>& layouts) const;
    double ChainHeight(TQRCustomBand* band) const;
    // Opens the closed data sets of the report and its sub-details into opened.
    void OpenDataSets(std::vector<TDataSet*>& opened);
    void PrintRecords();
    void CheckGroups(bool first);
    void PrintGroupFooters(size_t fromLevel);
    void PrintSubDetails(TComponent* master);
    bool IsColumnar(const TQRCustomBand* band) const;
    double ColumnWidth() const;  // a column's band, without the space between columns
    double PrintedWidth(const TQRCustomBand* band) const;  // a column's width or the page's
    double ColumnLeft() const;
    double BandWidth() const;  // the page less its side margins

    TCustomQuickRep* report_;
    std::unique_ptr<TBands> bands_;
    TQRElementPrinter printer_;
    TQRRunState state_;
    TQRPreparedReport* out_ = nullptr;
    QPicture picture_;
    std::unique_ptr<QPainter> painter_;
    std::vector<TQRPageText> texts_;
    double y_ = 0;            // next free place on the page
    double footerTop_ = 0;    // where the page footer starts
    double columnTop_ = 0;    // top of the columns on this page
    double columnBottom_ = 0; // lowest place any column reached
    int column_ = 0;
    bool pageHasRecords_ = false;  // a band other than headers stands on the page
    std::vector<QString> groupValues_;
};
