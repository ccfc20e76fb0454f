// The inputs that once made a fuzz target crash, report to a sanitizer or
// leak are kept in tests/data/fuzz-regressions/<target>/ and go through the
// same target function as the fuzz program's: the test passes when the
// target comes back (a clean error of the reader is fine).
#include "targets/FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QDir RegressionFolder()
{
    return QDir(qEnvironmentVariable("VK_TEST_DATA") + QStringLiteral("/fuzz-regressions"));
}

class FuzzRegressions : public testing::TestWithParam<TFuzzTargetInfo> {};

}  // namespace

TEST_P(FuzzRegressions, KeptInputsRunCleanly)
{
    const QDir folder(RegressionFolder().filePath(QString::fromLatin1(GetParam().Name)));
    for (const QFileInfo& input : folder.entryInfoList(QDir::Files, QDir::Name)) {
        SCOPED_TRACE(input.filePath().toStdString());
        QFile file(input.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        EXPECT_EQ(GetParam().Run(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size())), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions, testing::ValuesIn(FuzzTargets()),
                         [](const testing::TestParamInfo<TFuzzTargetInfo>& info) { return std::string(info.param.Name); });

// A folder that names no target would be skipped without a word.
TEST(FuzzRegressionFolders, EachNamesATarget)
{
    ASSERT_TRUE(RegressionFolder().exists());
    for (const QString& name : RegressionFolder().entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto& targets = FuzzTargets();
        EXPECT_TRUE(std::any_of(targets.begin(), targets.end(), [&](const TFuzzTargetInfo& t) { return name == QLatin1String(t.Name); }))
            << name.toStdString();
    }
}
