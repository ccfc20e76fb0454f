#include "Table.h"
#include "Alias.h"
#include "DbfFile.h"
#include "ParadoxFile.h"
#include "classes/Published.h"

#include <QDir>
#include <QFileInfo>

VK_PUBLISHED(TTable)
{
    c.Prop("DatabaseName", &TTable::DatabaseName, &TTable::SetDatabaseName);
    c.Prop("TableName", &TTable::TableName, &TTable::SetTableName);
    c.Prop("TableType", &TTable::TableType, &TTable::SetTableType).Default(ttDefault);
    c.Prop("IndexFieldNames", &TTable::IndexFieldNames, &TTable::SetIndexFieldNames);
    c.Prop("MasterFields", &TTable::MasterFields, &TTable::SetMasterFields);
    c.Prop("MasterSource", &TTable::MasterSource, &TTable::SetMasterSource);
}

namespace {
TTableType TypeOf(const QString& fileName, TTableType type)
{
    if (type != ttDefault)
        return type;
    return QFileInfo(fileName).suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0 ? ttDBase : ttParadox;
}
}  // namespace

std::unique_ptr<TRecordSource> OpenTableFile(const QString& fileName, TTableType type)
{
    return TypeOf(fileName, type) == ttDBase ? OpenDbfTable(fileName) : OpenParadoxTable(fileName);
}

void WriteTable(const QString& fileName, const TTableData& table, TTableType type)
{
    if (TypeOf(fileName, type) == ttDBase)
        WriteDbfTable(fileName, table);
    else
        WriteParadoxTable(fileName, table);
}

void TTable::CheckInactive(const char* what) const
{
    if (Active())
        DatabaseError(QStringLiteral("Cannot change %1 of an open table").arg(QLatin1String(what)));
}

void TTable::SetDatabaseName(const QString& name)
{
    CheckInactive("DatabaseName");
    databaseName_ = name;
}

void TTable::SetTableName(const QString& name)
{
    CheckInactive("TableName");
    tableName_ = name;
}

void TTable::SetTableType(TTableType type)
{
    CheckInactive("TableType");
    tableType_ = type;
}

TTableType TTable::EffectiveType() const
{
    if (tableType_ != ttDefault || !QFileInfo(tableName_).suffix().isEmpty())
        return TypeOf(tableName_, tableType_);
    return ttParadox;
}

QString TTable::TableFileName() const
{
    const QString folder = ResolveDatabase(databaseName_);
    QString name = tableName_;
    if (QFileInfo(name).suffix().isEmpty())  // a bare name takes its driver's extension
        name += EffectiveType() == ttDBase ? QStringLiteral(".DBF") : QStringLiteral(".DB");
    if (QDir::isAbsolutePath(name))
        return name;
    const QString found = FindFileNoCase(folder, name);
    return found.isEmpty() ? QDir(folder).filePath(name) : found;
}

std::unique_ptr<TRecordSource> TTable::OpenSource()
{
    if (tableName_.isEmpty())
        DatabaseError(QStringLiteral("Missing TableName property"));
    const QString fileName = TableFileName();
    const QString folder = QFileInfo(fileName).absolutePath();
    if (!QFileInfo::exists(fileName))
        DatabaseError(QStringLiteral("Table '%1' not found in folder '%2' (database '%3')")
                          .arg(tableName_, folder, databaseName_));
    try {
        return OpenTableFile(fileName, EffectiveType());
    } catch (const EDatabaseError& e) {
        DatabaseError(QStringLiteral("Cannot open table '%1' in folder '%2': %3").arg(tableName_, folder, e.Message()));
    }
}
