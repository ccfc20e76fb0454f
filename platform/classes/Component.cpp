#include "Component.h"
#include "Owned.h"
#include "Published.h"
#include "rtl/Exceptions.h"

#include <algorithm>

VK_PUBLISHED(TPersistent) {}

void TPersistent::Assign(TPersistent* source)
{
    if (source)
        source->AssignTo(this);
    else
        AssignTo(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest)
{
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                            .arg(ClassName(), dest ? dest->ClassName() : QStringLiteral("nil")));
}

VK_PUBLISHED(TComponent)
{
    c.Prop("Name", &TComponent::Name, &TComponent::SetName).Stored([](const TObject*) { return false; });
    c.Prop("Tag", &TComponent::Tag).Default(0);
}

bool IsValidIdent(const QString& ident)
{
    if (ident.isEmpty())
        return false;
    auto alpha = [](QChar ch) { return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || ch == u'_'; };
    if (!alpha(ident[0]))
        return false;
    return std::all_of(ident.begin(), ident.end(), [&](QChar ch) { return alpha(ch) || (ch >= u'0' && ch <= u'9'); });
}

TComponent* ConstructComponent(TComponent* instance, TComponent* owner)
{
    TOwned<TComponent> made(instance);
    instance->Create(owner);
    return made.release();
}

void TComponent::Create(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

void TComponent::Destroy()
{
    ComponentState.Include(csDestroying);
    // everyone who asked hears of the end before anything goes
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        auto& back = other->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
    RemoveGlobalRoot(this);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(Format(QString::fromLatin1(rtlstr::SListIndexError), {QString::number(index)}));
    return components_[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetName(const QString& name)
{
    if (name_ == name)
        return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(Format(QString::fromLatin1(rtlstr::SInvalidName), {name}));
    if (owner_ && !name.isEmpty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this)
            throw EComponentError(Format(QString::fromLatin1(rtlstr::SDuplicateName), {name}));
    }
    name_ = name;
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (c->name_.compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component->name_.isEmpty() && FindComponent(component->name_))
        throw EComponentError(Format(QString::fromLatin1(rtlstr::SDuplicateName), {component->name_}));
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    Insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* last = components_.back();
        Remove(last);
        last->Free();
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
        freeNotifies_.push_back(component);
    auto& back = component->freeNotifies_;
    if (std::find(back.begin(), back.end(), this) == back.end())
        back.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
    if (component) {
        auto& back = component->freeNotifies_;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
    }
}

void TComponent::ClearPublishedFields(TComponent* component)
{
    for (const TFieldInfo* f : ClassType()->Fields())
        if (f->Get(this) == component)
            f->Set(this, nullptr);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation != opRemove || !component)
        return;
    RemoveFreeNotification(component);
    ClearPublishedFields(component);
    // the components this one owns hear of their siblings' removal too
    const std::vector<TComponent*> owned = components_;
    for (TComponent* c : owned)
        if (c != component && std::find(components_.begin(), components_.end(), c) != components_.end())
            c->Notification(component, operation);
}

void TComponent::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TComponent::Loaded() { ComponentState.Exclude(csLoading); }

namespace {
std::vector<TComponent*>& GlobalRoots()
{
    static std::vector<TComponent*> roots;
    return roots;
}
}  // namespace

void AddGlobalRoot(TComponent* root)
{
    auto& roots = GlobalRoots();
    if (std::find(roots.begin(), roots.end(), root) == roots.end())
        roots.push_back(root);
}

void RemoveGlobalRoot(TComponent* root)
{
    auto& roots = GlobalRoots();
    roots.erase(std::remove(roots.begin(), roots.end(), root), roots.end());
}

TComponent* FindGlobalComponent(const QString& name)
{
    for (TComponent* root : GlobalRoots())
        if (root->Name().compare(name, Qt::CaseInsensitive) == 0)
            return root;
    return nullptr;
}
