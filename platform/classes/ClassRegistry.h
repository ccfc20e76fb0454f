#pragma once
// The registry of classes that streams may create by name, and the palette
// pages that a development environment shows.
#include "Object.h"

#include <initializer_list>

// Registers the class and its ancestors; the same class again is passed over,
// another class of a registered name raises EFilerError.
void RegisterClass(TClass cls);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass cls);
TClass GetClass(const QString& name);   // nil when unknown
TClass FindClass(const QString& name);  // raises EClassNotFound
std::vector<TClass> RegisteredClasses();

void RegisterComponents(const QString& page, std::initializer_list<TClass> classes);
std::vector<TClass> PaletteClasses(const QString& page);
