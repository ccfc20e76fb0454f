#pragma once
// TTable: one dBase or Paradox table file of a database (alias or folder).
// Opening reads the header; records are read as the table moves to them.
// An open table keeps reading the file it opened even when a new one is
// written in its place; Refresh reads the new one.
#include "DataSet.h"

VK_ENUM(TTableType, ttDefault, ttParadox, ttDBase)

class TTable : public TDataSet {
    VK_CLASS(TTable, TDataSet)
public:
    const QString& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const QString& name);
    const QString& TableName() const { return tableName_; }
    void SetTableName(const QString& name);
    // ttDefault chooses the driver by the file's extension (.DBF dBase, else Paradox).
    TTableType TableType() const { return tableType_; }
    void SetTableType(TTableType type);

    // The table file that opening would read.
    QString TableFileName() const;

protected:
    std::unique_ptr<TRecordSource> OpenSource() override;

private:
    void CheckInactive(const char* what) const;
    TTableType EffectiveType() const;

    QString databaseName_;
    QString tableName_;
    TTableType tableType_ = ttDefault;
};

// Opens a table file with the driver its type or extension names, for
// reading record by record.
std::unique_ptr<TRecordSource> OpenTableFile(const QString& fileName, TTableType type = ttDefault);
void WriteTable(const QString& fileName, const TTableData& table, TTableType type = ttDefault);
