#include "PreparedReport.h"

#include "PageFile.h"
#include "TextRuns.h"
#include "rtl/Exceptions.h"

namespace {

int memoryPages = 16;

}  // namespace

void PlayPage(const TQRPreparedPage& page, QPainter& painter, double scale, TQRTextRuns* texts)
{
    // A picture rescales itself from the resolution it was recorded at to the
    // device's; that share of the scale is taken out for it.
    QPicture picture = page.Picture;  // shared, not copied
    const double own = double(painter.device()->logicalDpiX()) / picture.logicalDpiX();
    painter.save();
    painter.scale(scale / own, scale / own);
    picture.play(&painter);
    painter.restore();
    painter.save();
    painter.scale(scale, scale);
    if (texts) {
        texts->Draw(page.Texts, painter);
    } else {
        TQRTextRuns once;
        once.Draw(page.Texts, painter);
    }
    painter.restore();
}

TQRPreparedReport::TQRPreparedReport() = default;
TQRPreparedReport::~TQRPreparedReport() = default;
TQRPreparedReport::TQRPreparedReport(TQRPreparedReport&&) noexcept = default;
TQRPreparedReport& TQRPreparedReport::operator=(TQRPreparedReport&&) noexcept = default;

int TQRPreparedReport::PageCount() const
{
    return static_cast<int>(memory_.size()) + (file_ ? file_->Count() : 0);
}

const TQRPreparedPage& TQRPreparedReport::Page(int index) const
{
    if (index >= 0 && index < static_cast<int>(memory_.size()))
        return memory_[size_t(index)];
    if (index != readIndex_) {
        if (!file_ || index < 0 || index >= PageCount())
            throw EListError(Format(QString::fromUtf8(rtlstr::SListIndexError), {QString::number(index)}));
        read_ = file_->Read(index - static_cast<int>(memory_.size()));
        readIndex_ = index;
    }
    return read_;
}

void TQRPreparedReport::AddPage(TQRPreparedPage page)
{
    if (!file_ && static_cast<int>(memory_.size()) < memoryPages) {
        memory_.push_back(std::move(page));
        return;
    }
    if (!file_)
        file_ = std::make_unique<TQRPageFile>();
    file_->Append(page);
}

QString TQRPreparedReport::PageFileName() const
{
    return file_ ? file_->FileName() : QString();
}

int TQRPreparedReport::MemoryPages()
{
    return memoryPages;
}

void TQRPreparedReport::SetMemoryPages(int pages)
{
    memoryPages = std::max(pages, 0);
}
