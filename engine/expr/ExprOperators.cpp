// Constants, field references and the operators of the expression language.
#include "ExprNodes.h"

#include <cmath>

void TExprNode::Accumulate()
{
    for (auto& arg : Args)
        arg->Accumulate();
}

void TExprNode::Reset()
{
    for (auto& arg : Args)
        arg->Reset();
}

void TExprNode::Fail(const QString& what) const
{
    throw EExprError(*text_, Position, what);
}

namespace {

class TConstantNode : public TExprNode {
public:
    TConstantNode(const QString* text, int position, TExprValue value) : TExprNode(text, position), value_(value) {}
    TExprValue Eval() const override { return value_; }

private:
    TExprValue value_;
};

class TFieldNode : public TExprNode {
public:
    TFieldNode(const QString* text, int position, TExprFieldReader reader)
        : TExprNode(text, position), reader_(std::move(reader))
    {
    }
    TExprValue Eval() const override { return reader_(); }

private:
    TExprFieldReader reader_;
};

const char* OpText(TExprOp op)
{
    static const char* const texts[] = {"+", "-", "*", "/", "=", "<>", "<", "<=", ">", ">=", "AND", "OR", "NOT", "-"};
    return texts[static_cast<int>(op)];
}

}  // namespace

int CompareExprValues(const TExprValue& a, const TExprValue& b)
{
    auto sign = [](auto x, auto y) { return x < y ? -1 : (y < x ? 1 : 0); };
    if (a.IsNumeric())
        return a.Type() == TExprType::Integer && b.Type() == TExprType::Integer ? sign(a.AsInteger(), b.AsInteger())
                                                                               : sign(a.AsFloat(), b.AsFloat());
    if (a.Type() == TExprType::String)
        return sign(a.AsStringRef(), b.AsStringRef());
    if (a.Type() == TExprType::Boolean)
        return sign(int(a.AsBoolean()), int(b.AsBoolean()));
    return sign(a.AsDateTime(), b.AsDateTime());
}

bool ExprValuesComparable(const TExprValue& a, const TExprValue& b)
{
    return (a.IsNumeric() && b.IsNumeric()) || (a.IsTemporal() && b.IsTemporal()) || a.Type() == b.Type();
}

namespace {

class TOperatorNode : public TExprNode {
public:
    TOperatorNode(const QString* text, int position, TExprOp op) : TExprNode(text, position), op_(op) {}

    TExprValue Eval() const override
    {
        if (op_ == TExprOp::Not || op_ == TExprOp::Neg)
            return Unary(Args[0]->Eval());
        if (op_ == TExprOp::And || op_ == TExprOp::Or)
            return Logical();
        const TExprValue a = Args[0]->Eval();
        const TExprValue b = Args[1]->Eval();
        if (op_ >= TExprOp::Eq)
            return Comparison(a, b);
        if (a.IsNull() || b.IsNull())
            return {};  // arithmetic on a missing value gives a missing value
        return Arithmetic(a, b);
    }

    static TExprNodePtr Make(const QString* text, int position, TExprOp op, TExprNodePtr l, TExprNodePtr r)
    {
        auto node = std::make_unique<TOperatorNode>(text, position, op);
        node->Args.push_back(std::move(l));
        if (r)
            node->Args.push_back(std::move(r));
        return node;
    }

private:
    [[noreturn]] void Mismatch(const TExprValue& a, const TExprValue& b) const
    {
        Fail(QStringLiteral("Operator %1 cannot combine %2 and %3")
                 .arg(QLatin1String(OpText(op_)), ExprTypeName(a.Type()), ExprTypeName(b.Type())));
    }

    TExprValue Unary(const TExprValue& v) const
    {
        if (v.IsNull())
            return {};
        if (op_ == TExprOp::Not) {
            if (v.Type() != TExprType::Boolean)
                Fail(QStringLiteral("NOT needs a BOOLEAN, not %1").arg(ExprTypeName(v.Type())));
            return !v.AsBoolean();
        }
        if (!v.IsNumeric())
            Fail(QStringLiteral("Cannot negate %1").arg(ExprTypeName(v.Type())));
        return v.Type() == TExprType::Integer ? TExprValue(-v.AsInteger()) : TExprValue(-v.AsFloat());
    }

    TExprValue Logical() const
    {
        const TExprValue a = Args[0]->Eval();
        const TExprValue b = Args[1]->Eval();
        if (a.Type() != TExprType::Boolean || b.Type() != TExprType::Boolean)
            Mismatch(a, b);
        return op_ == TExprOp::And ? a.AsBoolean() && b.AsBoolean() : a.AsBoolean() || b.AsBoolean();
    }

    TExprValue Comparison(const TExprValue& a, const TExprValue& b) const
    {
        if (a.IsNull() || b.IsNull()) {
            // Missing values are equal to each other only and have no order.
            const bool same = a.IsNull() && b.IsNull();
            return op_ == TExprOp::Eq ? same : op_ == TExprOp::Ne ? !same : false;
        }
        if (!ExprValuesComparable(a, b))
            Mismatch(a, b);
        const int c = CompareExprValues(a, b);
        switch (op_) {
        case TExprOp::Eq: return c == 0;
        case TExprOp::Ne: return c != 0;
        case TExprOp::Lt: return c < 0;
        case TExprOp::Le: return c <= 0;
        case TExprOp::Gt: return c > 0;
        default: return c >= 0;
        }
    }

    TExprValue Arithmetic(const TExprValue& a, const TExprValue& b) const
    {
        if (op_ == TExprOp::Add && a.Type() == TExprType::String && b.Type() == TExprType::String)
            return a.AsStringRef() + b.AsStringRef();
        if ((op_ == TExprOp::Add || op_ == TExprOp::Sub) && a.Type() == TExprType::Date && b.IsNumeric())
            return a.AsDateTime().date().addDays(op_ == TExprOp::Add ? b.AsInteger() : -b.AsInteger());
        if (!a.IsNumeric() || !b.IsNumeric())
            Mismatch(a, b);
        const bool integers = a.Type() == TExprType::Integer && b.Type() == TExprType::Integer;
        switch (op_) {
        case TExprOp::Add: return integers ? TExprValue(a.AsInteger() + b.AsInteger()) : TExprValue(a.AsFloat() + b.AsFloat());
        case TExprOp::Sub: return integers ? TExprValue(a.AsInteger() - b.AsInteger()) : TExprValue(a.AsFloat() - b.AsFloat());
        case TExprOp::Mul: return integers ? TExprValue(a.AsInteger() * b.AsInteger()) : TExprValue(a.AsFloat() * b.AsFloat());
        default:
            if (b.AsFloat() == 0)
                Fail(QStringLiteral("Division by zero"));
            return a.AsFloat() / b.AsFloat();
        }
    }

    TExprOp op_;
};

}  // namespace

TExprNodePtr MakeOperatorNode(const QString* text, int position, TExprOp op, TExprNodePtr left, TExprNodePtr right)
{
    return TOperatorNode::Make(text, position, op, std::move(left), std::move(right));
}

TExprNodePtr MakeConstantNode(const QString* text, int position, TExprValue value)
{
    return std::make_unique<TConstantNode>(text, position, std::move(value));
}

TExprNodePtr MakeFieldNode(const QString* text, int position, TExprFieldReader reader)
{
    return std::make_unique<TFieldNode>(text, position, std::move(reader));
}
