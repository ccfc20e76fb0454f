// The package's start-up: the text filter after the engine's own, all
// fourteen layout classes, and the palette entry.
#include "startup_common.h"
#include "designer/DesignerStartup.h"
#include "designer/Vornak.h"

#include <gtest/gtest.h>

TEST(PackageStartupTest, AddsItsFilterAfterTheEnginesOwn)
{
    StartDesigner();
    EXPECT_EQ(TextFilterEntries(), (QStringList{"Text file/TXT", "Text file/TXT (ours)"}));
}

TEST(PackageStartupTest, RegistersFourteenClassesWithLabels)
{
    for (const QString& name : LayoutClassNames())
        EXPECT_NE(GetClass(name), nullptr) << name.toStdString();
    EXPECT_NE(GetClass(QStringLiteral("TQRLabel")), nullptr);
}

TEST(PackageStartupTest, RegisterPutsTheControlOnItsPage)
{
    Register();
    const auto classes = PaletteClasses(QStringLiteral("Vornak"));
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0], TVornak::ClassInfo());
}
