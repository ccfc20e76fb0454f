#include "ReportFields.h"

#include "classes/Owned.h"
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
    if (!ds->FindField(fieldName))
        return {};
    // the expression outlives the data set's fields when the data set closes and opens again
    std::shared_ptr<TFieldLink> link(New<TFieldLink>(nullptr), TFreeObject());
    link->Bind(ds, fieldName);
    return [link] {
        const TField* field = link->Field();
        return field ? TExprValue::FromVariant(field->Value()) : TExprValue();
    };
}

}  // namespace

void TFieldLink::Bind(TDataSet* dataSet, const QString& name)
{
    for (TComponent* gone : {static_cast<TComponent*>(dataSet_), static_cast<TComponent*>(field_)})
        if (gone)
            RemoveFreeNotification(gone);
    dataSet_ = dataSet;
    name_ = name;
    field_ = nullptr;
    FreeNotification(dataSet_);
}

TField* TFieldLink::Field()
{
    // a persistent field can also leave its data set and live on
    if (field_ && field_->DataSet() == dataSet_)
        return field_;
    if (field_)
        RemoveFreeNotification(field_);
    field_ = dataSet_ ? dataSet_->FindField(name_) : nullptr;
    FreeNotification(field_);
    return field_;
}

TField* TFieldLink::Field(TDataSet* dataSet, const QString& name)
{
    if (dataSet != dataSet_ || name != name_)
        Bind(dataSet, name);
    return Field();
}

void TFieldLink::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == dataSet_) {
        // its persistent fields live on without it
        if (field_)
            RemoveFreeNotification(field_);
        dataSet_ = nullptr;
        field_ = nullptr;
    } else if (component == field_) {
        field_ = nullptr;
    }
}

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
