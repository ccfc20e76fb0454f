#pragma once
// What both builds' start-up must have done.
#include "classes/ClassRegistry.h"
#include "engine/export/ExportFilter.h"

#include <QStringList>

inline QStringList TextFilterEntries()
{
    QStringList out;
    for (const TQRExportFilterEntry& e : QRExportFilterLibrary.Filters())
        out << e.FilterName + QLatin1Char('/') + e.Extension;
    return out;
}

inline const QStringList& LayoutClassNames()
{
    static const QStringList names{"TQuickRep", "TQRBand", "TQRGroup", "TQRSubDetail", "TQRExpr", "TQRShape",
                                   "TTable", "TQRMemo", "TQRSysData", "TQRImage", "TQRDBImage", "TQRDBText",
                                   "TDataSource", "TQRChildBand", "TQuery"};
    return names;
}
