#pragma once
// The modal preview window of a report: the prepared pages with zoom (fit
// page, fit width, 100 %, in, out), page navigation (buttons and PgUp, PgDn,
// Home, End), print, printer setup, save through an export filter and close.
// Pages are prepared in steps from the window's event loop: the first page
// shows as soon as it is ready while the rest follow, with the count shown,
// and the user's actions run between steps, never inside one. The window
// hears of its report's going and keeps showing the pages prepared so far.
#include "engine/run/PreparedReport.h"
#include "forms/Forms.h"

#include <memory>
#include <vector>

class TCustomQuickRep;
class TQRReportRunner;
class QLabel;
class QScrollArea;
class QTimer;
class TQRPageView;

class TQRPreviewForm : public TForm {
    VK_CLASS(TQRPreviewForm, TForm)
public:
    TQRPreviewForm();
    ~TQRPreviewForm() override;
    void Create(TComponent* owner) override;
    void Destroy() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SetReport(TCustomQuickRep* report);
    TCustomQuickRep* Report() const { return report_; }  // nil once it went

    // Prepares every page not prepared yet at once (the window does this in
    // steps by itself once its loop runs); true when all pages are there,
    // false when the window closed or the report went before they were.
    bool PreparePages();
    bool Preparing() const { return runner_ != nullptr; }
    const TQRPreparedReport& Pages() const { return pages_; }
    int PageCount() const { return pages_.PageCount(); }
    int CurrentPage() const { return current_; }  // 1-based; 0 without pages
    void GotoPage(int page);  // clamped to the pages there are
    void FirstPage() { GotoPage(1); }
    void PriorPage() { GotoPage(current_ - 1); }
    void NextPage() { GotoPage(current_ + 1); }
    void LastPage() { GotoPage(PageCount()); }

    double Zoom() const { return zoom_; }  // percent
    void SetZoom(double percent);           // 10 to 400
    void ZoomIn() { SetZoom(zoom_ * 1.25); }
    void ZoomOut() { SetZoom(zoom_ / 1.25); }
    void ZoomToNatural();
    void FitPage();
    void FitWidth();
    void CloseWindow();

    // "Page N of M".
    QString PageText() const;
    void PrintPages();
    void SetupPrinter();
    // Asks for a file and a filter, then exports the pages through it.
    void SaveToFile();
    // Exports the pages through the filter list's entry at index into the
    // file; a name without an extension gets the entry's.
    void SaveToFile(int filterIndex, const QString& fileName);

private:
    void BuildWindow();
    void AddButton(const QString& text, const QString& tip, void (TQRPreviewForm::*action)());
    void Refresh();
    QSizeF PageRoom() const;  // the room a page has in the window
    // Drops the pages and prepares them again from the window's loop.
    void Restart();
    // A step of the preparation: the pieces of the report until a page is
    // finished or a moment passed; then the loop runs again.
    void PrepareSome();
    // One piece of the report; false when the preparation is over.
    bool PrepareStep();
    void EndPreparing();
    // The window closed while the pages were coming.
    bool StopWanted() const;
    // True when every page is ready for the action; else (pages still being
    // prepared) queues the action to run when they are, and returns false.
    bool WhenPrepared(void (TQRPreviewForm::*action)());

    TCustomQuickRep* report_ = nullptr;
    TQRPreparedReport pages_;
    std::unique_ptr<TQRReportRunner> runner_;  // while the pages are coming
    QTimer* stepTimer_ = nullptr;
    int current_ = 0;
    double zoom_ = 100;
    bool prepared_ = false;
    bool complete_ = false;  // every page was prepared
    std::vector<void (TQRPreviewForm::*)()> pending_;  // actions waiting for the pages
    QLabel* pageLabel_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    TQRPageView* view_ = nullptr;
    class QHBoxLayout* toolbar_ = nullptr;
};

// Shows the report's modal preview.
void PreviewReport(TCustomQuickRep* report);
