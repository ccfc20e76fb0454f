#include "RecordSource.h"

TMemorySource::TMemorySource(TTableData data) : rows_(std::move(data.Rows))
{
    defs_ = std::move(data.Defs);
    for (TRecord& row : rows_)
        row.resize(defs_.size());
}

void TRecordSource::CheckHas(qint64 index, const QString& fileName)
{
    if (!Has(index))
        throw EDatabaseError(QStringLiteral("Table file %1 has no record %2").arg(fileName).arg(index + 1));
}

TTableData ReadAll(TRecordSource& source)
{
    TTableData table;
    table.Defs = source.Defs();
    for (qint64 i = 0; source.Has(i); ++i)
        table.Rows.push_back(source.Read(i));
    return table;
}
