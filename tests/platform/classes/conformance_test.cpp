// Every registered component class keeps the streaming promises; classes
// registered later are checked here without new test code.
#include <gtest/gtest.h>

#include "ConformanceCheck.h"
#include "TestComponents.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"

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

}  // namespace

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
