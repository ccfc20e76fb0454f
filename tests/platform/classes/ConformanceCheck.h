#pragma once
// The promises every streamable component class keeps, checked generically
// from its type information so that a class needs no test code of its own:
// a new object holds its declared defaults, every published value property
// reads back what was written, binary and text round trips give equal trees
// (and reading the tree into a new object reproduces it), and the text form
// leaves defaults out. Any test program may call it on its own classes.
#include "classes/Object.h"

#include <QStringList>

// Failures of one class, one line each; empty when the class conforms.
QStringList CheckComponentClass(TClass cls);
// CheckComponentClass for every registered component class that can be
// created; each failure is prefixed with the class name.
QStringList CheckRegisteredClasses();
