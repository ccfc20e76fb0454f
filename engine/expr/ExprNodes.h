#pragma once
// The parsed form of an expression: a tree of nodes that evaluate themselves.
// Internal to the expression module.
#include "Expression.h"

#include <vector>

class TExprNode {
public:
    TExprNode(const QString* text, int position) : text_(text), Position(position) {}
    virtual ~TExprNode() = default;
    virtual TExprValue Eval() const = 0;
    // Aggregates take the current record; other nodes pass the call on.
    virtual void Accumulate();
    virtual void Reset();
    [[noreturn]] void Fail(const QString& what) const { FailAt(Position, what); }
    [[noreturn]] void FailAt(int position, const QString& what) const;

    std::vector<std::unique_ptr<TExprNode>> Args;

protected:
    const QString* text_;  // the expression's text, for error messages

public:
    const int Position;
};

using TExprNodePtr = std::unique_ptr<TExprNode>;

// Builds the node of a call of a named function or aggregate; raises
// EExprError for an unknown name or a wrong argument count.
TExprNodePtr MakeCallNode(const QString* text, int position, const QString& name,
                          std::vector<TExprNodePtr> args);
bool IsAggregateName(const QString& upperName);

// Ordering of two non-null values: numbers with numbers, dates and times
// with each other, otherwise values of one type only.
bool ExprValuesComparable(const TExprValue& a, const TExprValue& b);
int CompareExprValues(const TExprValue& a, const TExprValue& b);  // -1, 0, 1

// Binary and unary operators.
enum class TExprOp { Add, Sub, Mul, Div, Eq, Ne, Lt, Le, Gt, Ge, And, Or, Not, Neg };
TExprNodePtr MakeUnaryNode(const QString* text, int position, TExprOp op, TExprNodePtr operand);
// "left op right". Binary operators evaluate strictly left to right, so a
// left operand that is itself such a chain takes one more step instead of
// nesting: a flat chain of any length evaluates without deep recursion.
TExprNodePtr AppendBinary(const QString* text, TExprNodePtr left, TExprOp op, int position, TExprNodePtr right);
// +, - or * of two numbers; integers whose result leaves the integer range
// give the result as a float.
TExprValue NumericArithmetic(TExprOp op, const TExprValue& a, const TExprValue& b);
TExprNodePtr MakeConstantNode(const QString* text, int position, TExprValue value);
TExprNodePtr MakeFieldNode(const QString* text, int position, TExprFieldReader reader);
