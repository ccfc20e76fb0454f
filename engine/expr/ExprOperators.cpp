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

void TExprNode::FailAt(int position, const QString& what) const
{
    throw EExprError(*text_, position, what);
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

TExprValue NumericArithmetic(TExprOp op, const TExprValue& a, const TExprValue& b)
{
    if (a.Type() == TExprType::Integer && b.Type() == TExprType::Integer) {
        qint64 r = 0;
        const qint64 x = a.AsInteger();
        const qint64 y = b.AsInteger();
        const bool overflow = op == TExprOp::Add   ? __builtin_add_overflow(x, y, &r)
                              : op == TExprOp::Sub ? __builtin_sub_overflow(x, y, &r)
                                                   : __builtin_mul_overflow(x, y, &r);
        if (!overflow)
            return r;
    }
    const double x = a.AsFloat();
    const double y = b.AsFloat();
    return op == TExprOp::Add ? x + y : op == TExprOp::Sub ? x - y : x * y;
}

namespace {

class TUnaryNode : public TExprNode {
public:
    TUnaryNode(const QString* text, int position, TExprOp op) : TExprNode(text, position), op_(op) {}

    TExprValue Eval() const override
    {
        const TExprValue v = Args[0]->Eval();
        if (v.IsNull())
            return {};
        if (op_ == TExprOp::Not) {
            if (v.Type() != TExprType::Boolean)
                Fail(QStringLiteral("NOT needs a BOOLEAN, not %1").arg(ExprTypeName(v.Type())));
            return !v.AsBoolean();
        }
        if (!v.IsNumeric())
            Fail(QStringLiteral("Cannot negate %1").arg(ExprTypeName(v.Type())));
        // As 0 - v: the smallest integer's negation leaves the integer range.
        return NumericArithmetic(TExprOp::Sub, qint64(0), v);
    }

private:
    TExprOp op_;
};

// Operands a, b, c... and the operators between them, folded left to right.
class TChainNode : public TExprNode {
public:
    TChainNode(const QString* text, int position, TExprNodePtr first) : TExprNode(text, position)
    {
        Args.push_back(std::move(first));
    }

    void Append(TExprOp op, int position, TExprNodePtr operand)
    {
        steps_.push_back({op, position});
        Args.push_back(std::move(operand));
    }

    TExprValue Eval() const override
    {
        TExprValue value = Args[0]->Eval();
        for (size_t i = 0; i < steps_.size(); ++i)
            value = Apply(steps_[i], value, Args[i + 1]->Eval());
        return value;
    }

private:
    struct TStep {
        TExprOp Op;
        int Position;
    };

    TExprValue Apply(const TStep& step, const TExprValue& a, const TExprValue& b) const
    {
        if (step.Op == TExprOp::And || step.Op == TExprOp::Or)
            return Logical(step, a, b);
        if (step.Op >= TExprOp::Eq)
            return Comparison(step, a, b);
        if (a.IsNull() || b.IsNull())
            return {};  // arithmetic on a missing value gives a missing value
        return Arithmetic(step, a, b);
    }

    [[noreturn]] void Mismatch(const TStep& step, const TExprValue& a, const TExprValue& b) const
    {
        FailAt(step.Position, QStringLiteral("Operator %1 cannot combine %2 and %3")
                                  .arg(QLatin1String(OpText(step.Op)), ExprTypeName(a.Type()), ExprTypeName(b.Type())));
    }

    TExprValue Logical(const TStep& step, const TExprValue& a, const TExprValue& b) const
    {
        if (a.Type() != TExprType::Boolean || b.Type() != TExprType::Boolean)
            Mismatch(step, a, b);
        return step.Op == TExprOp::And ? a.AsBoolean() && b.AsBoolean() : a.AsBoolean() || b.AsBoolean();
    }

    TExprValue Comparison(const TStep& step, const TExprValue& a, const TExprValue& b) const
    {
        const TExprOp op = step.Op;
        if (a.IsNull() || b.IsNull()) {
            // Missing values are equal to each other only and have no order.
            const bool same = a.IsNull() && b.IsNull();
            return op == TExprOp::Eq ? same : op == TExprOp::Ne ? !same : false;
        }
        if (!ExprValuesComparable(a, b))
            Mismatch(step, a, b);
        const int c = CompareExprValues(a, b);
        switch (op) {
        case TExprOp::Eq: return c == 0;
        case TExprOp::Ne: return c != 0;
        case TExprOp::Lt: return c < 0;
        case TExprOp::Le: return c <= 0;
        case TExprOp::Gt: return c > 0;
        default: return c >= 0;
        }
    }

    TExprValue Arithmetic(const TStep& step, const TExprValue& a, const TExprValue& b) const
    {
        if (step.Op == TExprOp::Add && a.Type() == TExprType::String && b.Type() == TExprType::String)
            return a.AsStringRef() + b.AsStringRef();
        if ((step.Op == TExprOp::Add || step.Op == TExprOp::Sub) && a.Type() == TExprType::Date && b.IsNumeric())
            return DateArithmetic(step, a.AsDateTime().date(), b);
        if (!a.IsNumeric() || !b.IsNumeric())
            Mismatch(step, a, b);
        if (step.Op != TExprOp::Div)
            return NumericArithmetic(step.Op, a, b);
        if (b.AsFloat() == 0)
            FailAt(step.Position, QStringLiteral("Division by zero"));
        return a.AsFloat() / b.AsFloat();
    }

    // A date plus or minus whole days (the fraction of a day is dropped).
    TExprValue DateArithmetic(const TStep& step, const QDate& date, const TExprValue& days) const
    {
        if (date.isNull())
            return date;  // a missing date stays missing
        const std::optional<qint64> n = days.WholePart();
        qint64 day = 0;
        const bool inRange = n && (step.Op == TExprOp::Add ? !__builtin_add_overflow(date.toJulianDay(), *n, &day)
                                                           : !__builtin_sub_overflow(date.toJulianDay(), *n, &day));
        const QDate result = inRange ? QDate::fromJulianDay(day) : QDate();
        if (!result.isValid())
            FailAt(step.Position, QStringLiteral("Date out of range"));
        return result;
    }

    std::vector<TStep> steps_;
};

}  // namespace

TExprNodePtr MakeUnaryNode(const QString* text, int position, TExprOp op, TExprNodePtr operand)
{
    auto node = std::make_unique<TUnaryNode>(text, position, op);
    node->Args.push_back(std::move(operand));
    return node;
}

TExprNodePtr AppendBinary(const QString* text, TExprNodePtr left, TExprOp op, int position, TExprNodePtr right)
{
    auto* chain = dynamic_cast<TChainNode*>(left.get());
    if (!chain) {
        left = std::make_unique<TChainNode>(text, position, std::move(left));
        chain = static_cast<TChainNode*>(left.get());
    }
    chain->Append(op, position, std::move(right));
    return left;
}

TExprNodePtr MakeConstantNode(const QString* text, int position, TExprValue value)
{
    return std::make_unique<TConstantNode>(text, position, std::move(value));
}

TExprNodePtr MakeFieldNode(const QString* text, int position, TExprFieldReader reader)
{
    return std::make_unique<TFieldNode>(text, position, std::move(reader));
}
