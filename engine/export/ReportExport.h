#pragma once
// Drives an export filter over prepared pages in the filters' call order.
#include "engine/export/ExportFilter.h"
#include "engine/run/PreparedReport.h"

// Start, then per page EndPage, NewPage and the page's texts, then EndPage and
// Finish; measures in tenths of a millimetre.
void ExportPreparedReport(const TQRPreparedReport& report, TQRExportFilter* filter);
