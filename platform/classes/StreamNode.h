#pragma once
// The tree of one streamed component as both stream formats hold it: the
// binary object stream and the text form are two spellings of this tree, and
// the component reader and writer translate between it and live components.
#include "Value.h"

#include <optional>
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

// A name as the text form spells it: a letter or '_', then letters, digits,
// '_' and '.' (dotted property names). The binary reader holds class,
// component, property, identifier and set element names to it, so that every
// stream that reads can be written as text and read back.
bool IsStreamName(QStringView s);
bool IsStreamNameStart(QChar ch);
bool IsStreamNameChar(QChar ch);
// The words by which the text form tells a property from an object's start
// and end: no property can have these names.
bool IsStreamKeyword(QStringView s);

// The words the text form spells booleans and nil with, read in any case:
// the type of the value a word stands for (nothing for another word), and the
// word a value of such a type is written as.
std::optional<TValueType> ValueTypeOfWord(QStringView word);
QLatin1String WordOfValueType(TValueType type);
// Characters the text form writes as #n codes rather than inside quotes
// (control characters), and the code.
bool IsCodedChar(QChar ch);
QString CharCode(QChar ch);

// Nesting of objects, lists and collections that readers accept; deeper
// input is hostile or broken and would only exhaust the stack.
inline constexpr int MaxStreamNesting = 64;
