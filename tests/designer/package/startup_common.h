#pragma once
// What both builds' start-up must have done.
#include "classes/ClassRegistry.h"
#include "engine/export/ExportFilter.h"

#include <QStringList>

// Each entry of the engine's filter list as name/extension, marked "(ours)"
// when it is the designer's filter class (told by its type's name, so that a
// host that only loads the package can ask too).
inline QStringList TextFilterEntries()
{
    QStringList out;
    for (const TQRExportFilterEntry& e : QRExportFilterLibrary.Filters())
        out << e.FilterName + QLatin1Char('/') + e.Extension +
                   (QLatin1String(e.Class.name()).endsWith(QLatin1String("TQRAsciiExportFilter")) ? QStringLiteral(" (ours)")
                                                                                             : QString());
    return out;
}

inline const QStringList& LayoutClassNames()
{
    static const QStringList names{"TQuickRep", "TQRBand", "TQRGroup", "TQRSubDetail", "TQRExpr", "TQRShape",
                                   "TTable", "TQRMemo", "TQRSysData", "TQRImage", "TQRDBImage", "TQRDBText",
                                   "TDataSource", "TQRChildBand", "TQuery"};
    return names;
}
