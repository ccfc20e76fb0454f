#pragma once
// Windows-1252, the code page of the library's 8-bit strings and of table files.
#include <QByteArray>
#include <QString>

QString DecodeCp1252(const QByteArray& bytes);
QString DecodeCp1252(const char* data, qsizetype size);
// Characters outside the code page become '?'.
QByteArray EncodeCp1252(const QString& text);
// True when every character of the text is 7-bit ASCII.
bool IsAscii(const QString& text);
