// Tables read record by record as the data set moves: a table file that
// shrinks or is replaced while open, damage met only when its record is,
// deleted dBase records, and orders and ranges over a table read so.
#include "DbfFile.h"
#include "ParadoxFile.h"
#include "Query.h"
#include "Table.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Enough rows that a table is many times the reader's block cache.
constexpr int kRows = 30000;

class OnDemand : public ::testing::Test {
protected:
    void SetUp() override { owner_ = New<TComponent>(nullptr); }
    void TearDown() override { owner_->Free(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    // Rewrites a table file in place, as damage or another program would.
    void Patch(const QString& name, const std::function<void(QByteArray&)>& change) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        QByteArray bytes = f.readAll();
        change(bytes);
        f.seek(0);
        f.write(bytes);
    }

    // Id 1..rows, Name "<tag> <id>", Note a memo on every thousandth row.
    static TTableData Numbered(int rows, const QString& tag)
    {
        TTableData t;
        t.Defs = {{QStringLiteral("Id"), ftInteger, 9, 0}, {QStringLiteral("Name"), ftString, 40, 0},
                  {QStringLiteral("Note"), ftMemo, 0, 0}};
        for (int i = 1; i <= rows; ++i)
            t.Rows.push_back({qint64(i), QStringLiteral("%1 %2").arg(tag).arg(i),
                              i % 1000 == 0 ? QVariant(QStringLiteral("%1 memo of row %2, long enough for the memo file").arg(tag).arg(i)) : QVariant()});
        return t;
    }
    TTable* Open(const QString& name)
    {
        auto* t = New<TTable>(owner_);
        t->SetDatabaseName(dir_.path());
        t->SetTableName(name);
        t->Open();
        return t;
    }
    static int Id(TDataSet* t) { return t->FieldByName(QStringLiteral("Id"))->AsInteger(); }
    static QStringList Ids(TDataSet* t)
    {
        QStringList out;
        for (t->First(); !t->Eof(); t->Next())
            out << QString::number(Id(t));
        return out;
    }

    QTemporaryDir dir_;
    TComponent* owner_ = nullptr;
};

const QString kDrivers[] = {QStringLiteral("BIG.DB"), QStringLiteral("BIG.DBF")};

// Opening reads the header only: a table cut short afterwards shows every
// record before the cut, then the move onto a lost one raises EDatabaseError
// naming the file, and the data set stays on its last good record.
TEST_F(OnDemand, ATableThatShrinksWhileOpenFailsOnTheMoveAndKeepsItsRecord)
{
    for (const QString& name : kDrivers) {
        SCOPED_TRACE(name.toStdString());
        WriteTable(Path(name), Numbered(kRows, QStringLiteral("row")));
        TTable* t = Open(name);
        EXPECT_EQ(kRows, t->RecordCount());
        QFile file(Path(name));
        ASSERT_TRUE(file.resize(file.size() / 2));
        int last = 0;
        try {
            for (; !t->Eof(); t->Next()) {
                ASSERT_EQ(last + 1, Id(t));
                last = Id(t);
            }
            FAIL() << "the cut went unnoticed";
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(Path(name))) << e.what();
        }
        EXPECT_GT(last, kRows / 4);
        EXPECT_LT(last, kRows / 2 + 1);
        EXPECT_EQ(last, t->RecNo());
        EXPECT_EQ(last, Id(t));
        EXPECT_EQ(QStringLiteral("row %1").arg(last), t->FieldByName(QStringLiteral("Name"))->AsString());
        EXPECT_THROW(t->Last(), EDatabaseError);
        EXPECT_EQ(last, Id(t));
    }
}

// Tables are written to a temporary file renamed into place: a data set open
// on the old one reads it to its end, memos included, until it is refreshed.
TEST_F(OnDemand, ATableReplacedWhileOpenReadsAsOpenedUntilRefreshed)
{
    for (const QString& name : kDrivers) {
        SCOPED_TRACE(name.toStdString());
        WriteTable(Path(name), Numbered(kRows, QStringLiteral("old")));
        TTable* t = Open(name);
        WriteTable(Path(name), Numbered(3, QStringLiteral("new")));
        int rows = 0;
        for (; !t->Eof(); t->Next()) {
            ++rows;
            ASSERT_EQ(QStringLiteral("old %1").arg(rows), t->FieldByName(QStringLiteral("Name"))->AsString());
            if (rows % 1000 == 0) {
                ASSERT_TRUE(t->FieldByName(QStringLiteral("Note"))->AsString().startsWith(QStringLiteral("old memo")));
            }
        }
        EXPECT_EQ(kRows, rows);
        t->Refresh();
        EXPECT_EQ(3, t->RecordCount());
        EXPECT_EQ(QStringLiteral("new 1"), t->FieldByName(QStringLiteral("Name"))->AsString());
    }
}

// Damage in a later record is met when the data set moves there, not at
// opening: the move fails, the records before it read as they are.
TEST_F(OnDemand, DamageInALaterRecordFailsThatMoveOnly)
{
    TTableData t = Numbered(3, QStringLiteral("row"));
    t.Rows[2][2] = QStringLiteral("a memo of the third row");
    WriteDbfTable(Path(QStringLiteral("M.DBF")), t);
    Patch(QStringLiteral("M.DBF"), [](QByteArray& bytes) {
        const qsizetype at = bytes.lastIndexOf("         1");  // the third row's memo block
        ASSERT_GT(at, 0);
        bytes.replace(at, 10, "    999999");
    });
    WriteParadoxTable(Path(QStringLiteral("M.DB")), t);
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("M.MB"))));
    for (const QString& name : {QStringLiteral("M.DBF"), QStringLiteral("M.DB")}) {
        SCOPED_TRACE(name.toStdString());
        TTable* table = Open(name);
        EXPECT_EQ(3, table->RecordCount());
        table->Next();
        EXPECT_EQ(2, Id(table));
        EXPECT_THROW(table->Next(), EDatabaseError);
        EXPECT_EQ(2, table->RecNo());
        EXPECT_EQ(QStringLiteral("row 2"), table->FieldByName(QStringLiteral("Name"))->AsString());
        EXPECT_FALSE(table->Eof());
    }
}

// A query streams a table's records into its SQL engine: a record that
// cannot be read fails the opening, and no half-loaded table stays behind.
TEST_F(OnDemand, AQueryLoadsEveryRecordOrNone)
{
    const QString name = Path(QStringLiteral("BIG.DBF"));
    WriteTable(name, Numbered(kRows, QStringLiteral("row")));
    Patch(QStringLiteral("BIG.DBF"), [](QByteArray& bytes) {
        const qsizetype at = bytes.lastIndexOf("        30");  // the last row's memo block
        ASSERT_GT(at, bytes.size() - 20);
        bytes.replace(at, 10, "    999999");
    });
    auto* q = New<TQuery>(owner_);
    q->SetDatabaseName(dir_.path());
    q->SQL()->SetText(QStringLiteral("SELECT COUNT(*) AS N, MAX(Id) AS Last FROM BIG"));
    EXPECT_THROW(q->Open(), EDatabaseError);
    WriteTable(name, Numbered(kRows, QStringLiteral("row")));
    q->Open();
    EXPECT_EQ(kRows, q->FieldByName(QStringLiteral("N"))->AsInteger());
    EXPECT_EQ(kRows, q->FieldByName(QStringLiteral("Last"))->AsInteger());
}

// A Paradox header announcing more records than its blocks hold: the records
// there read, the first missing one is an error, never garbage.
TEST_F(OnDemand, ParadoxRecordsTheHeaderAnnouncesButNoBlockHoldsAreAnError)
{
    WriteParadoxTable(Path(QStringLiteral("H.DB")), Numbered(100, QStringLiteral("row")));
    Patch(QStringLiteral("H.DB"), [](QByteArray& bytes) {
        const char count[4] = {char(105), 0, 0, 0};
        bytes.replace(6, 4, count, 4);
    });
    TTable* t = Open(QStringLiteral("H.DB"));
    EXPECT_EQ(105, t->RecordCount());
    t->SetRecNo(100);
    EXPECT_EQ(100, Id(t));
    EXPECT_THROW(t->Next(), EDatabaseError);
    EXPECT_THROW(t->Last(), EDatabaseError);
    EXPECT_EQ(100, Id(t));
}

// dBase marks deleted records with '*': they are skipped wherever they lie,
// in counting, numbering, bookmarks, filters and orders.
TEST_F(OnDemand, DeletedDbfRecordsAreSkipped)
{
    TTableData data = Numbered(10, QStringLiteral("row"));
    WriteDbfTable(Path(QStringLiteral("D.DBF")), data);
    Patch(QStringLiteral("D.DBF"), [](QByteArray& bytes) {
        const int header = quint8(bytes[8]) | quint8(bytes[9]) << 8;
        const int record = quint8(bytes[10]) | quint8(bytes[11]) << 8;
        for (int slot : {0, 4, 5, 9})
            bytes[header + slot * record] = '*';
    });
    const QStringList live{"2", "3", "4", "7", "8", "9"};
    TTable* t = Open(QStringLiteral("D.DBF"));
    EXPECT_EQ(live, Ids(t));
    EXPECT_EQ(6, t->RecNo());
    t->Prior();
    EXPECT_EQ(8, Id(t));
    t->SetRecNo(4);
    EXPECT_EQ(7, Id(t));
    const TBookmark seven = t->GetBookmark();
    t->First();
    t->GotoBookmark(seven);
    EXPECT_EQ(7, Id(t));
    EXPECT_THROW(t->SetRecNo(7), EDatabaseError);

    TTable* counted = Open(QStringLiteral("D.DBF"));  // counted before any move
    EXPECT_EQ(6, counted->RecordCount());
    counted->Last();
    EXPECT_EQ(9, Id(counted));
    counted->SetFilter(QStringLiteral("Id > 3"));
    counted->SetFiltered(true);
    EXPECT_EQ((QStringList{"4", "7", "8", "9"}), Ids(counted));
    counted->SetFiltered(false);
    counted->SetIndexFieldNames(QStringLiteral("Name"));  // "row 2" < ... < "row 9"
    EXPECT_EQ(live, Ids(counted));
    QStringList read;
    for (const TRecord& row : ReadDbfTable(Path(QStringLiteral("D.DBF"))).Rows)
        read << row[0].toString();
    EXPECT_EQ(live, read);
}

// A detail ordered by more columns than the master's: the range is the
// master's key, the order within it the remaining columns, for every master
// record from one index of the detail's keys.
TEST_F(OnDemand, DetailRangesAndOrdersOverATableReadRecordByRecord)
{
    TTableData lines;
    lines.Defs = {{QStringLiteral("Id"), ftInteger, 9, 0}, {QStringLiteral("Dept"), ftInteger, 4, 0},
                  {QStringLiteral("Name"), ftString, 10, 0}};
    const char* names[] = {"Olga", "Bea", "Mia", "Abe", "Zed", "Kim"};
    for (int i = 0; i < 6; ++i)
        lines.Rows.push_back({qint64(i + 1), qint64(i % 2), QString::fromLatin1(names[i])});
    WriteParadoxTable(Path(QStringLiteral("LINES.DB")), lines);
    TTableData depts;
    depts.Defs = {{QStringLiteral("Dept"), ftInteger, 4, 0}};
    depts.Rows = {{qint64(0)}, {qint64(1)}, {qint64(2)}};
    WriteDbfTable(Path(QStringLiteral("DEPTS.DBF")), depts);

    TTable* master = Open(QStringLiteral("DEPTS.DBF"));
    auto* source = New<TDataSource>(owner_);
    source->SetDataSet(master);
    TTable* detail = Open(QStringLiteral("LINES.DB"));
    detail->SetMasterSource(source);
    detail->SetMasterFields(QStringLiteral("Dept"));
    EXPECT_EQ((QStringList{"1", "3", "5"}), Ids(detail));  // the source's order within the range
    detail->SetIndexFieldNames(QStringLiteral("Dept;Name"));
    EXPECT_EQ((QStringList{"3", "1", "5"}), Ids(detail));  // Mia, Olga, Zed
    master->Next();
    EXPECT_EQ((QStringList{"4", "2", "6"}), Ids(detail));  // Abe, Bea, Kim
    master->Next();
    EXPECT_TRUE(detail->IsEmpty());
}

}  // namespace
