#include "PageFile.h"

#include "rtl/Exceptions.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

EReadError Damaged(const QString& fileName)
{
    return EReadError(QStringLiteral("The temporary page file \"%1\" is damaged").arg(fileName));
}

template <class T>
void Put(QByteArray& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutBytes(QByteArray& out, const char* data, qsizetype size)
{
    Put(out, quint32(size));
    out.append(data, size);
}

// Reads a page record front to back; a record cut short raises.
class TRecordReader {
public:
    TRecordReader(const QByteArray& record, const QString& fileName)
        : at_(record.constData()), end_(at_ + record.size()), fileName_(fileName)
    {
    }
    template <class T>
    T Get()
    {
        T value;
        std::memcpy(&value, Take(sizeof value), sizeof value);
        return value;
    }
    std::pair<const char*, quint32> GetBytes()
    {
        const auto size = Get<quint32>();
        return {Take(size), size};
    }
    // A number of items of at least `each` bytes apiece that the record can hold.
    quint32 GetCount(size_t each)
    {
        const auto count = Get<quint32>();
        if (count > size_t(end_ - at_) / each)
            throw Damaged(fileName_);
        return count;
    }
    // A number below `limit`.
    template <class T>
    T GetBelow(size_t limit)
    {
        const T value = Get<T>();
        if (value >= limit)
            throw Damaged(fileName_);
        return value;
    }

private:
    const char* Take(size_t size)
    {
        if (size_t(end_ - at_) < size)
            throw Damaged(fileName_);
        const char* start = at_;
        at_ += size;
        return start;
    }
    const char* at_;
    const char* end_;
    const QString& fileName_;
};

}  // namespace

TQRPageFile::~TQRPageFile()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    QFile::remove(fileName_);
}

void TQRPageFile::Create()
{
    // A TMPDIR that does not exist gives no folder, which would put the file in the working folder.
    const QString folder = QDir::tempPath().isEmpty() ? QStringLiteral("/tmp") : QDir::tempPath();
    QByteArray path = QFile::encodeName(QDir(folder).filePath(QStringLiteral("vornak-pages-XXXXXX")));
    fd_ = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd_ < 0)
        throw EFCreateError(Format(QString::fromUtf8(rtlstr::SFCreateError),
                                   {QFile::decodeName(path), QString::fromLocal8Bit(std::strerror(errno))}));
    fileName_ = QFile::decodeName(path);
}

quint32 TQRPageFile::FontNumber(const std::shared_ptr<TFont>& font)
{
    const auto [it, added] = fontNumbers_.try_emplace(font.get(), quint32(fonts_.size()));
    if (added)
        fonts_.push_back(font);
    return it->second;
}

void TQRPageFile::Append(const TQRPreparedPage& page)
{
    if (fd_ < 0)
        Create();
    record_.resize(0);
    PutBytes(record_, page.Picture.data(), page.Picture.size());
    Put(record_, quint32(page.Texts.size()));
    for (const TQRPageText& t : page.Texts) {
        Put(record_, t.X);
        Put(record_, t.Y);
        Put(record_, FontNumber(t.Font));
        Put(record_, qint32(t.BGColor));
        Put(record_, quint8(t.Alignment));
        const QByteArray text = t.Text.toUtf8();
        PutBytes(record_, text.constData(), text.size());
    }
    const qint64 start = offsets_.back();
    for (qint64 done = 0; done < record_.size();) {
        const ssize_t n = ::pwrite(fd_, record_.constData() + done, size_t(record_.size() - done), start + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            // The part of the page that went in gives its room back; the next page overwrites it anyway.
            [[maybe_unused]] const int cut = ::ftruncate(fd_, start);
            Fail(true, error);
        }
        done += n;
    }
    offsets_.push_back(start + record_.size());
}

TQRPreparedPage TQRPageFile::Read(int index) const
{
    const qint64 start = offsets_.at(size_t(index));
    QByteArray record(offsets_.at(size_t(index) + 1) - start, Qt::Uninitialized);
    for (qint64 done = 0; done < record.size();) {
        const ssize_t n = ::pread(fd_, record.data() + done, size_t(record.size() - done), start + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            throw Damaged(fileName_);
        if (n < 0)
            Fail(false, errno);
        done += n;
    }
    TRecordReader in(record, fileName_);
    TQRPreparedPage page;
    const auto [picture, pictureSize] = in.GetBytes();
    page.Picture.setData(picture, pictureSize);
    // position, font, colour, alignment and the text's length
    constexpr size_t textBytes = 2 * sizeof(double) + 2 * sizeof(quint32) + sizeof(qint32) + sizeof(quint8);
    page.Texts.resize(in.GetCount(textBytes));
    for (TQRPageText& t : page.Texts) {
        t.X = in.Get<double>();
        t.Y = in.Get<double>();
        t.Font = fonts_[in.GetBelow<quint32>(fonts_.size())];
        t.BGColor = TColor(in.Get<qint32>());
        t.Alignment = TAlignment(in.GetBelow<quint8>(taCenter + 1));
        const auto [text, size] = in.GetBytes();
        t.Text = QString::fromUtf8(text, size);
    }
    return page;
}

void TQRPageFile::Fail(bool writing, int error) const
{
    const QString message = QStringLiteral("The prepared pages could not be %1 the temporary file \"%2\". %3")
                                .arg(QLatin1String(writing ? "written to" : "read from"), fileName_,
                                     QString::fromLocal8Bit(std::strerror(error)));
    if (writing)
        throw EWriteError(message);
    throw EReadError(message);
}
