#pragma once
// TObject and its class references. Every class of the library carries a
// metaclass object (TClassInfo) with its name, its parent class, the factory
// of its virtual constructor and its published properties, fields and methods.
#include "Value.h"

#include <any>
#include <functional>
#include <mutex>
#include <typeindex>
#include <utility>
#include <vector>

class TObject;
class TComponent;
class TClassInfo;
using TClass = const TClassInfo*;

enum class TPropKind { Integer, Int64, Enum, Set, Bool, Float, String, Object, Component, Event };

// A published property: name, type, accessors, default and stored flag.
struct TPropInfo {
    QString Name;
    TPropKind Kind = TPropKind::Integer;
    const TEnumInfo* Enum = nullptr;  // Enum, Set: the (element) enumeration
    TClass Class = nullptr;           // Object, Component: the declared class
    std::optional<TValue> Default;    // ordinal kinds: written only when different
    // Integer kinds: the values the property keeps; others written through Set
    // are brought into them.
    std::optional<std::pair<qint64, qint64>> Range;
    // The values the property takes depend on other properties or on where the
    // object stands (a parent, a list of items, a file to open): a value written
    // on its own may be refused or adjusted, while a whole stream reads back.
    bool DependsOnContext = false;

    std::function<TValue(const TObject*)> Get;         // value kinds
    std::function<void(TObject*, const TValue&)> Set;  // value kinds
    std::function<TObject*(const TObject*)> GetObject;  // Object, Component
    std::function<void(TObject*, TObject*)> SetObject;  // Component
    std::function<QString(const TObject*)> GetMethod;   // Event: name of the bound handler
    std::function<void(TObject*, TObject* root, const QString& method)> BindMethod;  // Event
    std::function<bool(const TObject*)> Stored;         // optional stored condition

    // True when the property holds its default and is not to be written.
    bool HoldsDefault(const TObject* instance) const;
    bool IsStored(const TObject* instance) const { return !Stored || Stored(instance); }
};

// A published method: an event handler that streams bind by name.
struct TMethodInfo {
    QString Name;
    std::type_index Signature = typeid(void);  // std::function type of the handler
    std::function<std::any(TObject*)> Bind;    // gives that std::function bound to an instance
};

// A published field: a member that refers to the component of the same name.
struct TFieldInfo {
    QString Name;
    TClass Class = nullptr;
    std::function<TObject*(const TObject*)> Get;
    std::function<void(TObject*, TObject*)> Set;
};

class TClassInfo {
public:
    TClassInfo(QString name, TClass parent, std::function<TObject*()> factory);
    const QString& Name() const { return name_; }
    TClass Parent() const { return parent_; }
    bool InheritsFrom(TClass other) const;
    bool IsAbstract() const { return !factory_; }
    bool IsComponent() const;

    // The virtual constructor: allocates and runs Create(owner).
    TComponent* CreateComponent(TComponent* owner) const;
    // Allocates an instance without running a two-phase constructor.
    TObject* NewInstance() const;

    // Ancestors' first; made once, when the class is complete.
    const std::vector<const TPropInfo*>& Properties() const;
    const TPropInfo* FindProperty(QStringView name) const;
    const TPropInfo* FindProperty(const QString& name) const { return FindProperty(QStringView(name)); }
    const TMethodInfo* FindMethod(const QString& name) const;
    std::vector<const TFieldInfo*> Fields() const;
    const TFieldInfo* FindField(const QString& name) const;

    std::vector<TPropInfo> OwnProperties;
    std::vector<TMethodInfo> OwnMethods;
    std::vector<TFieldInfo> OwnFields;

private:
    std::vector<const TPropInfo*> MergedProperties() const;

    QString name_;
    TClass parent_;
    std::function<TObject*()> factory_;
    // writing a layout asks for every element's properties
    mutable std::once_flag propertiesMade_;
    mutable std::vector<const TPropInfo*> properties_;
};

// Inside a class body: declares the class reference and its parent.
#define VK_CLASS(Cls, Base)                                              \
public:                                                                  \
    using inherited = Base;                                              \
    static TClass ClassInfo();                                           \
    TClass ClassType() const override { return Cls::ClassInfo(); }      \
                                                                         \
private:

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static TClass ClassInfo();
    virtual TClass ClassType() const { return ClassInfo(); }
    QString ClassName() const;
    bool InheritsFrom(TClass cls) const { return ClassType()->InheritsFrom(cls); }
    template <class T>
    bool Is() const { return dynamic_cast<const T*>(this) != nullptr; }

    // Destroy runs the destructor logic with full virtual dispatch; Free then
    // releases the memory.
    virtual void Destroy() {}
    void Free();
};

// Nil-safe free.
inline void Free(TObject* obj)
{
    if (obj)
        obj->Free();
}

template <class T>
void FreeAndNil(T*& ref)
{
    T* obj = ref;
    ref = nullptr;
    Free(obj);
}

// Checked cast: nil passes, an object of another class raises EInvalidCast.
[[noreturn]] void RaiseInvalidCast();
template <class T>
T* As(TObject* obj)
{
    if (!obj)
        return nullptr;
    if (T* t = dynamic_cast<T*>(obj))
        return t;
    RaiseInvalidCast();
}
