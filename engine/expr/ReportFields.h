#pragma once
// Field references of expressions resolved through the data layer: the data
// sets that a component (a report's owner) owns and those of the data modules.
#include "Expression.h"

#include <vector>

class TComponent;
class TDataSet;

// The data sets the owner owns directly, then those of every data module.
std::vector<TDataSet*> ExpressionDataSets(TComponent* owner);

// Resolves "Table.Field" among ExpressionDataSets(owner) by data-set name and
// a bare "Field" in the primary data set first, then in the others in order.
TExprFieldResolver DataSetFieldResolver(TComponent* owner, TDataSet* primary = nullptr);
