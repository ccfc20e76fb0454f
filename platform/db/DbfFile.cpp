#include "DbfFile.h"
#include "ByteReader.h"
#include "rtl/Codepage.h"

#include <QDate>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace {

constexpr int kHeaderSize = 32;
constexpr int kDescriptorSize = 32;
constexpr int kMemoBlock = 512;
constexpr char kLanguageAnsi = 0x57;  // language driver byte of Windows ANSI (1252) tables

// The memo file beside a table: same base name, extension .DBT in the case
// the table's extension uses.
QString MemoFileName(const QString& fileName)
{
    const QFileInfo info(fileName);
    const bool lower = info.suffix() == info.suffix().toLower() && !info.suffix().isEmpty();
    return info.path() + u'/' + info.completeBaseName() + (lower ? QStringLiteral(".dbt") : QStringLiteral(".DBT"));
}

QString FindMemoFile(const QString& fileName)
{
    const QString preferred = MemoFileName(fileName);
    if (QFileInfo::exists(preferred))
        return preferred;
    const QFileInfo info(fileName);
    for (const char* ext : {".DBT", ".dbt", ".Dbt"}) {
        const QString candidate = info.path() + u'/' + info.completeBaseName() + QLatin1String(ext);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return preferred;
}

struct Column {
    TFieldDef Def;
    char Type = 'C';
    int Offset = 0;  // in the record, after the deletion flag
    int Length = 0;
};

TFieldType NumberType(int length, int decimals)
{
    if (decimals > 0 || length > 18)
        return ftFloat;
    if (length <= 4)
        return ftSmallint;
    return length <= 9 ? ftInteger : ftLargeint;
}

TFieldDef DefOf(char type, const QString& name, int length, int decimals, const TByteReader& r)
{
    TFieldDef d;
    d.Name = name;
    switch (type) {
    case 'C': d.DataType = ftString; d.Size = length; break;
    case 'N': d.DataType = NumberType(length, decimals); d.Size = length; d.Precision = decimals; break;
    case 'F': d.DataType = ftFloat; d.Size = length; d.Precision = decimals; break;
    case 'D': d.DataType = ftDate; break;
    case 'L': d.DataType = ftBoolean; break;
    case 'M': d.DataType = ftMemo; break;
    case 'B': case 'G': d.DataType = ftBlob; break;
    default: r.Corrupt(QStringLiteral("column %1 has the unknown type '%2'").arg(name, QChar::fromLatin1(type)));
    }
    return d;
}

std::vector<Column> ReadColumns(const TByteReader& r, int headerLength, int recordLength)
{
    std::vector<Column> cols;
    int offset = 0;
    for (qint64 pos = kHeaderSize; r.U8(pos) != 0x0D; pos += kDescriptorSize) {
        if (pos + kDescriptorSize >= headerLength)
            r.Corrupt(QStringLiteral("the column list is not terminated"));
        const char* raw = r.Span(pos, 11);
        const QString name = DecodeCp1252(raw, qstrnlen(raw, 11)).trimmed();
        Column c;
        c.Type = static_cast<char>(r.U8(pos + 11));
        c.Length = r.U8(pos + 16);
        if (c.Type == 'C')  // character columns keep the high length byte in the decimals byte
            c.Length |= r.U8(pos + 17) << 8;
        if (name.isEmpty() || c.Length == 0)
            r.Corrupt(QStringLiteral("column %1 has no name or no width").arg(cols.size() + 1));
        c.Def = DefOf(c.Type, name, c.Length, c.Type == 'C' ? 0 : r.U8(pos + 17), r);
        c.Offset = offset;
        offset += c.Length;
        cols.push_back(c);
    }
    if (cols.empty() || offset + 1 > recordLength)
        r.Corrupt(QStringLiteral("the record length does not match the columns"));
    return cols;
}

// Memo data of one column value: dBase IV blocks start FF FF 08 00 and a
// length; dBase III blocks run to the first 1Ah. The file is held open from
// the table's opening, so a table replaced meanwhile keeps its own memos.
class TMemoFile {
public:
    explicit TMemoFile(const QString& fileName) : fileName_(fileName), file_(OpenIfExists(fileName_)) {}
    QByteArray Read(qint64 block)
    {
        TBlockFile& f = Load();
        // compared before multiplying: a wide memo column holds block numbers whose offset overflows
        if (block <= 0 || block > (f.Size() - 1) / blockSize_)
            f.Corrupt(QStringLiteral("memo block %1 is outside the file").arg(block));
        const qint64 pos = block * blockSize_;
        if (f.Size() - pos >= 8) {
            const QByteArray head = f.Read(pos, 8);
            const TByteReader r(head, fileName_);
            if (r.U32(0) == 0x0008FFFFu)
                return f.Read(pos + 8, qint64(r.U32(4)) - 8);
        }
        QByteArray text;
        for (qint64 at = pos; at < f.Size(); at += kMemoBlock) {
            const QByteArray chunk = f.Read(at, qMin<qint64>(kMemoBlock, f.Size() - at));
            const qsizetype end = chunk.indexOf('\x1A');
            text += end < 0 ? chunk : chunk.left(end);
            if (end >= 0)
                break;
        }
        return text;
    }

private:
    TBlockFile& Load()
    {
        if (!file_)
            throw EDatabaseError(QStringLiteral("Memo file %1 not found").arg(fileName_));
        if (!blockSize_) {
            if (file_->Size() < kMemoBlock)
                file_->Corrupt(QStringLiteral("the memo file header is truncated"));
            // dBase IV keeps its block size at offset 20; dBase III leaves it 0 (512)
            const QByteArray head = file_->Read(0, kMemoBlock);
            const int declared = TByteReader(head, fileName_).U16(20);
            blockSize_ = declared >= 64 && declared % 64 == 0 ? declared : kMemoBlock;
        }
        return *file_;
    }

    QString fileName_;
    std::optional<TBlockFile> file_;
    int blockSize_ = 0;  // 0 until the header is read
};

QVariant ParseNumber(const QByteArray& text, TFieldType type)
{
    bool ok = false;
    if (type == ftFloat) {
        const double v = text.toDouble(&ok);
        // "nan" and "inf" parse but are no dBase numbers: unreadable like any other text
        return ok && std::isfinite(v) ? QVariant(v) : QVariant();
    }
    const qint64 v = text.toLongLong(&ok);
    return ok ? QVariant(v) : QVariant();
}

QVariant ParseValue(const Column& c, const char* raw, TMemoFile& memo)
{
    const QByteArray text = QByteArray(raw, c.Length).trimmed();
    switch (c.Def.DataType) {
    case ftString: {
        qsizetype n = c.Length;
        while (n > 0 && (raw[n - 1] == ' ' || raw[n - 1] == 0))
            --n;
        // dBase cannot tell a blank string from a missing one; like Paradox, blank reads as null
        return n == 0 ? QVariant() : QVariant(DecodeCp1252(raw, n));
    }
    case ftDate: {
        const QDate d = QDate::fromString(QString::fromLatin1(text), QStringLiteral("yyyyMMdd"));
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case ftBoolean:
        if (text.isEmpty() || !QByteArrayView("TtYyFfNn").contains(text[0]))
            return {};
        return QByteArrayView("TtYy").contains(text[0]);
    case ftMemo: case ftBlob: case ftGraphic: {
        if (text.isEmpty())
            return {};
        bool ok = false;
        const qint64 block = text.toLongLong(&ok);
        if (!ok)
            throw EDatabaseError(QStringLiteral("Memo column %1 holds no block number: %2").arg(c.Def.Name, QString::fromLatin1(text)));
        if (block == 0)
            return {};
        const QByteArray data = memo.Read(block);
        return c.Def.DataType == ftMemo ? QVariant(DecodeCp1252(data)) : QVariant(data);
    }
    default: return ParseNumber(text, c.Def.DataType);
    }
}

// Reads the header when opened and a record when asked for it. Deleted
// records are skipped: their flags are read as far as the asked record needs.
class TDbfSource : public TRecordSource {
public:
    explicit TDbfSource(const QString& fileName);
    bool Has(qint64 index) override
    {
        ScanFor(index);
        return index >= 0 && index < Live();
    }
    qint64 Count() override
    {
        ScanFor(slots_);
        return Live();
    }
    TRecord Read(qint64 index) override;

private:
    qint64 Live() const { return scanned_ - static_cast<qint64>(deleted_.size()); }
    void ScanFor(qint64 index);
    qint64 SlotOf(qint64 index) const;

    TBlockFile file_;
    TMemoFile memo_;
    std::vector<Column> cols_;
    int headerLength_ = 0;
    int recordLength_ = 0;
    qint64 slots_ = 0;               // records in the file, deleted ones included
    qint64 scanned_ = 0;             // slots whose deletion flag is read
    std::vector<qint64> deleted_;    // the deleted ones among them, ascending
};

TDbfSource::TDbfSource(const QString& fileName) : file_(fileName), memo_(FindMemoFile(fileName))
{
    const QByteArray head = file_.Read(0, kHeaderSize);
    const TByteReader h(head, fileName);
    slots_ = h.U32(4);
    headerLength_ = h.U16(8);
    recordLength_ = h.U16(10);
    if (headerLength_ < kHeaderSize + kDescriptorSize + 1 || headerLength_ > file_.Size() || recordLength_ < 2)
        h.Corrupt(QStringLiteral("the header is damaged"));
    const QByteArray header = file_.Read(0, headerLength_);
    cols_ = ReadColumns(TByteReader(header, fileName), headerLength_, recordLength_);
    if (slots_ > (file_.Size() - headerLength_) / recordLength_)
        h.Corrupt(QStringLiteral("%1 records are announced but the file is shorter").arg(slots_));
    for (const Column& c : cols_)
        defs_.push_back(c.Def);
}

void TDbfSource::ScanFor(qint64 index)
{
    while (scanned_ < slots_ && Live() <= index) {
        if (file_.Byte(headerLength_ + scanned_ * recordLength_) == '*')
            deleted_.push_back(scanned_);
        ++scanned_;
    }
}

// The slot of the index-th live record: index plus the deleted slots before
// it, the first j with deleted_[j] - j > index.
qint64 TDbfSource::SlotOf(qint64 index) const
{
    size_t lo = 0, hi = deleted_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (deleted_[mid] - static_cast<qint64>(mid) > index)
            hi = mid;
        else
            lo = mid + 1;
    }
    return index + static_cast<qint64>(lo);
}

TRecord TDbfSource::Read(qint64 index)
{
    CheckHas(index, file_.FileName());
    const QByteArray rec = file_.Read(headerLength_ + SlotOf(index) * recordLength_, recordLength_);
    TRecord row;
    row.reserve(cols_.size());
    for (const Column& c : cols_)
        row.push_back(ParseValue(c, rec.constData() + 1 + c.Offset, memo_));
    return row;
}

}  // namespace

std::unique_ptr<TRecordSource> OpenDbfTable(const QString& fileName) { return std::make_unique<TDbfSource>(fileName); }

TTableData ReadDbfTable(const QString& fileName)
{
    TDbfSource source(fileName);
    return ReadAll(source);
}

// ---- writing ----

namespace {

struct OutColumn {
    char Type;
    int Length;
    int Decimals;
};

OutColumn OutColumnOf(const TFieldDef& d)
{
    switch (d.DataType) {
    case ftString: return {'C', qBound(1, d.Size, 254), 0};
    case ftSmallint: return {'N', d.Size > 0 ? d.Size : 6, 0};
    case ftInteger: case ftAutoInc: return {'N', d.Size > 0 ? d.Size : 11, 0};
    case ftLargeint: return {'N', d.Size > 0 ? d.Size : 18, 0};
    case ftFloat: case ftCurrency: return {'N', d.Size > 0 ? qMin(d.Size, 20) : 20, d.Size > 0 ? d.Precision : 4};
    case ftDate: return {'D', 8, 0};
    case ftBoolean: return {'L', 1, 0};
    case ftMemo: return {'M', 10, 0};
    case ftBlob: case ftGraphic: return {'B', 10, 0};
    default: throw EDatabaseError(QStringLiteral("Column %1: dBase tables cannot hold this type").arg(d.Name));
    }
}

class TMemoWriter {
public:
    explicit TMemoWriter(bool dBase4) : dBase4_(dBase4), data_(kMemoBlock, '\0')
    {
        if (dBase4_)
            SetU16(data_, 20, kMemoBlock);
        else
            data_[16] = 0x03;
    }
    // Appends one value and gives its first block number.
    qint64 Add(const QByteArray& value)
    {
        const qint64 block = data_.size() / kMemoBlock;
        if (dBase4_) {
            PutU32(data_, 0x0008FFFFu);
            PutU32(data_, static_cast<std::uint32_t>(value.size() + 8));
            data_.append(value);
        } else {
            data_.append(value);
            data_.append("\x1A\x1A", 2);
        }
        data_.append((kMemoBlock - data_.size() % kMemoBlock) % kMemoBlock, '\0');
        SetU32(data_, 0, static_cast<std::uint32_t>(data_.size() / kMemoBlock));
        return block;
    }
    const QByteArray& Data()
    {
        SetU32(data_, 0, static_cast<std::uint32_t>(data_.size() / kMemoBlock));
        return data_;
    }

private:
    bool dBase4_;
    QByteArray data_;
};

QByteArray Pad(const QByteArray& text, int length, bool right)
{
    if (text.size() > length)
        return QByteArray(length, '*');  // dBase's mark of a number too wide for its column
    const QByteArray fill(length - text.size(), ' ');
    return right ? fill + text : text + fill;
}

QByteArray FormatValue(const TFieldDef& d, const OutColumn& c, const QVariant& v, TMemoWriter& memo)
{
    if (v.isNull())
        return QByteArray(c.Length, ' ');
    switch (c.Type) {
    case 'C': return Pad(EncodeCp1252(v.toString()).left(c.Length), c.Length, false);
    case 'D': return v.toDate().toString(QStringLiteral("yyyyMMdd")).toLatin1();
    case 'L': return v.toBool() ? "T" : "F";
    case 'M': return Pad(QByteArray::number(memo.Add(EncodeCp1252(v.toString()))), c.Length, true);
    case 'B': return Pad(QByteArray::number(memo.Add(v.toByteArray())), c.Length, true);
    default:
        if (c.Decimals == 0)
            return Pad(QByteArray::number(v.toLongLong()), c.Length, true);
        return Pad(QByteArray::number(v.toDouble(), 'f', c.Decimals), c.Length, true);
    }
}

QByteArray Header(const TTableData& table, const std::vector<OutColumn>& cols, bool memo, bool dBase4)
{
    QByteArray h(kHeaderSize, '\0');
    h[0] = char(!memo ? 0x03 : dBase4 ? 0x8B : 0x83);
    const QDate today = QDate::currentDate();
    h[1] = char(today.year() - 1900);
    h[2] = char(today.month());
    h[3] = char(today.day());
    SetU32(h, 4, static_cast<std::uint32_t>(table.Rows.size()));
    int recordLength = 1;
    for (const OutColumn& c : cols)
        recordLength += c.Length;
    SetU16(h, 8, static_cast<std::uint16_t>(kHeaderSize + kDescriptorSize * cols.size() + 1));
    SetU16(h, 10, static_cast<std::uint16_t>(recordLength));
    h[29] = kLanguageAnsi;
    for (size_t i = 0; i < cols.size(); ++i) {
        QByteArray desc(kDescriptorSize, '\0');
        const QByteArray name = EncodeCp1252(table.Defs[i].Name).left(10);
        desc.replace(0, name.size(), name);
        desc[11] = cols[i].Type;
        desc[16] = char(cols[i].Length);
        desc[17] = char(cols[i].Decimals);
        h.append(desc);
    }
    h.append('\x0D');
    return h;
}

}  // namespace

void WriteDbfTable(const QString& fileName, const TTableData& table)
{
    std::vector<OutColumn> cols;
    bool memo = false, binary = false;
    for (const TFieldDef& d : table.Defs) {
        cols.push_back(OutColumnOf(d));
        memo = memo || cols.back().Type == 'M' || cols.back().Type == 'B';
        binary = binary || cols.back().Type == 'B';
    }
    // binary values need dBase IV memo blocks; plain text keeps the wider-read dBase III form
    TMemoWriter memoFile(binary);
    QByteArray out = Header(table, cols, memo, binary);
    for (const TRecord& row : table.Rows) {
        out.append(' ');
        for (size_t i = 0; i < cols.size(); ++i)
            out.append(FormatValue(table.Defs[i], cols[i], i < row.size() ? row[i] : QVariant(), memoFile));
    }
    out.append('\x1A');
    WriteTableFile(fileName, out);
    if (memo)
        WriteTableFile(MemoFileName(fileName), memoFile.Data());
}
