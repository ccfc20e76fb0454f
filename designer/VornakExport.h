#pragma once
// Marks what the package Vornak exports to its hosts. The package is built
// with hidden visibility: what is not marked stays inside it. A marked class
// exports its members with its vtable and type information, so a host can
// derive from it, cast to it and catch through it.
#define VORNAK_EXPORT __attribute__((visibility("default")))
