#pragma once
// TDataSet: a set of records with a current record, read through fields.
// Descendants supply the records (OpenSource) as a source the data set reads
// as it moves, holding only the current record; it provides navigation,
// bookmarks, filtering, an ordering by index fields and the range a master
// data set imposes on a detail.
#include "DataSource.h"
#include "DbTypes.h"
#include "Field.h"
#include "RecordSource.h"

#include <memory>

class TFilterExpr;

// The fields of a data set in column order.
class TFields {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TField* Fields(int index) const;  // raises EListError out of range
    TField* operator[](int index) const { return Fields(index); }
    TField* FindField(const QString& name) const;  // case-insensitive; nil when missing
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    friend class TDataSet;
    std::vector<TField*> items_;
};

using TBookmark = qint64;  // a record's number in the data set's source, -1 for none
using TDataSetNotifyEvent = TEvent<TDataSet*>;

class TDataSet : public TComponent {
    VK_CLASS(TDataSet, TComponent)
public:
    TDataSet();
    ~TDataSet() override;  // out of line: the members' classes are private to the source
    void Create(TComponent* owner) override;
    void Destroy() override;

    bool Active() const { return active_; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }
    void Refresh();  // reads the records again and keeps the position where it can

    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    bool IsEmpty() const { return cur_ < 0; }
    int RecordCount() const;
    int RecNo() const;  // 1-based; 0 when empty or closed
    void SetRecNo(int recNo);

    TFields* Fields() { return &fields_; }
    const TFields* Fields() const { return &fields_; }
    int FieldCount() const { return fields_.Count(); }
    TField* FindField(const QString& name) const { return fields_.FindField(name); }
    TField* FieldByName(const QString& name) const;  // raises EDatabaseError when missing
    const std::vector<TFieldDef>& FieldDefs() const { return defs_; }

    TBookmark GetBookmark() const;
    void GotoBookmark(TBookmark bookmark);  // raises EDatabaseError when the record is gone
    bool BookmarkValid(TBookmark bookmark) const;
    void FreeBookmark(TBookmark) {}

    void DisableControls();
    void EnableControls();  // the last one tells the controls that the data changed
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Simple comparisons of fields with constants, joined by AND, OR, NOT
    // and parentheses: State = 'CA' and Amount >= 100.
    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& filter);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);

    // Master-detail: when a master source is set, the data set shows the
    // records whose fields named by IndexFieldNames (or, without them, by
    // MasterFields) equal the master's fields named by MasterFields.
    TDataSource* MasterSource() const;
    void SetMasterSource(TDataSource* source);
    const QString& MasterFields() const { return masterFields_; }
    void SetMasterFields(const QString& fields);
    const QString& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const QString& fields);  // also orders the records

    // Called by fields.
    QVariant FieldValue(int fieldNo) const;
    void AddPersistentField(TField* field);
    void RemovePersistentField(TField* field);

    TDataSetNotifyEvent AfterOpen;
    TDataSetNotifyEvent BeforeClose;
    TDataSetNotifyEvent AfterScroll;

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    void AttachDataSource(TDataSource* source);
    void DetachDataSource(TDataSource* source);

protected:
    // Opens the descendant's records to be read as the data set moves;
    // raises EDatabaseError when it cannot. The default serves OpenData's rows.
    virtual std::unique_ptr<TRecordSource> OpenSource();
    // The records of a descendant that has them in memory anyway; none by default.
    virtual TTableData OpenData() { return {}; }
    virtual void CloseData() {}
    // The master's record moved; the default restricts to the matching range.
    virtual void MasterChanged();
    [[noreturn]] void DatabaseError(const QString& message) const;
    bool StreamedActive() const { return streamedActive_; }

private:
    class TMasterLink;
    struct TOrderIndex;
    void DoOpen();
    void DoClose();
    void ReleaseData();  // back to the closed state, without notifying
    void CreateFields();
    void FreeFields();
    void Rebuild();  // the view of the source: range, filter, order; to its first record
    // Fills view with the records shown; false when they are all, in the source's order.
    bool BuildView(std::vector<qint64>& view);
    // The detail's columns and the master's values they must equal; false when no record can.
    bool RangeKeys(std::vector<std::pair<int, QVariant>>& keys) const;
    // The index over the columns, made when it is not there; making it, it
    // notes in *matched whether the filter takes each record (else leaves it empty).
    const TOrderIndex& OrderIndex(const std::vector<int>& columns, std::vector<bool>* matched);
    bool HasPosition(qint64 pos) const;
    qint64 Size() const;
    qint64 PositionOf(TBookmark bookmark) const;
    TBookmark RecordAt(qint64 pos) const;  // the source's record at a position of the view
    void MoveTo(qint64 pos);  // reads the record there first: a failed read leaves the position as it was
    void Notify(TDataEvent event);
    void CheckActive() const;
    std::vector<int> FieldIndexes(const QString& names) const;

    bool active_ = false;
    bool streamedActive_ = false;
    bool bof_ = true, eof_ = true;
    int cur_ = -1;  // position in the view, -1 when empty or closed
    std::vector<TFieldDef> defs_;
    std::unique_ptr<TRecordSource> source_;
    bool natural_ = true;          // the view is every record of the source, in order
    std::vector<qint64> view_;     // otherwise the records shown, in order
    mutable std::vector<std::pair<qint64, qint64>> positions_;  // of view_: (record, position) by record
    TRecord current_;              // the record at cur_
    std::unique_ptr<TOrderIndex> orderIndex_;
    TFields fields_;
    std::vector<TField*> persistent_;
    std::vector<TDataSource*> sources_;
    int disableCount_ = 0;
    bool changedWhileDisabled_ = false;
    QString filter_;
    bool filtered_ = false;
    std::unique_ptr<TFilterExpr> filterExpr_;
    std::unique_ptr<TMasterLink> masterLink_;
    QString masterFields_;
    QString indexFieldNames_;
};
