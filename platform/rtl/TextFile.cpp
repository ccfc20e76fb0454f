#include "TextFile.h"
#include "Codepage.h"
#include "Exceptions.h"

#include <cerrno>
#include <cstring>

TTextFile::~TTextFile()
{
    if (file_)
        std::fclose(file_);
}

void TTextFile::Fail(int code)
{
    throw EInOutError(QStringLiteral("I/O error %1: %2").arg(code).arg(QString::fromLocal8Bit(std::strerror(code))),
                      code);
}

void TTextFile::Rewrite(const QString& fileName)
{
    Close();
    file_ = std::fopen(fileName.toLocal8Bit().constData(), "wb");
    if (!file_)
        Fail(errno);
}

void TTextFile::Write(const QString& text)
{
    if (!file_)
        Fail(EBADF);
    const QByteArray bytes = EncodeCp1252(text);
    if (std::fwrite(bytes.constData(), 1, bytes.size(), file_) != static_cast<size_t>(bytes.size()))
        Fail(errno ? errno : EIO);
}

void TTextFile::WriteLn(const QString& text) { Write(text + QStringLiteral("\r\n")); }

void TTextFile::Close()
{
    if (!file_)
        return;
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0)
        Fail(errno ? errno : EIO);
}
