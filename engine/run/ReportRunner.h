#pragma once
// Runs a report over its data set into prepared pages: title once at the
// start, page header on each page (on the first only with FirstPageHeader),
// column header, group headers and footers when a group's expression
// changes, a detail band per record with its child bands, sub-detail bands
// per master record, summary at the end, page footer at the foot of each page
// (on the last only with LastPageFooter); ForceNewPage, PrintIfEmpty,
// columns, disabled bands skipped, stretching text that grows its band.
// A run goes in steps (the report's start, each record, the end), so that a
// window can prepare pages from its event loop between its users' actions.
#include "ElementPrinter.h"
#include "classes/Owned.h"

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
    // Closes the data sets a run that did not end opened.
    ~TQRReportRunner();

    // Told after each finished page with the pages so far; returning false
    // stops the run (the pages prepared so far stay).
    std::function<bool(const TQRPreparedReport&)> OnPageReady;

    // Prepares every page into out (emptied first). Returns false when
    // OnPageReady stopped the run.
    bool Run(TQRPreparedReport& out);

    // Run in steps: Start once (out emptied first and filled from then on),
    // then Step until it returns false. The data sets the run opens close
    // when it ends, however it ends: done, stopped, failed, or its report,
    // a band, an element or a data set freed between steps.
    void Start(TQRPreparedReport& out);
    // Prepares the next piece of the report; false once the run is over.
    bool Step();
    // True when the run ended with every page prepared.
    bool Finished() const { return finished_; }

private:
    struct TBands;
    class TStop;
    class TWatch;
    enum class TPhase { Begin, Records, End, Done };

    void StepPhase();
    // The first page with the title and column header; the data set at its first record.
    void Begin();
    // Moves to the next record and prints it; past the last, the group footers.
    void PrintNextRecord();
    // Ends the run where it is: the page being drawn is dropped, the data sets it opened close.
    void EndRun();
    // Something the run reads went: the run ends where it is.
    void Lost(TComponent* component);

    void StartPage();
    void FinishPage(bool lastPage);
    void PrintBand(TQRCustomBand* band);
    // Moves to the next column or page when the band does not fit; true on a new page.
    bool PlaceBand(TQRCustomBand* band, double height);
    void DrawBand(TQRCustomBand* band, const QPointF& origin, double height,
                  const std::vector<TQRElementLayout>& layouts);
    const std::vector<TQRPrintable*>& ElementsOf(const TQRCustomBand* band) const;
    TQRCustomBand* ChildOf(const TQRCustomBand* band) const;
    double MeasureBand(TQRCustomBand* band, std::vector<TQRElementLayout>& layouts) const;
    double ChainHeight(TQRCustomBand* band) const;
    // Opens the closed data sets of the report and its sub-details into opened_.
    void OpenDataSets();
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
    TOwned<TWatch> watch_;
    std::vector<TDataSet*> opened_;  // by this run, closed when it ends
    TPhase phase_ = TPhase::Done;
    bool finished_ = false;
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
