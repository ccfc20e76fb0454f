#pragma once
// The engine's own plain-text export: each page becomes a block of text
// lines on a grid of character cells derived from the report's font; pages
// are separated by a form feed.
#include "ExportFilter.h"

#include <QFile>
#include <QStringList>
#include <vector>

class TQRTextExportFilter : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;
    QString GetDescription() const override;
    QString GetExtension() const override;
    QString GetFilterName() const override;
    void Start(int PaperWidth, int PaperHeight, TFont* Font) override;
    void EndPage() override;
    void Finish() override;
    void NewPage() override;
    void TextOut(double X, double Y, TFont* Font, TColor BGColor, TAlignment Alignment, const QString& Text) override;

    // Cell size in tenths of a millimetre for a font of the given point size.
    static double CellWidth(int points);
    static double LineHeight(int points);

private:
    // A text of the page with its first column; its line is found once the
    // whole page is there.
    struct TPlacedText {
        int Column;
        double Y;
        QString Text;
    };
    // The text line of each distinct Y of the page.
    std::vector<std::pair<double, int>> PageRows() const;
    void Write(const QByteArray& bytes);
    QFile file_;
    std::vector<TPlacedText> texts_;
    double cellWidth_ = 1;
    double lineHeight_ = 1;
    int pagesWritten_ = 0;
};
