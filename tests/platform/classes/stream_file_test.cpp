// Whole-file writes under a file-size limit: the write that crosses it is an
// EInOutError, the previous file stays and no temporary file is left beside it.
#include <gtest/gtest.h>

#include "classes/Streaming.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What the child reports through its exit status.
enum ChildResult { InOutErrorTooLarge = 0, OtherError = 1, NoError = 2 };

// Writes size bytes to fileName in a child process limited to limit bytes per file.
int WriteInLimitedChild(const QString& fileName, qsizetype size, rlim_t limit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        int result = NoError;
        try {
            WriteStreamFile(fileName, QByteArray(size, 'x'));
        } catch (const EInOutError& e) {
            result = e.ErrorCode == EFBIG ? InOutErrorTooLarge : OtherError;
        } catch (...) {
            result = OtherError;
        }
        _exit(result);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(StreamFile, AWriteOverTheFileSizeLimitIsAnErrorAndLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("report.QR"));
    const QByteArray old(1000, 'o');
    WriteStreamFile(target, old);
    const struct {
        qsizetype Size;
        rlim_t Limit;
        int Expected;
    } cases[] = {
        {64 * 1024, 4096, InOutErrorTooLarge},  // crosses the limit part-way
        {4096, 4096, NoError},                  // exactly at the limit
        {1, 0, InOutErrorTooLarge},             // no byte may be written at all
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Size << " bytes, limit " << c.Limit);
        EXPECT_EQ(WriteInLimitedChild(target, c.Size, c.Limit), c.Expected);
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), c.Expected == NoError ? QByteArray(c.Size, 'x') : old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.QR")});
        WriteStreamFile(target, old);
    }
}
