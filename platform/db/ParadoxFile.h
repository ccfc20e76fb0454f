#pragma once
// Paradox tables: the .DB file and its .MB blob file, written from the
// public descriptions of the format. Text is Windows-1252.
//
// Column types: alpha, number, money, short, long, autoincrement, logical,
// date, time, timestamp, memo, binary blob, formatted memo, OLE, graphic,
// bytes and BCD (the last two read as raw bytes). Files are written in the
// Paradox 5 layout, without a primary index.
#include "DbTypes.h"

TTableData ReadParadoxTable(const QString& fileName);
void WriteParadoxTable(const QString& fileName, const TTableData& table);
