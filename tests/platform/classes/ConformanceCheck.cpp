#include "ConformanceCheck.h"
#include "classes/ClassRegistry.h"
#include "classes/Published.h"
#include "classes/Streaming.h"

#include <limits>

namespace {

bool IsValueKind(TPropKind kind)
{
    return kind != TPropKind::Object && kind != TPropKind::Component && kind != TPropKind::Event;
}

// An integer other than now, inside the property's declared range if it has one.
qint64 OtherInteger(const TPropInfo& p, qint64 now, int salt)
{
    const qint64 lowest = p.Range ? p.Range->first : 0;
    const qint64 span = p.Range ? p.Range->second - lowest + 1 : std::numeric_limits<qint64>::max();
    const qint64 wanted = lowest + (7 + salt) % span;
    return wanted == now ? lowest + (wanted - lowest + 1) % span : wanted;
}

// A value of the property's type that differs from the present one; strings
// are identifiers so that names and the like accept them too.
TValue OtherValue(const TPropInfo& p, const TValue& now, int salt)
{
    switch (p.Kind) {
    case TPropKind::Integer:
    case TPropKind::Int64: return TValue::Integer(OtherInteger(p, now.Int, salt));
    case TPropKind::Bool: return TValue::Boolean(!now.AsBoolean());
    case TPropKind::Float: return TValue::Extended(now.AsFloat() + 1.25);
    case TPropKind::String: return TValue::String(QStringLiteral("Vk%1%2").arg(p.Name).arg(salt));
    case TPropKind::Enum: {
        const int ord = p.Enum->ValueOf(now.Str);
        return TValue::Ident(p.Enum->NameOf((ord + 1) % p.Enum->Count()));
    }
    case TPropKind::Set: {
        QStringList names = now.Set;
        const QString first = p.Enum->NameOf(0);
        if (names.removeAll(first) == 0)
            names.prepend(first);
        return TValue::SetOf(names);
    }
    default: return now;
    }
}

// Names the lines of the text forms of two trees that differ (for the
// failure text), or says that only their order differs.
QString TreeDifference(const TObjectNode& want, const TObjectNode& got)
{
    const QStringList a = WriteObjectText(want).split(u'\n'), b = WriteObjectText(got).split(u'\n');
    QStringList lines;
    for (const QString& line : a)
        if (!b.contains(line))
            lines << QStringLiteral("written ") + line.trimmed();
    for (const QString& line : b)
        if (!a.contains(line))
            lines << QStringLiteral("read back ") + line.trimmed();
    return lines.isEmpty() ? QStringLiteral("order differs") : lines.join(QStringLiteral("; "));
}

class TChecker {
public:
    explicit TChecker(TClass cls) : cls_(cls) {}

    QStringList Run()
    {
        try {
            TComponent* fresh = cls_->CreateComponent(nullptr);
            Guarded(fresh, [&] {
                Defaults(fresh);
                DefaultsLeftOut(fresh);
            });
            TComponent* changed = cls_->CreateComponent(nullptr);
            Guarded(changed, [&] {
                ReadBack(changed);
                RoundTrips(changed);
            });
        } catch (const Exception& e) {
            Fail(QStringLiteral("raised %1: %2").arg(QLatin1String(e.ClassName()), e.Message()));
        }
        return failures_;
    }

private:
    template <class F>
    void Guarded(TComponent* c, F check)
    {
        try {
            check();
        } catch (...) {
            c->Free();
            throw;
        }
        c->Free();
    }

    void Fail(const QString& what) { failures_ << what; }

    // Walks the value properties of an object and of its sub-objects.
    template <class F>
    void EachValueProperty(TObject* obj, const QString& prefix, int depth, F f)
    {
        if (depth > 8)
            return;
        for (const TPropInfo* p : obj->ClassType()->Properties()) {
            if (p->Kind == TPropKind::Object) {
                if (TObject* sub = p->GetObject(obj))
                    EachValueProperty(sub, prefix + p->Name + u'.', depth + 1, f);
            } else if (IsValueKind(p->Kind)) {
                f(obj, *p, prefix + p->Name);
            }
        }
    }

    void Defaults(TComponent* fresh)
    {
        EachValueProperty(fresh, QString(), 0, [&](TObject* obj, const TPropInfo& p, const QString& name) {
            if (p.Default && p.IsStored(obj) && !p.HoldsDefault(obj))
                Fail(QStringLiteral("%1 of a new object is not its declared default").arg(name));
            if (p.Default && p.Range && (p.Default->Int < p.Range->first || p.Default->Int > p.Range->second))
                Fail(QStringLiteral("%1 declares a default outside its range").arg(name));
        });
    }

    void DefaultsLeftOut(TComponent* fresh)
    {
        const QString text = WriteComponentText(fresh);
        EachValueProperty(fresh, QString(), 0, [&](TObject*, const TPropInfo& p, const QString& name) {
            if (p.Default && text.contains(u'\n' + QStringLiteral("  ") + name + QStringLiteral(" = ")))
                Fail(QStringLiteral("the text form of a new object writes %1 at its default").arg(name));
        });
    }

    void ReadBack(TComponent* changed)
    {
        int salt = 0;
        EachValueProperty(changed, QString(), 0, [&](TObject* obj, const TPropInfo& p, const QString& name) {
            if (!p.Set || p.DependsOnContext)
                return;  // a lone value of a context-dependent property proves nothing
            const TValue wanted = OtherValue(p, p.Get(obj), salt++);
            try {
                p.Set(obj, wanted);
            } catch (const Exception& e) {
                return Fail(QStringLiteral("%1 refused a new value: %2").arg(name, e.Message()));
            }
            if (p.Get(obj) != wanted)
                Fail(QStringLiteral("%1 does not read back what was written").arg(name));
        });
    }

    void RoundTrips(TComponent* changed)
    {
        const TObjectNode tree = WriteComponentNode(changed);
        if (ReadObjectStream(WriteObjectStream(tree)) != tree)
            Fail(QStringLiteral("the binary round trip changes the tree"));
        if (ReadObjectText(WriteObjectText(tree)) != tree)
            Fail(QStringLiteral("the text round trip changes the tree"));
        TComponent* copy = cls_->CreateComponent(nullptr);
        Guarded(copy, [&] {
            ReadComponentNode(tree, copy);
            if (WriteComponentNode(copy) != tree)
                Fail(QStringLiteral("reading the tree into a new object does not reproduce it (%1)")
                         .arg(TreeDifference(tree, WriteComponentNode(copy))));
        });
    }

    TClass cls_;
    QStringList failures_;
};

}  // namespace

QStringList CheckComponentClass(TClass cls) { return TChecker(cls).Run(); }

QStringList CheckRegisteredClasses()
{
    QStringList failures;
    for (TClass cls : RegisteredClasses()) {
        if (!cls->IsComponent() || cls->IsAbstract())
            continue;
        for (const QString& f : CheckComponentClass(cls))
            failures << cls->Name() + QStringLiteral(": ") + f;
    }
    return failures;
}
