#include "StreamFile.h"
#include "rtl/Exceptions.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemMessage(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

[[noreturn]] void IOError(const QString& fileName, int code)
{
    throw EInOutError(QStringLiteral("I/O error %1 on \"%2\". %3").arg(code).arg(fileName, SystemMessage(code)), code);
}

// A temporary file that is removed unless it was renamed into place.
class TTempFile {
public:
    explicit TTempFile(const QString& target) : target_(target)
    {
        const QFileInfo info(target);
        path_ = (info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX")).toLocal8Bit();
        fd_ = mkstemp(path_.data());
        if (fd_ < 0) {
            const int code = errno;
            throw EFCreateError(Format(QString::fromLatin1(rtlstr::SFCreateError), {target, SystemMessage(code)}));
        }
        // a layout file is a document: readable by others as a new file would be
        struct stat st;
        fchmod(fd_, ::stat(QFile::encodeName(target).constData(), &st) == 0 ? st.st_mode & 07777 : 0644);
    }
    ~TTempFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_)
            ::unlink(path_.constData());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    void Write(const QByteArray& data)
    {
        const char* p = data.constData();
        qsizetype left = data.size();
        while (left > 0) {
            const ssize_t n = ::write(fd_, p, static_cast<size_t>(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                IOError(target_, errno);
            p += n;
            left -= n;
        }
    }
    void Commit()
    {
        if (::fsync(fd_) != 0)
            IOError(target_, errno);
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0)
            IOError(target_, errno);
        if (::rename(path_.constData(), QFile::encodeName(target_).constData()) != 0)
            IOError(target_, errno);
        renamed_ = true;
    }

private:
    QString target_;
    QByteArray path_;
    int fd_ = -1;
    bool renamed_ = false;
};

}  // namespace

QByteArray ReadStreamFile(const QString& fileName)
{
    QFile file(fileName);
    if (QFileInfo(fileName).isDir() || !file.open(QIODevice::ReadOnly))
        throw EFOpenError(Format(QString::fromLatin1(rtlstr::SFOpenError),
                                 {fileName, QFileInfo(fileName).isDir() ? SystemMessage(EISDIR) : file.errorString()}));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("I/O error on \"%1\". %2").arg(fileName, file.errorString()), EIO);
    return data;
}

void WriteStreamFile(const QString& fileName, const QByteArray& data)
{
    TTempFile temp(fileName);
    temp.Write(data);
    temp.Commit();
}
