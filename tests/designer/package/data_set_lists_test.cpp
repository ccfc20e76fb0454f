// Listing an owner's and the data modules' data sets, data sources and
// sub-detail bands.
#include "designer/DataSetLists.h"
#include "db/DataSource.h"
#include "db/Table.h"
#include "engine/Bands.h"
#include "forms/Forms.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList Names(TStringList* list)
{
    QStringList names = list->ToStringList();
    delete list;
    return names;
}

template <class T>
T* Make(TComponent* owner, const QString& name)
{
    T* c = New<T>(owner);
    c->SetName(name);
    return c;
}

TEST(DataSetListsTest, ListsWhatTheOwnerOwnsDirectlyInOrder)
{
    TComponent* owner = New<TComponent>(nullptr);
    TTable* t1 = Make<TTable>(owner, QStringLiteral("Table1"));
    Make<TDataSource>(owner, QStringLiteral("DataSource1"));
    Make<TTable>(owner, QString());
    TComponent* inner = New<TComponent>(owner);
    Make<TTable>(inner, QStringLiteral("Nested"));

    std::unique_ptr<TStringList> sets(AllDataSets(owner, false));
    ASSERT_EQ(sets->Count(), 2);
    EXPECT_EQ(sets->Strings(0), QStringLiteral("Table1"));
    EXPECT_EQ(sets->Objects(0), t1);
    EXPECT_EQ(sets->Strings(1), QString());
    EXPECT_EQ(Names(AllDataSources(owner, false)), QStringList{QStringLiteral("DataSource1")});
    owner->Free();
}

TEST(DataSetListsTest, NoOwnerWithoutModulesIsEmpty)
{
    std::unique_ptr<TStringList> list(AllDataSets(nullptr, false));
    EXPECT_EQ(list->Count(), 0);
}

TEST(DataSetListsTest, DataModulesFollowTheOwnerAndMayRepeatIt)
{
    TDataModule* m0 = New<TDataModule>(nullptr);
    Make<TTable>(m0, QStringLiteral("A"));
    TDataModule* m1 = New<TDataModule>(nullptr);
    Make<TTable>(m1, QStringLiteral("B"));
    Make<TTable>(m1, QStringLiteral("C"));

    EXPECT_EQ(Names(AllDataSets(nullptr, true)), (QStringList{"A", "B", "C"}));
    // the owner is itself a module: its data sets stand twice
    EXPECT_EQ(Names(AllDataSets(m1, true)), (QStringList{"B", "C", "A", "B", "C"}));
    m1->Free();
    m0->Free();
}

TEST(DataSetListsTest, SubDetailNamesWithoutObjects)
{
    TForm* form = New<TForm>(nullptr);
    Make<TQRSubDetail>(form, QStringLiteral("Sub1"));
    Make<TQRBand>(form, QStringLiteral("Band1"));
    Make<TQRSubDetail>(form, QStringLiteral("Sub2"));
    std::unique_ptr<TStringList> list(allsubdetail(form));
    ASSERT_EQ(list->ToStringList(), (QStringList{"Sub1", "Sub2"}));
    EXPECT_EQ(list->Objects(0), nullptr);
    EXPECT_EQ(Names(allsubdetail(New<TForm>(form))), QStringList());
    std::unique_ptr<TStringList> none(allsubdetail(nullptr));
    EXPECT_EQ(none->Count(), 0);
    form->Free();
}

}  // namespace
