#include "ExpressionBuilder.h"

#include "DialogLayout.h"
#include "classes/Published.h"
#include "db/DataSet.h"
#include "engine/expr/ReportFields.h"

namespace {

const char* const Operators[] = {"+", "-", "*", "/", "=", "<>", "<", ">", "<=", ">=", "AND", "OR", "NOT", "(", ")"};

// Knows every field of the owner's data sets, open or not; values are null.
TExprFieldResolver CheckResolver(TComponent* owner)
{
    const TExprFieldResolver live = DataSetFieldResolver(owner);
    const std::vector<TDataSet*> dataSets = ExpressionDataSets(owner);
    return [live, dataSets](const QString& dsName, const QString& field) -> TExprFieldReader {
        if (TExprFieldReader reader = live(dsName, field))
            return reader;
        for (TDataSet* ds : dataSets) {
            if (!dsName.isEmpty() && ds->Name().compare(dsName, Qt::CaseInsensitive) != 0)
                continue;
            for (const TFieldDef& def : ds->FieldDefs())
                if (def.Name.compare(field, Qt::CaseInsensitive) == 0)
                    return [] { return TExprValue(); };
        }
        return {};
    };
}

}  // namespace

VK_PUBLISHED(TQRExpressionBuilder) {}

void TQRExpressionBuilder::Create(TComponent* owner)
{
    inherited::Create(owner);
    SetCaption(QStringLiteral("Expression builder"));
    TDialogLayout layout(this, 8, 80);
    Description = layout.AddText(QString(), 460);
    Expression = layout.AddEdit(QStringLiteral("Expression"), 380);
    QStringList functions;
    for (const TExprFunctionInfo& f : ExprFunctionList())
        functions << f.Syntax;
    Functions = layout.AddCombo(QStringLiteral("Functions"), functions, true, 380);
    Functions->OnChange = TNotifyEvent(this, &TQRExpressionBuilder::FunctionChosen);
    FunctionHelp = layout.AddText(QString(), 460);
    Fields = layout.AddCombo(QStringLiteral("Fields"), {}, true, 380);
    Fields->OnChange = TNotifyEvent(this, &TQRExpressionBuilder::FieldChosen);
    // One button per operator, in a row.
    const int top = layout.Top();
    int x = 88;
    for (const char* op : Operators) {
        auto* button = New<TButton>(this);
        button->SetParent(this);
        button->SetCaption(QString::fromLatin1(op));
        button->SetBounds(x, top, 34, 23);
        const QString text = QString::fromLatin1(op);
        button->OnClick = TNotifyEvent([this, text](TObject*) { InsertText(text); });
        x += 36;
    }
    layout.Skip(30);
    Status = layout.AddText(QString(), 460);
    layout.AddButtons(OKButton, CancelButton);
    // OK closes only a sound expression.
    OKButton->ModalResult = mrNone;
    OKButton->OnClick = TNotifyEvent(this, &TQRExpressionBuilder::OKClick);
}

void TQRExpressionBuilder::SetFieldOwner(TComponent* owner)
{
    fieldOwner_ = owner;
    Fields->Items()->Clear();
    for (TDataSet* ds : ExpressionDataSets(owner)) {
        QStringList names;
        for (TField* field : *ds->Fields())
            names << field->FieldName();
        if (names.isEmpty())
            for (const TFieldDef& def : ds->FieldDefs())
                names << def.Name;
        for (const QString& name : names)
            Fields->Items()->Add(ds->Name() + QLatin1Char('.') + name);
    }
}

void TQRExpressionBuilder::SetDescription(const QString& text)
{
    Description->SetCaption(text);
}

void TQRExpressionBuilder::InsertText(const QString& text)
{
    const QString current = Expression->Text();
    const bool space = !current.isEmpty() && !current.endsWith(QLatin1Char(' '));
    Expression->SetText(current + (space ? QStringLiteral(" ") : QString()) + text);
}

void TQRExpressionBuilder::InsertFunction(int index)
{
    const auto& list = ExprFunctionList();
    if (index < 0 || index >= int(list.size()))
        return;
    FunctionHelp->SetCaption(list[index].Description);
    InsertText(list[index].Syntax.contains(QLatin1Char('(')) ? list[index].Name + QStringLiteral("(") : list[index].Name);
}

void TQRExpressionBuilder::InsertField(int index)
{
    if (index >= 0 && index < Fields->Items()->Count())
        InsertText(Fields->Items()->Strings(index));
}

void TQRExpressionBuilder::FunctionChosen(TObject*)
{
    InsertFunction(Functions->ItemIndex());
}

void TQRExpressionBuilder::FieldChosen(TObject*)
{
    InsertField(Fields->ItemIndex());
}

QString TQRExpressionBuilder::Check()
{
    QString error;
    try {
        TExpression(Expression->Text(), CheckResolver(fieldOwner_));
    } catch (const EExprError& e) {
        error = e.Message();
    }
    Status->SetCaption(error);
    return error;
}

void TQRExpressionBuilder::OKClick(TObject*)
{
    if (Check().isEmpty())
        SetModalResult(mrOk);
}

bool GetExpression(const QString& description, QString& text, TComponent* owner)
{
    auto* builder = New<TQRExpressionBuilder>(nullptr);
    bool ok = false;
    try {
        builder->SetDescription(description);
        builder->SetFieldOwner(owner);
        builder->Expression->SetText(text);
        ok = builder->ShowModal() == mrOk;
        if (ok)
            text = builder->Expression->Text();
    } catch (...) {
        builder->Free();
        throw;
    }
    builder->Free();
    return ok;
}
