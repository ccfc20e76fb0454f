#include "engine/EngineStartup.h"

#include "classes/ClassRegistry.h"
#include "db/Query.h"
#include "engine/Bands.h"
#include "engine/export/ExportFilter.h"

void StartEngine()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    RegisterClasses({TQuickRep::ClassInfo(), TQRBand::ClassInfo(), TQRChildBand::ClassInfo(), TQRGroup::ClassInfo(),
                     TQRSubDetail::ClassInfo(), TQuery::ClassInfo()});
    RegisterEngineExportFilters();
}

void StopEngine() {}
