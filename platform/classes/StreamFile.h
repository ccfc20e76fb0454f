#pragma once
// Whole-file reads and writes with the library's errors. A write never
// damages the previous file: the data goes to a temporary file beside it,
// which then replaces the old one in a single rename.
#include <QByteArray>
#include <QString>

QByteArray ReadStreamFile(const QString& fileName);  // EFOpenError, EInOutError
// EFCreateError when the file cannot be created, EInOutError on a failed
// write or replace; either way the old file is left as it was.
void WriteStreamFile(const QString& fileName, const QByteArray& data);
