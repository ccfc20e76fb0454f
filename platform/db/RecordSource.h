#pragma once
// Where a data set's records come from: a table file read record by record
// as the data set moves, or rows already in memory (a query's result).
// Records are numbered from 0 in the order of the source.
#include "DbTypes.h"

#include <memory>

class TRecordSource {
public:
    virtual ~TRecordSource() = default;
    const std::vector<TFieldDef>& Defs() const { return defs_; }
    // Whether record index exists; looks no further into the file than it must.
    virtual bool Has(qint64 index) = 0;
    virtual qint64 Count() = 0;
    // One value per column; raises EDatabaseError when the record cannot be read.
    virtual TRecord Read(qint64 index) = 0;

protected:
    // Raises EDatabaseError when record index is not in the file.
    void CheckHas(qint64 index, const QString& fileName);

    std::vector<TFieldDef> defs_;
};

class TMemorySource : public TRecordSource {
public:
    explicit TMemorySource(TTableData data);  // short rows read as nulls
    bool Has(qint64 index) override { return index >= 0 && index < Count(); }
    qint64 Count() override { return static_cast<qint64>(rows_.size()); }
    TRecord Read(qint64 index) override { return rows_.at(static_cast<size_t>(index)); }

private:
    std::vector<TRecord> rows_;
};

// Every record of the source, in order.
TTableData ReadAll(TRecordSource& source);
