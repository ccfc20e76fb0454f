#include "designer/export/AsciiExportFilter.h"
#include "engine/Resources.h"
#include "rtl/SysUtils.h"

#include <climits>
#include <cmath>

namespace {
// The grid is worked out in extended precision: a position that is a half
// in exact arithmetic rounds the way the extended quotient lies, not the way
// a double quotient would.

// Points to tenths of a millimetre.
constexpr long double kPointsToTenthMm = 254.0L / 72.0L;
// One character cell is 1/1.7 of the font size wide.
constexpr long double kColumnFactor = 1.7L;

// Rounds half to even (the default rounding mode) without passing through a double.
int RoundExtended(long double value)
{
    const long double r = std::nearbyintl(value);
    if (!(r >= INT_MIN && r <= INT_MAX))
        throw EConvertError(QStringLiteral("Floating point value out of integer range"));
    return static_cast<int>(r);
}
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
    LineCount = RoundExtended(paperHeight / LineHeight);
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
    long double col = x / CharWidth * kColumnFactor;
    const long double row = std::nearbyintl(y / LineHeight);
    if (alignment == taRightJustify)
        col -= text.size();
    if (!(row >= 0 && row < Lines.size()))
        return;  // off the page buffer: dropped
    const int line = static_cast<int>(row);
    QString s = Lines[static_cast<size_t>(line)];
    if (col > s.size())
        s += FillString(u' ', RoundExtended(col) - static_cast<int>(s.size()));
    const int pos = RoundExtended(col);
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
