// The formconv tool end to end: text -> resource -> bare stream -> text.
#include <gtest/gtest.h>

#include "classes/Streaming.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

int RunFormConv(const QStringList& args, QString* errors = nullptr)
{
    QProcess p;
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
