// The dBase and Paradox drivers: round trips of every column type, files of
// independent implementations (pxlib, python3-dbf) in both directions, and
// damaged files.
#include "DbfFile.h"
#include "ParadoxFile.h"
#include "TestTables.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>
#include <bit>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern "C" {
#include <paradox.h>
}

namespace {

class Drivers : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    QTemporaryDir dir_;
};

TEST_F(Drivers, ParadoxRoundTripsEveryTypeLimitsAndNulls)
{
    const TTableData t = ParadoxAllTypes();
    WriteParadoxTable(Path("ALL.DB"), t);
    EXPECT_TRUE(QFile::exists(Path("ALL.MB")));
    EXPECT_TRUE(SameTable(t, ReadParadoxTable(Path("ALL.DB"))));
}

TEST_F(Drivers, ParadoxRefusesWhatItCannotStore)
{
    TTableData t;
    t.Defs = {{QStringLiteral("S"), ftSmallint, 0, 0}};
    t.Rows = {{qint64(-32768)}};  // the null pattern
    EXPECT_THROW(WriteParadoxTable(Path("BAD.DB"), t), EDatabaseError);
    t.Rows = {{qint64(40000)}};
    EXPECT_THROW(WriteParadoxTable(Path("BAD.DB"), t), EDatabaseError);
}

TEST_F(Drivers, ParadoxSpansManyBlocks)
{
    TTableData t;
    t.Defs = {{QStringLiteral("N"), ftInteger, 0, 0}, {QStringLiteral("T"), ftString, 200, 0}};
    for (int i = 0; i < 5000; ++i)
        t.Rows.push_back({qint64(i), QStringLiteral("row %1").arg(i)});
    WriteParadoxTable(Path("MANY.DB"), t);
    EXPECT_TRUE(SameTable(t, ReadParadoxTable(Path("MANY.DB"))));
}

TEST_F(Drivers, DbfRoundTripsEveryTypeLimitsAndNulls)
{
    const TTableData t = DbfAllTypes();
    WriteDbfTable(Path("ALL.DBF"), t);
    EXPECT_TRUE(QFile::exists(Path("ALL.DBT")));
    EXPECT_TRUE(SameTable(t, ReadDbfTable(Path("ALL.DBF"))));
}

TEST_F(Drivers, DbfTextMemosUseDBase3Blocks)
{
    TTableData t;
    t.Defs = {{QStringLiteral("M"), ftMemo, 0, 0}};
    t.Rows = {{QStringLiteral("first")}, {QString(QStringLiteral("y")).repeated(1500)}};
    WriteDbfTable(Path("M3.DBF"), t);
    QFile f(Path("M3.DBF"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(0x83, static_cast<unsigned char>(f.read(1)[0]));
    EXPECT_TRUE(SameTable(t, ReadDbfTable(Path("M3.DBF"))));
}

TEST_F(Drivers, DbfRefusesTimes)
{
    TTableData t;
    t.Defs = {{QStringLiteral("T"), ftDateTime, 0, 0}};
    EXPECT_THROW(WriteDbfTable(Path("T.DBF"), t), EDatabaseError);
}

// ---- pxlib as an independent reader and writer ----

struct PxDoc {
    PxDoc() : doc(PX_new()) {}
    ~PxDoc()
    {
        PX_close(doc);
        PX_delete(doc);
    }
    pxdoc_t* doc;
};

void FreeRecord(pxdoc_t* doc, pxval_t** row, int columns)
{
    for (int i = 0; i < columns; ++i) {
        if (row[i]->type == pxfAlpha && row[i]->value.str.val)
            doc->free(doc, row[i]->value.str.val);
        doc->free(doc, row[i]);
    }
    doc->free(doc, row);
}

TTableData NoBlobColumns(const TTableData& t)
{
    TTableData out;
    std::vector<size_t> keep;
    for (size_t i = 0; i < t.Defs.size(); ++i)
        if (!IsBlobType(t.Defs[i].DataType)) {
            keep.push_back(i);
            out.Defs.push_back(t.Defs[i]);
        }
    for (const TRecord& row : t.Rows) {
        TRecord r;
        for (size_t i : keep)
            r.push_back(row[i]);
        out.Rows.push_back(r);
    }
    return out;
}

TEST_F(Drivers, PxlibReadsOurParadoxTables)
{
    const TTableData t = NoBlobColumns(ParadoxAllTypes());
    WriteParadoxTable(Path("PEER.DB"), t);
    PX_boot();
    PxDoc px;
    ASSERT_EQ(0, PX_open_file(px.doc, Path("PEER.DB").toLocal8Bit().constData()));
    ASSERT_EQ(int(t.Rows.size()), PX_get_num_records(px.doc));
    pxval_t** row = PX_retrieve_record(px.doc, 0);
    ASSERT_NE(nullptr, row);
    EXPECT_STREQ("Zo\xEB caf\xE9 \xBD \x80 exactly", row[0]->value.str.val);
    EXPECT_EQ(32767, row[1]->value.lval);
    EXPECT_EQ(2147483647, row[2]->value.lval);
    EXPECT_DOUBLE_EQ(1234567.89, row[5]->value.dval);
    EXPECT_EQ(1, row[6]->value.lval);
    EXPECT_EQ(PX_GregorianToSdn(9999, 12, 31) - 1721425, row[7]->value.lval);
    EXPECT_EQ(86399999, row[8]->value.lval);
    const double stamp = (PX_GregorianToSdn(1999, 12, 31) - 1721425) * 86400000.0 + 86399250.0;
    EXPECT_DOUBLE_EQ(stamp, row[9]->value.dval);
    FreeRecord(px.doc, row, int(t.Defs.size()));
    pxval_t** nulls = PX_retrieve_record(px.doc, 2);
    ASSERT_NE(nullptr, nulls);
    for (int c : {0, 1, 6})
        EXPECT_TRUE(nulls[c]->isnull) << "column " << c;
    // pxlib 0.6.8 checks no null for longs, dates, times and numbers: it decodes
    // the all-zero null pattern as the most negative long, or as 0.0
    for (int c : {2, 7, 8})
        EXPECT_TRUE(nulls[c]->isnull || nulls[c]->value.lval == INT32_MIN) << "column " << c;
    for (int c : {4, 5, 9})
        EXPECT_TRUE(nulls[c]->isnull || nulls[c]->value.dval == 0) << "column " << c;
    FreeRecord(px.doc, nulls, int(t.Defs.size()));
}

TEST_F(Drivers, WeReadParadoxTablesPxlibWrites)
{
    PX_boot();
    const QByteArray file = Path("PXW.DB").toLocal8Bit();
    {
        PxDoc px;
        auto* fields = static_cast<pxfield_t*>(px.doc->malloc(px.doc, 6 * sizeof(pxfield_t), "fields"));
        const struct { const char* name; char type; int len; } spec[] = {
            {"Title", pxfAlpha, 15}, {"Count", pxfLong, 4}, {"Price", pxfNumber, 8},
            {"When", pxfDate, 4}, {"Small", pxfShort, 2}, {"Yes", pxfLogical, 1}};
        for (int i = 0; i < 6; ++i) {
            fields[i].px_fname = static_cast<char*>(px.doc->malloc(px.doc, 16, "name"));
            qstrcpy(fields[i].px_fname, spec[i].name);
            fields[i].px_ftype = spec[i].type;
            fields[i].px_flen = spec[i].len;
            fields[i].px_fdc = 0;
        }
        ASSERT_EQ(0, PX_create_file(px.doc, fields, 6, file.constData(), pxfFileTypNonIndexDB));
        for (int r = 0; r < 300; ++r) {
            pxval_t* vals[6];
            for (auto& v : vals) {
                MAKE_PXVAL(px.doc, v);
            }
            QByteArray title = QByteArray("item ") + QByteArray::number(r);
            vals[0]->value.str.val = title.data();
            vals[0]->value.str.len = int(title.size());
            vals[1]->value.lval = r * 1000 - 7;
            vals[2]->value.dval = r / 4.0 - 3;
            vals[3]->value.lval = PX_GregorianToSdn(2001, 1, 1) - 1721425 + r;
            vals[4]->value.lval = -r;
            vals[5]->isnull = r % 3 == 0;
            vals[5]->value.lval = r % 2;
            ASSERT_GE(PX_insert_record(px.doc, vals), 0);
            for (auto& v : vals) {
                FREE_PXVAL(px.doc, v);
            }
        }
    }
    const TTableData t = ReadParadoxTable(Path("PXW.DB"));
    ASSERT_EQ(6u, t.Defs.size());
    ASSERT_EQ(300u, t.Rows.size());
    EXPECT_EQ(ftDate, t.Defs[3].DataType);
    for (int r : {0, 1, 150, 299}) {
        const TRecord& row = t.Rows[size_t(r)];
        EXPECT_EQ(QStringLiteral("item %1").arg(r), row[0].toString());
        EXPECT_EQ(r * 1000 - 7, row[1].toLongLong());
        EXPECT_DOUBLE_EQ(r / 4.0 - 3, row[2].toDouble());
        EXPECT_EQ(QDate(2001, 1, 1).addDays(r), row[3].toDate());
        if (r == 0)
            EXPECT_TRUE(row[4].isNull() || row[4].toLongLong() == 0);
        else
            EXPECT_EQ(-r, row[4].toLongLong());
        EXPECT_EQ(r % 3 == 0, row[5].isNull());
    }
}

// ---- python3-dbf as an independent dBase reader and writer ----

QString RunPython(const QString& script)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("FAILED: ") + QString::fromUtf8(p.readAllStandardError());
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

TEST_F(Drivers, WeReadDbfTablesPython3DbfWrites)
{
    const QString script = QStringLiteral(R"(
import dbf, datetime
t = dbf.Db3Table('%1', 'name C(12); qty N(5,0); price N(10,2); rate F(12,4); born D; ok L; notes M', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('Gr\u00fc\u00dfe', 42, 19.99, -1.5, datetime.date(1987, 6, 5), True, 'long note \u00e9 ' * 100))
t.append(('second', -7, 0, 0, datetime.date(2000, 2, 29), False, 'x'))
t.append()
t.close()
print('ok')
)").arg(Path("py.dbf"));
    ASSERT_EQ("ok", RunPython(script).toStdString());
    const TTableData t = ReadDbfTable(Path("py.dbf"));
    ASSERT_EQ(7u, t.Defs.size());
    ASSERT_EQ(3u, t.Rows.size());
    EXPECT_EQ(ftString, t.Defs[0].DataType);
    EXPECT_EQ(12, t.Defs[0].Size);
    EXPECT_EQ(QStringLiteral("Grüße"), t.Rows[0][0].toString());
    EXPECT_EQ(42, t.Rows[0][1].toLongLong());
    EXPECT_DOUBLE_EQ(19.99, t.Rows[0][2].toDouble());
    EXPECT_DOUBLE_EQ(-1.5, t.Rows[0][3].toDouble());
    EXPECT_EQ(QDate(1987, 6, 5), t.Rows[0][4].toDate());
    EXPECT_TRUE(t.Rows[0][5].toBool());
    EXPECT_EQ(QString(QStringLiteral("long note é ")).repeated(100).trimmed(), t.Rows[0][6].toString().trimmed());
    EXPECT_EQ(QStringLiteral("x"), t.Rows[1][6].toString());
    EXPECT_TRUE(t.Rows[2][4].isNull());
    EXPECT_TRUE(t.Rows[2][5].isNull());
}

TEST_F(Drivers, Python3DbfReadsOurDbfTables)
{
    TTableData t;
    t.Defs = {{QStringLiteral("NAME"), ftString, 10, 0}, {QStringLiteral("N"), ftInteger, 6, 0},
              {QStringLiteral("F"), ftFloat, 9, 2}, {QStringLiteral("D"), ftDate, 0, 0},
              {QStringLiteral("L"), ftBoolean, 0, 0}, {QStringLiteral("M"), ftMemo, 0, 0}};
    t.Rows = {{QStringLiteral("Bärbel"), qint64(-12345), 3.25, QDate(2012, 12, 21), true, QStringLiteral("memo €")},
              {QStringLiteral("two"), qint64(7), -0.5, QVariant(), false, QString(QStringLiteral("m")).repeated(900)}};
    WriteDbfTable(Path("OURS.DBF"), t);
    const QString script = QStringLiteral(R"(
import dbf
t = dbf.Table('%1', codepage='cp1252')
t.open()
for r in t:
    print('|'.join([r.name.strip(), str(int(r.n)), '%.2f' % r.f, str(r.d), str(r.l), str(len(r.m)), r.m[:6].strip()]))
t.close()
)").arg(Path("OURS.DBF"));
    const QStringList lines = RunPython(script).split(u'\n');
    ASSERT_EQ(2, lines.size()) << lines.join(u'\n').toStdString();
    EXPECT_EQ(QStringLiteral("Bärbel|-12345|3.25|2012-12-21|True|6|memo €"), lines[0]);
    EXPECT_EQ(QStringLiteral("two|7|-0.50|None|False|900|mmmmmm"), lines[1]);
}

// ---- damaged files ----

// Every damaged variant must read or fail with EDatabaseError; the
// sanitizers catch any wild access on the way.
template <class Read>
void Sweep(const QString& victim, const QString& opened, Read read)
{
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    auto attempt = [&](const QByteArray& bytes) {
        QFile out(victim);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        try {
            read(opened);
        } catch (const EDatabaseError&) {
        }
    };
    for (qsizetype cut = 0; cut < good.size(); cut += qMax<qsizetype>(1, good.size() / 41))
        attempt(good.left(cut));
    // every header byte, then samples of the data
    const qsizetype headerSpan = qMin<qsizetype>(good.size(), 400);
    for (qsizetype pos = 0; pos < good.size(); pos += pos < headerSpan ? 1 : 173)
        for (char value : {char(0), char(0xFF)}) {
            QByteArray bad = good;
            bad[pos] = value;
            attempt(bad);
        }
    attempt(good);
}

TEST_F(Drivers, DamagedParadoxTablesFailCleanly)
{
    TTableData t = ParadoxAllTypes();
    WriteParadoxTable(Path("D.DB"), t);
    Sweep(Path("D.DB"), Path("D.DB"), ReadParadoxTable);
    Sweep(Path("D.MB"), Path("D.DB"), ReadParadoxTable);
}

TEST_F(Drivers, DamagedDbfTablesFailCleanly)
{
    WriteDbfTable(Path("D.DBF"), DbfAllTypes());
    Sweep(Path("D.DBF"), Path("D.DBF"), ReadDbfTable);
    Sweep(Path("D.DBT"), Path("D.DBF"), ReadDbfTable);
}

// A dBase III table of one column of the type, as wide as the one value
// given, beside a memo file whose block 1 holds "secret".
void WriteOneValueTable(const QString& table, const QString& memo, char type, const QByteArray& value)
{
    const int width = int(value.size());
    QByteArray dbf(32, '\0');
    dbf[0] = char(0x83);
    dbf[4] = 1;
    dbf[8] = 65;
    dbf[10] = char(1 + width);
    QByteArray column("NOTE");
    column.append(QByteArray(7, '\0')).append(type).append(QByteArray(4, '\0')).append(char(width)).append(char(type == 'N'));
    column.append(QByteArray(32 - column.size(), '\0'));
    dbf += column + '\x0D' + ' ' + value + '\x1A';
    QByteArray dbt(512, '\0');
    dbt[0] = 2;
    dbt += QByteArray("secret\x1A\x1A").leftJustified(512, '\0');
    for (const auto& [name, bytes] : {std::pair{table, dbf}, std::pair{memo, dbt}}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
}

// Memo references are block numbers as text: one whose byte offset would
// overflow (a column 17 or more digits wide) or that is no number is refused,
// never read as another block.
TEST_F(Drivers, DbfMemoReferencesBeyondTheFileAreRefused)
{
    const struct {
        const char* Reference;
        const char* Memo;  // nullptr: the record is refused
    } cases[] = {
        {"         1", "secret"},
        {"          ", ""},
        {"         0", ""},
        {" 36028797018963969", nullptr},  // (2^55 + 1) * 512 wraps to the offset of block 1
        {"18014398509481985", nullptr},   // 2^54 + 1, 17 digits
        {"9223372036854775807", nullptr},
        {"99999999999999999999", nullptr},  // no 64-bit number
        {"        -1", nullptr},
        {"         2", nullptr},
        {"       1x2", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Reference);
        WriteOneValueTable(Path("M.DBF"), Path("M.DBT"), 'M', c.Reference);
        if (!c.Memo) {
            EXPECT_THROW(ReadDbfTable(Path("M.DBF")), EDatabaseError);
            continue;
        }
        const TTableData t = ReadDbfTable(Path("M.DBF"));
        ASSERT_EQ(t.Rows.size(), 1u);
        EXPECT_EQ(t.Rows[0][0].toString(), QString::fromLatin1(c.Memo));
    }
}

// Numbers are digits: text that parses as a float that is not finite reads as null.
TEST_F(Drivers, DbfNumbersThatAreNotFiniteReadAsNull)
{
    for (const char* text : {"       nan", "       inf", "      -inf", "     1e999"}) {
        SCOPED_TRACE(text);
        WriteOneValueTable(Path("N.DBF"), Path("N.DBT"), 'N', text);
        const TTableData t = ReadDbfTable(Path("N.DBF"));
        ASSERT_EQ(t.Rows.size(), 1u);
        EXPECT_TRUE(t.Rows[0][0].isNull()) << t.Rows[0][0].toDouble();
    }
    WriteOneValueTable(Path("N.DBF"), Path("N.DBT"), 'N', "     -12.5");
    EXPECT_EQ(ReadDbfTable(Path("N.DBF")).Rows[0][0].toDouble(), -12.5);
}

// Paradox numbers are doubles: a NaN or an infinity in one reads as null.
TEST_F(Drivers, ParadoxNumbersThatAreNotFiniteReadAsNull)
{
    TTableData t;
    t.Defs = {{QStringLiteral("N"), ftFloat, 0, 0}};
    t.Rows = {{12.5}};
    // a positive double is stored big-endian with its sign bit set
    const auto stored = [](double v) {
        quint64 bits = std::bit_cast<quint64>(v) | (quint64(1) << 63);
        QByteArray out;
        for (int i = 7; i >= 0; --i)
            out.append(char(bits >> (8 * i)));
        return out;
    };
    for (double hostile : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(hostile);
        WriteParadoxTable(Path("N.DB"), t);
        QFile f(Path("N.DB"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        const qsizetype at = bytes.lastIndexOf(stored(12.5));
        ASSERT_GE(at, 0);
        bytes.replace(at, 8, stored(hostile));
        f.seek(0);
        f.write(bytes);
        f.close();
        EXPECT_TRUE(ReadParadoxTable(Path("N.DB")).Rows.at(0).at(0).isNull());
    }
}

// A table written over its old files under a file-size limit: the write is
// an EDatabaseError, the old table reads as before and no temporary file stays.
TEST_F(Drivers, ATableWriteOverTheFileSizeLimitKeepsTheOldTable)
{
    const TTableData old = DbfAllTypes();
    WriteDbfTable(Path("L.DBF"), old);
    TTableData big;
    big.Defs = {{QStringLiteral("T"), ftString, 200, 0}, {QStringLiteral("M"), ftMemo, 0, 0}};
    for (int i = 0; i < 200; ++i)
        big.Rows.push_back({QStringLiteral("row %1").arg(i), QString(300, u'm')});
    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit r{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &r);
        int result = 2;
        try {
            WriteDbfTable(Path("L.DBF"), big);
        } catch (const EDatabaseError&) {
            result = 0;
        } catch (...) {
            result = 1;
        }
        _exit(result);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(SameTable(old, ReadDbfTable(Path("L.DBF"))));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"L.DBF", "L.DBT"}));
}

TEST_F(Drivers, DamageIsReportedWithTheFileName)
{
    WriteParadoxTable(Path("E.DB"), ParadoxAllTypes());
    QFile f(Path("E.DB"));
    ASSERT_TRUE(f.resize(100));
    try {
        ReadParadoxTable(Path("E.DB"));
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("E.DB"))) << e.what();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("corrupt"))) << e.what();
    }
}

}  // namespace
