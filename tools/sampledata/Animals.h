#pragma once
// A dozen invented animals with pictures drawn here (BMP bytes).
#include "DbTypes.h"

TTableData MakeAnimals();
