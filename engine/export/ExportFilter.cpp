#include "ExportFilter.h"

#include "TextExportFilter.h"

#include <algorithm>
#include <memory>

TQRExportFilterLibrary QRExportFilterLibrary;

void TQRExportFilterLibrary::AddFilter(std::type_index cls, TQRExportFilterFactory factory)
{
    std::unique_ptr<TQRExportFilter> probe(factory(QString()));
    entries_.push_back({cls, probe->GetFilterName(), probe->GetExtension(), std::move(factory)});
}

void TQRExportFilterLibrary::RemoveFilter(std::type_index cls)
{
    std::erase_if(entries_, [&](const TQRExportFilterEntry& e) { return e.Class == cls; });
}

QString TQRExportFilterLibrary::SaveDialogFilter() const
{
    QStringList parts;
    for (const TQRExportFilterEntry& e : entries_)
        parts << QStringLiteral("%1 (*.%2)").arg(e.FilterName, e.Extension) << QStringLiteral("*.%1").arg(e.Extension);
    return parts.join(QLatin1Char('|'));
}

void RegisterEngineExportFilters()
{
    QRExportFilterLibrary.AddFilter<TQRTextExportFilter>();
}
