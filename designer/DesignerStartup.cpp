#include "designer/DesignerStartup.h"
#include "designer/DemoBuild.h"
#include "designer/Vornak.h"
#include "designer/export/AsciiExportFilter.h"
#include "Startup.h"
#include "db/DbStartup.h"
#include "engine/EngineStartup.h"
#include "classes/ClassRegistry.h"
#include "db/DataSource.h"
#include "db/Table.h"
#include "engine/Bands.h"
#include "engine/export/ExportFilter.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"

namespace {
void RegisterLayoutClasses()
{
    for (TClass cls : {TQuickRep::ClassInfo(), TQRBand::ClassInfo(), TQRGroup::ClassInfo(), TQRSubDetail::ClassInfo(),
                       TQRExpr::ClassInfo(), TQRShape::ClassInfo(), TTable::ClassInfo(), TQRMemo::ClassInfo(),
                       TQRSysData::ClassInfo(), TQRImage::ClassInfo(), TQRDBImage::ClassInfo(), TQRDBText::ClassInfo(),
                       TQRLabel::ClassInfo(), TDataSource::ClassInfo()}) {
        // the demo build places expressions where the package places labels
        if constexpr (kDemoBuild)
            if (cls == TQRLabel::ClassInfo())
                continue;
        RegisterClass(cls);
    }
}
}  // namespace

void StartDesigner()
{
    static bool started = false;
    if (started)
        return;
    started = true;
    QRExportFilterLibrary.AddFilter<TQRAsciiExportFilter>();
    RegisterLayoutClasses();
}

void StopDesigner() {}

void StartVornakUnits()
{
    StartPlatform();
    StartDb();
    StartEngine();
    StartDesigner();
}

void Register() { RegisterComponents(QStringLiteral("Vornak"), {TVornak::ClassInfo()}); }
