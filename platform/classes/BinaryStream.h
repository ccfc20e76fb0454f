#pragma once
// The binary object stream ("TPF0" and one object) and the resource wrapper
// that a component resource file puts around it. All integers little-endian.
// Readers raise EReadError on anything malformed and never trust a length
// field beyond the bytes actually present.
#include "StreamNode.h"

#include <array>

QByteArray WriteObjectStream(const TObjectNode& root);
TObjectNode ReadObjectStream(QByteArrayView stream);

// 0xFF, uint16 10, the upper-case class name NUL-terminated, uint16 0x1030,
// uint32 length, then the data.
QByteArray WrapResource(const QByteArray& stream, const QString& className);
QByteArray UnwrapResource(const QByteArray& resource);

bool IsObjectStream(const QByteArray& data);    // starts with "TPF0"
bool IsResource(const QByteArray& data);        // starts with the wrapper's 0xFF
// Reads a resource or a bare object stream, whichever the data is.
TObjectNode ReadObjectData(const QByteArray& data);

// The 80-bit x87 extended format, converted in code so that files are the
// same on every machine whatever its long double is.
std::array<unsigned char, 10> DoubleToExtended(double value);
double ExtendedToDouble(const unsigned char* bytes);
