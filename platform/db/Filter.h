#pragma once
// Record filters: comparisons of a field with a constant (=, <>, <, >, <=,
// >=), joined by AND, OR, NOT and parentheses. Field names may stand in
// brackets; strings are quoted with ' (doubled inside); a string ending in
// * compared with = or <> matches by prefix. Constants take the field's
// type: numbers, True/False, dates as yyyy-MM-dd or in the display format.
#include "DbTypes.h"

#include <memory>

class TFilterExpr {
public:
    virtual ~TFilterExpr() = default;
    virtual bool Matches(const TRecord& row) const = 0;

    // Raises EDatabaseError naming the problem when the text is malformed or
    // names an unknown field.
    static std::unique_ptr<TFilterExpr> Parse(const QString& text, const std::vector<TFieldDef>& defs);
};

// Compares two values of one field type: <0, 0, >0; null sorts first.
int CompareValues(const QVariant& a, const QVariant& b);
