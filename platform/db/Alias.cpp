#include "Alias.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <functional>
#include <map>

namespace {

#ifndef VK_DBDEMOS_DIR
#define VK_DBDEMOS_DIR "dbdemos"
#endif

std::map<QString, QString>& ProgramAliases()
{
    static std::map<QString, QString> aliases;  // keyed by upper-case name
    return aliases;
}

QString BuiltIn(const QString& upper)
{
    if (upper != u"DBDEMOS")
        return {};
    const QString env = qEnvironmentVariable("VORNAK_DBDEMOS");
    return env.isEmpty() ? QString::fromUtf8(VK_DBDEMOS_DIR) : env;
}

}  // namespace

void AddAlias(const QString& name, const QString& folder) { ProgramAliases()[name.toUpper()] = folder; }

void RemoveAlias(const QString& name) { ProgramAliases().erase(name.toUpper()); }

QString AliasFileName()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/vornak/aliases.ini");
}

namespace {
// Calls visit(name, folder) for each "NAME=folder" line of the file until it
// returns true; relative folders are relative to the file.
void ReadAliasFile(const QString& fileName, const std::function<bool(const QString&, const QString&)>& visit)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&f);
    for (int lines = 0; !in.atEnd() && lines < 10000; ++lines) {
        const QString line = in.readLine(4096).trimmed();
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';') || line.startsWith(u'['))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString folder = line.mid(eq + 1).trimmed();
        if (visit(line.left(eq).trimmed(), QDir::isAbsolutePath(folder) ? folder : QFileInfo(fileName).dir().filePath(folder)))
            return;
    }
}
}  // namespace

QString LookupAliasFile(const QString& fileName, const QString& name)
{
    QString found;
    ReadAliasFile(fileName, [&](const QString& alias, const QString& folder) {
        if (alias.compare(name, Qt::CaseInsensitive) != 0)
            return false;
        found = folder;
        return true;
    });
    return found;
}

QStringList AliasNamesIn(const QString& fileName)
{
    QStringList names{QStringLiteral("DBDEMOS")};
    for (const auto& [upper, folder] : ProgramAliases())
        names << upper;
    ReadAliasFile(fileName, [&](const QString& alias, const QString&) {
        names << alias.toUpper();
        return false;
    });
    names.removeDuplicates();
    return names;
}

QStringList AliasNames() { return AliasNamesIn(AliasFileName()); }

QString ResolveDatabase(const QString& databaseName)
{
    const QString upper = databaseName.trimmed().toUpper();
    if (upper.isEmpty())
        return QDir::currentPath();
    const auto it = ProgramAliases().find(upper);
    if (it != ProgramAliases().end())
        return it->second;
    // the environment variable outranks the alias file for the sample tables
    if (upper == u"DBDEMOS" && !qEnvironmentVariableIsEmpty("VORNAK_DBDEMOS"))
        return BuiltIn(upper);
    const QString fromFile = LookupAliasFile(AliasFileName(), upper);
    if (!fromFile.isEmpty())
        return fromFile;
    const QString builtIn = BuiltIn(upper);
    return builtIn.isEmpty() ? databaseName : builtIn;
}

QString FindFileNoCase(const QString& folder, const QString& fileName)
{
    const QDir dir(folder);
    if (dir.exists(fileName))
        return dir.filePath(fileName);
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& e : entries)
        if (e.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(e);
    return {};
}
