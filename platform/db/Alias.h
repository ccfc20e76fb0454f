#pragma once
// Database names: an alias or a folder. "DBDEMOS" names the sample tables
// the build generates (the environment variable VORNAK_DBDEMOS points it
// elsewhere); more aliases come from the alias file (see README-aliases.md)
// or from a program's own AddAlias calls.
#include <QString>
#include <QStringList>

// The folder a database name stands for. Aliases are matched without regard
// to case; any other name is taken as a folder.
QString ResolveDatabase(const QString& databaseName);

// Defines or replaces an alias for the running program; it takes precedence
// over the environment and the alias file.
void AddAlias(const QString& name, const QString& folder);
void RemoveAlias(const QString& name);

// Where the alias file is looked for: $XDG_CONFIG_HOME/vornak/aliases.ini
// (usually ~/.config/vornak/aliases.ini).
QString AliasFileName();
// Reads "NAME=folder" lines; relative folders are relative to the file.
// Exposed for tests.
QString LookupAliasFile(const QString& fileName, const QString& name);

// The aliases a user may choose from: DBDEMOS, the program's own and those of
// the alias file (upper case, each once). AliasNamesIn reads the given file.
QStringList AliasNames();
QStringList AliasNamesIn(const QString& fileName);

// The path of a file in a folder, matching the file name without regard to
// case (tables copied from other systems keep whatever case they had).
QString FindFileNoCase(const QString& folder, const QString& fileName);
