#pragma once
// What the demo tests do as a user would: clicks on report elements, typing
// into a text box, answers to the modal dialogs, and the output a report
// prints or previews (PDF text, preview page texts, review pictures).
#include "engine/QuickRep.h"
#include "engine/run/PreparedReport.h"
#include "forms/Modal.h"

#include <QStringList>
#include <functional>
#include <vector>

class TCustomForm;
class TEdit;
class TWinControl;
class TVornak;
class TQRPreviewForm;

// A left click at a point of a report element or band, where the user sees
// it: scrolled into view first, and not covered by another window.
void ClickInReport(TVornak* designer, TControl* element, QPoint at = QPoint(3, 3));
// A left-button drag of a report element from and to points of its client
// area where the drag starts, both scrolled into view first.
void DragInReport(TVornak* designer, TControl* element, QPoint from, QPoint to);
// Types the text key by key into the text box's window.
void TypeInto(TEdit* edit, const QString& text);

// Answers every modal request, recording it. A file dialog gets FileName
// (and OK) when one is set; a preview window is handed to OnPreview first;
// everything else gets Result.
struct TDemoModal {
    TDemoModal();
    std::vector<TModalRequest> Requests;
    QString FileName;
    int Result = mrCancel;
    std::function<void(TQRPreviewForm*)> OnPreview;
    std::function<int(TCustomForm*)> OnForm;  // any other modal form
    TModalScope Scope;
};

// The texts of every page the preview window prepares.
QStringList PageTexts(const TQRPreparedReport& pages);
// Prints the report into <screenshots>/<name>.pdf and returns the PDF's text.
QString PrintToPdf(TQuickRep* report, const QString& name);
// Exports the report through the engine's text filter into a scratch file
// and returns the file's pages.
QStringList ExportTextPages(TQuickRep* report, const QString& name);
// Saves a picture for review under <build>/screenshots.
void SaveForReview(const QImage& image, const QString& name);
// Saves the window's picture for review, expecting every control it shows drawn.
void SaveWindowForReview(const TWinControl* window, const QString& name);
// Renders page number (1-based) of prepared pages at zoom 100.
QImage RenderPage(const TQRPreparedReport& pages, int page);
// A path in a fresh scratch folder of the build.
QString ScratchPath(const QString& name);
