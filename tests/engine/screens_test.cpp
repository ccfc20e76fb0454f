// The engine's windows as a user sees them, rendered to PNG under
// <build>/screenshots while they are shown through the modal seam: the
// preview of a multi-page orders list over the sample tables, the report
// settings, the data setup and the expression builder. Each window must keep
// its controls inside itself and show every caption whole.
#include "run_fixture.h"

#include "classes/StringList.h"
#include "db/Table.h"
#include "forms/Modal.h"
#include "engine/dialogs/CompEd.h"
#include "engine/dialogs/DataSetup.h"
#include "engine/dialogs/ExpressionBuilder.h"
#include "engine/preview/PreviewForm.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QWidget>

namespace {

void Save(TForm* form, const QString& name)
{
    const QString dir = qEnvironmentVariable("VK_BUILD_DIR", QDir::tempPath()) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    EXPECT_TRUE(form->Grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
}

// Every control stands inside the form's client area and every caption of a
// label, check box or button fits its control.
void ExpectTidy(TForm* form)
{
    const QRect client(0, 0, form->ClientWidth(), form->ClientHeight());
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form->Components(i));
        if (!control || control->Parent() != form)
            continue;
        const QRect bounds(control->Left(), control->Top(), control->Width(), control->Height());
        EXPECT_TRUE(client.contains(bounds)) << control->Caption().toStdString();
        const QFontMetrics metrics(control->Widget() ? control->Widget()->font() : QFont());
        const int room = dynamic_cast<TCheckBox*>(control) ? control->Width() - 20 : control->Width();
        if (dynamic_cast<TLabel*>(control) || dynamic_cast<TCheckBox*>(control) || dynamic_cast<TButton*>(control)) {
            EXPECT_LE(metrics.horizontalAdvance(control->Caption()), room)
                << "clipped: " << control->Caption().toStdString();
        }
    }
}

class Screenshot : public RunTest {
protected:
    // The sample orders table, or nil (the test skips) when it was not generated.
    TTable* Orders()
    {
        if (!QFileInfo::exists(qEnvironmentVariable("VK_BUILD_DIR") + QStringLiteral("/dbdemos/ORDERS.DB")))
            return nullptr;
        auto* table = New<TTable>(form);
        table->SetName(QStringLiteral("Orders"));
        table->SetDatabaseName(QStringLiteral("DBDEMOS"));
        table->SetTableName(QStringLiteral("ORDERS.DB"));
        return table;
    }

    // Answers the modal seam: a form of the class is counted, filled, saved
    // and checked, then cancelled; any other form is cancelled.
    template <class Form>
    TModalAnswerer GrabWhenShown(const QString& name, std::function<void(Form*)> fill = {})
    {
        return [this, name, fill](TModalRequest& request) {
            auto* form = dynamic_cast<Form*>(request.Subject);
            if (!form)
                return int(mrCancel);
            ++shown;
            if (fill)
                fill(form);
            Save(form, name);
            ExpectTidy(form);
            return int(mrCancel);
        };
    }
    int shown = 0;  // how many times a form of the class was shown
};

TEST_F(Screenshot, PreviewOfTheOrdersList)
{
    TTable* orders = Orders();
    if (!orders)
        GTEST_SKIP() << "the sample tables are not built";
    report->SetDataSet(orders);
    report->SetReportTitle(QStringLiteral("Orders"));
    auto* title = AddText(AddBand(rbTitle, 40), QStringLiteral("List of orders"), 0, 8, MMToPixels(190));
    title->SetAlignment(taCenter);
    title->Font()->SetSize(16);
    TQRCustomBand* detail = AddBand(rbDetail, 18);
    const char* const columns[] = {"OrderNo", "CustNo", "SaleDate", "ShipVIA", "ItemsTotal"};
    for (int i = 0; i < 5; ++i)
        AddText<TQRExpr>(detail, QString::fromLatin1(columns[i]), 8 + i * 130, 0, 120);
    auto* page = AddText<TQRSysData>(AddBand(rbPageFooter, 24), QStringLiteral("Page "), 0, 4, MMToPixels(190));
    page->SetData(qrsPageNumber);
    page->SetAlignment(taCenter);
    TModalScope scope(GrabWhenShown<TQRPreviewForm>(QStringLiteral("engine-preview"), [](TQRPreviewForm* p) {
        ASSERT_TRUE(p->PreparePages());
        EXPECT_GT(p->PageCount(), 1);
        p->NextPage();
        EXPECT_EQ(p->PageText(), QStringLiteral("Page 2 of %1").arg(p->PageCount()));
        p->FitWidth();  // an A4 page across a window some 800 pixels wide
        EXPECT_GT(p->Zoom(), 90);
        EXPECT_LT(p->Zoom(), 100);
    }));
    report->Preview();
    EXPECT_EQ(shown, 1);
}

TEST_F(Screenshot, ReportSettings)
{
    auto* dialog = New<TQRCompEd>(form);
    auto* list = new TStringList;
    list->AddObject(QStringLiteral("Orders"), Table(1, QStringLiteral("Orders")));
    dialog->SetAvailableDataSets(list);
    dialog->SetQuickRep(report);
    TModalScope scope(GrabWhenShown<TQRCompEd>(QStringLiteral("engine-report-settings"), [](TQRCompEd* d) {
        EXPECT_EQ(d->PaperSize->Text(), "A4");
        EXPECT_EQ(d->Units->Text(), "Millimetres");
    }));
    dialog->ShowModal();
    dialog->Free();
    EXPECT_EQ(shown, 1);
}

TEST_F(Screenshot, DataSetup)
{
    if (TTable* orders = Orders())
        report->SetDataSet(orders);
    auto* dialog = New<TQRDataSetup>(form);
    dialog->SetReport(report);
    TModalScope scope(GrabWhenShown<TQRDataSetup>(QStringLiteral("engine-data-setup")));
    dialog->ShowModal();
    dialog->Free();
    EXPECT_EQ(shown, 1);
}

TEST_F(Screenshot, ExpressionBuilder)
{
    if (!Orders())
        Table(1, QStringLiteral("Orders"));
    QString text = QStringLiteral("SUM(ItemsTotal) *");
    TModalScope scope(GrabWhenShown<TQRExpressionBuilder>(QStringLiteral("engine-expression-builder"),
                                                          [](TQRExpressionBuilder* b) {
                                                              b->Functions->SetItemIndex(0);
                                                              b->InsertFunction(0);
                                                              b->CheckButton->Click();
                                                              EXPECT_FALSE(b->Status->Caption().isEmpty());
                                                          }));
    GetExpression(QStringLiteral("Amount of the order"), text, form);
    EXPECT_EQ(shown, 1);
}

}  // namespace
