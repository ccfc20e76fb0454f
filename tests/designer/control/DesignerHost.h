#pragma once
// A host window that embeds the designer control as the demo programs do: a
// button bar across the top handed over as the base panel, the control below
// it, and a report with one band of each standard kind.
#include "designer/VornakMain.h"
#include "engine/Bands.h"
#include "engine/Designer.h"
#include "engine/Printables.h"
#include "engine/QuickRep.h"
#include "forms/Modal.h"

#include <QStringList>
#include <gtest/gtest.h>

struct THost {
    THost();
    ~THost();
    THost(const THost&) = delete;
    THost& operator=(const THost&) = delete;

    // Sizes the control as the hosts do on a resize of their window.
    void Resize(int width, int height);
    // A new report with a title and a detail band, edited by the control.
    TQuickRep* NewReport();
    TQRCustomBand* Band(TQRBandType type) const;
    // Places an element of the class on the band and returns it.
    TControl* Place(TClass cls, TQRBandType type = rbTitle);
    // A left click on a control of the edited report, as the user makes it.
    static void Click(TControl* control);
    // Records every event of the control by name, in order.
    void RecordEvents();

    TForm* Form = nullptr;
    TPanel* ButtonBar = nullptr;
    TVornak* Vornak = nullptr;
    QStringList Events;
};

// Answers every modal request with the result, recording what was asked.
// A file dialog is confirmed with FileName when one is given.
struct TModalLog {
    explicit TModalLog(int result = mrCancel, QString fileName = QString());
    std::vector<TModalRequest> Requests;
    // File dialogs as they were set up: "filter;default extension;owner's class".
    QStringList FileDialogs;
    QStringList Subjects;  // class names of the forms and dialogs asked for
    QString FileName;
    TModalScope Scope;
};

// A path in a fresh scratch folder of the build.
QString ScratchPath(const QString& name);
