#include "ReportExport.h"

#include "engine/QuickRep.h"
#include "engine/run/ReportRunner.h"
#include "rtl/SysUtils.h"

#include <memory>

void ExportPreparedReport(const TQRPreparedReport& report, TQRExportFilter* filter)
{
    filter->Start(Round(PixelsToTenthMM(report.PaperWidth)), Round(PixelsToTenthMM(report.PaperLength)),
                  report.Font.get());
    for (const TQRPreparedPage& page : report.Pages) {
        filter->EndPage();
        filter->NewPage();
        for (const TQRPageText& t : page.Texts)
            filter->TextOut(PixelsToTenthMM(t.X), PixelsToTenthMM(t.Y), t.Font.get(), t.BGColor, t.Alignment, t.Text);
    }
    filter->EndPage();
    filter->Finish();
}

void TCustomQuickRep::ExportToFilter(TQRExportFilter* filter)
{
    std::unique_ptr<TQRExportFilter> owned(filter);
    TQRPreparedReport prepared;
    TQRReportRunner(this).Run(prepared);
    ExportPreparedReport(prepared, filter);
}
