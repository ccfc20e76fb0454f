#pragma once
// The plain-text export filter: places every printed text on a grid of
// character cells, one page buffer at a time, and writes each page's
// non-empty lines to the output file.
#include "designer/VornakExport.h"
#include "engine/export/ExportFilter.h"
#include "rtl/TextFile.h"

#include <vector>

// A string of count copies of ch; empty for a count of 0 or less.
VORNAK_EXPORT QString FillString(QChar ch, int count);

class VORNAK_EXPORT TQRAsciiExportFilter : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;

    QString GetDescription() const override;
    QString GetExtension() const override;
    QString GetFilterName() const override;
    void Start(int paperWidth, int paperHeight, TFont* font) override;
    void EndPage() override;
    void Finish() override;
    void NewPage() override;
    void TextOut(double x, double y, TFont* font, TColor bgColor, TAlignment alignment,
                 const QString& text) override;

    static constexpr int kBufferLines = 201;
    int LineCount = 0;
    // The page buffer: 201 lines, grown to LineCount when a page is taller,
    // so nothing on a page is lost.
    std::vector<QString> Lines = std::vector<QString>(kBufferLines);
    TTextFile OutputFile;
    // Extended precision, in which the grid is worked out.
    long double CharWidth = 0;
    long double LineHeight = 0;
};
