// The engine's dialogs answered through the modal seam: OK applies, Cancel
// does not; the expression builder checks before it closes.
#include "run_fixture.h"

#include "classes/StringList.h"
#include "db/Query.h"
#include "db/Table.h"
#include "forms/Modal.h"
#include "engine/dialogs/CompEd.h"
#include "engine/dialogs/DataSetup.h"
#include "engine/dialogs/ExpressionBuilder.h"

#include <QTemporaryDir>

namespace {

template <class Form>
TModalAnswerer Answer(std::function<int(Form*)> fill)
{
    return [fill](TModalRequest& request) {
        auto* form = dynamic_cast<Form*>(request.Subject);
        return form ? fill(form) : int(mrCancel);
    };
}

class Dialogs : public RunTest {
protected:
    void ShowCompEd(TModalAnswerer answer)
    {
        TModalScope scope(std::move(answer));
        auto* list = new TStringList;
        list->AddObject(first->Name(), first);
        list->AddObject(second->Name(), second);
        auto* dialog = New<TQRCompEd>(form);
        dialog->SetAvailableDataSets(list);
        dialog->SetQuickRep(report);
        dialog->ShowModal();
        dialog->Free();
    }
    void SetUp() override
    {
        RunTest::SetUp();
        first = Table(1, QStringLiteral("Orders"));
        second = Table(1, QStringLiteral("Customers"));
        report->SetDataSet(first);
        report->Bands()->SetHasDetail(true);
    }
    TMemDataSet* first = nullptr;
    TMemDataSet* second = nullptr;
};

TEST_F(Dialogs, ReportSettingsApplyOnOkOnly)
{
    auto change = [](TQRCompEd* d) {
        EXPECT_EQ(d->DataSet->Text(), "Orders");  // loaded from the report
        EXPECT_TRUE(d->HasBand[3]->Checked());
        d->Orientation->SetItemIndex(poLandscape);
        d->TopMargin->SetText(QStringLiteral("15"));
        d->Columns->SetText(QStringLiteral("2"));
        d->Title->SetText(QStringLiteral("Customers list"));
        d->HasBand[0]->SetChecked(true);   // title
        d->HasBand[3]->SetChecked(false);  // detail
        d->DataSet->SetItemIndex(2);
        d->PrintIfEmpty->SetChecked(false);
        d->FirstPageHeader->SetChecked(false);
        d->FontSize->SetText(QStringLiteral("12"));
    };
    ShowCompEd(Answer<TQRCompEd>([&](TQRCompEd* d) {
        change(d);
        return int(mrCancel);
    }));
    EXPECT_EQ(report->Page()->Orientation(), poPortrait);
    EXPECT_EQ(report->DataSet(), first);
    EXPECT_TRUE(report->Bands()->HasDetail());
    EXPECT_TRUE(report->PrintIfEmpty());

    ShowCompEd(Answer<TQRCompEd>([&](TQRCompEd* d) {
        change(d);
        return int(mrOk);
    }));
    EXPECT_EQ(report->Page()->Orientation(), poLandscape);
    EXPECT_DOUBLE_EQ(report->Page()->Width(), 297);
    EXPECT_DOUBLE_EQ(report->Page()->TopMargin(), 15);
    EXPECT_EQ(report->Page()->Columns(), 2);
    EXPECT_EQ(report->ReportTitle(), "Customers list");
    EXPECT_TRUE(report->Bands()->HasTitle());
    EXPECT_FALSE(report->Bands()->HasDetail());
    EXPECT_EQ(report->DataSet(), second);
    EXPECT_FALSE(report->PrintIfEmpty());
    EXPECT_EQ(report->Options(), TQROptions{LastPageFooter});
    EXPECT_EQ(report->Font()->Size(), 12);
}

TEST_F(Dialogs, DataSetupCreatesATableOrQueryOnOk)
{
    QTemporaryDir dir;
    TTableData data;
    data.Defs = {{"NAME", ftString, 10}, {"QTY", ftInteger, 4}};
    data.Rows = {{QStringLiteral("a"), qint64(1)}, {QStringLiteral("b"), qint64(5)}};
    WriteTable(dir.filePath(QStringLiteral("STOCK.DBF")), data, ttDBase);
    auto show = [&](std::function<int(TQRDataSetup*)> fill) {
        TModalScope scope(Answer<TQRDataSetup>(fill));
        auto* dialog = New<TQRDataSetup>(form);
        dialog->SetReport(report);
        dialog->ShowModal();
        dialog->Free();
    };
    const int components = form->ComponentCount();
    auto chooseTable = [&](TQRDataSetup* d) {
        d->Kind->SetItemIndex(qdkTable);
        d->Alias->SetText(dir.path());
        d->ListTables();
        EXPECT_EQ(d->TableName->Items()->Count(), 1);
        d->TableName->SetItemIndex(0);
        d->Filter->SetText(QStringLiteral("QTY > 2"));
    };
    show([&](TQRDataSetup* d) {
        chooseTable(d);
        return int(mrCancel);
    });
    EXPECT_EQ(report->DataSet(), first);
    EXPECT_EQ(form->ComponentCount(), components);

    show([&](TQRDataSetup* d) {
        chooseTable(d);
        return int(mrOk);
    });
    auto* table = dynamic_cast<TTable*>(report->DataSet());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Owner(), form);
    EXPECT_EQ(table->Name(), "Table1");
    table->Open();
    EXPECT_EQ(table->RecordCount(), 1);
    EXPECT_EQ(table->FieldByName(QStringLiteral("NAME"))->AsString(), "b");
    table->Close();

    // Reopened, the dialog shows the table; a query replaces it as the data set.
    show([&](TQRDataSetup* d) {
        EXPECT_EQ(d->Kind->ItemIndex(), qdkTable);
        EXPECT_EQ(d->TableName->Text(), "STOCK.DBF");
        d->Kind->SetItemIndex(qdkQuery);
        d->SQL->Lines()->SetText(QStringLiteral("select * from STOCK"));
        return int(mrOk);
    });
    auto* query = dynamic_cast<TQuery*>(report->DataSet());
    ASSERT_NE(query, nullptr);
    EXPECT_EQ(query->DatabaseName(), dir.path());

    show([](TQRDataSetup* d) {
        d->Kind->SetItemIndex(qdkNone);
        return int(mrOk);
    });
    EXPECT_EQ(report->DataSet(), nullptr);

    // A table of another form (shared with others) is not changed: the report gets its own.
    TForm* other = New<TForm>(nullptr);
    auto* shared = New<TTable>(other);
    shared->SetTableName(QStringLiteral("SHARED.DB"));
    report->SetDataSet(shared);
    show([&](TQRDataSetup* d) {
        chooseTable(d);
        return int(mrOk);
    });
    EXPECT_EQ(shared->TableName(), "SHARED.DB");
    ASSERT_NE(report->DataSet(), shared);
    EXPECT_EQ(report->DataSet()->Owner(), form);
    other->Free();
}

TEST_F(Dialogs, DataSetupRefusesATableWithoutNameOrAQueryWithoutSql)
{
    const int components = form->ComponentCount();
    QStringList refusals;
    TModalScope scope(Answer<TQRDataSetup>([&](TQRDataSetup* d) {
        auto refused = [&] {
            Modal::ClearMessages();
            d->OKButton->Click();
            EXPECT_EQ(d->ModalResult(), mrNone);
            refusals << Modal::Messages();
        };
        d->Kind->SetItemIndex(qdkTable);
        d->TableName->SetText(QStringLiteral("  "));
        refused();
        d->Kind->SetItemIndex(qdkQuery);
        refused();
        d->CancelButton->Click();
        return d->ModalResult();
    }));
    auto* dialog = New<TQRDataSetup>(form);
    dialog->SetReport(report);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    dialog->Free();
    EXPECT_EQ(refusals, QStringList({"Choose or type the name of a table.", "Type the SQL statement of the query."}));
    EXPECT_EQ(report->DataSet(), first);
    EXPECT_EQ(form->ComponentCount(), components);
}

TEST_F(Dialogs, ReportSettingsKeepADataSetTheListLacks)
{
    auto* elsewhere = Table(1, QStringLiteral("Elsewhere"));
    report->SetDataSet(elsewhere);
    ShowCompEd(Answer<TQRCompEd>([](TQRCompEd* d) {
        EXPECT_EQ(d->DataSet->Text(), "Elsewhere");
        return int(mrOk);
    }));
    EXPECT_EQ(report->DataSet(), elsewhere);
}

// The data sets stay closed, as in a designed form: the builder still knows their fields.
TEST_F(Dialogs, ExpressionBuilderChecksBeforeItCloses)
{
    QString text = QStringLiteral("QTY");
    QStringList errors;
    TModalScope scope(Answer<TQRExpressionBuilder>([&](TQRExpressionBuilder* b) {
        EXPECT_EQ(b->Expression->Text(), "QTY");
        EXPECT_EQ(b->Description->Caption(), "Amount");
        EXPECT_GE(b->Fields->Items()->IndexOf(QStringLiteral("Orders.PRICE")), 0);
        EXPECT_GE(b->Fields->Items()->IndexOf(QStringLiteral("Customers.NAME")), 0);
        b->InsertText(QStringLiteral("*"));
        b->OKButton->Click();  // "QTY *" is incomplete: the builder stays open
        errors << b->Status->Caption();
        EXPECT_EQ(b->ModalResult(), mrNone);
        b->InsertField(b->Fields->Items()->IndexOf(QStringLiteral("Orders.PRICE")));
        b->OKButton->Click();
        return b->ModalResult();
    }));
    EXPECT_TRUE(GetExpression(QStringLiteral("Amount"), text, form));
    EXPECT_EQ(text, "QTY * Orders.PRICE");
    EXPECT_FALSE(first->Active());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QLatin1String("position 6"))) << errors[0].toStdString();
}

TEST_F(Dialogs, ExpressionBuilderCancelKeepsTheText)
{
    QString text = QStringLiteral("1 + 1");
    TModalScope scope(Answer<TQRExpressionBuilder>([](TQRExpressionBuilder* b) {
        b->Expression->SetText(QStringLiteral("2"));
        return int(mrCancel);
    }));
    EXPECT_FALSE(GetExpression(QString(), text, form));
    EXPECT_EQ(text, "1 + 1");
}

}  // namespace
