#include "ReportPrinter.h"

#include "dialogs/Dialogs.h"
#include "engine/QuickRep.h"
#include "engine/run/ReportRunner.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

const char* const SNoPrinter =
    "No printer is installed. Install a printer, or name an output file in the report's printer settings "
    "to print into a PDF file.";

namespace {

const std::pair<TQRBin, QPrinter::PaperSource> BinSources[] = {
    {binFirst, QPrinter::OnlyOne},  {binUpper, QPrinter::Upper},         {binLower, QPrinter::Lower},
    {binMiddle, QPrinter::Middle},  {binManual, QPrinter::Manual},       {binEnvelope, QPrinter::Envelope},
    {binAuto, QPrinter::Auto},
};

bool HavePrinter(const TCustomQuickRep* report)
{
    return !report->PrinterSettings()->OutputFileName.isEmpty() || !QPrinterInfo::availablePrinters().isEmpty();
}

// Progress with a Cancel button while pages are prepared or printed; none
// where no window can show.
class TProgress {
public:
    explicit TProgress(const QString& label)
    {
        if (!Modal::IsHeadless()) {
            dialog_ = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, 0);
            dialog_->setWindowModality(Qt::ApplicationModal);
            dialog_->setMinimumDuration(300);
        }
    }
    bool Step(int done, int total)
    {
        if (!dialog_)
            return true;
        dialog_->setMaximum(total);
        dialog_->setValue(done);
        QCoreApplication::processEvents();
        return !dialog_->wasCanceled();
    }

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

// The chosen sheet as the page's named paper size when it is one, else as a
// custom size of its measures.
void TakePaper(TQRPage* page, const QSizeF& portraitMM, bool landscape)
{
    page->SetOrientation(landscape ? poLandscape : poPortrait);
    const QSizeF mm = landscape ? portraitMM.transposed() : portraitMM;
    for (int size = pzA4; size < pzCustom; ++size) {
        page->SetPaperSize(static_cast<TQRPaperSize>(size));
        if (std::abs(page->Width() - mm.width()) < 1 && std::abs(page->Length() - mm.height()) < 1)
            return;
    }
    page->SetPaperSize(pzCustom);
    page->SetWidth(mm.width());
    page->SetLength(mm.height());
}

}  // namespace

void ConfigurePrinter(const TCustomQuickRep* report, QPrinter& printer)
{
    const TQRPage* page = report->Page();
    const bool landscape = page->Orientation() == poLandscape;
    // The page's width and length already follow the orientation.
    const QSizeF portrait = landscape ? QSizeF(page->Length(), page->Width()) : QSizeF(page->Width(), page->Length());
    printer.setPageSize(QPageSize(portrait, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    const TQRPrinterSettings* s = report->PrinterSettings();
    printer.setCopyCount(std::max(s->Copies, 1));
    printer.setDuplex(s->Duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
    for (const auto& [bin, source] : BinSources)
        if (bin == s->OutputBin)
            printer.setPaperSource(source);
    printer.setDocName(report->ReportTitle());
    if (!s->OutputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(s->OutputFileName);
    }
}

void TakePrinterChoices(const QPrinter& printer, TCustomQuickRep* report)
{
    TQRPrinterSettings* s = report->PrinterSettings();
    s->Copies = printer.copyCount();
    s->Duplex = printer.duplex() != QPrinter::DuplexNone;
    s->FirstPage = printer.printRange() == QPrinter::PageRange ? printer.fromPage() : 0;
    s->LastPage = printer.printRange() == QPrinter::PageRange ? printer.toPage() : 0;
    for (const auto& [bin, source] : BinSources)
        if (source == printer.paperSource())
            s->OutputBin = bin;
    s->OutputFileName = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    TakePaper(report->Page(), printer.pageLayout().pageSize().size(QPageSize::Millimeter), landscape);
}

bool PrintPreparedPages(const TQRPreparedReport& report, QPrinter& printer, int first, int last,
                        const std::function<bool(int, int)>& progress)
{
    first = std::max(first, 1);
    last = last <= 0 ? report.PageCount() : std::min(last, report.PageCount());
    if (first > last)
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinter(QStringLiteral("Printing failed: the printer or file could not be opened"));
    const double scale = printer.resolution() / 96.0;
    // A printer that cannot make copies itself (a PDF file) gets each copy as pages.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(printer.copyCount(), 1);
    const int total = (last - first + 1) * copies;
    for (int printed = 0; printed < total; ++printed) {
        if (printed > 0)
            printer.newPage();
        PlayPage(report.Page(first - 1 + printed % (last - first + 1)), painter, scale);
        if (progress && !progress(printed + 1, total)) {
            printer.abort();
            return false;
        }
    }
    painter.end();
    return true;
}

bool PrintReport(TCustomQuickRep* report, const TQRPreparedReport* prepared)
{
    if (!HavePrinter(report)) {
        ShowMessage(QString::fromUtf8(SNoPrinter));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(report, printer);
    TProgress progress(QStringLiteral("Printing..."));
    TQRPreparedReport own;
    if (!prepared) {
        TQRReportRunner runner(report);
        runner.OnPageReady = [&](const TQRPreparedReport& r) { return progress.Step(r.PageCount(), 0); };
        if (!runner.Run(own))
            return false;
        prepared = &own;
    }
    const TQRPrinterSettings* s = report->PrinterSettings();
    return PrintPreparedPages(*prepared, printer, s->FirstPage, s->LastPage,
                              [&](int done, int total) { return progress.Step(done, total); });
}

void TCustomQuickRep::Print()
{
    PrintReport(this);
}

void TCustomQuickRep::PrinterSetup()
{
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePrinter(this, printer);
    TModalRequest request{TModalKind::PrinterSetupDialog, this, QStringLiteral("Printer setup"), QString()};
    const int result = Modal::Run(request, [&printer] {
        QPrintDialog dialog(&printer);
        return dialog.exec() == QDialog::Accepted ? int(mrOk) : int(mrCancel);
    });
    if (result == mrOk)
        TakePrinterChoices(printer, this);
}
