#pragma once
// Numeric conversions with the library's semantics.
#include <QString>

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int Round(double value);
// Integer syntax: leading blanks, optional sign, decimal digits or '$' and hex
// digits, nothing after, 32-bit range.
bool TryStrToInt(const QString& text, int& value);
int StrToInt(const QString& text);  // raises EConvertError
QString IntToStr(long long value);
