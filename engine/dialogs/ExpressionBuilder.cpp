#include "ExpressionBuilder.h"

#include "DialogLayout.h"
#include "classes/Owned.h"
#include "classes/Published.h"
#include "db/DataSet.h"
#include "db/Field.h"
#include "engine/expr/ReportFields.h"

namespace {

const char* const Operators[] = {"+", "-", "*", "/", "=", "<>", "<", ">", "<=", ">=", "AND", "OR", "NOT", "(", ")"};

// The field names of a data set. Fields exist only while a data set is open,
// and in a designed form most are closed: those open briefly to tell theirs.
QStringList FieldNamesOf(TDataSet* ds)
{
    QStringList names;
    const bool opened = !ds->Active();
    try {
        if (opened)
            ds->Open();
    } catch (const Exception&) {
        return names;  // a table that is not there offers no fields
    }
    for (TField* field : *ds->Fields())
        names << field->FieldName();
    if (opened)
        ds->Close();
    return names;
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
    // One button per operator, in rows as wide as the boxes above.
    constexpr int Left = 88, Right = 88 + 380, Width = 40, Step = 43, Height = 23;
    int x = Left, top = layout.Top();
    for (const char* op : Operators) {
        if (x + Width > Right) {
            x = Left;
            top += Height + 4;
        }
        auto* button = New<TButton>(this);
        button->SetParent(this);
        button->SetCaption(QString::fromLatin1(op));
        button->SetBounds(x, top, Width, Height);
        const QString text = QString::fromLatin1(op);
        button->OnClick = TNotifyEvent([this, text](TObject*) { InsertText(text); });
        x += Step;
    }
    // The check on demand, before OK checks again.
    CheckButton = New<TButton>(this);
    CheckButton->SetParent(this);
    CheckButton->SetCaption(QStringLiteral("Check"));
    CheckButton->SetBounds(Right - 75, top, 75, Height);
    CheckButton->OnClick = TNotifyEvent([this](TObject*) { Check(); });
    layout.Skip(top + Height + 8 - layout.Top());
    Status = layout.AddText(QString(), 460);
    layout.AddButtons(OKButton, CancelButton);
    // OK closes only a sound expression.
    OKButton->ModalResult = mrNone;
    OKButton->OnClick = TNotifyEvent(this, &TQRExpressionBuilder::OKClick);
}

void TQRExpressionBuilder::SetFieldOwner(TComponent* owner)
{
    fields_.clear();
    Fields->Items()->Clear();
    for (TDataSet* ds : ExpressionDataSets(owner)) {
        TFieldNames& entry = fields_.emplace_back(TFieldNames{ds->Name(), FieldNamesOf(ds)});
        for (const QString& name : entry.Fields)
            Fields->Items()->Add(entry.DataSet + QLatin1Char('.') + name);
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
    // Fields are checked by name: their values are null here.
    const TExprFieldResolver resolver = [this](const QString& dsName, const QString& field) -> TExprFieldReader {
        for (const TFieldNames& entry : fields_)
            if ((dsName.isEmpty() || entry.DataSet.compare(dsName, Qt::CaseInsensitive) == 0) &&
                entry.Fields.contains(field, Qt::CaseInsensitive))
                return [] { return TExprValue(); };
        return {};
    };
    QString error;
    try {
        TExpression(Expression->Text(), resolver);
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
    TOwned<TQRExpressionBuilder> builder(New<TQRExpressionBuilder>(nullptr));
    builder->SetDescription(description);
    builder->SetFieldOwner(owner);
    builder->Expression->SetText(text);
    const bool ok = builder->ShowModal() == mrOk;
    if (ok)
        text = builder->Expression->Text();
    return ok;
}
