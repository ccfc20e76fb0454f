// A host that knows nothing of the designer loads the package at run time
// and finds its filter, its classes and its description.
#include "startup_common.h"

#include <dlfcn.h>
#include <memory>
#include <gtest/gtest.h>

TEST(PackageHostTest, LoadingThePackageStartsIt)
{
    ASSERT_EQ(GetClass(QStringLiteral("TQRLabel")), nullptr);
    const int filtersBefore = QRExportFilterLibrary.Count();

    void* package = dlopen(VORNAK_PACKAGE_FILE, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(package, nullptr) << dlerror();

    EXPECT_EQ(QRExportFilterLibrary.Count(), filtersBefore + 1);
    EXPECT_EQ(TextFilterEntries().last(), QStringLiteral("Text file/TXT (ours)"));
    for (const QString& name : LayoutClassNames())
        EXPECT_NE(GetClass(name), nullptr) << name.toStdString();
    EXPECT_NE(GetClass(QStringLiteral("TQRLabel")), nullptr);

    auto* description = static_cast<const char*>(dlsym(package, "VornakPackageDescription"));
    auto* version = static_cast<const char*>(dlsym(package, "VornakPackageVersion"));
    ASSERT_NE(description, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(description, "Vornak v. 1.0 Package");
    EXPECT_STREQ(version, "1.0.0.0");

    // a host that closes the package again still finds a working filter
    dlclose(package);
    const TQRExportFilterEntry& entry = QRExportFilterLibrary.Filters().back();
    std::unique_ptr<TQRExportFilter> filter(entry.CreateFilter(QStringLiteral("unused.txt")));
    EXPECT_EQ(filter->GetDescription(), QStringLiteral("Text export (ASCII) filter"));
}
