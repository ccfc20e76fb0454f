#pragma once
// String lists: TStrings is the interface every list of strings offers,
// TStringList keeps its strings in memory. Objects attached to strings are
// not owned.
#include "Component.h"
#include "rtl/Exceptions.h"

class TStrings : public TPersistent {
    VK_CLASS(TStrings, TPersistent)
public:
    virtual int Count() const = 0;
    virtual QString Get(int index) const = 0;
    virtual void Put(int index, const QString& s);
    virtual TObject* GetObject(int index) const = 0;
    virtual void PutObject(int index, TObject* obj) = 0;
    virtual void InsertObject(int index, const QString& s, TObject* obj) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    QString Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    virtual int Add(const QString& s);
    int AddObject(const QString& s, TObject* obj);
    void Insert(int index, const QString& s) { InsertObject(index, s, nullptr); }
    void AddStrings(const TStrings* other);
    virtual int IndexOf(const QString& s) const;  // case-insensitive
    int IndexOfObject(const TObject* obj) const;
    QString Text() const;  // lines each ended by CR LF
    void SetText(const QString& text);
    QStringList ToStringList() const;
    void SetStrings(const QStringList& lines);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    TNotifyEvent OnChange;

    void Assign(const TPersistent* source) override;
    void DefineProperties(TDefinedProperties& props) override;

protected:
    void Changed();
    [[noreturn]] void IndexError(int index) const;

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    VK_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    explicit TStringList(const QStringList& lines) { SetStrings(lines); }

    int Count() const override { return static_cast<int>(items_.size()); }
    QString Get(int index) const override;
    void Put(int index, const QString& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void InsertObject(int index, const QString& s, TObject* obj) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const QString& s) override;
    int IndexOf(const QString& s) const override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    void Sort();
    // Binary search of a sorted list; index is where s is or would go.
    bool Find(const QString& s, int& index) const;

private:
    struct Item {
        QString Str;
        TObject* Obj = nullptr;
    };
    void Check(int index) const;
    std::vector<Item> items_;
    bool sorted_ = false;
};

// A list of untyped pointers with the library's index checks.
template <class T = void>
class TList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    T* Items(int index) const { Check(index); return items_[static_cast<size_t>(index)]; }
    int Add(T* item) { items_.push_back(item); return Count() - 1; }
    void Insert(int index, T* item)
    {
        if (index < 0 || index > Count())
            Fail(index);
        items_.insert(items_.begin() + index, item);
    }
    void Delete(int index) { Check(index); items_.erase(items_.begin() + index); }
    int IndexOf(const T* item) const
    {
        for (int i = 0; i < Count(); ++i)
            if (items_[static_cast<size_t>(i)] == item)
                return i;
        return -1;
    }
    int Remove(const T* item)
    {
        const int i = IndexOf(item);
        if (i >= 0)
            Delete(i);
        return i;
    }
    void Clear() { items_.clear(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    void Check(int index) const
    {
        if (index < 0 || index >= Count())
            Fail(index);
    }
    [[noreturn]] static void Fail(int index)
    {
        throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
    }
    std::vector<T*> items_;
};
