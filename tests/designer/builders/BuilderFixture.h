#pragma once
// Shared ground of the builder tests: a form to own what is built, tables
// made in memory, and readers of the bands and columns of a report.
#include "designer/builders/ListBuilder.h"
#include "db/DataSet.h"
#include "engine/Bands.h"
#include "engine/Printables.h"
#include "forms/Forms.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

// A data set over rows given in the test.
class TMemoryTable : public TDataSet {
    VK_CLASS(TMemoryTable, TDataSet)
public:
    TTableData Data;

protected:
    TTableData OpenData() override { return Data; }
};

// Learns of components' ends by free notification.
class TWitness : public TComponent {
    VK_CLASS(TWitness, TComponent)
public:
    void Watch(TComponent* c) { c->FreeNotification(this); }
    void Notification(TComponent* c, TOperation op) override;
    bool SawGo(const TComponent* c) const;
    std::vector<const TComponent*> Gone;
};

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An open table on the form with string columns of the names, each
    // display width 10, and one row.
    TMemoryTable* MakeTable(std::initializer_list<const char*> names);
    // The form's components, for checks that nothing was left behind.
    std::vector<TComponent*> OwnedByForm() const;

    TForm* Form = nullptr;
    TWitness* Witness = nullptr;
};

TQRCustomBand* Band(TQuickRep* report, TQRBandType type);
std::vector<TQRLabel*> HeaderLabels(TQuickRep* report);
std::vector<TQRExpr*> DetailExprs(TQuickRep* report);
std::vector<QString> Expressions(TQuickRep* report);
// The width of count capital X's in the label's font.
double XWidth(const TQRLabel* label, int count);
