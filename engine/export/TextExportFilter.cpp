#include "TextExportFilter.h"

#include "engine/Resources.h"
#include "rtl/SysUtils.h"

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
    lines_.clear();
    TQRExportFilter::Start(PaperWidth, PaperHeight, Font);
}

void TQRTextExportFilter::NewPage()
{
    lines_.clear();
}

void TQRTextExportFilter::TextOut(double X, double Y, TFont*, TColor, TAlignment Alignment, const QString& Text)
{
    const int row = Round(Y / lineHeight_);
    if (row < 0 || Text.isEmpty())
        return;
    double col = X / cellWidth_;
    if (Alignment == taRightJustify)
        col -= Text.size();
    else if (Alignment == taCenter)
        col -= Text.size() / 2.0;
    const int start = std::max(Round(col), 0);
    while (lines_.size() <= row)
        lines_.append(QString());
    QString& line = lines_[row];
    if (line.size() < start + Text.size())
        line = line.leftJustified(start + Text.size(), QLatin1Char(' '));
    line.replace(start, Text.size(), Text);
}

void TQRTextExportFilter::EndPage()
{
    // The call before the first page finds nothing to write.
    if (lines_.isEmpty())
        return;
    QByteArray page = pagesWritten_ > 0 ? QByteArray("\f") : QByteArray();
    for (const QString& line : lines_)
        page += line.trimmed().isEmpty() ? QByteArray("\n") : line.toUtf8() + '\n';
    Write(page);
    ++pagesWritten_;
    lines_.clear();
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
