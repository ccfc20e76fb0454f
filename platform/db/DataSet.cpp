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

void TDataSet::DoOpen()
{
    TTableData data = OpenData();
    defs_ = std::move(data.Defs);
    rows_ = std::move(data.Rows);
    for (TRecord& row : rows_)  // short rows from a lenient source read as nulls
        row.resize(defs_.size());
    // a data set that fails to open keeps neither fields nor rows
    TScopeExit undo([this] {
        FreeFields();
        defs_.clear();
        rows_.clear();
    });
    CreateFields();
    if (filtered_ && !filter_.isEmpty())
        filterExpr_ = TFilterExpr::Parse(filter_, defs_);
    undo.Dismiss();
    active_ = true;
    Rebuild();
    SetPosition(0);
    Notify(TDataEvent::ActiveChanged);
    AfterOpen(this);
}

void TDataSet::DoClose()
{
    BeforeClose(this);
    CloseData();
    active_ = false;
    FreeFields();
    filterExpr_.reset();
    defs_.clear();
    rows_.clear();
    view_.clear();
    cur_ = -1;
    bof_ = eof_ = true;
    Notify(TDataEvent::ActiveChanged);
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
    if (cur_ < 0 || cur_ >= static_cast<int>(view_.size()) || fieldNo < 0 || fieldNo >= static_cast<int>(defs_.size()))
        return {};
    return rows_[static_cast<size_t>(view_[static_cast<size_t>(cur_)])][static_cast<size_t>(fieldNo)];
}

// ---- navigation ----

void TDataSet::SetPosition(int index)
{
    const int count = static_cast<int>(view_.size());
    cur_ = count == 0 ? -1 : std::clamp(index, 0, count - 1);
}

void TDataSet::First()
{
    CheckActive();
    SetPosition(0);
    bof_ = true;
    eof_ = view_.empty();
    Notify(TDataEvent::DataSetScrolled);
}

void TDataSet::Last()
{
    CheckActive();
    SetPosition(static_cast<int>(view_.size()) - 1);
    eof_ = true;
    bof_ = view_.empty();
    Notify(TDataEvent::DataSetScrolled);
}

int TDataSet::MoveBy(int distance)
{
    CheckActive();
    const int count = static_cast<int>(view_.size());
    const int target = cur_ + distance;
    const int landed = count == 0 ? -1 : std::clamp(target, 0, count - 1);
    const int moved = landed - cur_;
    bof_ = count == 0 || (distance < 0 && target < 0);
    eof_ = count == 0 || (distance > 0 && target >= count);
    cur_ = landed;
    if (moved != 0)
        Notify(TDataEvent::DataSetScrolled);
    return moved;
}

void TDataSet::Next() { MoveBy(1); }
void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::RecordCount() const
{
    CheckActive();
    return static_cast<int>(view_.size());
}

int TDataSet::RecNo() const { return active_ && cur_ >= 0 ? cur_ + 1 : 0; }

void TDataSet::SetRecNo(int recNo)
{
    CheckActive();
    if (recNo < 1 || recNo > static_cast<int>(view_.size()))
        DatabaseError(QStringLiteral("Record number %1 out of range").arg(recNo));
    MoveBy(recNo - 1 - cur_);
}

TBookmark TDataSet::GetBookmark() const
{
    return active_ && cur_ >= 0 ? view_[static_cast<size_t>(cur_)] : -1;
}

bool TDataSet::BookmarkValid(TBookmark bookmark) const
{
    return active_ && std::find(view_.begin(), view_.end(), bookmark) != view_.end();
}

void TDataSet::GotoBookmark(TBookmark bookmark)
{
    CheckActive();
    const auto it = std::find(view_.begin(), view_.end(), bookmark);
    if (bookmark < 0 || it == view_.end())
        DatabaseError(QStringLiteral("Record not found"));
    cur_ = static_cast<int>(it - view_.begin());
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

void TDataSet::SortView()
{
    if (indexFieldNames_.isEmpty())
        return;
    const std::vector<int> keys = FieldIndexes(indexFieldNames_);
    std::stable_sort(view_.begin(), view_.end(), [&](int a, int b) {
        for (int k : keys) {
            const int c = CompareValues(rows_[size_t(a)][size_t(k)], rows_[size_t(b)][size_t(k)]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
}

void TDataSet::Rebuild()
{
    view_.clear();
    std::vector<std::pair<int, QVariant>> keys;
    const bool any = RangeKeys(keys);
    const auto inRange = [&](const TRecord& row) {
        return std::all_of(keys.begin(), keys.end(), [&](const auto& k) { return CompareValues(row[size_t(k.first)], k.second) == 0; });
    };
    for (size_t i = 0; any && i < rows_.size(); ++i) {
        const TRecord& row = rows_[i];
        if (inRange(row) && (!filterExpr_ || filterExpr_->Matches(row)))
            view_.push_back(static_cast<int>(i));
    }
    SortView();
    SetPosition(0);
    bof_ = true;
    eof_ = view_.empty();
    Notify(TDataEvent::DataSetChanged);
}
