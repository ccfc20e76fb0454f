#include "ByteReader.h"
#include "classes/StreamFile.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr qint64 kMaxTableFile = qint64(1) << 30;  // 1 GiB
}

bool IsBlobType(TFieldType type) { return type == ftMemo || type == ftBlob || type == ftGraphic; }

bool IsNumericType(TFieldType type)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftLargeint: case ftAutoInc: case ftFloat: case ftCurrency: return true;
    default: return false;
    }
}

void TByteReader::Corrupt(const QString& why) const
{
    throw EDatabaseError(QStringLiteral("Table file %1 is corrupt: %2").arg(fileName_, why));
}

const char* TByteReader::Span(qint64 offset, qint64 length) const
{
    if (offset < 0 || length < 0 || offset > data_.size() || length > data_.size() - offset)
        Corrupt(QStringLiteral("data ends before offset %1").arg(offset + qMax<qint64>(length, 0)));
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

QByteArray ReadTableFile(const QString& fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Cannot open table file %1: %2").arg(fileName, f.errorString()));
    if (f.size() > kMaxTableFile)
        throw EDatabaseError(QStringLiteral("Table file %1 is too large").arg(fileName));
    return f.readAll();
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
