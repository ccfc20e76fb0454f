#pragma once
// A form holding one report, as the engine tests build it.
#include "engine/Designer.h"
#include "forms/Forms.h"

#include <gtest/gtest.h>

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(0, 0, 900, 1200);
        report = New<TQuickRep>(form);
        report->SetParent(form);
    }
    void TearDown() override { Free(form); }

    TQRCustomBand* Band(TQRBandType type) const { return report->FirstBandOfType(type); }
    std::vector<TQRBandType> Kinds() const
    {
        std::vector<TQRBandType> kinds;
        for (TQRCustomBand* band : report->BandList())
            kinds.push_back(band->BandType());
        return kinds;
    }

    TForm* form = nullptr;
    TQuickRep* report = nullptr;
};
