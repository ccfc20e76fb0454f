#pragma once
// The data setup dialog: the report reads no data, a table (alias, a table
// chosen from the alias's folder, a filter) or a query (alias, SQL). OK
// creates or changes the table or query on the report's owner and makes it
// the report's data set; Cancel changes nothing. OK with a table but no table
// name, or a query without SQL, says so and keeps the dialog open.
#include "forms/Forms.h"

class TCustomQuickRep;

VK_ENUM(TQRDataKind, qdkNone, qdkTable, qdkQuery)

class TQRDataSetup : public TForm {
    VK_CLASS(TQRDataSetup, TForm)
public:
    void Create(TComponent* owner) override;
    // Loads the dialog from the report's data set.
    void SetReport(TCustomQuickRep* report);
    // Writes the choices into the report and its owner (OK does this).
    void Apply();
    // Fills the table list with the table files of the alias's folder.
    void ListTables();

    TRadioGroup* Kind = nullptr;  // no data, table, query
    TComboBox* Alias = nullptr;
    TComboBox* TableName = nullptr;
    TEdit* Filter = nullptr;
    TMemo* SQL = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;

private:
    void Hidden(TObject*);
    void OKClick(TObject*);
    // What a data set of the chosen kind lacks to open, or nothing.
    QString MissingChoice() const;
    void AliasChanged(TObject*);
    template <class T>
    T* DataSetOfKind(const QString& baseName);
    TCustomQuickRep* report_ = nullptr;
};
