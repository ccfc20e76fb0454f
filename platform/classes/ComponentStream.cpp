#include "ComponentStream.h"
#include "BinaryStream.h"
#include "ClassRegistry.h"
#include "Collection.h"
#include "Owned.h"
#include "Published.h"
#include "StreamFile.h"
#include "TextForm.h"
#include "rtl/ScopeExit.h"

#include <algorithm>

namespace {

// Sets a state flag for the lifetime of the guard.
class TStateGuard {
public:
    TStateGuard(TComponent* c, TComponentStateFlag flag) : c_(c), flag_(flag) { c_->ComponentState.Include(flag_); }
    ~TStateGuard() { c_->ComponentState.Exclude(flag_); }
    TStateGuard(const TStateGuard&) = delete;
    TStateGuard& operator=(const TStateGuard&) = delete;

private:
    TComponent* c_;
    TComponentStateFlag flag_;
};

TDefinedProperties DefinedPropertiesOf(const TObject* obj)
{
    TDefinedProperties defs;
    // DefineProperties is not const in the class library's shape; it only
    // reports accessors and changes nothing
    if (auto* p = dynamic_cast<TPersistent*>(const_cast<TObject*>(obj)))
        p->DefineProperties(defs);
    return defs;
}

// "Table1" for a component of the root, "Form2.Table1" for one of another root.
QString ReferenceName(const TComponent* ref, const TComponent* root)
{
    const TComponent* owner = ref->Owner();
    if (ref == root || owner == root || !owner || owner->Name().isEmpty())
        return ref->Name();
    return owner->Name() + u'.' + ref->Name();
}

class TComponentWriter {
public:
    explicit TComponentWriter(TComponent* root) : root_(root) {}

    TObjectNode Node(TComponent* c, int depth)
    {
        if (depth > MaxStreamNesting)
            throw EWriteError(QStringLiteral("Components nested too deeply to write (%1)").arg(c->Name()));
        TStateGuard writing(c, csWriting);
        TObjectNode node;
        node.ClassName = c->ClassName();
        node.Name = c->Name();
        Properties(c, QString(), node.Properties, depth);
        c->GetChildren([&](TComponent* child) { node.Children.push_back(Node(child, depth + 1)); }, root_);
        return node;
    }

    void Properties(const TObject* obj, const QString& prefix, TPropertyValues& out, int depth)
    {
        if (depth > MaxStreamNesting)
            throw EWriteError(QStringLiteral("Sub-objects nested too deeply to write (%1)").arg(prefix));
        for (const TPropInfo* p : obj->ClassType()->Properties())
            if (p->IsStored(obj))
                Property(obj, *p, prefix + p->Name, out, depth);
        for (const TDefinedProperty& d : DefinedPropertiesOf(obj))
            if (d.HasData())
                out.emplace_back(prefix + d.Name, d.Write());
    }

private:
    void Property(const TObject* obj, const TPropInfo& p, const QString& name, TPropertyValues& out, int depth)
    {
        switch (p.Kind) {
        case TPropKind::Object: {
            const TObject* sub = p.GetObject(obj);
            if (auto* coll = dynamic_cast<const TCollection*>(sub)) {
                if (coll->Count() > 0)
                    out.emplace_back(name, Collection(coll, depth));
            } else if (sub) {
                Properties(sub, name + u'.', out, depth + 1);
            }
            break;
        }
        case TPropKind::Component: {
            const auto* ref = dynamic_cast<const TComponent*>(p.GetObject(obj));
            if (ref && !ref->Name().isEmpty())  // a nameless component cannot be found again
                out.emplace_back(name, TValue::Ident(ReferenceName(ref, root_)));
            break;
        }
        case TPropKind::Event:
            if (!p.HoldsDefault(obj))
                out.emplace_back(name, TValue::Ident(p.GetMethod(obj)));
            break;
        default:
            if (!p.HoldsDefault(obj))
                out.emplace_back(name, p.Get(obj));
        }
    }

    TValue Collection(const TCollection* coll, int depth)
    {
        TValue v;
        v.Type = TValueType::Collection;
        for (int i = 0; i < coll->Count(); ++i) {
            TCollectionItemValue item;
            Properties(coll->Items(i), QString(), item.Properties, depth + 1);
            v.Items.push_back(std::move(item));
        }
        return v;
    }

    TComponent* root_;
};

[[noreturn]] void PropertyNotFound(const QString& name)
{
    throw EReadError(Format(QString::fromLatin1(rtlstr::SPropertyNotFound), {name}));
}

class TComponentReader {
public:
    explicit TComponentReader(TComponent* root) : root_(root) {}

    void Read(const TObjectNode& node)
    {
        TScopeExit endLoading([this] { EndLoading(); });
        Begin(root_);
        RootName(node.Name);
        ApplyProperties(root_, node.Properties);
        ReadChildren(node, root_);
        Finish();
    }

private:
    struct Fixup {
        TObject* Instance;
        const TPropInfo* Prop;
        QString Name;
    };

    void Begin(TComponent* c)
    {
        c->ComponentState.Include(csLoading);
        c->ComponentState.Include(csReading);
        read_.push_back(c);
    }

    void RootName(const QString& name)
    {
        // a root of the same name beside it keeps the root's present name
        if (name.isEmpty() || (root_->Owner() && root_->Owner()->FindComponent(name)))
            return;
        root_->SetName(name);
    }

    void ReadChildren(const TObjectNode& node, TComponent* enclosing)
    {
        TComponent* owner = enclosing->GetChildOwner() ? enclosing->GetChildOwner() : root_;
        TComponent* parent = enclosing->GetChildParent();
        for (const TObjectNode& child : node.Children)
            ReadChild(child, owner, parent);
    }

    void ReadChild(const TObjectNode& node, TComponent* owner, TComponent* parent)
    {
        TComponent* c = nullptr;
        // an inherited or inline component was made by the ancestor's resource
        if (node.Flags & (TObjectNode::ffInherited | TObjectNode::ffInline))
            c = owner->FindComponent(node.Name);
        if (!c) {
            c = FindComponentClass(node.ClassName)->CreateComponent(owner);
            Begin(c);
            c->SetName(node.Name);
        } else {
            Begin(c);
        }
        // the parent comes before the properties, so bounds apply within it
        c->SetParentComponent(parent);
        ApplyProperties(c, node.Properties);
        ReadChildren(node, c);
    }

    TClass FindComponentClass(const QString& name) const
    {
        TClass cls = nullptr;
        for (const TFieldInfo* f : root_->ClassType()->Fields())
            if (f->Class->Name().compare(name, Qt::CaseInsensitive) == 0)
                cls = f->Class;
        if (!cls)
            cls = GetClass(name);
        if (!cls)
            throw EClassNotFound(Format(QString::fromLatin1(rtlstr::SClassNotFound), {name}));
        if (!cls->IsComponent() || cls->IsAbstract())
            throw EReadError(QStringLiteral("Class %1 cannot be created from a stream").arg(name));
        return cls;
    }

    void ApplyProperties(TObject* instance, const TPropertyValues& props)
    {
        for (const auto& [name, value] : props)
            ApplyProperty(instance, name, value);
    }

    // Names are a few characters: a plain walk, not the library's vectorised search.
    static qsizetype DotIn(QStringView name)
    {
        const auto dot = std::find(name.begin(), name.end(), u'.');
        return dot == name.end() ? -1 : dot - name.begin();
    }

    // Follows a dotted name through sub-objects to the object that holds it.
    void ApplyProperty(TObject* instance, const QString& fullName, const TValue& v)
    {
        TObject* target = instance;
        QStringView name(fullName);
        for (qsizetype dot; (dot = DotIn(name)) >= 0; name = name.mid(dot + 1)) {
            const TPropInfo* p = target->ClassType()->FindProperty(name.left(dot));
            if (!p || p->Kind != TPropKind::Object || !(target = p->GetObject(target)))
                PropertyNotFound(fullName);
        }
        if (const TPropInfo* p = target->ClassType()->FindProperty(name))
            return Assign(target, *p, v);
        for (const TDefinedProperty& d : DefinedPropertiesOf(target))
            if (d.Name.compare(name, Qt::CaseInsensitive) == 0)
                return d.Read(v);
        PropertyNotFound(fullName);
    }

    void Assign(TObject* target, const TPropInfo& p, const TValue& v)
    {
        switch (p.Kind) {
        case TPropKind::Object:
            if (auto* coll = dynamic_cast<TCollection*>(p.GetObject(target)); coll && v.Type == TValueType::Collection)
                return ReadCollection(coll, v);
            published::InvalidValue(p.Name);
        case TPropKind::Component:
            if (v.Type == TValueType::Nil && p.SetObject)
                return p.SetObject(target, nullptr);
            if (v.Type != TValueType::Ident)
                published::InvalidValue(p.Name);
            references_.push_back({target, &p, v.Str});
            return;
        case TPropKind::Event:
            if (v.Type == TValueType::Nil)
                return p.BindMethod(target, root_, QString());
            if (v.Type != TValueType::Ident)
                published::InvalidValue(p.Name);
            events_.push_back({target, &p, v.Str});
            return;
        default:
            if (!p.Set)
                published::InvalidValue(p.Name);
            p.Set(target, v);
        }
    }

    void ReadCollection(TCollection* coll, const TValue& v)
    {
        coll->BeginUpdate();
        TScopeExit endUpdate([coll] { coll->EndUpdate(); });
        coll->Clear();
        for (const TCollectionItemValue& item : v.Items)
            ApplyProperties(coll->Add(), item.Properties);
    }

    TComponent* FindReference(const QString& name) const
    {
        const qsizetype dot = name.indexOf(u'.');
        if (dot >= 0) {
            const QString rootName = name.left(dot);
            TComponent* other = root_->Name().compare(rootName, Qt::CaseInsensitive) == 0 ? root_ : FindGlobalComponent(rootName);
            return other ? other->FindComponent(name.mid(dot + 1)) : nullptr;
        }
        if (TComponent* c = root_->FindComponent(name))
            return c;
        if (root_->Name().compare(name, Qt::CaseInsensitive) == 0)
            return root_;
        for (TComponent* c : read_)  // components that GetChildOwner gave another owner
            if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
                return c;
        return nullptr;
    }

    void Finish()
    {
        // a reference to a component that is not there stays nil, as the
        // class library leaves it; the rest of the file still loads
        for (const Fixup& f : references_)
            if (TComponent* target = FindReference(f.Name); target && f.Prop->SetObject)
                f.Prop->SetObject(f.Instance, target);
        for (const Fixup& f : events_)
            f.Prop->BindMethod(f.Instance, root_, f.Name);
        for (const TFieldInfo* f : root_->ClassType()->Fields())
            if (TComponent* c = root_->FindComponent(f->Name); c && c->InheritsFrom(f->Class))
                f->Set(root_, c);
        for (TComponent* c : read_)
            c->Loaded();
    }

    void EndLoading()
    {
        for (TComponent* c : read_) {
            c->ComponentState.Exclude(csLoading);
            c->ComponentState.Exclude(csReading);
        }
    }

    TComponent* root_;
    std::vector<TComponent*> read_;
    std::vector<Fixup> references_;
    std::vector<Fixup> events_;
};

}  // namespace

TObjectNode WriteComponentNode(TComponent* root) { return WriteComponentNode(root, root); }

TObjectNode WriteComponentNode(TComponent* component, TComponent* root)
{
    return TComponentWriter(root).Node(component, component == root ? 0 : 1);
}

TComponent* ReadComponentNode(const TObjectNode& node, TComponent* root)
{
    if (!root) {
        TClass cls = FindClass(node.ClassName);
        if (!cls->IsComponent() || cls->IsAbstract())
            throw EReadError(QStringLiteral("Class %1 cannot be created from a stream").arg(node.ClassName));
        TOwned<TComponent> made(cls->CreateComponent(nullptr));  // nobody else holds a root made here
        TComponentReader(made.get()).Read(node);
        return made.release();
    }
    TComponentReader(root).Read(node);
    return root;
}

QByteArray WriteComponentStream(TComponent* root) { return WriteObjectStream(WriteComponentNode(root)); }

QByteArray WriteComponentRes(TComponent* root) { return WrapResource(WriteComponentStream(root), root->ClassName()); }

TComponent* ReadComponentRes(const QByteArray& binaryStreamOrResource, TComponent* root)
{
    return ReadComponentNode(ReadObjectData(binaryStreamOrResource), root);
}

void WriteComponentResFile(const QString& fileName, TComponent* root)
{
    WriteComponentResFile(fileName, WriteComponentNode(root));
}

void WriteComponentResFile(const QString& fileName, const TObjectNode& node)
{
    // the whole stream is made before the file is touched
    WriteStreamFile(fileName, WrapResource(WriteObjectStream(node), node.ClassName));
}

TComponent* ReadComponentResFile(const QString& fileName, TComponent* root)
{
    return ReadComponentRes(ReadStreamFile(fileName), root);
}

QString WriteComponentText(TComponent* root) { return WriteObjectText(WriteComponentNode(root)); }

TComponent* ReadComponentText(const QString& text, TComponent* root) { return ReadComponentNode(ReadObjectText(text), root); }
