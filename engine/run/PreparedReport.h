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

// Replays the page on the painter with scale device pixels per page unit
// (the printer's resolution / 96 on paper, the zoom on screen).
void PlayPage(const TQRPreparedPage& page, QPainter& painter, double scale);

// Pages own what they draw with, so they outlive their report and stay as
// they were printed when the report's fonts change.
struct TQRPreparedReport {
    double PaperWidth = 0;   // pixels at zoom 100
    double PaperLength = 0;
    std::shared_ptr<TFont> Font = std::make_shared<TFont>();  // the report's font as the run found it
    std::vector<TQRPreparedPage> Pages;
    int PageCount() const { return static_cast<int>(Pages.size()); }
};

// Millimetres to pixels at zoom 100, unrounded.
inline double MMToPixels(double mm) { return mm * 96.0 / 25.4; }
// Pixels at zoom 100 to tenths of a millimetre and back.
inline double PixelsToTenthMM(double px) { return px * 254.0 / 96.0; }
inline double TenthMMToPixels(double t) { return t * 96.0 / 254.0; }
