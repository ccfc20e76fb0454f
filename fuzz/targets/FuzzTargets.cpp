#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdlib>

const std::vector<TFuzzTargetInfo>& FuzzTargets()
{
#define VK_FUZZ_TARGET_ENTRY(name, function) {#name, function},
    static const std::vector<TFuzzTargetInfo> targets = {
#include "FuzzTargetList.h"
    };
#undef VK_FUZZ_TARGET_ENTRY
    return targets;
}

QByteArray FuzzInput(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QByteArray PackTableInput(const QByteArray& table, const QByteArray& memo)
{
    QByteArray out(4, '\0');
    qToLittleEndian<quint32>(static_cast<quint32>(table.size()), out.data());
    return out + table + memo;
}

void UnpackTableInput(const QByteArray& input, QByteArray& table, QByteArray& memo)
{
    const qsizetype length = input.size() < 4 ? 0 : qFromLittleEndian<quint32>(input.constData());
    const QByteArray rest = input.mid(4);
    table = rest.left(length);
    memo = rest.mid(table.size());
}

QString FuzzScratchPath(const QString& fileName)
{
    static const QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vkfuzz-XXXXXX"));
    if (!dir.isValid())
        std::abort();  // nowhere to put the files: no input could be tried
    return dir.filePath(fileName);
}

void WriteScratchFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size())
        std::abort();
}
