// A *.QR layout file opened by the designer control, as the user's "Open"
// does; what opens is saved again and closed, and nothing stays behind.
#include "FuzzTargets.h"
#include "designer/VornakMain.h"
#include "forms/Modal.h"
#include "rtl/Exceptions.h"

#include <QApplication>

#include <cstdlib>
#include <utility>

namespace {

// One host window with the control for the whole process, as a program has.
TVornak* Designer()
{
    static TVornak* designer = [] {
        TForm* host = New<TForm>(Application);
        host->SetBounds(0, 0, 640, 480);
        auto* control = New<TVornak>(host);
        control->SetParent(host);
        control->SetAlign(alClient);
        return control;
    }();
    return designer;
}

// What stays of all opens: the application's components and windows once
// the report form is emptied (a new report empties it; closing that leaves
// the form empty).
std::pair<int, qsizetype> Remains(TVornak* designer)
{
    designer->NewReport();
    designer->CloseReport();
    return {Application->ComponentCount(), QApplication::topLevelWidgets().size()};
}

}  // namespace

int FuzzLayout(const uint8_t* data, size_t size)
{
    const QString path = FuzzScratchPath(QStringLiteral("layout.QR"));
    WriteScratchFile(path, FuzzInput(data, size));
    TVornak* designer = Designer();
    static const std::pair<int, qsizetype> before = Remains(designer);
    // a failed open is shown in a message box, which a head-less run answers
    designer->OpenReportFile(path);
    if (designer->Editing()) {
        try {
            designer->SaveReportFile(FuzzScratchPath(QStringLiteral("saved.QR")));
        } catch (const Exception&) {
            // a program's message loop shows a failed save
        }
        designer->CloseReport();
    }
    Modal::ClearMessages();
    // a long run of opens keeps its resources
    if (Remains(designer) != before)
        std::abort();
    return 0;
}
