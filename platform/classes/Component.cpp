#include "Component.h"
#include "Owned.h"
#include "Published.h"
#include "rtl/Exceptions.h"

#include <algorithm>

namespace {
// Takes one entry out of a list; lists are mostly emptied from the end, so
// the search starts there.
void EraseLast(std::vector<TComponent*>& list, TComponent* item)
{
    auto it = std::find(list.rbegin(), list.rend(), item);
    if (it != list.rend())
        list.erase(std::next(it).base());
}
}  // namespace

VK_PUBLISHED(TPersistent) {}

void TPersistent::Assign(const TPersistent* source)
{
    if (source)
        source->AssignTo(this);
    else
        AssignTo(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const
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
        EraseLast(other->freeNotifies_, this);
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
    // the owner's key, folded once for the look-up and the entry
    const QString key = owner_ && !name.isEmpty() ? name.toCaseFolded() : QString();
    if (!key.isEmpty()) {
        TComponent* other = owner_->names_.value(key, nullptr);
        if (other && other != this)
            throw EComponentError(Format(QString::fromLatin1(rtlstr::SDuplicateName), {name}));
    }
    if (owner_)
        owner_->UnindexName(this);
    name_ = name;
    if (!key.isEmpty())
        owner_->names_.insert(key, this);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return names_.value(name.toCaseFolded(), nullptr);
}

void TComponent::IndexName(TComponent* component)
{
    if (!component->name_.isEmpty())
        names_.insert(component->name_.toCaseFolded(), component);
}

void TComponent::UnindexName(TComponent* component)
{
    if (component->name_.isEmpty())
        return;
    auto it = names_.find(component->name_.toCaseFolded());
    if (it != names_.end() && it.value() == component)
        names_.erase(it);
}

void TComponent::Insert(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
    IndexName(component);
}

void TComponent::Remove(TComponent* component)
{
    EraseLast(components_, component);
    UnindexName(component);
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
    EraseLast(freeNotifies_, component);
    if (component)
        EraseLast(component->freeNotifies_, this);
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
    // A component that goes has told everyone who asked for free notification
    // itself, so its siblings need not hear; telling each of them would make
    // freeing a form cost the square of its components. One that changes owner
    // still reaches every component this one owns.
    if (component->IsDestroying())
        return;
    // walked by index from the end: a notified component may free others
    for (size_t i = components_.size(); i > 0;) {
        --i;
        if (components_[i] != component)
            components_[i]->Notification(component, operation);
        i = std::min(i, components_.size());
    }
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
