#include "TextExportFilter.h"

#include "engine/Resources.h"
#include "rtl/SysUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
// Points to tenths of a millimetre.
constexpr double PointInTenthMM = 254.0 / 72.0;
}  // namespace

double TQRTextExportFilter::CellWidth(int points)
{
    // An average character of a proportional font is about half its size wide.
    return std::max(points, 1) * PointInTenthMM * 0.5;
}

double TQRTextExportFilter::LineHeight(int points)
{
    return std::max(points, 1) * PointInTenthMM * 1.2;
}

QString TQRTextExportFilter::GetDescription() const { return LoadStr(62834); }
QString TQRTextExportFilter::GetExtension() const { return LoadStr(62836); }
QString TQRTextExportFilter::GetFilterName() const { return LoadStr(62835); }

void TQRTextExportFilter::Start(int PaperWidth, int PaperHeight, TFont* Font)
{
    file_.setFileName(FileName());
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName(), file_.errorString()),
                          int(file_.error()));
    cellWidth_ = CellWidth(Font->Size());
    lineHeight_ = LineHeight(Font->Size());
    pagesWritten_ = 0;
    texts_.clear();
    TQRExportFilter::Start(PaperWidth, PaperHeight, Font);
}

void TQRTextExportFilter::NewPage()
{
    texts_.clear();
}

void TQRTextExportFilter::TextOut(double X, double Y, TFont*, TColor, TAlignment Alignment, const QString& Text)
{
    if (Y < 0 || Text.isEmpty())
        return;
    double col = X / cellWidth_;
    if (Alignment == taRightJustify)
        col -= Text.size();
    else if (Alignment == taCenter)
        col -= Text.size() / 2.0;
    texts_.push_back({std::max(Round(col), 0), Y, Text});
}

std::vector<std::pair<double, int>> TQRTextExportFilter::PageRows() const
{
    std::vector<double> ys;
    for (const TPlacedText& t : texts_)
        ys.push_back(t.Y);
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    // Each line stands below the one before by the distance between them in
    // whole lines, not where the page's grid happens to round it: bands of
    // one height then keep one spacing wherever they fall on a page. Texts
    // less than half a line below a line's first text share that line.
    // The distance is taken to a millionth of a line, so that the last bits
    // of the positions' arithmetic never tip a half line either way.
    auto linesBetween = [this](double from, double to) { return std::round((to - from) / lineHeight_ * 1e6) / 1e6; };
    std::vector<std::pair<double, int>> rows;
    double lineTop = ys.front();
    int row = Round(lineTop / lineHeight_);
    for (double y : ys) {
        const double below = linesBetween(lineTop, y);
        if (below >= 0.5) {
            row += std::max(Round(below), 1);
            lineTop = y;
        }
        rows.emplace_back(y, row);
    }
    return rows;
}

void TQRTextExportFilter::EndPage()
{
    // The call before the first page finds nothing to write.
    if (texts_.empty())
        return;
    const std::vector<std::pair<double, int>> rows = PageRows();
    // Each text's line, then each line made as wide as its texts reach at
    // once, rather than widened text by text.
    std::vector<int> rowOf;
    rowOf.reserve(texts_.size());
    std::vector<qsizetype> widths(size_t(rows.back().second) + 1, 0);
    for (const TPlacedText& t : texts_) {
        const int row = std::lower_bound(rows.begin(), rows.end(), std::make_pair(t.Y, INT_MIN))->second;
        rowOf.push_back(row);
        widths[size_t(row)] = std::max(widths[size_t(row)], t.Column + t.Text.size());
    }
    std::vector<QString> lines(widths.size());
    for (size_t row = 0; row < widths.size(); ++row)
        if (widths[row] > 0)
            lines[row].fill(QLatin1Char(' '), widths[row]);
    for (size_t i = 0; i < texts_.size(); ++i)  // in order: a later text covers an earlier one
        std::copy(texts_[i].Text.cbegin(), texts_[i].Text.cend(), lines[size_t(rowOf[i])].begin() + texts_[i].Column);
    QByteArray page = pagesWritten_ > 0 ? QByteArray("\f") : QByteArray();
    for (const QString& line : lines) {
        if (!std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace(); }))
            page += line.toUtf8();
        page += '\n';
    }
    Write(page);
    ++pagesWritten_;
    texts_.clear();
}

void TQRTextExportFilter::Finish()
{
    file_.close();
    TQRExportFilter::Finish();
}

void TQRTextExportFilter::Write(const QByteArray& bytes)
{
    if (file_.write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName(), file_.errorString()),
                          int(file_.error()));
}
