#pragma once
// The tree of one streamed component as both stream formats hold it: the
// binary object stream and the text form are two spellings of this tree, and
// the component reader and writer translate between it and live components.
#include "Value.h"

#include <utility>
#include <vector>

using TPropertyValues = std::vector<std::pair<QString, TValue>>;

struct TObjectNode {
    // Bits of the optional prefix byte 0xF0|flags.
    enum : quint8 { ffInherited = 1, ffChildPos = 2, ffInline = 4 };

    QString ClassName;
    QString Name;
    quint8 Flags = 0;
    int ChildPos = 0;  // meaningful with ffChildPos
    TPropertyValues Properties;  // dotted names for sub-objects: "Font.Name"
    std::vector<TObjectNode> Children;

    bool operator==(const TObjectNode& other) const;
    bool operator!=(const TObjectNode& other) const { return !(*this == other); }
};

// Nesting of objects, lists and collections that readers accept; deeper
// input is hostile or broken and would only exhaust the stack.
inline constexpr int MaxStreamNesting = 64;
