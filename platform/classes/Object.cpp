#include "Object.h"
#include "Component.h"
#include "rtl/Exceptions.h"

TClassInfo::TClassInfo(QString name, TClass parent, std::function<TObject*()> factory)
    : name_(std::move(name)), parent_(parent), factory_(std::move(factory))
{
}

bool TClassInfo::InheritsFrom(TClass other) const
{
    for (TClass c = this; c; c = c->parent_)
        if (c == other)
            return true;
    return false;
}

bool TClassInfo::IsComponent() const { return InheritsFrom(TComponent::ClassInfo()); }

TObject* TClassInfo::NewInstance() const
{
    if (!factory_)
        throw EInvalidOperation(QStringLiteral("Cannot create an instance of abstract class %1").arg(name_));
    return factory_();
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const
{
    if (!IsComponent())
        throw EInvalidCast(QString::fromLatin1(rtlstr::SInvalidCast));
    auto* c = static_cast<TComponent*>(NewInstance());
    return ConstructComponent(c, owner);
}

const std::vector<const TPropInfo*>& TClassInfo::Properties() const
{
    std::call_once(propertiesMade_, [this] { properties_ = MergedProperties(); });
    return properties_;
}

std::vector<const TPropInfo*> TClassInfo::MergedProperties() const
{
    std::vector<const TPropInfo*> out = parent_ ? parent_->Properties() : std::vector<const TPropInfo*>{};
    for (const TPropInfo& p : OwnProperties) {
        // a redeclaration in a descendant (say, a changed default) replaces the ancestor's
        auto same = std::find_if(out.begin(), out.end(), [&](const TPropInfo* q) {
            return q->Name.compare(p.Name, Qt::CaseInsensitive) == 0;
        });
        if (same != out.end())
            *same = &p;
        else
            out.push_back(&p);
    }
    return out;
}

const TPropInfo* TClassInfo::FindProperty(QStringView name) const
{
    // streams spell the names as declared: an exact match spares comparing
    // each name without case
    for (const TPropInfo* p : Properties())
        if (p->Name == name)
            return p;
    for (TClass c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->OwnProperties)
            if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &p;
    return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(const QString& name) const
{
    for (TClass c = this; c; c = c->parent_)
        for (const TMethodInfo& m : c->OwnMethods)
            if (m.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &m;
    return nullptr;
}

std::vector<const TFieldInfo*> TClassInfo::Fields() const
{
    std::vector<const TFieldInfo*> out = parent_ ? parent_->Fields() : std::vector<const TFieldInfo*>{};
    for (const TFieldInfo& f : OwnFields)
        out.push_back(&f);
    return out;
}

const TFieldInfo* TClassInfo::FindField(const QString& name) const
{
    for (TClass c = this; c; c = c->parent_)
        for (const TFieldInfo& f : c->OwnFields)
            if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &f;
    return nullptr;
}

bool TPropInfo::HoldsDefault(const TObject* instance) const
{
    switch (Kind) {
    case TPropKind::Object: return false;  // sub-objects write their own properties
    case TPropKind::Component: return GetObject(instance) == nullptr;
    case TPropKind::Event: return GetMethod(instance).isEmpty();
    case TPropKind::String: {
        const TValue v = Get(instance);
        return Default ? v == *Default : v.Str.isEmpty();
    }
    case TPropKind::Float: {
        const TValue v = Get(instance);
        return Default ? v.Float == Default->AsFloat() : v.Float == 0;
    }
    default: return Default && Get(instance) == *Default;
    }
}

TClass TObject::ClassInfo()
{
    static const TClassInfo info(QStringLiteral("TObject"), nullptr, nullptr);
    return &info;
}

QString TObject::ClassName() const { return ClassType()->Name(); }

void TObject::Free()
{
    Destroy();
    delete this;
}

void RaiseInvalidCast() { throw EInvalidCast(QString::fromLatin1(rtlstr::SInvalidCast)); }

#include "Published.h"
namespace published {
void InvalidValue(const QString& property)
{
    throw EReadError(QStringLiteral("Invalid property value (%1)").arg(property));
}
}  // namespace published
