#pragma once
// Printing prepared pages on a printer or into a PDF file, and the printer
// set-up of a report.
#include "engine/run/PreparedReport.h"

#include <functional>

class QPrinter;
class TCustomQuickRep;

// The text shown when a report is printed without any printer.
extern const char* const SNoPrinter;

// Sets the printer from the report's page and printer settings (printer,
// paper, orientation, copies, page range, duplex, bin; a PDF file when an
// output file is named).
void ConfigurePrinter(const TCustomQuickRep* report, QPrinter& printer);
// Takes the user's choices from the printer back into the report.
void TakePrinterChoices(const QPrinter& printer, TCustomQuickRep* report);

// Paints pages first to last (1-based, inclusive) of the prepared report, one
// per sheet, scaled to the printer's resolution. progress is told after each
// page and returns false to stop; returns false when stopped. Raises EPrinter
// when the printer cannot be opened or the print system refuses the job.
bool PrintPreparedPages(const TQRPreparedReport& report, QPrinter& printer, int first, int last,
                        const std::function<bool(int printed, int total)>& progress = {});

// Runs and prints the report with its printer settings (page range included).
// Without a printer and without an output file, shows SNoPrinter and does
// nothing else. Returns false when nothing was printed.
bool PrintReport(TCustomQuickRep* report, const TQRPreparedReport* prepared = nullptr);
