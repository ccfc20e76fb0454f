#include "StringList.h"
#include "Published.h"

#include <algorithm>

VK_PUBLISHED(TStrings) {}
VK_PUBLISHED(TStringList) {}

void TStrings::Put(int index, const QString& s)
{
    TObject* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

int TStrings::Add(const QString& s)
{
    const int index = Count();
    InsertObject(index, s, nullptr);
    return index;
}

int TStrings::AddObject(const QString& s, TObject* obj)
{
    const int index = Add(s);
    PutObject(index, obj);
    return index;
}

void TStrings::AddStrings(const TStrings* other)
{
    BeginUpdate();
    for (int i = 0; i < other->Count(); ++i)
        AddObject(other->Get(i), other->GetObject(i));
    EndUpdate();
}

int TStrings::IndexOf(const QString& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (Get(i).compare(s, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* obj) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == obj)
            return i;
    return -1;
}

QString TStrings::Text() const
{
    QString out;
    for (int i = 0; i < Count(); ++i)
        out += Get(i) + QStringLiteral("\r\n");
    return out;
}

void TStrings::SetText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QStringList lines = t.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    SetStrings(lines);
}

QStringList TStrings::ToStringList() const
{
    QStringList out;
    for (int i = 0; i < Count(); ++i)
        out << Get(i);
    return out;
}

void TStrings::SetStrings(const QStringList& lines)
{
    BeginUpdate();
    Clear();
    for (const QString& s : lines)
        Add(s);
    EndUpdate();
}

void TStrings::EndUpdate()
{
    if (--updateCount_ == 0)
        Changed();
}

void TStrings::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TStrings::IndexError(int index) const
{
    throw EStringListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
}

void TStrings::Assign(const TPersistent* source)
{
    if (auto* other = dynamic_cast<const TStrings*>(source)) {
        BeginUpdate();
        Clear();
        AddStrings(other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::DefineProperties(TDefinedProperties& props)
{
    props.push_back({QStringLiteral("Strings"), [this] { return Count() > 0; },
                     [this] { return TValue::StringList(ToStringList()); },
                     [this](const TValue& v) {
                         if (v.Type != TValueType::List)
                             throw EReadError(QStringLiteral("Invalid property value (Strings)"));
                         QStringList lines;
                         for (const TValue& item : v.List) {
                             if (!item.IsString())
                                 throw EReadError(QStringLiteral("Invalid property value (Strings)"));
                             lines << item.Str;
                         }
                         SetStrings(lines);
                     }});
}

void TStringList::Check(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

QString TStringList::Get(int index) const
{
    Check(index);
    return items_[static_cast<size_t>(index)].Str;
}

void TStringList::Put(int index, const QString& s)
{
    Check(index);
    items_[static_cast<size_t>(index)].Str = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const
{
    Check(index);
    return items_[static_cast<size_t>(index)].Obj;
}

void TStringList::PutObject(int index, TObject* obj)
{
    Check(index);
    items_[static_cast<size_t>(index)].Obj = obj;
}

void TStringList::InsertObject(int index, const QString& s, TObject* obj)
{
    if (index < 0 || index > Count())
        IndexError(index);
    items_.insert(items_.begin() + index, Item{s, obj});
    Changed();
}

void TStringList::Delete(int index)
{
    Check(index);
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (items_.empty())
        return;
    items_.clear();
    Changed();
}

int TStringList::Add(const QString& s)
{
    if (!sorted_)
        return TStrings::Add(s);
    int index = 0;
    Find(s, index);
    InsertObject(index, s, nullptr);
    return index;
}

int TStringList::IndexOf(const QString& s) const
{
    if (!sorted_)
        return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !sorted_)
        Sort();
    sorted_ = sorted;
}

void TStringList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
        return a.Str.compare(b.Str, Qt::CaseInsensitive) < 0;
    });
    Changed();
}

bool TStringList::Find(const QString& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int cmp = items_[static_cast<size_t>(mid)].Str.compare(s, Qt::CaseInsensitive);
        if (cmp < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (cmp == 0)
                found = true;
        }
    }
    index = lo;
    return found;
}
