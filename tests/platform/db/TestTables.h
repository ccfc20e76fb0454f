#pragma once
// Helpers shared by the data-access tests: a temporary folder and tables
// that cover every column type.
#include "DbTypes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

TTableData ParadoxAllTypes();
TTableData DbfAllTypes();
// Compares defs (name, type) and every value; reports the first difference.
::testing::AssertionResult SameTable(const TTableData& expected, const TTableData& actual);
