#pragma once
// The prepared pages of a report run, in zoom-independent units (pixels at
// zoom 100, 96 per inch, origin at the paper's top-left corner), so that
// preview, printer and PDF replay the very same page at their own
// resolution. A page is recorded painting (shapes, pictures, frames, fills)
// and its printed text lines with their places; the lines are drawn from the
// list when the page is replayed, which keeps pages small and serves the
// export filters as well.
#include "controls/StdCtrls.h"
#include "graphics/Graphics.h"

#include <QPicture>
#include <memory>
#include <vector>

// One printed line of a text element.
struct TQRPageText {
    double X = 0;  // left edge, centre or right edge, as Alignment says
    double Y = 0;  // top of the line
    std::shared_ptr<TFont> Font;  // the element's font as it printed, shared by its lines
    TColor BGColor = clWhite;
    TAlignment Alignment = taLeftJustify;
    QString Text;
};

struct TQRPreparedPage {
    QPicture Picture;                // everything but the text lines
    std::vector<TQRPageText> Texts;  // in the order they were printed
};

class TQRTextRuns;

// Replays the page on the painter with scale device pixels per page unit
// (the printer's resolution / 96 on paper, the zoom on screen). Whoever
// replays many pages on one device keeps texts, whose shapes then serve
// every page.
void PlayPage(const TQRPreparedPage& page, QPainter& painter, double scale, TQRTextRuns* texts = nullptr);

class TQRPageFile;

// Pages own what they draw with, so they outlive their report and stay as
// they were printed when the report's fonts change. The first pages stay in
// memory; the pages after them go to a temporary page file and are read back
// when they are shown, printed or exported, so that a run's memory does not
// grow with its pages. The file goes with the prepared report.
class TQRPreparedReport {
public:
    TQRPreparedReport();
    ~TQRPreparedReport();
    TQRPreparedReport(TQRPreparedReport&&) noexcept;
    TQRPreparedReport& operator=(TQRPreparedReport&&) noexcept;

    double PaperWidth = 0;   // pixels at zoom 100
    double PaperLength = 0;
    std::shared_ptr<TFont> Font = std::make_shared<TFont>();  // the report's font as the run found it

    int PageCount() const;
    // The page at index, 0-based, read back from the page file when it is
    // not in memory; valid until the next call or the next page added.
    const TQRPreparedPage& Page(int index) const;
    // Adds a page at the end. Raises EFCreateError or EWriteError when the
    // page file cannot take it; the pages before stay.
    void AddPage(TQRPreparedPage page);
    // Empty while every page is in memory.
    QString PageFileName() const;

    // How many pages a prepared report keeps in memory before the rest go to its page file.
    static int MemoryPages();
    static void SetMemoryPages(int pages);

private:
    std::vector<TQRPreparedPage> memory_;
    std::unique_ptr<TQRPageFile> file_;
    // The page read back last: a preview paints the page it shows again and again.
    mutable int readIndex_ = -1;
    mutable TQRPreparedPage read_;
};

// Millimetres to pixels at zoom 100, unrounded.
inline double MMToPixels(double mm) { return mm * 96.0 / 25.4; }
// Pixels at zoom 100 to tenths of a millimetre and back.
inline double PixelsToTenthMM(double px) { return px * 254.0 / 96.0; }
inline double TenthMMToPixels(double t) { return t * 96.0 / 254.0; }
