#include "DataSet.h"
#include "Filter.h"
#include "classes/Published.h"
#include "rtl/ScopeExit.h"

#include <algorithm>

VK_PUBLISHED(TDataSet)
{
    // opening needs what to open: a table name, a statement, a database
    c.Prop("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false).DependsOnContext();
    c.Prop("Filter", &TDataSet::Filter, &TDataSet::SetFilter);
    c.Prop("Filtered", &TDataSet::Filtered, &TDataSet::SetFiltered).Default(false);
    c.Prop("AfterOpen", &TDataSet::AfterOpen);
    c.Prop("BeforeClose", &TDataSet::BeforeClose);
    c.Prop("AfterScroll", &TDataSet::AfterScroll);
}

// ---- TFields ----

TField* TFields::Fields(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
    return items_[static_cast<size_t>(index)];
}

TField* TFields::FindField(const QString& name) const
{
    for (TField* f : items_)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

// ---- master link ----

// Follows the master data set and restricts the detail to its range.
class TDataSet::TMasterLink : public TDataLink {
public:
    explicit TMasterLink(TDataSet* detail) : detail_(detail) {}
    void ActiveChanged() override { Changed(); }
    void DataSetChanged() override { Changed(); }
    void DataSetScrolled() override { Changed(); }

private:
    void Changed()
    {
        if (detail_->Active() && !detail_->IsDestroying())
            detail_->MasterChanged();
    }
    TDataSet* detail_;
};

// ---- TDataSet ----

TDataSet::TDataSet() = default;
TDataSet::~TDataSet() = default;

void TDataSet::Create(TComponent* owner)
{
    inherited::Create(owner);
    masterLink_ = std::make_unique<TMasterLink>(this);
}

void TDataSet::Destroy()
{
    ComponentState.Include(csDestroying);
    if (active_)
        DoClose();
    masterLink_.reset();
    while (!persistent_.empty())
        persistent_.back()->SetDataSet(nullptr);
    while (!sources_.empty())
        sources_.back()->SetDataSet(nullptr);
    inherited::Destroy();
}

void TDataSet::DatabaseError(const QString& message) const
{
    throw EDatabaseError(Name().isEmpty() ? message : Name() + QStringLiteral(": ") + message);
}

void TDataSet::CheckActive() const
{
    if (!active_)
        DatabaseError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::SetActive(bool active)
{
    if (IsLoading()) {  // opened in Loaded, once the references of the form are fixed up
        streamedActive_ = active;
        return;
    }
    if (active == active_)
        return;
    if (active)
        DoOpen();
    else
        DoClose();
}

void TDataSet::Loaded()
{
    inherited::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

std::unique_ptr<TRecordSource> TDataSet::OpenSource() { return std::make_unique<TMemorySource>(OpenData()); }

void TDataSet::DoOpen()
{
    source_ = OpenSource();
    defs_ = source_->Defs();
    TScopeExit undo([this] { ReleaseData(); });  // a data set that fails to open keeps neither fields nor records
    CreateFields();
    if (filtered_ && !filter_.isEmpty())
        filterExpr_ = TFilterExpr::Parse(filter_, defs_);
    active_ = true;
    Rebuild();
    undo.Dismiss();
    Notify(TDataEvent::ActiveChanged);
    AfterOpen(this);
}

void TDataSet::DoClose()
{
    BeforeClose(this);
    CloseData();
    ReleaseData();
    Notify(TDataEvent::ActiveChanged);
}

void TDataSet::ReleaseData()
{
    active_ = false;
    FreeFields();
    filterExpr_.reset();
    defs_.clear();
    source_.reset();
    orderIndex_.reset();
    natural_ = true;
    view_.clear();
    positions_.clear();
    current_.clear();
    cur_ = -1;
    bof_ = eof_ = true;
}

void TDataSet::Refresh()
{
    CheckActive();
    const TBookmark mark = GetBookmark();
    DisableControls();
    TScopeExit enable([this] { EnableControls(); });
    DoClose();
    DoOpen();
    if (BookmarkValid(mark))
        GotoBookmark(mark);
}

void TDataSet::CreateFields()
{
    if (!persistent_.empty()) {  // fields declared in a form bind to their columns by name
        for (TField* f : persistent_) {
            const auto it = std::find_if(defs_.begin(), defs_.end(), [&](const TFieldDef& d) {
                return d.Name.compare(f->FieldName(), Qt::CaseInsensitive) == 0;
            });
            if (it == defs_.end())
                DatabaseError(QStringLiteral("Field '%1' not found").arg(f->FieldName()));
            f->Bind(this, static_cast<int>(it - defs_.begin()), *it);
            fields_.items_.push_back(f);
        }
        return;
    }
    for (size_t i = 0; i < defs_.size(); ++i) {
        auto* f = static_cast<TField*>(FieldClassOf(defs_[i].DataType)->CreateComponent(nullptr));
        f->Bind(this, static_cast<int>(i), defs_[i]);
        fields_.items_.push_back(f);
    }
}

void TDataSet::FreeFields()
{
    for (TField* f : fields_.items_)
        if (std::find(persistent_.begin(), persistent_.end(), f) == persistent_.end())
            f->Free();
    fields_.items_.clear();
}

void TDataSet::AddPersistentField(TField* field)
{
    if (active_)
        DatabaseError(QStringLiteral("Cannot add a field to an open dataset"));
    persistent_.push_back(field);
}

void TDataSet::RemovePersistentField(TField* field)
{
    if (active_ && !IsDestroying())
        DoClose();
    persistent_.erase(std::remove(persistent_.begin(), persistent_.end(), field), persistent_.end());
}

void TDataSet::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TField* f : persistent_)
        if (f->Owner() == root)
            proc(f);
}

TField* TDataSet::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f)
        DatabaseError(QStringLiteral("Field '%1' not found").arg(name));
    return f;
}

QVariant TDataSet::FieldValue(int fieldNo) const
{
    if (cur_ < 0 || fieldNo < 0 || fieldNo >= static_cast<int>(current_.size()))
        return {};
    return current_[static_cast<size_t>(fieldNo)];
}

// ---- navigation ----

bool TDataSet::HasPosition(qint64 pos) const
{
    if (!source_ || pos < 0)
        return false;
    return natural_ ? source_->Has(pos) : pos < static_cast<qint64>(view_.size());
}

qint64 TDataSet::Size() const
{
    if (!source_)
        return 0;
    return natural_ ? source_->Count() : static_cast<qint64>(view_.size());
}

TBookmark TDataSet::RecordAt(qint64 pos) const { return natural_ ? pos : view_[static_cast<size_t>(pos)]; }

void TDataSet::MoveTo(qint64 pos)
{
    if (pos == cur_)
        return;
    current_ = pos < 0 ? TRecord() : source_->Read(RecordAt(pos));
    cur_ = static_cast<int>(pos);
}

void TDataSet::First()
{
    CheckActive();
    MoveTo(HasPosition(0) ? 0 : -1);
    bof_ = true;
    eof_ = cur_ < 0;
    Notify(TDataEvent::DataSetScrolled);
}

void TDataSet::Last()
{
    CheckActive();
    MoveTo(Size() - 1);
    eof_ = true;
    bof_ = cur_ < 0;
    Notify(TDataEvent::DataSetScrolled);
}

int TDataSet::MoveBy(int distance)
{
    CheckActive();
    const bool empty = cur_ < 0;
    const qint64 target = qint64(cur_) + distance;
    const bool past = distance > 0 && !HasPosition(target);
    qint64 landed = cur_;
    if (!empty)
        landed = past ? Size() - 1 : qMax<qint64>(target, 0);
    const int moved = static_cast<int>(landed - cur_);
    MoveTo(landed);
    bof_ = empty || (distance < 0 && target < 0);
    eof_ = empty || past;
    if (moved != 0)
        Notify(TDataEvent::DataSetScrolled);
    return moved;
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::RecordCount() const
{
    CheckActive();
    return static_cast<int>(Size());
}

int TDataSet::RecNo() const { return active_ && cur_ >= 0 ? cur_ + 1 : 0; }

void TDataSet::SetRecNo(int recNo)
{
    CheckActive();
    if (!HasPosition(qint64(recNo) - 1))
        DatabaseError(QStringLiteral("Record number %1 out of range").arg(recNo));
    MoveBy(recNo - 1 - cur_);
}

TBookmark TDataSet::GetBookmark() const
{
    return active_ && cur_ >= 0 ? RecordAt(cur_) : -1;
}

qint64 TDataSet::PositionOf(TBookmark bookmark) const
{
    if (!active_ || bookmark < 0)
        return -1;
    if (natural_)
        return HasPosition(bookmark) ? bookmark : -1;
    // each record's position, sorted by record, made when first asked for
    if (positions_.size() != view_.size()) {
        positions_.clear();
        positions_.reserve(view_.size());
        for (size_t pos = 0; pos < view_.size(); ++pos)
            positions_.emplace_back(view_[pos], qint64(pos));
        std::sort(positions_.begin(), positions_.end());
    }
    const auto it = std::lower_bound(positions_.begin(), positions_.end(), std::make_pair(bookmark, qint64(0)));
    return it != positions_.end() && it->first == bookmark ? it->second : -1;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const { return PositionOf(bookmark) >= 0; }

void TDataSet::GotoBookmark(TBookmark bookmark)
{
    CheckActive();
    const qint64 pos = PositionOf(bookmark);
    if (pos < 0)
        DatabaseError(QStringLiteral("Record not found"));
    MoveTo(pos);
    bof_ = eof_ = false;
    Notify(TDataEvent::DataSetScrolled);
}

// ---- controls ----

void TDataSet::AttachDataSource(TDataSource* source)
{
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
}

void TDataSet::DetachDataSource(TDataSource* source)
{
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TDataSet::DisableControls() { ++disableCount_; }

void TDataSet::EnableControls()
{
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    if (changedWhileDisabled_) {
        changedWhileDisabled_ = false;
        Notify(TDataEvent::DataSetChanged);
    }
}

void TDataSet::Notify(TDataEvent event)
{
    if (disableCount_ > 0) {
        changedWhileDisabled_ = true;
        return;
    }
    const std::vector<TDataSource*> sources = sources_;
    for (TDataSource* s : sources)
        s->DataEvent(event);
    if (event == TDataEvent::DataSetScrolled)
        AfterScroll(this);
}

void TDataSet::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && masterLink_ && component == masterLink_->DataSource())
        SetMasterSource(nullptr);
}

// ---- filter, range and order ----

void TDataSet::SetFilter(const QString& filter)
{
    if (filter == filter_)
        return;
    if (active_ && filtered_) {
        auto expr = filter.isEmpty() ? nullptr : TFilterExpr::Parse(filter, defs_);  // a bad filter changes nothing
        filter_ = filter;
        filterExpr_ = std::move(expr);
        Rebuild();
        First();
    } else {
        filter_ = filter;
    }
}

void TDataSet::SetFiltered(bool filtered)
{
    if (filtered == filtered_)
        return;
    if (active_) {
        filterExpr_ = filtered && !filter_.isEmpty() ? TFilterExpr::Parse(filter_, defs_) : nullptr;
        filtered_ = filtered;
        Rebuild();
        First();
    } else {
        filtered_ = filtered;
    }
}

TDataSource* TDataSet::MasterSource() const { return masterLink_ ? masterLink_->DataSource() : nullptr; }

void TDataSet::SetMasterSource(TDataSource* source)
{
    if (source && source->DataSet() == this)
        DatabaseError(QStringLiteral("Circular datalinks are not allowed"));
    if (TDataSource* old = MasterSource())
        RemoveFreeNotification(old);
    masterLink_->SetDataSource(source);
    if (source)
        FreeNotification(source);
    if (active_)
        MasterChanged();
}

void TDataSet::SetMasterFields(const QString& fields)
{
    masterFields_ = fields;
    if (active_)
        MasterChanged();
}

void TDataSet::SetIndexFieldNames(const QString& fields)
{
    indexFieldNames_ = fields;
    if (active_) {
        Rebuild();
        First();
    }
}

void TDataSet::MasterChanged()
{
    Rebuild();
    First();
}

std::vector<int> TDataSet::FieldIndexes(const QString& names) const
{
    std::vector<int> out;
    for (const QString& name : names.split(u';', Qt::SkipEmptyParts)) {
        const auto it = std::find_if(defs_.begin(), defs_.end(), [&](const TFieldDef& d) {
            return d.Name.compare(name.trimmed(), Qt::CaseInsensitive) == 0;
        });
        if (it == defs_.end())
            DatabaseError(QStringLiteral("Field '%1' not found").arg(name.trimmed()));
        out.push_back(static_cast<int>(it - defs_.begin()));
    }
    return out;
}

bool TDataSet::RangeKeys(std::vector<std::pair<int, QVariant>>& keys) const
{
    TDataSet* master = masterLink_->DataSet();
    if (!master || masterFields_.isEmpty())
        return true;
    if (!masterLink_->Active() || master->IsEmpty())
        return false;
    const QStringList masterNames = masterFields_.split(u';', Qt::SkipEmptyParts);
    const std::vector<int> detail = FieldIndexes(indexFieldNames_.isEmpty() ? masterFields_ : indexFieldNames_);
    for (int i = 0; i < masterNames.size() && i < static_cast<int>(detail.size()); ++i) {
        const QVariant key = master->FieldByName(masterNames[i].trimmed())->Value();
        if (key.isNull())
            return false;
        keys.emplace_back(detail[size_t(i)], key);
    }
    return true;
}

// The records ordered by the values of some columns, equal ones in the
// source's order. Only the key values are kept, not the records, and the
// index serves every record of a master until the columns change.
struct TDataSet::TOrderIndex {
    std::vector<int> Columns;
    std::vector<QVariant> Keys;    // Columns.size() values a record
    std::vector<qint64> Records;   // in order
    const QVariant* KeysOf(qint64 record) const { return &Keys[size_t(record) * Columns.size()]; }
    // <0, 0, >0 as the record's first count values compare with the values given
    int Compare(qint64 record, const QVariant* values, size_t count) const
    {
        for (size_t k = 0; k < count; ++k)
            if (const int c = CompareValues(KeysOf(record)[k], values[k]))
                return c;
        return 0;
    }
    int Compare(qint64 record, const std::vector<QVariant>& values) const
    {
        return Compare(record, values.data(), values.size());
    }
};

const TDataSet::TOrderIndex& TDataSet::OrderIndex(const std::vector<int>& columns, std::vector<bool>* matched)
{
    if (orderIndex_ && orderIndex_->Columns == columns)
        return *orderIndex_;
    auto index = std::make_unique<TOrderIndex>();
    index->Columns = columns;
    for (qint64 i = 0; source_->Has(i); ++i) {
        const TRecord row = source_->Read(i);
        for (int c : columns)
            index->Keys.push_back(row[size_t(c)]);
        index->Records.push_back(i);
        if (matched)
            matched->push_back(filterExpr_->Matches(row));
    }
    const TOrderIndex& made = *index;
    std::stable_sort(index->Records.begin(), index->Records.end(), [&](qint64 a, qint64 b) {
        return made.Compare(a, made.KeysOf(b), columns.size()) < 0;
    });
    orderIndex_ = std::move(index);
    return *orderIndex_;
}

bool TDataSet::BuildView(std::vector<qint64>& view)
{
    std::vector<std::pair<int, QVariant>> keys;
    if (!RangeKeys(keys))
        return false;
    std::vector<int> columns;
    if (!indexFieldNames_.isEmpty())
        columns = FieldIndexes(indexFieldNames_);
    else
        for (const auto& key : keys)  // a range without an order keeps the source's order within it
            columns.push_back(key.first);
    if (columns.empty() && !filterExpr_)
        return true;
    const auto matches = [&](qint64 record) { return !filterExpr_ || filterExpr_->Matches(source_->Read(record)); };
    if (columns.empty()) {
        for (qint64 i = 0; source_->Has(i); ++i)
            if (matches(i))
                view.push_back(i);
        return false;
    }
    // an index made now reads every record: the filter takes them as they pass
    std::vector<bool> matched;
    const TOrderIndex& index = OrderIndex(columns, filterExpr_ ? &matched : nullptr);
    const auto taken = [&](qint64 record) { return matched.empty() ? matches(record) : bool(matched[size_t(record)]); };
    std::vector<QVariant> values;
    for (const auto& key : keys)
        values.push_back(key.second);
    const auto from = std::lower_bound(index.Records.begin(), index.Records.end(), values,
                                       [&](qint64 r, const std::vector<QVariant>& v) { return index.Compare(r, v) < 0; });
    const auto to = std::upper_bound(from, index.Records.end(), values,
                                     [&](const std::vector<QVariant>& v, qint64 r) { return index.Compare(r, v) > 0; });
    std::copy_if(from, to, std::back_inserter(view), taken);
    return false;
}

void TDataSet::Rebuild()
{
    std::vector<qint64> view;
    const bool natural = BuildView(view);
    // the first record is read before anything changes: a failed read leaves the view as it was
    const bool any = natural ? source_->Has(0) : !view.empty();
    TRecord first = any ? source_->Read(natural ? 0 : view.front()) : TRecord();
    natural_ = natural;
    view_ = std::move(view);
    positions_.clear();
    current_ = std::move(first);
    cur_ = any ? 0 : -1;
    bof_ = true;
    eof_ = !any;
    Notify(TDataEvent::DataSetChanged);
}
