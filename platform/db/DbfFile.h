#pragma once
// dBase tables: the .DBF file and its .DBT memo file (dBase III memos ended
// by 1Ah, dBase IV memos with a length header, which also hold binary data).
// Text is Windows-1252.
//
// Column types: C string, N and F numbers (N without decimals reads as an
// integer kind), D date, L logical, M memo, B and G binary memo (blob).
#include "RecordSource.h"

// Opens the table for reading record by record; raises EDatabaseError when
// its header is unreadable.
std::unique_ptr<TRecordSource> OpenDbfTable(const QString& fileName);
TTableData ReadDbfTable(const QString& fileName);  // every record at once
// Writes the table (and its .DBT when it has memo or blob columns). Dates,
// times and date-times other than plain dates are refused: dBase III/IV
// have no column for them.
void WriteDbfTable(const QString& fileName, const TTableData& table);
