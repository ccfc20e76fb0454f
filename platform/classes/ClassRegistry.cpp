#include "ClassRegistry.h"
#include "rtl/Exceptions.h"

#include <QHash>
#include <algorithm>
#include <map>

namespace {
struct Registry {
    std::vector<TClass> classes;
    // names as registered: streams spell them so, and a reader asks once per component
    QHash<QString, TClass> byName;
    std::map<QString, std::vector<TClass>> palette;
};
Registry& Reg()
{
    static Registry r;
    return r;
}
}  // namespace

void RegisterClass(TClass cls)
{
    for (TClass c = cls; c; c = c->Parent()) {
        TClass existing = GetClass(c->Name());
        if (existing == c)
            continue;
        if (existing)
            throw EFilerError(Format(QString::fromLatin1(rtlstr::SDuplicateClass), {c->Name()}));
        Reg().classes.push_back(c);
        Reg().byName.insert(c->Name(), c);
    }
}

void RegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass cls)
{
    auto& v = Reg().classes;
    v.erase(std::remove(v.begin(), v.end(), cls), v.end());
    Reg().byName.removeIf([cls](const auto& entry) { return entry.value() == cls; });
}

TClass GetClass(const QString& name)
{
    // registration refuses a second class of a name in another case, so an
    // exact match is the only one
    if (TClass c = Reg().byName.value(name))
        return c;
    for (TClass c : Reg().classes)
        if (c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

TClass FindClass(const QString& name)
{
    if (TClass c = GetClass(name))
        return c;
    throw EClassNotFound(Format(QString::fromLatin1(rtlstr::SClassNotFound), {name}));
}

std::vector<TClass> RegisteredClasses() { return Reg().classes; }

void RegisterComponents(const QString& page, std::initializer_list<TClass> classes)
{
    auto& list = Reg().palette[page];
    for (TClass c : classes)
        if (std::find(list.begin(), list.end(), c) == list.end())
            list.push_back(c);
}

std::vector<TClass> PaletteClasses(const QString& page)
{
    auto it = Reg().palette.find(page);
    return it == Reg().palette.end() ? std::vector<TClass>{} : it->second;
}
