#include "ByteReader.h"
#include "classes/StreamFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {
constexpr qint64 kMaxTableFile = qint64(1) << 30;  // 1 GiB
constexpr qint64 kCacheBlock = 64 * 1024;
constexpr size_t kCacheBlocks = 8;

[[noreturn]] void TableCorrupt(const QString& fileName, const QString& why)
{
    throw EDatabaseError(QStringLiteral("Table file %1 is corrupt: %2").arg(fileName, why));
}

// Calls the file corrupt unless length bytes at offset lie within its size bytes.
void CheckSpan(const QString& fileName, qint64 size, qint64 offset, qint64 length)
{
    if (offset < 0 || length < 0 || offset > size || length > size - offset)
        TableCorrupt(fileName, QStringLiteral("data ends before offset %1").arg(offset + qMax<qint64>(length, 0)));
}
}  // namespace

bool IsBlobType(TFieldType type) { return type == ftMemo || type == ftBlob || type == ftGraphic; }

bool IsNumericType(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftLargeint: case ftAutoInc: case ftFloat: case ftCurrency: return true;
    default: return false;
    }
}

void TByteReader::Corrupt(const QString& why) const { TableCorrupt(fileName_, why); }

const char* TByteReader::Span(qint64 offset, qint64 length) const
{
    CheckSpan(fileName_, data_.size(), offset, length);
    return data_.constData() + offset;
}

std::uint8_t TByteReader::U8(qint64 offset) const { return static_cast<std::uint8_t>(*Span(offset, 1)); }

std::uint16_t TByteReader::U16(qint64 offset) const
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(Span(offset, 2));
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t TByteReader::U32(qint64 offset) const
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(Span(offset, 4));
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint16_t TByteReader::U16BE(qint64 offset) const
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(Span(offset, 2));
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t TByteReader::U32BE(qint64 offset) const
{
    const auto* p = reinterpret_cast<const std::uint8_t*>(Span(offset, 4));
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

TBlockFile::TBlockFile(const QString& fileName) : fileName_(fileName), file_(fileName)
{
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw EDatabaseError(QStringLiteral("Cannot open table file %1: %2").arg(fileName, file_.errorString()));
    size_ = file_.size();
}

void TBlockFile::Corrupt(const QString& why) const { TableCorrupt(fileName_, why); }

void TBlockFile::Check(qint64 offset, qint64 length) const
{
    CheckSpan(fileName_, size_, offset, length);
    if (length > kMaxTableFile)
        throw EDatabaseError(QStringLiteral("Table file %1 holds a value too large to read").arg(fileName_));
}

void TBlockFile::ReadAt(qint64 offset, char* out, qint64 length)
{
    if (!file_.seek(offset) || file_.read(out, length) != length)
        throw EDatabaseError(QStringLiteral("Table file %1 changed while it was open: %2 bytes at offset %3 are gone")
                                 .arg(fileName_).arg(length).arg(offset));
}

const QByteArray& TBlockFile::Block(qint64 index)
{
    auto it = std::find_if(cache_.begin(), cache_.end(), [&](const TBlock& b) { return b.Index == index; });
    if (it == cache_.end()) {
        if (cache_.size() < kCacheBlocks)
            it = cache_.insert(cache_.end(), TBlock{});
        else
            it = std::min_element(cache_.begin(), cache_.end(), [](const TBlock& a, const TBlock& b) { return a.Used < b.Used; });
        it->Index = -1;  // a failed read leaves no half-filled block behind
        const qint64 start = index * kCacheBlock;
        it->Data.resize(qMin(kCacheBlock, size_ - start));
        ReadAt(start, it->Data.data(), it->Data.size());
        it->Index = index;
    }
    it->Used = ++tick_;
    return it->Data;
}

char TBlockFile::Byte(qint64 offset)
{
    Check(offset, 1);
    return Block(offset / kCacheBlock)[offset % kCacheBlock];
}

QByteArray TBlockFile::Read(qint64 offset, qint64 length)
{
    Check(offset, length);
    QByteArray out(length, Qt::Uninitialized);
    if (length > kCacheBlock) {  // a large blob passes the cache by
        ReadAt(offset, out.data(), length);
        return out;
    }
    for (qint64 done = 0; done < length;) {
        const qint64 at = offset + done;
        const QByteArray& block = Block(at / kCacheBlock);
        const qint64 n = qMin(length - done, kCacheBlock - at % kCacheBlock);
        std::memcpy(out.data() + done, block.constData() + at % kCacheBlock, size_t(n));
        done += n;
    }
    return out;
}

std::optional<TBlockFile> OpenIfExists(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return std::nullopt;
    return std::optional<TBlockFile>(std::in_place, fileName);
}

void WriteTableFile(const QString& fileName, const QByteArray& data)
{
    // through a temporary file renamed into place: a failed write (a full disk,
    // a file-size limit) leaves the old table as it was and nothing beside it
    try {
        WriteStreamFile(fileName, data);
    } catch (const Exception& e) {
        throw EDatabaseError(QStringLiteral("Cannot write table file %1: %2").arg(fileName, e.Message()));
    }
}

void PutU16(QByteArray& out, std::uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void PutU32(QByteArray& out, std::uint32_t v)
{
    PutU16(out, std::uint16_t(v & 0xFFFF));
    PutU16(out, std::uint16_t(v >> 16));
}

void SetU16(QByteArray& out, qint64 offset, std::uint16_t v)
{
    out[offset] = char(v & 0xFF);
    out[offset + 1] = char(v >> 8);
}

void SetU32(QByteArray& out, qint64 offset, std::uint32_t v)
{
    SetU16(out, offset, std::uint16_t(v & 0xFFFF));
    SetU16(out, offset + 2, std::uint16_t(v >> 16));
}
