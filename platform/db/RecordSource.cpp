#include "RecordSource.h"

TMemorySource::TMemorySource(TTableData data) : rows_(std::move(data.Rows))
{
    defs_ = std::move(data.Defs);
    for (TRecord& row : rows_)
        row.resize(defs_.size());
}

TTableData ReadAll(TRecordSource& source)
{
    TTableData table;
    table.Defs = source.Defs();
    for (qint64 i = 0; source.Has(i); ++i)
        table.Rows.push_back(source.Read(i));
    return table;
}
