// Every registered component class keeps the streaming promises; classes
// registered later are checked here without new test code.
#include <gtest/gtest.h>

#include "ConformanceCheck.h"
#include "TestComponents.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"
#include "classes/Streaming.h"

namespace {

// Breaks two promises on purpose, to show the check notices.
class TBrokenDefaults : public TComponent {
    VK_CLASS(TBrokenDefaults, TComponent)
public:
    int Size = 3;  // declared default 8
    int Clamped() const { return clamped_; }
    void SetClamped(int v) { clamped_ = v > 5 ? 5 : v; }

private:
    int clamped_ = 0;
};

// Declares the limits of its values: a glyph-like count kept between 1 and 4,
// a count declared wider than its setter keeps, a default outside its range,
// and a switch that needs a source.
class TDeclaredLimits : public TComponent {
    VK_CLASS(TDeclaredLimits, TComponent)
public:
    int Count() const { return count_; }
    void SetCount(int v)
    {
        if (v < 1 || v > 4)
            throw EInvalidOperation(QStringLiteral("Count out of range"));
        count_ = v;
    }
    int Narrow() const { return narrow_; }
    void SetNarrow(int v) { narrow_ = std::min(v, 5); }
    int Misplaced = 0;
    bool Active() const { return false; }
    void SetActive(bool) { throw EInvalidOperation(QStringLiteral("No source")); }

private:
    int count_ = 1;
    int narrow_ = 0;
};

}  // namespace

VK_PUBLISHED(TDeclaredLimits)
{
    c.Prop("Count", &TDeclaredLimits::Count, &TDeclaredLimits::SetCount).Default(1).Range(1, 4);
    c.Prop("Narrow", &TDeclaredLimits::Narrow, &TDeclaredLimits::SetNarrow).Default(0).Range(0, 100);
    c.Prop("Misplaced", &TDeclaredLimits::Misplaced).Default(0).Range(1, 3);
    c.Prop("Active", &TDeclaredLimits::Active, &TDeclaredLimits::SetActive).Default(false).DependsOnContext();
}

VK_PUBLISHED(TBrokenDefaults)
{
    c.Prop("Size", &TBrokenDefaults::Size).Default(8);
    c.Prop("Clamped", &TBrokenDefaults::Clamped, &TBrokenDefaults::SetClamped).Default(0);
}

TEST(Conformance, EveryRegisteredComponentClassConforms)
{
    RegisterTestClasses();
    ASSERT_NE(GetClass(QStringLiteral("TTestControl")), nullptr);
    const QStringList failures = CheckRegisteredClasses();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
}

TEST(Conformance, TheCheckNoticesBrokenPromises)
{
    const QStringList failures = CheckComponentClass(TBrokenDefaults::ClassInfo());
    EXPECT_TRUE(failures.contains(QStringLiteral("Size of a new object is not its declared default"))) << failures.join(u'\n').toStdString();
    EXPECT_TRUE(failures.contains(QStringLiteral("Clamped does not read back what was written"))) << failures.join(u'\n').toStdString();
}

// Values stay inside a declared range whichever way they come: the check picks
// its values there, and the type information brings a streamed value into it.
// A property whose values depend on its context is left to whole streams.
TEST(Conformance, TheCheckKeepsToDeclaredLimits)
{
    const QStringList failures = CheckComponentClass(TDeclaredLimits::ClassInfo());
    EXPECT_EQ(failures, QStringList({QStringLiteral("Misplaced declares a default outside its range"),
                                     QStringLiteral("Narrow does not read back what was written")}));

    TDeclaredLimits* limits = New<TDeclaredLimits>(nullptr);
    ReadComponentText(QStringLiteral("object Limits: TDeclaredLimits\n  Count = 9\n  Misplaced = -4\nend\n"), limits);
    EXPECT_EQ(limits->Count(), 4);
    EXPECT_EQ(limits->Misplaced, 1);
    limits->Free();
}
