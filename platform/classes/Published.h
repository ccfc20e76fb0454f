#pragma once
// Declaring published properties, fields and methods. In a class's source:
//
//   VK_PUBLISHED(TQRShape)
//   {
//       c.Prop("Shape", &TQRShape::Shape, &TQRShape::SetShape).Default(qrsRectangle);
//       c.Prop("Pen", &TQRShape::Pen);           // sub-object, streamed as Pen.Color ...
//       c.Prop("OnClick", &TQRShape::OnClick);   // event member
//   }
//
// Range(lowest, highest) names the values an integer property keeps,
// FloatRange(lowest, highest) those of a float property, and
// DependsOnContext() marks a property whose valid values follow from other
// properties or from the object's surroundings (ItemIndex needs items).
//
// The property's type follows from the accessors: int, qint64, bool, double,
// QString, a VK_ENUM enumeration, a TSet of one, a pointer to a component
// (a reference) or to another persistent (a sub-object), a TEvent member.
#include "Component.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cmath>
#include <concepts>
#include <limits>
#include <type_traits>

namespace published {

[[noreturn]] void InvalidValue(const QString& property);

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<TSet<E>> : std::true_type {
    using Element = E;
};
template <class T>
struct IsEvent : std::false_type {};
// A type with its own stream form (say, a colour written as clWhite or as a
// number) provides VkStreamOut(T) and VkStreamIn(const TValue&, T*).
template <class T>
concept CustomStreamed = requires(T v, const TValue& tv) {
    { VkStreamOut(v) } -> std::same_as<TValue>;
    { VkStreamIn(tv, static_cast<T*>(nullptr)) } -> std::same_as<T>;
};
template <class... A>
struct IsEvent<TEvent<A...>> : std::true_type {};

// Conversion of a C++ value type to and from stream values.
template <class T>
struct Traits {
    static constexpr TPropKind Kind()
    {
        if constexpr (CustomStreamed<T>)
            return TPropKind::Integer;
        else if constexpr (std::is_same_v<T, bool>)
            return TPropKind::Bool;
        else if constexpr (std::is_enum_v<T>)
            return TPropKind::Enum;
        else if constexpr (IsSet<T>::value)
            return TPropKind::Set;
        else if constexpr (std::is_same_v<T, qint64>)
            return TPropKind::Int64;
        else if constexpr (std::is_integral_v<T>)
            return TPropKind::Integer;
        else if constexpr (std::is_floating_point_v<T>)
            return TPropKind::Float;
        else
            return TPropKind::String;
    }
    static const TEnumInfo* Enum()
    {
        if constexpr (CustomStreamed<T>)
            return nullptr;
        else if constexpr (std::is_enum_v<T>)
            return &EnumInfoOf(T{});
        else if constexpr (IsSet<T>::value)
            return &EnumInfoOf(typename IsSet<T>::Element{});
        else
            return nullptr;
    }
    static TValue To(const T& v)
    {
        if constexpr (CustomStreamed<T>)
            return VkStreamOut(v);
        else if constexpr (std::is_same_v<T, bool>)
            return TValue::Boolean(v);
        else if constexpr (std::is_enum_v<T>)
            return TValue::Ident(EnumInfoOf(v).NameOf(static_cast<int>(v)));
        else if constexpr (IsSet<T>::value) {
            QStringList names;
            const TEnumInfo& e = *Enum();
            for (int i = 0; i < e.Count(); ++i)
                if (v.Bits() & (std::uint64_t(1) << i))
                    names << e.NameOf(i);
            return TValue::SetOf(names);
        } else if constexpr (std::is_integral_v<T>)
            return TValue::Integer(v);
        else if constexpr (std::is_floating_point_v<T>)
            return TValue::Extended(v);
        else
            return TValue::String(v);
    }
    static T From(const TValue& v, const QString& prop)
    {
        if constexpr (CustomStreamed<T>) {
            return VkStreamIn(v, static_cast<T*>(nullptr));  // raises on a value it cannot take
        } else if constexpr (std::is_same_v<T, bool>) {
            if (!v.IsBoolean())
                InvalidValue(prop);
            return v.AsBoolean();
        } else if constexpr (std::is_enum_v<T>) {
            const int ord = v.Type == TValueType::Ident ? Enum()->ValueOf(v.Str) : -1;
            if (ord < 0)
                InvalidValue(prop);
            return static_cast<T>(ord);
        } else if constexpr (IsSet<T>::value) {
            if (v.Type != TValueType::Set)
                InvalidValue(prop);
            std::uint64_t bits = 0;
            for (const QString& name : v.Set) {
                const int ord = Enum()->ValueOf(name);
                if (ord < 0)
                    InvalidValue(prop);
                bits |= std::uint64_t(1) << ord;
            }
            return T::FromBits(bits);
        } else if constexpr (std::is_integral_v<T>) {
            if (!v.IsInteger())
                InvalidValue(prop);
            if constexpr (sizeof(T) < sizeof(qint64))
                if (v.Int < std::numeric_limits<T>::min() || v.Int > std::numeric_limits<T>::max())
                    InvalidValue(prop);
            return static_cast<T>(v.Int);
        } else if constexpr (std::is_floating_point_v<T>) {
            // no property has a use for a value that is not a number
            if ((!v.IsInteger() && !v.IsFloat()) || !std::isfinite(v.AsFloat()))
                InvalidValue(prop);
            return static_cast<T>(v.AsFloat());
        } else {
            if (!v.IsString())
                InvalidValue(prop);
            return v.Str;
        }
    }
};

template <class C>
C* Self(TObject* o)
{
    return static_cast<C*>(o);
}
template <class C>
const C* Self(const TObject* o)
{
    return static_cast<const C*>(o);
}

}  // namespace published

// Chained settings of one declared property.
class TPropRef {
public:
    explicit TPropRef(TPropInfo& info) : info_(info) {}
    template <class T>
    TPropRef& Default(const T& value)
    {
        info_.Default = published::Traits<T>::To(value);
        return *this;
    }
    TPropRef& Stored(std::function<bool(const TObject*)> stored)
    {
        info_.Stored = std::move(stored);
        return *this;
    }
    // Values written through the type information (by a stream, say) are
    // brought into the range, so that no reader hands the class a value it
    // cannot take.
    TPropRef& Range(qint64 lowest, qint64 highest)
    {
        info_.Range = std::make_pair(lowest, highest);
        info_.Set = [set = std::move(info_.Set), lowest, highest](TObject* o, const TValue& v) {
            set(o, v.IsInteger() ? TValue::Integer(std::clamp<qint64>(v.Int, lowest, highest)) : v);
        };
        return *this;
    }
    // Finite values are clamped; those that are not numbers stay refused.
    TPropRef& FloatRange(double lowest, double highest)
    {
        info_.Set = [set = std::move(info_.Set), lowest, highest](TObject* o, const TValue& v) {
            const bool number = v.IsInteger() || (v.IsFloat() && std::isfinite(v.Float));
            set(o, number ? TValue::Extended(std::clamp(v.AsFloat(), lowest, highest)) : v);
        };
        return *this;
    }
    TPropRef& DependsOnContext()
    {
        info_.DependsOnContext = true;
        return *this;
    }

private:
    TPropInfo& info_;
};

template <class C>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : info_(info) {}

    static const TClassInfo* Build(const char* name, void (*declare)(TClassBuilder<C>&))
    {
        static TClassInfo info(QString::fromLatin1(name), C::inherited::ClassInfo(), Factory());
        TClassBuilder<C> builder(info);
        declare(builder);
        return &info;
    }

    // A value or reference property with a getter and a setter.
    template <class B1, class G, class B2, class S>
    TPropRef Prop(const char* name, G (B1::*get)() const, void (B2::*set)(S))
    {
        using T = std::remove_cv_t<std::remove_reference_t<G>>;
        if constexpr (std::is_pointer_v<T>)
            return Reference<std::remove_pointer_t<T>>(
                name, [get](const TObject* o) { return (published::Self<C>(o)->*get)(); },
                [set](TObject* o, std::remove_pointer_t<T>* v) { (published::Self<C>(o)->*set)(v); });
        else
            return Value<T>(name, [get](const TObject* o) { return T((published::Self<C>(o)->*get)()); },
                            [set](TObject* o, const T& v) { (published::Self<C>(o)->*set)(v); });
    }

    // A sub-object (a persistent the class owns), by its getter: the const
    // getter of one held by pointer, or the non-const getter of one held by
    // value. The stream reaches a sub-object through the table both to write
    // it and to read into it, so the table hands it out for writing.
    template <class B, class T>
        requires(!std::is_const_v<T>)
    TPropRef Prop(const char* name, T* (B::*get)() const)
    {
        return SubObject<T>(name, [get](const TObject* o) { return (published::Self<C>(o)->*get)(); });
    }
    template <class B, class T>
    TPropRef Prop(const char* name, T* (B::*get)())
    {
        return SubObject<T>(name,
                            [get](const TObject* o) { return (published::Self<C>(const_cast<TObject*>(o))->*get)(); });
    }

    // A value, reference or event stored in a public member.
    template <class B, class T>
    TPropRef Prop(const char* name, T B::*member)
    {
        if constexpr (published::IsEvent<T>::value)
            return Event(name, member);
        else if constexpr (std::is_pointer_v<T>)
            return Reference<std::remove_pointer_t<T>>(
                name, [member](const TObject* o) { return published::Self<C>(o)->*member; },
                [member](TObject* o, std::remove_pointer_t<T>* v) { published::Self<C>(o)->*member = v; });
        else
            return Value<T>(name, [member](const TObject* o) { return published::Self<C>(o)->*member; },
                            [member](TObject* o, const T& v) { published::Self<C>(o)->*member = v; });
    }

    // A published field, bound to the component of its name after reading.
    template <class B, class T>
    void Field(const char* name, T* B::*member)
    {
        TFieldInfo f;
        f.Name = QString::fromLatin1(name);
        f.Class = T::ClassInfo();
        f.Get = [member](const TObject* o) -> TObject* { return published::Self<C>(o)->*member; };
        f.Set = [member](TObject* o, TObject* v) { published::Self<C>(o)->*member = dynamic_cast<T*>(v); };
        info_.OwnFields.push_back(std::move(f));
    }

    // A published method: an event handler that streams bind by name.
    template <class B, class... A>
    void Method(const char* name, void (B::*method)(A...))
    {
        using Handler = std::function<void(A...)>;
        TMethodInfo m;
        m.Name = QString::fromLatin1(name);
        m.Signature = typeid(Handler);
        m.Bind = [method](TObject* o) {
            C* self = published::Self<C>(o);
            return std::any(Handler([self, method](A... args) { (self->*method)(std::forward<A>(args)...); }));
        };
        info_.OwnMethods.push_back(std::move(m));
    }

private:
    static std::function<TObject*()> Factory()
    {
        if constexpr (std::is_abstract_v<C> || !std::is_default_constructible_v<C>)
            return nullptr;
        else
            return [] { return static_cast<TObject*>(new C()); };
    }

    TPropInfo& Add(const char* name, TPropKind kind)
    {
        TPropInfo p;
        p.Name = QString::fromLatin1(name);
        p.Kind = kind;
        info_.OwnProperties.push_back(std::move(p));
        return info_.OwnProperties.back();
    }

    template <class T, class Get, class Set>
    TPropRef Value(const char* name, Get get, Set set)
    {
        using Tr = published::Traits<T>;
        TPropInfo& p = Add(name, Tr::Kind());
        p.Enum = Tr::Enum();
        const QString prop = p.Name;
        p.Get = [get](const TObject* o) { return Tr::To(get(o)); };
        p.Set = [set, prop](TObject* o, const TValue& v) { set(o, Tr::From(v, prop)); };
        return TPropRef(p);
    }

    template <class T, class Get>
    TPropRef SubObject(const char* name, Get get)
    {
        TPropInfo& p = Add(name, TPropKind::Object);
        p.Class = T::ClassInfo();
        p.GetObject = [get](const TObject* o) -> TObject* { return get(o); };
        return TPropRef(p);
    }

    template <class T, class Get, class Set>
    TPropRef Reference(const char* name, Get get, Set set)
    {
        constexpr bool isComponent = std::is_base_of_v<TComponent, T>;
        TPropInfo& p = Add(name, isComponent ? TPropKind::Component : TPropKind::Object);
        p.Class = T::ClassInfo();
        p.GetObject = [get](const TObject* o) -> TObject* { return get(o); };
        const QString prop = p.Name;
        p.SetObject = [set, prop](TObject* o, TObject* v) {
            T* typed = dynamic_cast<T*>(v);
            if (v && !typed)
                published::InvalidValue(prop);
            set(o, typed);
        };
        return TPropRef(p);
    }

    template <class B, class... A>
    TPropRef Event(const char* name, TEvent<A...> B::*member)
    {
        using Handler = std::function<void(A...)>;
        TPropInfo& p = Add(name, TPropKind::Event);
        p.GetMethod = [member](const TObject* o) { return published::Self<C>(o)->*member ? (published::Self<C>(o)->*member).Method : QString(); };
        const QString prop = p.Name;
        p.BindMethod = [member, prop](TObject* o, TObject* root, const QString& method) {
            TEvent<A...>& ev = published::Self<C>(o)->*member;
            if (method.isEmpty()) {
                ev = TEvent<A...>();
                return;
            }
            const TMethodInfo* m = root ? root->ClassType()->FindMethod(method) : nullptr;
            if (!m)
                throw EReadError(QStringLiteral("Method %1 for %2 not found").arg(method, prop));
            if (m->Signature != typeid(Handler))
                published::InvalidValue(prop);
            ev.Bind(root, m->Name, std::any_cast<Handler>(m->Bind(root)));
        };
        return TPropRef(p);
    }

    TClassInfo& info_;
};

// Defines Cls::ClassInfo() and opens the declaration body; `c` is the builder.
#define VK_PUBLISHED(Cls)                                                                  \
    static void vk_declare_##Cls([[maybe_unused]] TClassBuilder<Cls>& c);                  \
    TClass Cls::ClassInfo()                                                                \
    {                                                                                      \
        static const TClassInfo* info = TClassBuilder<Cls>::Build(#Cls, &vk_declare_##Cls); \
        return info;                                                                       \
    }                                                                                      \
    static void vk_declare_##Cls([[maybe_unused]] TClassBuilder<Cls>& c)
