#pragma once
// TPersistent and TComponent: ownership, names and free notification.
//
// Components are built in two phases: the C++ constructor only initialises
// members, then the virtual Create(owner) runs with the complete object, so a
// virtual call made while an ancestor's Create runs already reaches the
// override of the class being built. Always create components with New<T>()
// or a class reference's CreateComponent; always end them with Free().
#include "Events.h"
#include "Object.h"

#include <QHash>
#include <vector>

// A property a persistent object writes beside its published ones
// (a string list's Strings, a picture's Data).
struct TDefinedProperty {
    QString Name;
    std::function<bool()> HasData;
    std::function<TValue()> Write;
    std::function<void(const TValue&)> Read;
};
using TDefinedProperties = std::vector<TDefinedProperty>;

class TPersistent : public TObject {
    VK_CLASS(TPersistent, TObject)
public:
    // Copies the source's state; raises EConvertError when the classes do not fit.
    virtual void Assign(const TPersistent* source);
    virtual void DefineProperties(TDefinedProperties&) {}

protected:
    virtual void AssignTo(TPersistent* dest) const;
};

VK_ENUM(TOperation, opInsert, opRemove)
VK_ENUM(TComponentStateFlag, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
        csFixups, csFreeNotification, csInline)
using TComponentState = TSet<TComponentStateFlag>;

class TComponent : public TPersistent {
    VK_CLASS(TComponent, TPersistent)
public:
    virtual void Create(TComponent* owner);
    void Destroy() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // raises EListError out of range
    int ComponentIndex() const;
    const QString& Name() const { return name_; }
    virtual void SetName(const QString& name);
    int Tag = 0;
    TComponentState ComponentState;

    TComponent* FindComponent(const QString& name) const;  // case-insensitive
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) before the component goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);
    virtual void Notification(TComponent* component, TOperation operation);

    // Streaming hooks.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent*) {}
    virtual void Loaded();  // after a stream was read and references fixed up

    bool IsLoading() const { return ComponentState.Contains(csLoading); }
    bool IsDestroying() const { return ComponentState.Contains(csDestroying); }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void ClearPublishedFields(TComponent* component);
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);

    TComponent* owner_ = nullptr;
    QString name_;
    std::vector<TComponent*> components_;
    // The named ones of components_ by case-folded name: reading a layout
    // looks up every name it gives.
    QHash<QString, TComponent*> names_;
    std::vector<TComponent*> freeNotifies_;
};

bool IsValidIdent(const QString& ident);

// Runs the two-phase construction of an allocated component; on failure the
// partly built object is destroyed and the exception continues.
TComponent* ConstructComponent(TComponent* instance, TComponent* owner);

template <class T>
T* New(TComponent* owner)
{
    return static_cast<T*>(ConstructComponent(new T(), owner));
}

// Roots that component references across forms ("Form2.Table1") resolve
// against: forms and data modules add themselves while they live.
void AddGlobalRoot(TComponent* root);
void RemoveGlobalRoot(TComponent* root);
TComponent* FindGlobalComponent(const QString& name);
