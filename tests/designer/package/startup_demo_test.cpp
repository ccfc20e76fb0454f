// The demo build's start-up: the text filter after the engine's own, and the
// layout classes without TQRLabel.
#include "startup_common.h"
#include "designer/DesignerStartup.h"

#include <gtest/gtest.h>

TEST(DemoStartupTest, AddsItsFilterAfterTheEnginesOwn)
{
    StartDesigner();  // a second start does nothing
    EXPECT_EQ(TextFilterEntries(), (QStringList{"Text file/TXT", "Text file/TXT (ours)"}));
}

TEST(DemoStartupTest, RegistersThirteenClassesWithoutLabels)
{
    for (const QString& name : LayoutClassNames())
        EXPECT_NE(GetClass(name), nullptr) << name.toStdString();
    EXPECT_EQ(GetClass(QStringLiteral("TQRLabel")), nullptr);
}
