#pragma once
// A host window with a report on it, in which toolbars are built and shown
// the way the designer control builds them: owned by the host, placed on it
// and handed nil once.
#include "engine/Printables.h"
#include "forms/Forms.h"
#include "forms/Modal.h"
#include "ScreenCheck.h"

#include <QDir>
#include <gtest/gtest.h>

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = New<TForm>(nullptr);
        host->SetBounds(0, 0, 900, 400);
        report = New<TQuickRep>(host);
        report->SetParent(host);
    }
    void TearDown() override { host->Free(); }

    template <class T>
    T* NewToolbar()
    {
        T* toolbar = New<T>(host);
        toolbar->SetParent(host);
        toolbar->SetComponent(nullptr);
        return toolbar;
    }
    TQRCustomBand* NewBand(TQRBandType type) { return report->CreateBand(type); }
    template <class T>
    T* NewElement(TQRCustomBand* band = nullptr)
    {
        if (!band)
            band = NewBand(rbDetail);
        return static_cast<T*>(band->AddPrintable(T::ClassInfo()));
    }

    // Shows the toolbar in the host, expects each of its controls drawn and
    // saves how it looks for people to check.
    void Screenshot(TWinControl* toolbar, const QString& name)
    {
        host->Show();
        toolbar->Show();
        const QImage image = toolbar->Grab();
        ExpectControlsDrawn(toolbar, image, name.toStdString());
        const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + "/screenshots";
        QDir().mkpath(dir);
        EXPECT_TRUE(image.save(dir + "/" + name + ".png")) << name.toStdString();
    }

    TForm* host = nullptr;
    TQuickRep* report = nullptr;
};

// A user's click on a check box: the box changes its state.
inline void ClickBox(TCheckBox* box) { box->SetChecked(!box->Checked()); }

// Types one character into a control; returns what the control let through.
inline QChar Type(TWinControl* control, QChar key)
{
    control->KeyPress(key);
    return key;
}
