// The formconv tool end to end: text -> resource -> bare stream -> text.
#include <gtest/gtest.h>

#include "classes/Streaming.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

// fileSizeLimit: the RLIMIT_FSIZE of the converter's process, when given,
// which then starts with SIGXFSZ at its default as from a shell.
int RunFormConv(const QStringList& args, QString* errors = nullptr, std::optional<rlim_t> fileSizeLimit = {})
{
    QProcess p;
    if (fileSizeLimit)
        p.setChildProcessModifier([limit = *fileSizeLimit] {
            const rlimit r{limit, limit};
            setrlimit(RLIMIT_FSIZE, &r);
            std::signal(SIGXFSZ, SIG_DFL);
        });
    p.start(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv"), args);
    p.waitForFinished();
    if (errors)
        *errors = QString::fromLocal8Bit(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QByteArray Contents(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(FormConv, ConvertsBetweenAllSpellings)
{
    if (!QFile::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv")))
        GTEST_SKIP() << "formconv is not built here (run through ctest)";
    QTemporaryDir dir;
    const QString text = QStringLiteral("object Dialog: TDialog\n  Caption = 'Grüße'\n  object OK: TButton\n    Tag = 1\n  end\nend\n");
    QFile src(dir.filePath(QStringLiteral("Dialog.dfm")));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write(text.toUtf8());
    src.close();

    ASSERT_EQ(RunFormConv({src.fileName(), dir.filePath(QStringLiteral("Dialog.QR"))}), 0);
    EXPECT_EQ(Contents(dir.filePath(QStringLiteral("Dialog.QR"))), ObjectTextToResource(text));
    ASSERT_EQ(RunFormConv({QStringLiteral("--bare"), dir.filePath(QStringLiteral("Dialog.QR")), dir.filePath(QStringLiteral("Dialog.bin"))}), 0);
    EXPECT_EQ(Contents(dir.filePath(QStringLiteral("Dialog.bin"))), ObjectTextToBinary(text));
    ASSERT_EQ(RunFormConv({dir.filePath(QStringLiteral("Dialog.bin")), dir.filePath(QStringLiteral("Back.txt"))}), 0);
    EXPECT_EQ(QString::fromUtf8(Contents(dir.filePath(QStringLiteral("Back.txt")))), text);

    ASSERT_EQ(RunFormConv({QStringLiteral("--cpp"), QStringLiteral("DialogFormResource"), src.fileName(), dir.filePath(QStringLiteral("Dialog.cpp"))}), 0);
    EXPECT_TRUE(Contents(dir.filePath(QStringLiteral("Dialog.cpp"))).contains("const QByteArray& DialogFormResource()"));

    QString errors;
    QFile::resize(dir.filePath(QStringLiteral("Dialog.QR")), 20);
    EXPECT_EQ(RunFormConv({dir.filePath(QStringLiteral("Dialog.QR")), dir.filePath(QStringLiteral("x.txt"))}, &errors), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("Stream read error"))) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.txt"))));
}

// A conversion whose output crosses the file-size limit is an error message,
// not a killed converter, and leaves no temporary file behind.
TEST(FormConv, OutputOverTheFileSizeLimitIsAnError)
{
    if (!QFile::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/tools/formconv/formconv")))
        GTEST_SKIP() << "formconv is not built here (run through ctest)";
    QTemporaryDir dir;
    QFile src(dir.filePath(QStringLiteral("Big.dfm")));
    ASSERT_TRUE(src.open(QIODevice::WriteOnly));
    src.write("object Big: TForm\n  Data = {");
    src.write(QByteArray(60000, 'A'));  // 30000 bytes of data
    src.write("}\nend\n");
    src.close();
    QString errors;
    EXPECT_EQ(RunFormConv({src.fileName(), dir.filePath(QStringLiteral("Big.QR"))}, &errors, rlim_t(25000)), 1);
    EXPECT_TRUE(errors.contains(QStringLiteral("I/O error"))) << errors.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Big.dfm")});
}
