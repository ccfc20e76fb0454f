#include "ExpressionBuilderDouble.h"

#include <gtest/gtest.h>

namespace {
BuilderScope* current = nullptr;
}  // namespace

BuilderScope::BuilderScope(BuilderAnswer answer) : answer_(std::move(answer)) { current = this; }
BuilderScope::~BuilderScope() { current = nullptr; }

bool GetExpression(const QString& description, QString& expression, TComponent* owner)
{
    if (!current) {
        ADD_FAILURE() << "expression builder opened unexpectedly";
        return false;
    }
    current->calls.push_back({description, expression, owner});
    return current->answer_(expression);
}
