#pragma once
// Types shared by the data-access layer: its exception, field types, the
// description of a table's columns and the in-memory form of its rows.
#include "classes/Alignment.h"
#include "classes/Value.h"
#include "rtl/Exceptions.h"

#include <QVariant>
#include <vector>

VK_EXCEPTION(EDatabaseError, Exception);

VK_ENUM(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftLargeint, ftAutoInc, ftBoolean, ftFloat,
        ftCurrency, ftDate, ftTime, ftDateTime, ftMemo, ftBlob, ftGraphic)

// Horizontal alignment of a field's text in a column.
#include "classes/Alignment.h"

// One column of a table. Size is the character width of strings and the
// total width of dBase numbers; Precision their decimals.
struct TFieldDef {
    QString Name;
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;
};

// A row holds one value per column: a null QVariant, or qint64 (integers),
// double (float, currency), bool, QDate, QTime, QDateTime, QString (string,
// memo) or QByteArray (blob, graphic).
using TRecord = std::vector<QVariant>;

struct TTableData {
    std::vector<TFieldDef> Defs;
    std::vector<TRecord> Rows;
};

bool IsBlobType(TFieldType type);     // memo, blob, graphic
bool IsNumericType(TFieldType type);  // integers, float, currency
