#include "Collection.h"
#include "Published.h"

#include <algorithm>

VK_PUBLISHED(TCollectionItem) {}
VK_PUBLISHED(TCollection) {}

void TCollectionItem::Destroy()
{
    SetCollection(nullptr);
    TPersistent::Destroy();
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == collection_)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (collection)
        collection->InsertItem(this, collection->Count());
}

int TCollectionItem::Index() const
{
    if (!collection_)
        return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    const int current = Index();
    if (current < 0 || current == index)
        return;
    auto& items = collection_->items_;
    if (index < 0 || index >= static_cast<int>(items.size()))
        collection_->IndexError(index);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    collection_->Changed(nullptr);
}

void TCollectionItem::Changed()
{
    if (collection_)
        collection_->Changed(this);
}

TCollection::TCollection(TClass itemClass, TPersistent* owner) : itemClass_(itemClass), owner_(owner) {}

void TCollection::Destroy()
{
    updateCount_ = 1;  // no change notices while going
    Clear();
    TPersistent::Destroy();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        IndexError(index);
    TObject* obj = itemClass_->NewInstance();
    auto* item = dynamic_cast<TCollectionItem*>(obj);
    if (!item) {
        obj->Free();
        RaiseInvalidCast();
    }
    InsertItem(item, index);
    return item;
}

void TCollection::Delete(int index) { Items(index)->Free(); }

void TCollection::Clear()
{
    if (items_.empty())
        return;
    BeginUpdate();
    while (!items_.empty())
        items_.back()->Free();
    EndUpdate();
}

void TCollection::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TCollection*>(source);
    if (!other)
        return TPersistent::Assign(source);
    BeginUpdate();
    Clear();
    for (TCollectionItem* item : other->items_)
        Add()->Assign(item);
    EndUpdate();
}

void TCollection::EndUpdate()
{
    if (--updateCount_ == 0)
        Changed(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item, int index)
{
    items_.insert(items_.begin() + index, item);
    item->collection_ = this;
    Changed(nullptr);
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->collection_ = nullptr;
    Changed(nullptr);
}

void TCollection::Changed(TCollectionItem* item)
{
    if (updateCount_ == 0 && OnUpdate)
        OnUpdate(this, item);
}

void TCollection::IndexError(int index) const
{
    throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
}
