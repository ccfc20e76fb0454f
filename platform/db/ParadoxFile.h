#pragma once
// Paradox tables: the .DB file and its .MB blob file, written from the
// public descriptions of the format. Text is Windows-1252.
//
// Column types: alpha, number, money, short, long, autoincrement, logical,
// date, time, timestamp, memo, binary blob, formatted memo, OLE, graphic,
// bytes and BCD (the last two read as raw bytes). Files are written in the
// Paradox 5 layout, without a primary index.
#include "RecordSource.h"

// Opens the table for reading record by record; raises EDatabaseError when
// its header is unreadable.
std::unique_ptr<TRecordSource> OpenParadoxTable(const QString& fileName);
TTableData ReadParadoxTable(const QString& fileName);  // every record at once
void WriteParadoxTable(const QString& fileName, const TTableData& table);
