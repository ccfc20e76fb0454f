#pragma once
// Bounds-checked little- and big-endian access to a file image. Every read
// outside the image raises EDatabaseError naming the file, so a truncated or
// corrupted table ends in a clear error, never in a wild read.
#include "DbTypes.h"

#include <QByteArray>
#include <cstdint>

class TByteReader {
public:
    TByteReader(const QByteArray& data, QString fileName) : data_(data), fileName_(std::move(fileName)) {}

    qint64 Size() const { return data_.size(); }
    std::uint8_t U8(qint64 offset) const;
    std::uint16_t U16(qint64 offset) const;  // little-endian
    std::uint32_t U32(qint64 offset) const;
    std::uint16_t U16BE(qint64 offset) const;
    std::uint32_t U32BE(qint64 offset) const;
    const char* Span(qint64 offset, qint64 length) const;  // checked pointer to length bytes
    QByteArray Bytes(qint64 offset, qint64 length) const { return QByteArray(Span(offset, length), length); }

    [[noreturn]] void Corrupt(const QString& why) const;
    const QString& FileName() const { return fileName_; }

private:
    const QByteArray& data_;
    QString fileName_;
};

// Reads a whole table or memo file; files above a sanity limit are refused
// so that a hostile file cannot make the reader allocate without bound.
QByteArray ReadTableFile(const QString& fileName);
void WriteTableFile(const QString& fileName, const QByteArray& data);

// Little-endian appends for writers.
void PutU16(QByteArray& out, std::uint16_t v);
void PutU32(QByteArray& out, std::uint32_t v);
void SetU16(QByteArray& out, qint64 offset, std::uint16_t v);
void SetU32(QByteArray& out, qint64 offset, std::uint32_t v);
