#pragma once
// Invented customers and their orders for the sample tables. The rows follow
// from a fixed seed, so every build writes the same tables.
#include "DbTypes.h"

TTableData MakeCustomers();
TTableData MakeOrders(int count);
