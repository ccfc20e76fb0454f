#pragma once
// The list builder adds a columnar list of a data set's fields to the
// framework of TQRBuilder or to a report handed in: a column-header band with
// one label per field and a detail band with one expression element per
// field. A column that does not fit turns the page to landscape; one that
// still does not fit is dropped. QRCreateList drives a list builder in one call.
#include "designer/builders/ReportBuilder.h"

class TDataSet;
class TField;
class TQRCustomBand;
class TQRPrintable;

class VORNAK_EXPORT TQRListBuilder : public TQRBuilder {
    VK_CLASS(TQRListBuilder, TQRBuilder)
public:
    // The data set to list; not owned.
    TDataSet* DataSet = nullptr;
    // Names of the fields to list, in column order; empty lists every visible field.
    const TOwned<TStringList> Fields{new TStringList()};

    // Activates only with a data set, then builds the list. When the list
    // fails on a report the caller handed in, the report is handed back
    // (the builder is left inactive, the report keeps the columns added so
    // far) and the error continues.
    void SetActive(bool value) override;
    // Adds the column-header and detail bands and the columns, then names the new components.
    virtual void BuildList();
    // Makes Fields a copy of the list's strings; nil empties it.
    void SetFields(TStrings* list);
    // Nothing to do: an empty Fields already lists every visible field.
    void AddAllFields() {}

protected:
    // Adds the column of one field; rowHeight becomes its header label's height.
    void AddField(TField* field, int& rowHeight);

private:
    void AddColumns(int& rowHeight);
    bool Fits(const TQRPrintable* element) const;
    TQRCustomBand* DetailBand() const;
    TQRCustomBand* ColumnHeaderBand() const;
};

// Lists the data set's fields (all visible ones when fields is nil) in
// report: a new report on owner when report is nil, else the report given.
// Owner must be a windowed control. With no data set nothing is built. On a
// failure a report made here is freed and report keeps its nil; a report
// handed in survives with the columns added so far.
VORNAK_EXPORT void QRCreateList(TQuickRep*& report, TComponent* owner, TDataSet* dataSet, QString title,
                                TStrings* fields);
