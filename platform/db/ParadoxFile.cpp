#include "ParadoxFile.h"
#include "ByteReader.h"
#include "rtl/Codepage.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// Header offsets.
constexpr int hRecordSize = 0x00, hHeaderSize = 0x02, hFileType = 0x04, hBlockKb = 0x05, hRecords = 0x06,
              hUsedBlocks = 0x0A, hFileBlocks = 0x0C, hFirstBlock = 0x0E, hLastBlock = 0x10, hFieldCount = 0x21,
              hEncryption = 0x25, hVersion = 0x39, hAutoInc = 0x49, hCodePage = 0x6A;
constexpr int kBlockHeader = 6;
constexpr int kMbChunk = 4096;
constexpr int kVersion5 = 0x0B;
constexpr std::uint32_t kNotEncrypted = 0xFF00FF00u;  // what writers leave in the password word
constexpr qint64 kJulianDayZero = 1721425;  // Paradox day 1 is 1 January of year 1
constexpr qint64 kMsPerDay = 86400000;

enum PxType : std::uint8_t {
    pxAlpha = 0x01, pxDate = 0x02, pxShort = 0x03, pxLong = 0x04, pxMoney = 0x05, pxNumber = 0x06,
    pxLogical = 0x09, pxMemo = 0x0C, pxBlob = 0x0D, pxFmtMemo = 0x0E, pxOle = 0x0F, pxGraphic = 0x10,
    pxTime = 0x14, pxTimestamp = 0x15, pxAutoInc = 0x16, pxBcd = 0x17, pxBytes = 0x18,
};

struct Column {
    TFieldDef Def;
    std::uint8_t Type = pxAlpha;
    int Offset = 0;
    int Length = 0;
};

bool IsBlobColumn(std::uint8_t t) { return t == pxMemo || t == pxBlob || t == pxFmtMemo || t == pxOle || t == pxGraphic; }

TFieldType FieldTypeOf(std::uint8_t t, const TByteReader& r)
{
    switch (t) {
    case pxAlpha: return ftString;
    case pxDate: return ftDate;
    case pxShort: return ftSmallint;
    case pxLong: return ftInteger;
    case pxMoney: return ftCurrency;
    case pxNumber: return ftFloat;
    case pxLogical: return ftBoolean;
    case pxMemo: case pxFmtMemo: return ftMemo;
    case pxBlob: case pxOle: case pxBcd: case pxBytes: return ftBlob;
    case pxGraphic: return ftGraphic;
    case pxTime: return ftTime;
    case pxTimestamp: return ftDateTime;
    case pxAutoInc: return ftAutoInc;
    default: r.Corrupt(QStringLiteral("unknown column type %1").arg(t));
    }
}

// The fixed width a column type has, or 0 when the header gives it.
int FixedWidth(std::uint8_t t)
{
    switch (t) {
    case pxDate: case pxLong: case pxTime: case pxAutoInc: return 4;
    case pxShort: return 2;
    case pxMoney: case pxNumber: case pxTimestamp: return 8;
    case pxLogical: return 1;
    case pxBcd: return 17;
    default: return 0;
    }
}

int TableNameLength(int version) { return version >= 0x0C ? 261 : 79; }
int FieldInfoOffset(int version) { return version >= 5 ? 0x78 : 0x58; }

std::vector<Column> ReadColumns(const TByteReader& r, int headerSize)
{
    const int count = r.U16(hFieldCount);
    const int version = r.U8(hVersion);
    if (count <= 0 || count > 255)
        r.Corrupt(QStringLiteral("the column count %1 is impossible").arg(count));
    std::vector<Column> cols(static_cast<size_t>(count));
    qint64 pos = FieldInfoOffset(version);
    int offset = 0;
    for (Column& c : cols) {
        c.Type = r.U8(pos++);
        c.Length = r.U8(pos++);
        c.Def.DataType = FieldTypeOf(c.Type, r);
        const int fixed = FixedWidth(c.Type);
        if (c.Length == 0 || (fixed && c.Length != fixed) || (IsBlobColumn(c.Type) && c.Length < 10))
            r.Corrupt(QStringLiteral("a column has the impossible width %1").arg(c.Length));
        c.Def.Size = c.Type == pxAlpha ? c.Length : IsBlobColumn(c.Type) ? c.Length - 10 : 0;
        c.Offset = offset;
        offset += c.Length;
    }
    if (offset != r.U16(hRecordSize))
        r.Corrupt(QStringLiteral("the record size does not match the columns"));
    pos += 4 + 4 * count + TableNameLength(version);
    for (Column& c : cols) {
        const char* start = r.Span(pos, 1);
        const qsizetype n = qstrnlen(start, static_cast<size_t>(qMax<qint64>(0, headerSize - pos)));
        if (pos + n >= headerSize)
            r.Corrupt(QStringLiteral("the column names run past the header"));
        c.Def.Name = DecodeCp1252(start, n);
        pos += n + 1;
    }
    return cols;
}

// Sort-preserving encodings: big-endian with the sign bit flipped for
// integers; doubles have the sign bit set when positive and all bits
// inverted when negative. All-zero bytes are null.
bool AllZero(const char* p, int n)
{
    return std::all_of(p, p + n, [](char ch) { return ch == 0; });
}

std::uint64_t BigEndian(const char* p, int n)
{
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | static_cast<std::uint8_t>(p[i]);
    return v;
}

qint64 DecodeInt(const char* p, int n)
{
    const std::uint64_t signBit = std::uint64_t(1) << (8 * n - 1);
    const std::uint64_t v = BigEndian(p, n) ^ signBit;
    return (v & signBit) ? static_cast<qint64>(v | ~((signBit << 1) - 1)) : static_cast<qint64>(v);
}

double DecodeDouble(const char* p)
{
    std::uint64_t v = BigEndian(p, 8);
    v = (v & (std::uint64_t(1) << 63)) ? v & ~(std::uint64_t(1) << 63) : ~v;
    return std::bit_cast<double>(v);
}

// The .MB file, held open from the table's opening like the table itself.
class TBlobFile {
public:
    explicit TBlobFile(QString fileName) : fileName_(std::move(fileName)), file_(OpenIfExists(fileName_)) {}
    QByteArray Read(std::uint32_t pointer, qint64 length)
    {
        if (!file_)
            throw EDatabaseError(QStringLiteral("Blob file %1 not found").arg(fileName_));
        TBlockFile& f = *file_;
        const qint64 block = pointer & 0xFFFFFF00u;
        const int index = static_cast<int>(pointer & 0xFF);
        if (index == 0xFF) {  // a blob of its own in one or more chunks
            if (f.Byte(block) != 2)
                f.Corrupt(QStringLiteral("blob block at %1 has the wrong type").arg(block));
            return f.Read(block + 9, length);
        }
        if (f.Byte(block) != 3 || index >= 64)  // a chunk shared by small blobs
            f.Corrupt(QStringLiteral("blob entry %1 at %2 is damaged").arg(index).arg(block));
        const qint64 entry = block + 12 + 5 * index;
        return f.Read(block + 16 * qint64(static_cast<std::uint8_t>(f.Byte(entry))), length);
    }

private:
    QString fileName_;
    std::optional<TBlockFile> file_;
};

QString SiblingFile(const QString& fileName, const char* upperExt)
{
    const QFileInfo info(fileName);
    const QString base = info.path() + u'/' + info.completeBaseName();
    const QString upper = base + QLatin1String(upperExt);
    const QString lower = base + QString::fromLatin1(upperExt).toLower();
    const bool lowerCase = !info.suffix().isEmpty() && info.suffix() == info.suffix().toLower();
    if (QFileInfo::exists(lowerCase ? lower : upper) || !QFileInfo::exists(lowerCase ? upper : lower))
        return lowerCase ? lower : upper;
    return lowerCase ? upper : lower;
}

QVariant ReadBlob(const Column& c, const char* p, TBlobFile& blobs, const TBlockFile& table)
{
    const int leader = c.Length - 10;
    const std::uint32_t pointer = qFromLittleEndian<std::uint32_t>(p + leader);
    const qint64 length = qFromLittleEndian<std::uint32_t>(p + leader + 4);
    if (length == 0)
        return {};
    QByteArray data;
    if (pointer == 0) {
        if (length > leader)
            table.Corrupt(QStringLiteral("blob of %1 bytes without a blob file entry").arg(length));
        data = QByteArray(p, length);
    } else {
        data = blobs.Read(pointer, length);
    }
    if (c.Def.DataType == ftMemo)
        return DecodeCp1252(data);
    return data;
}

QVariant ReadValue(const Column& c, const char* p, TBlobFile& blobs, const TBlockFile& table)
{
    if (IsBlobColumn(c.Type))
        return ReadBlob(c, p, blobs, table);
    if (c.Type == pxBcd || c.Type == pxBytes)
        return AllZero(p, c.Length) ? QVariant() : QVariant(QByteArray(p, c.Length));
    if (AllZero(p, c.Length))
        return {};
    switch (c.Type) {
    case pxAlpha: return DecodeCp1252(p, qstrnlen(p, static_cast<size_t>(c.Length)));
    case pxShort: case pxLong: case pxAutoInc: return DecodeInt(p, c.Length);
    case pxMoney: case pxNumber: {
        const double v = DecodeDouble(p);
        return std::isfinite(v) ? QVariant(v) : QVariant();  // no number a table holds: unreadable
    }
    case pxLogical: return (static_cast<std::uint8_t>(p[0]) & 0x7F) != 0;
    case pxDate: return QDate::fromJulianDay(DecodeInt(p, 4) + kJulianDayZero);
    case pxTime: {
        const qint64 ms = DecodeInt(p, 4);
        return ms >= 0 && ms < kMsPerDay ? QVariant(QTime::fromMSecsSinceStartOfDay(int(ms))) : QVariant();
    }
    case pxTimestamp: {
        const double ms = DecodeDouble(p);
        if (!(ms >= 0 && ms < 1e16))  // also refuses NaN
            return {};
        const qint64 whole = static_cast<qint64>(ms);
        return QDateTime(QDate::fromJulianDay(whole / kMsPerDay + kJulianDayZero),
                         QTime::fromMSecsSinceStartOfDay(int(whole % kMsPerDay)));
    }
    default: return {};
    }
}

// Reads the header when opened and a record when asked for it. The records
// are as many as the header says; the chain of data blocks is followed as
// far as the asked record needs, its blocks remembered by first record.
class TParadoxSource : public TRecordSource {
public:
    explicit TParadoxSource(const QString& fileName);
    bool Has(qint64 index) override { return index >= 0 && index < count_; }
    qint64 Count() override { return count_; }
    TRecord Read(qint64 index) override;

private:
    struct TDataBlock {
        qint64 First;  // number of the block's first record
        qint64 Start;  // file offset
    };
    void WalkTo(qint64 index);

    TBlockFile file_;
    TBlobFile blobs_;
    std::vector<Column> cols_;
    int recordSize_ = 0;
    int headerSize_ = 0;
    int blockSize_ = 0;
    qint64 count_ = 0;
    std::vector<TDataBlock> blocks_;
    qint64 walked_ = 0;      // records in blocks_
    qint64 nextBlock_ = 0;   // of the chain, 0 at its end
    std::vector<bool> seen_;
};

TParadoxSource::TParadoxSource(const QString& fileName) : file_(fileName), blobs_(SiblingFile(fileName, ".MB"))
{
    const QByteArray head = file_.Read(0, qMin<qint64>(file_.Size(), 0x78));
    const TByteReader h(head, fileName);
    recordSize_ = h.U16(hRecordSize);
    headerSize_ = h.U16(hHeaderSize);
    blockSize_ = h.U8(hBlockKb) * 1024;
    if (h.U8(hFileType) != 0 && h.U8(hFileType) != 2)
        h.Corrupt(QStringLiteral("it is not a Paradox table"));
    if (recordSize_ == 0 || headerSize_ < 0x58 || headerSize_ > file_.Size() || blockSize_ == 0
        || recordSize_ > blockSize_ - kBlockHeader)
        h.Corrupt(QStringLiteral("the header is damaged"));
    if (h.U32(hEncryption) != 0 && h.U32(hEncryption) != kNotEncrypted)
        throw EDatabaseError(QStringLiteral("Table %1 is password protected").arg(fileName));
    const QByteArray header = file_.Read(0, headerSize_);
    cols_ = ReadColumns(TByteReader(header, fileName), headerSize_);
    for (const Column& c : cols_)
        defs_.push_back(c.Def);
    const qint64 blockCount = (file_.Size() - headerSize_) / blockSize_;
    count_ = h.U32(hRecords);
    if (count_ > blockCount * ((blockSize_ - kBlockHeader) / recordSize_))
        h.Corrupt(QStringLiteral("%1 records are announced but the file is shorter").arg(count_));
    seen_.assign(static_cast<size_t>(blockCount) + 1, false);
    nextBlock_ = h.U16(hFirstBlock);
}

void TParadoxSource::WalkTo(qint64 index)
{
    while (walked_ <= index) {
        const qint64 block = nextBlock_;
        if (block == 0)
            file_.Corrupt(QStringLiteral("its blocks hold %1 records where the header announces %2").arg(walked_).arg(count_));
        if (block >= qint64(seen_.size()) || seen_[static_cast<size_t>(block)])
            file_.Corrupt(QStringLiteral("the block chain is broken at block %1").arg(block));
        seen_[static_cast<size_t>(block)] = true;
        const qint64 start = headerSize_ + (block - 1) * blockSize_;
        const QByteArray head = file_.Read(start, kBlockHeader);
        const TByteReader r(head, file_.FileName());
        const int addSize = static_cast<std::int16_t>(r.U16(4));
        const int count = addSize < 0 ? 0 : addSize / recordSize_ + 1;
        if (count * recordSize_ > blockSize_ - kBlockHeader)
            file_.Corrupt(QStringLiteral("block %1 claims too many records").arg(block));
        if (count > 0)
            blocks_.push_back({walked_, start});
        walked_ += count;
        nextBlock_ = r.U16(0);
    }
}

TRecord TParadoxSource::Read(qint64 index)
{
    CheckHas(index, file_.FileName());
    WalkTo(index);
    const auto it = std::prev(std::upper_bound(blocks_.begin(), blocks_.end(), index,
                                               [](qint64 i, const TDataBlock& b) { return i < b.First; }));
    const QByteArray rec = file_.Read(it->Start + kBlockHeader + (index - it->First) * recordSize_, recordSize_);
    TRecord row;
    row.reserve(cols_.size());
    for (const Column& c : cols_)
        row.push_back(ReadValue(c, rec.constData() + c.Offset, blobs_, file_));
    return row;
}

}  // namespace

std::unique_ptr<TRecordSource> OpenParadoxTable(const QString& fileName)
{
    return std::make_unique<TParadoxSource>(fileName);
}

TTableData ReadParadoxTable(const QString& fileName)
{
    TParadoxSource source(fileName);
    return ReadAll(source);
}

// ---- writing ----

namespace {

struct OutColumn {
    std::uint8_t Type;
    int Length;
};

OutColumn OutColumnOf(const TFieldDef& d)
{
    switch (d.DataType) {
    case ftString: return {pxAlpha, qBound(1, d.Size, 255)};
    case ftSmallint: return {pxShort, 2};
    case ftInteger: return {pxLong, 4};
    case ftAutoInc: return {pxAutoInc, 4};
    case ftLargeint: case ftFloat: return {pxNumber, 8};
    case ftCurrency: return {pxMoney, 8};
    case ftBoolean: return {pxLogical, 1};
    case ftDate: return {pxDate, 4};
    case ftTime: return {pxTime, 4};
    case ftDateTime: return {pxTimestamp, 8};
    case ftMemo: return {pxMemo, 10 + qBound(1, d.Size > 0 ? d.Size : 10, 240)};
    case ftBlob: return {pxBlob, 10 + qBound(0, d.Size, 240)};
    case ftGraphic: return {pxGraphic, 10 + qBound(0, d.Size, 240)};
    default: throw EDatabaseError(QStringLiteral("Column %1: Paradox tables cannot hold this type").arg(d.Name));
    }
}

void PutBigEndian(char* p, std::uint64_t v, int n)
{
    for (int i = n - 1; i >= 0; --i, v >>= 8)
        p[i] = static_cast<char>(v & 0xFF);
}

void EncodeInt(char* p, qint64 v, int n, const QString& column)
{
    // the most negative value would encode as all zeros, which is null
    const qint64 limit = (qint64(1) << (8 * n - 1)) - 1;
    if (v < -limit || v > limit)
        throw EDatabaseError(QStringLiteral("Value %1 is out of range for column %2").arg(v).arg(column));
    PutBigEndian(p, static_cast<std::uint64_t>(v) ^ (std::uint64_t(1) << (8 * n - 1)), n);
}

void EncodeDouble(char* p, double v)
{
    std::uint64_t bits = std::bit_cast<std::uint64_t>(v);
    bits = (bits & (std::uint64_t(1) << 63)) ? ~bits : bits | (std::uint64_t(1) << 63);
    PutBigEndian(p, bits, 8);
}

class TBlobWriter {
public:
    TBlobWriter() : data_(kMbChunk, '\0') { SetU16(data_, 1, 1); }
    bool Used() const { return data_.size() > kMbChunk; }
    const QByteArray& Data() const { return data_; }
    // Stores one blob in chunks of its own; gives its pointer.
    std::uint32_t Add(const QByteArray& value)
    {
        const qint64 start = data_.size();
        const qint64 chunks = (9 + value.size() + kMbChunk - 1) / kMbChunk;
        if (start + chunks * kMbChunk > 0x7FFFFF00)
            throw EDatabaseError(QStringLiteral("Blob file too large"));
        data_.append(char(2));
        PutU16(data_, static_cast<std::uint16_t>(chunks));
        PutU32(data_, static_cast<std::uint32_t>(value.size()));
        PutU16(data_, 1);
        data_.append(value);
        data_.append(start + chunks * kMbChunk - data_.size(), '\0');
        return static_cast<std::uint32_t>(start) | 0xFF;
    }

private:
    QByteArray data_;
};

void EncodeBlob(char* p, int length, const QByteArray& value, TBlobWriter& blobs)
{
    const int leader = length - 10;
    std::memcpy(p, value.constData(), static_cast<size_t>(qMin<qsizetype>(leader, value.size())));
    const std::uint32_t pointer = value.size() <= leader ? 0 : blobs.Add(value);
    qToLittleEndian<std::uint32_t>(pointer, p + leader);
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(value.size()), p + leader + 4);
    qToLittleEndian<std::uint16_t>(1, p + leader + 8);
}

void EncodeValue(char* p, const OutColumn& c, const QVariant& v, const QString& column, TBlobWriter& blobs)
{
    if (v.isNull())
        return;  // the record starts zeroed: null
    switch (c.Type) {
    case pxAlpha: {
        const QByteArray text = EncodeCp1252(v.toString()).left(c.Length);
        std::memcpy(p, text.constData(), static_cast<size_t>(text.size()));
        break;
    }
    case pxShort: case pxLong: case pxAutoInc: EncodeInt(p, v.toLongLong(), c.Length, column); break;
    case pxMoney: case pxNumber: EncodeDouble(p, v.toDouble()); break;
    case pxLogical: p[0] = char(v.toBool() ? 0x81 : 0x80); break;
    case pxDate: EncodeInt(p, v.toDate().toJulianDay() - kJulianDayZero, 4, column); break;
    case pxTime: EncodeInt(p, v.toTime().msecsSinceStartOfDay(), 4, column); break;
    case pxTimestamp: {
        const QDateTime dt = v.toDateTime();
        EncodeDouble(p, double(dt.date().toJulianDay() - kJulianDayZero) * kMsPerDay + dt.time().msecsSinceStartOfDay());
        break;
    }
    case pxMemo: EncodeBlob(p, c.Length, EncodeCp1252(v.toString()), blobs); break;
    default: EncodeBlob(p, c.Length, v.toByteArray(), blobs); break;
    }
}

QByteArray Header(const TTableData& table, const std::vector<OutColumn>& cols, int recordSize)
{
    QByteArray h(FieldInfoOffset(kVersion5), '\0');
    for (const OutColumn& c : cols) {
        h.append(char(c.Type));
        h.append(char(c.Length));
    }
    h.append(4 + 4 * qsizetype(cols.size()), '\0');  // in-memory pointers of the original engine
    h.append(TableNameLength(kVersion5), '\0');
    for (const TFieldDef& d : table.Defs)
        h.append(EncodeCp1252(d.Name)).append('\0');
    for (size_t i = 0; i < cols.size(); ++i)
        PutU16(h, static_cast<std::uint16_t>(i + 1));
    h.append("ascii", 6);
    h.append((0x800 - h.size() % 0x800) % 0x800, '\0');
    SetU16(h, hRecordSize, static_cast<std::uint16_t>(recordSize));
    SetU16(h, hHeaderSize, static_cast<std::uint16_t>(h.size()));
    h[hFileType] = 2;
    SetU32(h, hRecords, static_cast<std::uint32_t>(table.Rows.size()));
    SetU16(h, hFieldCount, static_cast<std::uint16_t>(cols.size()));
    SetU32(h, hEncryption, kNotEncrypted);
    h[hVersion] = char(kVersion5);
    SetU16(h, 0x58, 0x0105);
    SetU16(h, 0x5A, 0x0105);
    SetU16(h, 0x64, static_cast<std::uint16_t>(cols.size() + 1));
    SetU16(h, 0x68, static_cast<std::uint16_t>(cols.size()));
    SetU16(h, hCodePage, 1252);
    return h;
}

qint64 MaxAutoInc(const TTableData& table, const std::vector<OutColumn>& cols)
{
    qint64 max = 0;
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].Type == pxAutoInc)
            for (const TRecord& row : table.Rows)
                if (i < row.size() && !row[i].isNull())
                    max = qMax(max, row[i].toLongLong());
    return max;
}

// Smallest block size (in KB) that keeps the block numbers within 16 bits.
int BlockKb(qint64 rows, int recordSize)
{
    for (int kb : {4, 8, 16, 32}) {
        const qint64 perBlock = (kb * 1024 - kBlockHeader) / recordSize;
        if (perBlock > 0 && (rows + perBlock - 1) / perBlock < 0xFFFF)
            return kb;
    }
    throw EDatabaseError(QStringLiteral("Too many records for a Paradox table"));
}

}  // namespace

void WriteParadoxTable(const QString& fileName, const TTableData& table)
{
    std::vector<OutColumn> cols;
    int recordSize = 0;
    for (const TFieldDef& d : table.Defs) {
        cols.push_back(OutColumnOf(d));
        recordSize += cols.back().Length;
    }
    if (cols.empty() || recordSize > 32 * 1024 - kBlockHeader)
        throw EDatabaseError(QStringLiteral("Table %1 has no columns or too wide records").arg(fileName));
    const int blockKb = BlockKb(static_cast<qint64>(table.Rows.size()), recordSize);
    const int blockSize = blockKb * 1024;
    const int perBlock = (blockSize - kBlockHeader) / recordSize;
    const int blocks = static_cast<int>((table.Rows.size() + perBlock - 1) / perBlock);

    QByteArray out = Header(table, cols, recordSize);
    out[hBlockKb] = char(blockKb);
    SetU16(out, hUsedBlocks, static_cast<std::uint16_t>(blocks));
    SetU16(out, hFileBlocks, static_cast<std::uint16_t>(blocks));
    SetU16(out, hFirstBlock, static_cast<std::uint16_t>(blocks ? 1 : 0));
    SetU16(out, hLastBlock, static_cast<std::uint16_t>(blocks));
    SetU32(out, hAutoInc, static_cast<std::uint32_t>(MaxAutoInc(table, cols)));

    TBlobWriter blobs;
    for (int b = 0; b < blocks; ++b) {
        QByteArray block(blockSize, '\0');
        const size_t first = size_t(b) * perBlock;
        const int count = static_cast<int>(qMin<size_t>(perBlock, table.Rows.size() - first));
        SetU16(block, 0, static_cast<std::uint16_t>(b + 1 < blocks ? b + 2 : 0));
        SetU16(block, 2, static_cast<std::uint16_t>(b));
        SetU16(block, 4, static_cast<std::uint16_t>((count - 1) * recordSize));
        for (int i = 0; i < count; ++i) {
            const TRecord& row = table.Rows[first + i];
            char* rec = block.data() + kBlockHeader + i * recordSize;
            for (size_t f = 0, offset = 0; f < cols.size(); offset += cols[f].Length, ++f)
                EncodeValue(rec + offset, cols[f], f < row.size() ? row[f] : QVariant(), table.Defs[f].Name, blobs);
        }
        out.append(block);
    }
    WriteTableFile(fileName, out);
    const QString mb = SiblingFile(fileName, ".MB");
    if (blobs.Used())
        WriteTableFile(mb, blobs.Data());
    else
        QFile::remove(mb);  // a stale blob file of an earlier table would mislead readers
}
