#pragma once
// Text alignment, shared by controls, data fields and report elements.
#include "classes/Value.h"

VK_ENUM(TAlignment, taLeftJustify, taRightJustify, taCenter)
