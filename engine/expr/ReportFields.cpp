#include "ReportFields.h"

#include "db/DataSet.h"
#include "forms/Forms.h"

namespace {

void CollectDataSets(TComponent* holder, std::vector<TDataSet*>& out)
{
    for (int i = 0; i < holder->ComponentCount(); ++i)
        if (auto* ds = dynamic_cast<TDataSet*>(holder->Components(i)))
            out.push_back(ds);
}

TExprFieldReader ReaderOf(TDataSet* ds, const QString& fieldName)
{
    TField* field = ds->FindField(fieldName);
    if (!field)
        return {};
    return [field] { return TExprValue::FromVariant(field->Value()); };
}

}  // namespace

std::vector<TDataSet*> ExpressionDataSets(TComponent* owner)
{
    std::vector<TDataSet*> out;
    if (owner)
        CollectDataSets(owner, out);
    if (Screen)
        for (int i = 0; i < Screen->DataModuleCount(); ++i)
            CollectDataSets(Screen->DataModules(i), out);
    return out;
}

TExprFieldResolver DataSetFieldResolver(TComponent* owner, TDataSet* primary)
{
    std::vector<TDataSet*> dataSets = ExpressionDataSets(owner);
    if (primary)
        dataSets.insert(dataSets.begin(), primary);
    return [dataSets](const QString& dataSetName, const QString& fieldName) -> TExprFieldReader {
        for (TDataSet* ds : dataSets) {
            if (!dataSetName.isEmpty() && ds->Name().compare(dataSetName, Qt::CaseInsensitive) != 0)
                continue;
            if (TExprFieldReader reader = ReaderOf(ds, fieldName))
                return reader;
        }
        return {};
    };
}
