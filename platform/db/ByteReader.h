#pragma once
// Bounds-checked little- and big-endian access to a file image. Every read
// outside the image raises EDatabaseError naming the file, so a truncated or
// corrupted table ends in a clear error, never in a wild read.
#include "DbTypes.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>
#include <optional>
#include <vector>

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

// A table or memo file read in blocks as its records are needed, through a
// small cache of the blocks read last, so that its memory does not grow with
// the file. The file stays open: a table written anew and renamed into place
// meanwhile keeps reading as it was opened; one that shrinks raises
// EDatabaseError on the read, never gives what is not there.
class TBlockFile {
public:
    explicit TBlockFile(const QString& fileName);  // raises EDatabaseError when it cannot open
    qint64 Size() const { return size_; }  // when opened
    const QString& FileName() const { return fileName_; }
    QByteArray Read(qint64 offset, qint64 length);  // bounds-checked against Size()
    char Byte(qint64 offset);
    [[noreturn]] void Corrupt(const QString& why) const;

private:
    struct TBlock {
        qint64 Index = -1;
        QByteArray Data;
        quint64 Used = 0;
    };
    void Check(qint64 offset, qint64 length) const;
    const QByteArray& Block(qint64 index);
    void ReadAt(qint64 offset, char* out, qint64 length);

    QString fileName_;
    QFile file_;
    qint64 size_ = 0;
    std::vector<TBlock> cache_;
    quint64 tick_ = 0;
};

// A table's memo or blob file when it exists; opened with the table, so
// that a table replaced meanwhile keeps its own.
std::optional<TBlockFile> OpenIfExists(const QString& fileName);

void WriteTableFile(const QString& fileName, const QByteArray& data);

// Little-endian appends for writers.
void PutU16(QByteArray& out, std::uint16_t v);
void PutU32(QByteArray& out, std::uint32_t v);
void SetU16(QByteArray& out, qint64 offset, std::uint16_t v);
void SetU32(QByteArray& out, qint64 offset, std::uint32_t v);
