#include <gtest/gtest.h>

#include "classes/StringList.h"

TEST(StringList, ListSemantics)
{
    TStringList list;
    int changes = 0;
    list.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    list.Add(QStringLiteral("beta"));
    list.Add(QStringLiteral("Alpha"));
    list.Insert(0, QStringLiteral("gamma"));
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(list.IndexOf(QStringLiteral("ALPHA")), 2) << "case-insensitive";
    EXPECT_EQ(list.IndexOf(QStringLiteral("delta")), -1);
    EXPECT_EQ(list.Text(), QStringLiteral("gamma\r\nbeta\r\nAlpha\r\n"));

    TObject marker;
    list.AddObject(QStringLiteral("delta"), &marker);
    EXPECT_EQ(list.Objects(3), &marker);
    list.Delete(0);
    EXPECT_EQ(list.Strings(0), QStringLiteral("beta"));
    for (int bad : {-1, 3}) {
        try {
            list.Strings(bad);
            ADD_FAILURE();
        } catch (const EStringListError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(bad));
        }
    }
    EXPECT_THROW(list.Insert(5, QString()), EListError);

    list.SetSorted(true);
    EXPECT_EQ(list.ToStringList(), (QStringList{"Alpha", "beta", "delta"}));
    list.Add(QStringLiteral("Charlie"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("charlie")), 2);

    TStringList copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.ToStringList(), list.ToStringList());
    EXPECT_EQ(copy.Objects(3), &marker) << "objects are shared, not owned";
    copy.SetText(QStringLiteral("x\r\ny\nz"));
    EXPECT_EQ(copy.ToStringList(), (QStringList{"x", "y", "z"}));
    copy.Clear();
    EXPECT_EQ(copy.Count(), 0);
}
