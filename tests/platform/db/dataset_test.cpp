// Data sets over tables and queries: fields and their defaults, navigation,
// filters, master-detail, queries, aliases, the sample tables, and a form
// that holds data-access components streamed out and back.
#include "Alias.h"
#include "DbfFile.h"
#include "ParadoxFile.h"
#include "Query.h"
#include "Table.h"
#include "TestTables.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"
#include "classes/Streaming.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

class DataSets : public ::testing::Test {
protected:
    void SetUp() override
    {
        AddAlias(QStringLiteral("TESTDB"), dir_.path());
        TTableData people;
        people.Defs = {{QStringLiteral("Id"), ftInteger, 0, 0}, {QStringLiteral("Name"), ftString, 15, 0},
                       {QStringLiteral("Dept"), ftSmallint, 0, 0}, {QStringLiteral("Pay"), ftCurrency, 0, 0}};
        const char* names[] = {"Ada", "Bruno", "Cleo", "Dario", "Elke", "Fausto"};
        for (int i = 0; i < 6; ++i)
            people.Rows.push_back({qint64(i + 1), QString::fromLatin1(names[i]), qint64(10 + i % 3 * 10), 1000.0 + i * 250});
        WriteParadoxTable(dir_.filePath(QStringLiteral("PEOPLE.DB")), people);
        TTableData depts;
        depts.Defs = {{QStringLiteral("DEPT"), ftSmallint, 4, 0}, {QStringLiteral("TITLE"), ftString, 12, 0}};
        depts.Rows = {{qint64(10), QStringLiteral("Sales")}, {qint64(20), QStringLiteral("Research")},
                      {qint64(30), QStringLiteral("Shipping")}, {qint64(40), QStringLiteral("Empty")}};
        WriteDbfTable(dir_.filePath(QStringLiteral("depts.dbf")), depts);
        owner_ = New<TComponent>(nullptr);
    }
    void TearDown() override
    {
        owner_->Free();
        RemoveAlias(QStringLiteral("TESTDB"));
    }
    TTable* Table(const char* name, const char* table)
    {
        auto* t = New<TTable>(owner_);
        t->SetName(QLatin1String(name));
        t->SetDatabaseName(QStringLiteral("TESTDB"));
        t->SetTableName(QLatin1String(table));
        return t;
    }
    static QStringList Column(TDataSet* ds, const char* field)
    {
        QStringList out;
        for (ds->First(); !ds->Eof(); ds->Next())
            out << ds->FieldByName(QLatin1String(field))->AsString();
        return out;
    }

    QTemporaryDir dir_;
    TComponent* owner_ = nullptr;
};

TEST_F(DataSets, FieldsHaveTheirKindsDefaults)
{
    TTable* t = Table("People", "PEOPLE.DB");
    t->Open();
    ASSERT_EQ(4, t->FieldCount());
    TField* id = t->FieldByName(QStringLiteral("id"));
    TField* name = t->Fields()->Fields(1);
    EXPECT_TRUE(id->Is<TIntegerField>());
    EXPECT_EQ(11, id->DisplayWidth());
    EXPECT_EQ(taRightJustify, id->Alignment());
    EXPECT_TRUE(name->Is<TStringField>());
    EXPECT_EQ(15, name->DisplayWidth());
    EXPECT_EQ(taLeftJustify, name->Alignment());
    EXPECT_EQ(6, t->FieldByName(QStringLiteral("Dept"))->DisplayWidth());
    EXPECT_TRUE(t->FieldByName(QStringLiteral("Pay"))->Is<TCurrencyField>());
    EXPECT_EQ(QStringLiteral("1000.00"), t->FieldByName(QStringLiteral("Pay"))->AsString());
    name->SetDisplayLabel(QStringLiteral("Full name"));
    EXPECT_EQ(QStringLiteral("Full name"), name->DisplayName());
    EXPECT_EQ(QStringLiteral("Id"), id->DisplayName());
    EXPECT_TRUE(name->Visible());
}

TEST_F(DataSets, FieldByNameNamesTheDataSetAndTheField)
{
    TTable* t = Table("Table1", "PEOPLE.DB");
    t->Open();
    EXPECT_EQ(nullptr, t->FindField(QStringLiteral("Salary")));
    try {
        t->FieldByName(QStringLiteral("Salary"));
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(QStringLiteral("Table1: Field 'Salary' not found"), e.Message());
    }
}

TEST_F(DataSets, NavigationBookmarksAndEnds)
{
    TTable* t = Table("T", "PEOPLE.DB");
    t->Open();
    EXPECT_TRUE(t->Bof());
    EXPECT_EQ(6, t->RecordCount());
    EXPECT_EQ(QStringList({"Ada", "Bruno", "Cleo", "Dario", "Elke", "Fausto"}), Column(t, "Name"));
    EXPECT_TRUE(t->Eof());
    EXPECT_EQ(6, t->RecNo());  // Eof stays on the last record
    t->SetRecNo(3);
    const TBookmark mark = t->GetBookmark();
    t->Last();
    t->Prior();
    EXPECT_EQ(QStringLiteral("Elke"), t->FieldByName(QStringLiteral("Name"))->AsString());
    t->GotoBookmark(mark);
    EXPECT_EQ(QStringLiteral("Cleo"), t->FieldByName(QStringLiteral("Name"))->AsString());
    t->First();
    t->Prior();
    EXPECT_TRUE(t->Bof());
    t->Close();
    EXPECT_EQ(0, t->FieldCount());
    EXPECT_THROW(t->Next(), EDatabaseError);
}

TEST_F(DataSets, FiltersCompareFieldsWithConstants)
{
    TTable* t = Table("T", "PEOPLE.DB");
    t->Open();
    t->SetFilter(QStringLiteral("Dept = 10 or (Pay >= 2000 and not Name = 'F*')"));
    EXPECT_EQ(6, t->RecordCount());  // not yet filtered
    t->SetFiltered(true);
    EXPECT_EQ(QStringList({"Ada", "Dario", "Elke"}), Column(t, "Name"));
    t->SetFilter(QStringLiteral("[Name] >= 'C' and Name <> 'Dario'"));
    EXPECT_EQ(QStringList({"Cleo", "Elke", "Fausto"}), Column(t, "Name"));
    EXPECT_THROW(t->SetFilter(QStringLiteral("Nobody = 1")), EDatabaseError);
    EXPECT_THROW(t->SetFilter(QStringLiteral("Name = 'open")), EDatabaseError);
    EXPECT_THROW(t->SetFilter(QStringLiteral("Dept = 'x'")), EDatabaseError);
    EXPECT_EQ(3, t->RecordCount());  // a rejected filter leaves the last good one
    EXPECT_THROW(t->SetFilter(QString(QStringLiteral("(")).repeated(5000) + QStringLiteral("Dept = 10")), EDatabaseError);
    t->SetFiltered(false);
    EXPECT_EQ(6, t->RecordCount());
}

// Records counted as the data set reads them from its source.
class TCountedSource : public TMemorySource {
public:
    TCountedSource(TTableData data, int& reads) : TMemorySource(std::move(data)), reads_(reads) {}
    TRecord Read(qint64 index) override
    {
        ++reads_;
        return TMemorySource::Read(index);
    }

private:
    int& reads_;
};

class TCountedDataSet : public TDataSet {
public:
    TTableData Data;
    int Reads = 0;

protected:
    std::unique_ptr<TRecordSource> OpenSource() override { return std::make_unique<TCountedSource>(Data, Reads); }
};

// A filtered and ordered data set reads each record once to build its view,
// and finds each shown record by its bookmark and none of the others.
TEST_F(DataSets, FilteredOrderedViewsReadOnceAndFindTheirBookmarks)
{
    constexpr int rows = 500;
    auto* ds = New<TCountedDataSet>(nullptr);
    ds->Data.Defs = {{QStringLiteral("Id"), ftInteger, 0, 0}, {QStringLiteral("Key"), ftInteger, 0, 0}};
    for (int i = 0; i < rows; ++i)
        ds->Data.Rows.push_back({qint64(i), qint64((i * 7919) % rows)});  // every key once, shuffled
    ds->SetIndexFieldNames(QStringLiteral("Key"));
    ds->SetFilter(QStringLiteral("Id >= 100"));
    ds->SetFiltered(true);
    ds->Open();
    EXPECT_EQ(rows + 1, ds->Reads);  // and the first record once more, to show it
    std::vector<std::pair<TBookmark, int>> shown;  // bookmark, key
    for (ds->First(); !ds->Eof(); ds->Next())
        shown.emplace_back(ds->GetBookmark(), ds->FieldByName(QStringLiteral("Key"))->AsInteger());
    ASSERT_EQ(size_t(rows - 100), shown.size());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](auto& a, auto& b) { return a.second < b.second; }));
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        ds->GotoBookmark(it->first);
        EXPECT_EQ(it->second, ds->FieldByName(QStringLiteral("Key"))->AsInteger());
    }
    for (TBookmark record = 0; record < rows + 2; ++record)
        EXPECT_EQ(record >= 100 && record < rows, ds->BookmarkValid(record)) << record;
    // a new view forgets the old one's positions
    ds->SetFilter(QStringLiteral("Id < 100"));
    EXPECT_FALSE(ds->BookmarkValid(shown.front().first));
    EXPECT_TRUE(ds->BookmarkValid(0));
    ds->Free();
}

TEST_F(DataSets, DetailFollowsTheMasterAcrossDrivers)
{
    TTable* depts = Table("Depts", "DEPTS.DBF");  // found whatever the case of the file name
    auto* source = New<TDataSource>(owner_);
    source->SetDataSet(depts);
    TTable* people = Table("People", "PEOPLE");
    people->SetMasterSource(source);
    people->SetMasterFields(QStringLiteral("DEPT"));
    people->SetIndexFieldNames(QStringLiteral("Dept"));
    people->Open();
    EXPECT_EQ(0, people->RecordCount());  // the master is closed
    depts->Open();
    EXPECT_EQ(QStringList({"Ada", "Dario"}), Column(people, "Name"));
    depts->Next();
    EXPECT_EQ(QStringList({"Bruno", "Elke"}), Column(people, "Name"));
    depts->Last();
    EXPECT_TRUE(people->IsEmpty());
    source->Free();  // the detail lets go of a source that goes away
    EXPECT_EQ(nullptr, people->MasterSource());
    EXPECT_EQ(6, people->RecordCount());
}

class TCountingLink : public TDataLink {
public:
    void DataSetChanged() override { ++changed; }
    void DataSetScrolled() override { ++scrolled; }
    int changed = 0, scrolled = 0;
};

TEST_F(DataSets, DisabledControlsHearOneChangeAtTheEnd)
{
    TTable* t = Table("T", "PEOPLE.DB");
    auto* source = New<TDataSource>(owner_);
    source->SetDataSet(t);
    TCountingLink link;
    link.SetDataSource(source);
    t->Open();
    link.changed = link.scrolled = 0;
    t->Next();
    EXPECT_EQ(1, link.scrolled);
    t->DisableControls();
    t->DisableControls();
    for (t->First(); !t->Eof(); t->Next()) {
    }
    t->EnableControls();
    EXPECT_EQ(0, link.changed);
    t->EnableControls();
    EXPECT_EQ(1, link.changed);
    EXPECT_EQ(1, link.scrolled);
}

TEST_F(DataSets, OpeningErrorsNameTheTableAndTheFolder)
{
    TTable* t = Table("Missing", "NOWHERE.DB");
    try {
        t->Open();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("NOWHERE.DB"))) << e.what();
        EXPECT_TRUE(e.Message().contains(QDir(dir_.path()).absolutePath())) << e.what();
    }
    EXPECT_FALSE(t->Active());
    QFile broken(dir_.filePath(QStringLiteral("BROKEN.DB")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(300, '\x01'));
    broken.close();
    TTable* b = Table("Broken", "BROKEN.DB");
    EXPECT_THROW(b->Open(), EDatabaseError);
}

TEST_F(DataSets, ActiveStreamedTrueOpensWhenLoaded)
{
    TTable* t = New<TTable>(nullptr);
    t->ComponentState.Include(csLoading);
    t->SetActive(true);
    EXPECT_FALSE(t->Active());  // the table name is not read yet
    t->SetDatabaseName(QStringLiteral("TESTDB"));
    t->SetTableName(QStringLiteral("PEOPLE.DB"));
    t->Loaded();
    EXPECT_TRUE(t->Active());
    t->Free();
}

TEST_F(DataSets, QueryJoinsTablesOfBothDrivers)
{
    auto* q = New<TQuery>(owner_);
    q->SetName(QStringLiteral("Q"));
    q->SetDatabaseName(QStringLiteral("TESTDB"));
    q->SQL()->SetText(QStringLiteral(
        "SELECT p.Name, d.TITLE, p.Pay, p.Pay * 2 AS Twice FROM PEOPLE p JOIN \"depts.dbf\" d ON d.DEPT = p.Dept "
        "WHERE p.Pay >= :least ORDER BY p.Name DESC"));
    ASSERT_EQ(1, q->Params().Count());
    q->ParamByName(QStringLiteral("least")).Value = 1500.0;
    q->Open();
    EXPECT_EQ(QStringList({"Fausto", "Elke", "Dario", "Cleo"}), Column(q, "Name"));
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Name"))->Is<TStringField>());
    EXPECT_EQ(15, q->FieldByName(QStringLiteral("Name"))->DisplayWidth());
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Pay"))->Is<TCurrencyField>());
    EXPECT_TRUE(q->FieldByName(QStringLiteral("Twice"))->Is<TFloatField>());
    q->First();
    EXPECT_EQ(QStringLiteral("Shipping"), q->FieldByName(QStringLiteral("TITLE"))->AsString());
    q->SQL()->SetText(QStringLiteral("DELETE FROM PEOPLE"));
    EXPECT_FALSE(q->Active());
    EXPECT_THROW(q->Open(), EDatabaseError);
    q->SQL()->SetText(QStringLiteral("SELECT * FROM NOSUCHTABLE"));
    EXPECT_THROW(q->Open(), EDatabaseError);
}

TEST_F(DataSets, QueryTakesParametersFromItsDataSource)
{
    TTable* depts = Table("Depts", "depts.dbf");
    auto* source = New<TDataSource>(owner_);
    source->SetDataSet(depts);
    auto* q = New<TQuery>(owner_);
    q->SetDatabaseName(QStringLiteral("TESTDB"));
    q->SQL()->SetText(QStringLiteral("SELECT Name FROM PEOPLE WHERE Dept = :DEPT ORDER BY Id"));
    q->SetDataSource(source);
    depts->Open();
    q->Open();
    EXPECT_EQ(QStringList({"Ada", "Dario"}), Column(q, "Name"));
    depts->Next();
    EXPECT_EQ(QStringList({"Bruno", "Elke"}), Column(q, "Name"));
}

TEST_F(DataSets, AliasesFromFileAndFolders)
{
    QFile ini(dir_.filePath(QStringLiteral("aliases.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("# sample\n[Aliases]\nSALES = /data/sales\nlocal=tables\n");
    ini.close();
    EXPECT_EQ(QStringLiteral("/data/sales"), LookupAliasFile(ini.fileName(), QStringLiteral("sales")));
    EXPECT_EQ(QDir(dir_.path()).filePath(QStringLiteral("tables")), LookupAliasFile(ini.fileName(), QStringLiteral("LOCAL")));
    EXPECT_TRUE(LookupAliasFile(ini.fileName(), QStringLiteral("other")).isEmpty());
    AddAlias(QStringLiteral("mine"), dir_.path());
    EXPECT_EQ(AliasNamesIn(ini.fileName()), (QStringList{"DBDEMOS", "MINE", "TESTDB", "SALES", "LOCAL"}));
    RemoveAlias(QStringLiteral("mine"));
    EXPECT_EQ(dir_.path(), ResolveDatabase(QStringLiteral("testdb")));
    EXPECT_EQ(QStringLiteral("/some/folder"), ResolveDatabase(QStringLiteral("/some/folder")));
}

// ---- the sample tables of DBDEMOS ----

TEST(SampleTables, BothDemosTablesOpenByAlias)
{
    if (qEnvironmentVariableIsEmpty("VORNAK_DBDEMOS")) {
        EXPECT_EQ(QDir(QStringLiteral(VK_DBDEMOS_BUILT)).absolutePath(), QDir(ResolveDatabase(QStringLiteral("DBDEMOS"))).absolutePath());
    }
    TTable* orders = New<TTable>(nullptr);
    orders->SetDatabaseName(QStringLiteral("DBDEMOS"));
    orders->SetTableName(QStringLiteral("ORDERS.DB"));
    orders->Open();
    EXPECT_GE(orders->RecordCount(), 200);
    for (const char* name : {"OrderNo", "CustNo", "SaleDate", "ShipDate", "EmpNo", "ShipToContact", "ShipToAddr1", "ShipToAddr2"})
        EXPECT_NE(nullptr, orders->FindField(QLatin1String(name))) << name;
    EXPECT_TRUE(orders->FieldByName(QStringLiteral("SaleDate"))->Is<TDateTimeField>());
    EXPECT_TRUE(orders->FieldByName(QStringLiteral("EmpNo"))->Is<TIntegerField>());
    EXPECT_EQ(20, orders->FieldByName(QStringLiteral("ShipToContact"))->DisplayWidth());
    EXPECT_EQ(30, orders->FieldByName(QStringLiteral("ShipToAddr1"))->DisplayWidth());
    // orders are dated by the day, and a date at midnight shows as the date alone
    EXPECT_EQ(orders->FieldByName(QStringLiteral("SaleDate"))->AsString(), QStringLiteral("03/03/1994"));
    orders->Free();

    TTable* animals = New<TTable>(nullptr);
    animals->SetDatabaseName(QStringLiteral("DBDEMOS"));
    animals->SetTableName(QStringLiteral("ANIMALS.DBF"));
    animals->Open();
    EXPECT_EQ(12, animals->RecordCount());
    EXPECT_EQ(10, animals->FieldByName(QStringLiteral("NAME"))->DisplayWidth());
    EXPECT_EQ(20, animals->FieldByName(QStringLiteral("AREA"))->DisplayWidth());
    auto* bmp = dynamic_cast<TBlobField*>(animals->FieldByName(QStringLiteral("BMP")));
    ASSERT_NE(nullptr, bmp);
    for (animals->First(); !animals->Eof(); animals->Next()) {
        QImage picture;
        EXPECT_TRUE(picture.loadFromData(bmp->AsBytes(), "BMP")) << animals->FieldByName(QStringLiteral("NAME"))->AsString().toStdString();
        EXPECT_FALSE(picture.isNull());
    }
    animals->Free();
}

TEST(SampleTables, OrdersJoinCustomersInAQuery)
{
    TQuery* q = New<TQuery>(nullptr);
    q->SetDatabaseName(QStringLiteral("DBDEMOS"));
    q->SQL()->SetText(QStringLiteral("SELECT c.Company, COUNT(*) AS Orders, MAX(o.SaleDate) AS Latest FROM ORDERS o "
                                     "JOIN CUSTOMER c ON c.CustNo = o.CustNo GROUP BY c.Company ORDER BY Orders DESC"));
    q->Open();
    EXPECT_GT(q->RecordCount(), 5);
    int total = 0;
    for (q->First(); !q->Eof(); q->Next())
        total += q->FieldByName(QStringLiteral("Orders"))->AsInteger();
    TTable* orders = New<TTable>(nullptr);
    orders->SetDatabaseName(QStringLiteral("DBDEMOS"));
    orders->SetTableName(QStringLiteral("ORDERS"));
    orders->Open();
    EXPECT_EQ(orders->RecordCount(), total);  // every order has its customer
    orders->Free();
    q->Free();
}

// ---- streaming ----

// A form-like root that streams the components it owns.
class TDbModule : public TComponent {
    VK_CLASS(TDbModule, TComponent)
public:
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            proc(Components(i));
    }
};
VK_PUBLISHED(TDbModule) {}

TEST_F(DataSets, FormWithTableSourceAndQueryStreamsBackActive)
{
    RegisterClass(TDbModule::ClassInfo());
    auto* module = New<TDbModule>(nullptr);
    module->SetName(QStringLiteral("Module1"));
    auto* source = New<TDataSource>(module);
    source->SetName(QStringLiteral("DataSource1"));
    auto* table = New<TTable>(module);
    table->SetName(QStringLiteral("Table1"));
    table->SetDatabaseName(QStringLiteral("TESTDB"));
    table->SetTableName(QStringLiteral("depts.dbf"));
    table->SetActive(true);
    source->SetDataSet(table);
    auto* query = New<TQuery>(module);
    query->SetName(QStringLiteral("Query1"));
    query->SetDatabaseName(QStringLiteral("TESTDB"));
    query->SQL()->SetText(QStringLiteral("SELECT Name FROM PEOPLE WHERE Dept = :DEPT"));
    query->SetDataSource(source);
    query->SetActive(true);
    const QString text = WriteComponentText(module);
    module->Free();

    auto* copy = New<TDbModule>(nullptr);
    ReadComponentText(text, copy);
    auto* t = dynamic_cast<TTable*>(copy->FindComponent(QStringLiteral("Table1")));
    auto* q = dynamic_cast<TQuery*>(copy->FindComponent(QStringLiteral("Query1")));
    auto* s = dynamic_cast<TDataSource*>(copy->FindComponent(QStringLiteral("DataSource1")));
    ASSERT_TRUE(t && q && s) << text.toStdString();
    EXPECT_TRUE(t->Active());
    EXPECT_EQ(s, q->DataSource());
    EXPECT_EQ(t, s->DataSet());
    EXPECT_TRUE(q->Active()) << text.toStdString();
    EXPECT_EQ(QStringList({"Ada", "Dario"}), Column(q, "Name"));
    copy->Free();

    // a table that cannot be opened stops the reading with a clear error
    QString broken = text;
    broken.replace(QStringLiteral("depts.dbf"), QStringLiteral("GONE.DBF"));
    auto* third = New<TDbModule>(nullptr);
    EXPECT_THROW(ReadComponentText(broken, third), EDatabaseError);
    third->Free();
}

}  // namespace
