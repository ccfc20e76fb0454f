#include "designer/export/AsciiExportFilter.h"
#include "engine/Resources.h"
#include "rtl/SysUtils.h"

namespace {
// Points to tenths of a millimetre.
constexpr double kPointsToTenthMm = 254.0 / 72.0;
// One character cell is 1/1.7 of the font size wide.
constexpr double kColumnFactor = 1.7;
}  // namespace

QString FillString(QChar ch, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += ch;
    return s;
}

QString TQRAsciiExportFilter::GetDescription() const { return LoadStr(62834); }
QString TQRAsciiExportFilter::GetExtension() const { return LoadStr(62836); }
QString TQRAsciiExportFilter::GetFilterName() const { return LoadStr(62835); }

void TQRAsciiExportFilter::Start(int, int paperHeight, TFont* font)
{
    OutputFile.Rewrite(FileName());
    LineHeight = font->Size() * kPointsToTenthMm;
    CharWidth = font->Size() * kPointsToTenthMm;
    LineCount = Round(paperHeight / LineHeight);
    if (LineCount > static_cast<int>(Lines.size()))
        Lines.resize(static_cast<size_t>(LineCount));
}

void TQRAsciiExportFilter::NewPage()
{
    for (QString& line : Lines)
        line.clear();
}

void TQRAsciiExportFilter::TextOut(double x, double y, TFont*, TColor, TAlignment alignment, const QString& text)
{
    double col = x / CharWidth * kColumnFactor;
    const double row = y / LineHeight;
    if (alignment == taRightJustify)
        col -= text.size();
    const int line = Round(row);
    if (line < 0 || line >= static_cast<int>(Lines.size()))
        return;  // off the page buffer: dropped
    QString s = Lines[static_cast<size_t>(line)];
    if (col > s.size())
        s += FillString(u' ', Round(col) - static_cast<int>(s.size()));
    const int pos = Round(col);
    if (pos >= 1 && pos <= s.size())
        s.remove(pos - 1, text.size());
    s.insert(std::clamp<qsizetype>(pos - 1, 0, s.size()), text);
    Lines[static_cast<size_t>(line)] = s;
}

void TQRAsciiExportFilter::EndPage()
{
    const int last = std::min<int>(LineCount, static_cast<int>(Lines.size()));
    for (int i = 0; i < last; ++i)
        if (!Lines[static_cast<size_t>(i)].isEmpty())
            OutputFile.WriteLn(Lines[static_cast<size_t>(i)]);
}

void TQRAsciiExportFilter::Finish() { OutputFile.Close(); }
