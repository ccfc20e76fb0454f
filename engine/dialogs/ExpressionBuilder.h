#pragma once
// The modal expression builder: the expression being edited, the functions
// with a one-line description each, the fields of the data sets of an owner
// and of the data modules, the operators, and a check that shows an error
// before OK closes.
#include "forms/Forms.h"

#include <vector>

class TQRExpressionBuilder : public TForm {
    VK_CLASS(TQRExpressionBuilder, TForm)
public:
    void Create(TComponent* owner) override;
    // The data sets whose fields the builder offers and checks against.
    void SetFieldOwner(TComponent* owner);
    void SetDescription(const QString& text);

    // Adds the chosen function, field or operator at the end of the expression.
    void InsertFunction(int index);
    void InsertField(int index);
    void InsertText(const QString& text);
    // Checks the expression; shows and returns the error ("" when it is sound).
    QString Check();

    TLabel* Description = nullptr;
    TEdit* Expression = nullptr;
    TComboBox* Functions = nullptr;
    TLabel* FunctionHelp = nullptr;
    TComboBox* Fields = nullptr;
    TButton* CheckButton = nullptr;
    TLabel* Status = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;

private:
    void OKClick(TObject*);
    void FunctionChosen(TObject*);
    void FieldChosen(TObject*);
    struct TFieldNames {
        QString DataSet;
        QStringList Fields;
    };
    std::vector<TFieldNames> fields_;  // of the owner's data sets and the data modules'
};

// Edits text in the builder; true and the new text on OK, false (text
// unchanged) on Cancel.
bool GetExpression(const QString& description, QString& text, TComponent* owner);
