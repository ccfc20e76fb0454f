#include "ReportPrinter.h"

#include "dialogs/Dialogs.h"
#include "engine/QuickRep.h"
#include "engine/Resources.h"
#include "engine/run/ReportRunner.h"
#include "engine/run/TextRuns.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <cups/cups.h>

const char* const SNoPrinter =
    "No printer is installed. Install a printer, or name an output file in the report's printer settings "
    "to print into a PDF file.";

namespace {

const std::pair<TQRBin, QPrinter::PaperSource> BinSources[] = {
    {binFirst, QPrinter::OnlyOne},  {binUpper, QPrinter::Upper},         {binLower, QPrinter::Lower},
    {binMiddle, QPrinter::Middle},  {binManual, QPrinter::Manual},       {binEnvelope, QPrinter::Envelope},
    {binAuto, QPrinter::Auto},
};

// A range open at its end ("from page 2 on") shows this last page in the set-up.
constexpr int OpenRangeEnd = 9999;

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

// A file named in the settings, else the queue chosen in the set-up while
// there is such a queue, else the system's default printer.
void ChooseDestination(const TQRPrinterSettings* s, QPrinter& printer)
{
    if (!s->OutputFileName.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(s->OutputFileName);
    } else if (!s->PrinterName.isEmpty() && QPrinterInfo::availablePrinterNames().contains(s->PrinterName)) {
        printer.setPrinterName(s->PrinterName);
    }
}

// Qt hands a finished job to CUPS and drops its answer; a refusal is read
// back from CUPS, which keeps the last answer of this thread.
void CheckJobTaken(const QPrinter& printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return;
    throw EPrinter(QStringLiteral("The print system refused the job for printer %1: %2")
                       .arg(printer.printerName(), QString::fromLocal8Bit(cupsLastErrorString())));
}

// The name of the report's print job: its title, else its name.
QString PrintJobName(const TCustomQuickRep* report)
{
    return report->ReportTitle().isEmpty() ? report->Name() : report->ReportTitle();
}

}  // namespace

void ConfigurePrinter(const TCustomQuickRep* report, QPrinter& printer)
{
    const TQRPrinterSettings* s = report->PrinterSettings();
    ChooseDestination(s, printer);
    const TQRPage* page = report->Page();
    const bool landscape = page->Orientation() == poLandscape;
    // The page's width and length already follow the orientation.
    const QSizeF portrait = landscape ? QSizeF(page->Length(), page->Width()) : QSizeF(page->Width(), page->Length());
    printer.setPageSize(QPageSize(portrait, QPageSize::Millimeter));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setCopyCount(std::max(s->Copies, 1));
    printer.setDuplex(s->Duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
    for (const auto& [bin, source] : BinSources)
        if (bin == s->OutputBin)
            printer.setPaperSource(source);
    if (s->FirstPage > 0 || s->LastPage > 0) {
        const int first = std::max(s->FirstPage, 1);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(first, s->LastPage > 0 ? std::max(s->LastPage, first) : OpenRangeEnd);
    }
    printer.setDocName(PrintJobName(report));
}

void TakePrinterChoices(const QPrinter& printer, TCustomQuickRep* report)
{
    TQRPrinterSettings* s = report->PrinterSettings();
    s->Copies = printer.copyCount();
    s->Duplex = printer.duplex() != QPrinter::DuplexNone;
    const bool range = printer.printRange() == QPrinter::PageRange;
    s->FirstPage = range ? printer.fromPage() : 0;
    s->LastPage = range && printer.toPage() < OpenRangeEnd ? printer.toPage() : 0;
    for (const auto& [bin, source] : BinSources)
        if (source == printer.paperSource())
            s->OutputBin = bin;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    s->OutputFileName = toFile ? printer.outputFileName() : QString();
    s->PrinterName = toFile ? QString() : printer.printerName();
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
    TQRTextRuns texts;
    for (int printed = 0; printed < total; ++printed) {
        if (printed > 0)
            printer.newPage();
        PlayPage(report.Page(first - 1 + printed % (last - first + 1)), painter, scale, &texts);
        if (progress && !progress(printed + 1, total)) {
            printer.abort();
            return false;
        }
    }
    painter.end();
    CheckJobTaken(printer);
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
    const int result = Modal::Run(request, [&printer, &request] {
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(request.Caption);
        // The set-up only chooses; printing is the print button's.
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->setText(LoadStr(62773));
        return dialog.exec() == QDialog::Accepted ? int(mrOk) : int(mrCancel);
    });
    if (result == mrOk)
        TakePrinterChoices(printer, this);
}
