#pragma once
// The designer unit as hosts use it: the designer control with its report
// lifecycle, the element toolbars it shows, and the routines of the unit.
#include "designer/Vornak.h"
#include "designer/toolbars/BandToolbar.h"
#include "designer/toolbars/ExprToolbar.h"
#include "designer/toolbars/FontToolbar.h"
#include "designer/toolbars/NewQrToolbar.h"
#include "designer/toolbars/QuickRepToolbar.h"
#include "designer/toolbars/RichToolbar.h"
#include "designer/toolbars/ShapeToolbar.h"
