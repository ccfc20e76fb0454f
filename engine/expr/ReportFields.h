#pragma once
// Field references of expressions resolved through the data layer: the data
// sets that a component (a report's owner) owns and those of the data modules.
#include "Expression.h"
#include "classes/Component.h"

#include <vector>

class TDataSet;
class TField;

// A field of a data set by name, looked up once rather than at every record:
// again only when the data set or the name changes or the field goes (a data
// set frees the fields it made when it closes). Free notification clears the
// field and the data set when they go.
class TFieldLink : public TComponent {
public:
    void Bind(TDataSet* dataSet, const QString& name);
    // The bound field; nil when the data set went, is closed or has no such field.
    TField* Field();
    // The field of that name in the data set, binding to them when they differ.
    TField* Field(TDataSet* dataSet, const QString& name);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TDataSet* dataSet_ = nullptr;
    QString name_;
    TField* field_ = nullptr;
};

// The data sets the owner owns directly, then those of every data module.
std::vector<TDataSet*> ExpressionDataSets(TComponent* owner);

// Resolves "Table.Field" among ExpressionDataSets(owner) by data-set name and
// a bare "Field" in the primary data set first, then in the others in order.
TExprFieldResolver DataSetFieldResolver(TComponent* owner, TDataSet* primary = nullptr);
