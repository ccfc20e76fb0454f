#pragma once
// Collections: a persistent list of items of one class, streamed as a
// collection value (Columns = < item ... end >). Items publish their
// properties like any class; the collection owns and frees them.
#include "Component.h"

class TCollection;

class TCollectionItem : public TPersistent {
    VK_CLASS(TCollectionItem, TPersistent)
public:
    void Destroy() override;
    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);  // moves the item; nil takes it out
    int Index() const;
    void SetIndex(int index);

protected:
    // Tells the collection that the item changed.
    void Changed();

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
};

class TCollection : public TPersistent {
    VK_CLASS(TCollection, TPersistent)
public:
    explicit TCollection(TClass itemClass = TCollectionItem::ClassInfo(), TPersistent* owner = nullptr);
    void Destroy() override;

    TClass ItemClass() const { return itemClass_; }
    TPersistent* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;  // raises EListError out of range
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // Copies the items of another collection; each item class supplies Assign.
    void Assign(const TPersistent* source) override;

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    // Called with the changed item, or nil when the list itself changed.
    std::function<void(TCollection*, TCollectionItem*)> OnUpdate;

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item, int index);
    void RemoveItem(TCollectionItem* item);
    void Changed(TCollectionItem* item);
    [[noreturn]] void IndexError(int index) const;

    TClass itemClass_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int updateCount_ = 0;
};
