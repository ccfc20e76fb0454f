#include "DataSetup.h"

#include "DialogLayout.h"
#include "classes/Published.h"
#include "db/Alias.h"
#include "dialogs/Dialogs.h"
#include "db/Query.h"
#include "db/Table.h"
#include "engine/QRUtils.h"
#include "engine/QuickRep.h"

#include <QDir>

VK_PUBLISHED(TQRDataSetup) {}

void TQRDataSetup::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetCaption(QStringLiteral("Data setup"));
    Kind = New<TRadioGroup>(this);
    Kind->SetParent(this);
    Kind->SetCaption(QStringLiteral("Data"));
    Kind->SetBounds(8, 8, 360, 56);  // room for the frame's caption above the buttons
    Kind->SetColumns(3);
    for (const char* item : {"No data", "Table", "Query"})
        Kind->Items()->Add(QString::fromLatin1(item));
    TDialogLayout layout(this, 8, 90, 72);
    Alias = layout.AddCombo(QStringLiteral("Alias"), AliasNames(), false, 200);
    Alias->OnChange = TNotifyEvent(this, &TQRDataSetup::AliasChanged);
    TableName = layout.AddCombo(QStringLiteral("Table"), {}, false, 200);
    Filter = layout.AddEdit(QStringLiteral("Filter"), 270);
    SQL = layout.AddMemo(QStringLiteral("SQL"), 90, 270);
    layout.AddButtons(OKButton, CancelButton);
    // OK closes only on choices a data set can open with.
    OKButton->ModalResult = mrNone;
    OKButton->OnClick = TNotifyEvent(this, &TQRDataSetup::OKClick);
    OnHide = TNotifyEvent(this, &TQRDataSetup::Hidden);
}

void TQRDataSetup::SetReport(TCustomQuickRep* report)
{
    report_ = report;
    TDataSet* ds = report->DataSet();
    if (auto* table = dynamic_cast<TTable*>(ds)) {
        Kind->SetItemIndex(qdkTable);
        Alias->SetText(table->DatabaseName());
        TableName->SetText(table->TableName());
        Filter->SetText(table->Filter());
    } else if (auto* query = dynamic_cast<TQuery*>(ds)) {
        Kind->SetItemIndex(qdkQuery);
        Alias->SetText(query->DatabaseName());
        SQL->Lines()->Assign(query->SQL());
    } else {
        Kind->SetItemIndex(qdkNone);
    }
    ListTables();
}

void TQRDataSetup::AliasChanged(TObject*)
{
    ListTables();
}

void TQRDataSetup::ListTables()
{
    const QString typed = TableName->Text();
    TableName->Items()->Clear();
    const QString folder = ResolveDatabase(Alias->Text());
    if (!folder.isEmpty())
        for (const QString& file : QDir(folder).entryList(
                 {QStringLiteral("*.db"), QStringLiteral("*.DB"), QStringLiteral("*.dbf"), QStringLiteral("*.DBF")},
                 QDir::Files, QDir::Name))
            TableName->Items()->Add(file);
    TableName->SetText(typed);
}

// The report's data set when it is of the kind and on the report's owner,
// else a new one there: a data set of another form or a data module, which
// others may share, is left as it is.
template <class T>
T* TQRDataSetup::DataSetOfKind(const QString& baseName)
{
    TComponent* owner = report_->Owner() ? report_->Owner() : report_;
    auto* current = dynamic_cast<T*>(report_->DataSet());
    if (current && current->Owner() == owner)
        return current;
    T* ds = New<T>(owner);
    ds->SetName(UniqueName(owner, baseName));
    return ds;
}

void TQRDataSetup::Apply()
{
    if (!report_)
        return;
    switch (Kind->ItemIndex()) {
    case qdkTable: {
        auto* table = DataSetOfKind<TTable>(QStringLiteral("Table"));
        table->Close();
        table->SetDatabaseName(Alias->Text());
        table->SetTableName(TableName->Text());
        table->SetFilter(Filter->Text());
        table->SetFiltered(!Filter->Text().trimmed().isEmpty());
        report_->SetDataSet(table);
        break;
    }
    case qdkQuery: {
        auto* query = DataSetOfKind<TQuery>(QStringLiteral("Query"));
        query->Close();
        query->SetDatabaseName(Alias->Text());
        query->SQL()->Assign(SQL->Lines());
        report_->SetDataSet(query);
        break;
    }
    default: report_->SetDataSet(nullptr); break;
    }
}

QString TQRDataSetup::MissingChoice() const
{
    if (Kind->ItemIndex() == qdkTable && TableName->Text().trimmed().isEmpty())
        return QStringLiteral("Choose or type the name of a table.");
    if (Kind->ItemIndex() == qdkQuery && SQL->Lines()->Text().trimmed().isEmpty())
        return QStringLiteral("Type the SQL statement of the query.");
    return {};
}

void TQRDataSetup::OKClick(TObject*)
{
    const QString missing = MissingChoice();
    if (missing.isEmpty())
        SetModalResult(mrOk);
    else
        ShowMessage(missing);
}

void TQRDataSetup::Hidden(TObject*)
{
    if (ModalResult() == mrOk)
        Apply();
}
