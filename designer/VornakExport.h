#pragma once
// Marks what the package Vornak exports to its hosts.
#define VORNAK_EXPORT __attribute__((visibility("default")))
