// The functions and aggregates of the expression language.
#include "ExprNodes.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace {

using TArgs = std::vector<TExprValue>;

class TCallNode;
using TFunctionBody = TExprValue (*)(const TCallNode& call, const TArgs& args);

struct TFunctionDef {
    TExprFunctionInfo Info;
    int MinArgs;
    int MaxArgs;
    TFunctionBody Body;  // nil for aggregates
};

class TCallNode : public TExprNode {
public:
    TCallNode(const QString* text, int position, const TFunctionDef& def) : TExprNode(text, position), def_(def) {}

    TExprValue Eval() const override
    {
        TArgs values;
        values.reserve(Args.size());
        for (const auto& arg : Args)
            values.push_back(arg->Eval());
        return def_.Body(*this, values);
    }

    // Checks that argument index is of one of the accepted kinds; null passes.
    void Need(const TArgs& args, size_t index, bool ok, const char* kind) const
    {
        if (!ok && !args[index].IsNull())
            Fail(QStringLiteral("%1 needs %2 as argument %3, not %4")
                     .arg(def_.Info.Name, QLatin1String(kind))
                     .arg(index + 1)
                     .arg(ExprTypeName(args[index].Type())));
    }
    void NeedNumber(const TArgs& args, size_t index) const { Need(args, index, args[index].IsNumeric(), "a number"); }
    // A whole number that counts characters: beyond the integer range it is
    // beyond every text, so the range's end counts the same.
    qint64 CountArg(const TArgs& args, size_t index) const
    {
        if (const std::optional<qint64> whole = args[index].WholePart())
            return *whole;
        const double v = args[index].AsFloat();
        if (std::isnan(v))
            Fail(QStringLiteral("%1 needs a number as argument %2, not NaN").arg(def_.Info.Name).arg(index + 1));
        return v < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    }
    void NeedString(const TArgs& args, size_t index) const
    {
        Need(args, index, args[index].Type() == TExprType::String, "a STRING");
    }

private:
    const TFunctionDef& def_;
};

bool AnyNull(const TArgs& args)
{
    for (const TExprValue& v : args)
        if (v.IsNull())
            return true;
    return false;
}

TExprValue FnIf(const TCallNode& c, const TArgs& a)
{
    c.Need(a, 0, a[0].Type() == TExprType::Boolean, "a BOOLEAN");
    return !a[0].IsNull() && a[0].AsBoolean() ? a[1] : a[2];
}

TExprValue FnStr(const TCallNode& c, const TArgs& a)
{
    c.NeedNumber(a, 0);
    return a[0].ToText();
}

template <QString (*Convert)(const QString&)>
TExprValue FnText(const TCallNode& c, const TArgs& a)
{
    c.NeedString(a, 0);
    return a[0].IsNull() ? TExprValue() : TExprValue(Convert(a[0].AsStringRef()));
}

QString Upper(const QString& s) { return s.toUpper(); }
QString Lower(const QString& s) { return s.toLower(); }
QString Pretty(const QString& s) { return s.left(1).toUpper() + s.mid(1).toLower(); }

TExprValue FnCopy(const TCallNode& c, const TArgs& a)
{
    c.NeedString(a, 0);
    c.NeedNumber(a, 1);
    c.NeedNumber(a, 2);
    if (AnyNull(a))
        return {};
    // Positions count from 1; a start before the text begins at its start.
    const qint64 start = std::max<qint64>(c.CountArg(a, 1), 1);
    const qint64 count = std::max<qint64>(c.CountArg(a, 2), 0);
    return a[0].AsStringRef().mid(start - 1, count);
}

template <double (*Op)(double)>
TExprValue FnNumber(const TCallNode& c, const TArgs& a)
{
    c.NeedNumber(a, 0);
    return a[0].IsNull() ? TExprValue() : TExprValue(Op(a[0].AsFloat()));
}

double Frac(double v) { return v - std::trunc(v); }

// A whole number as an integer, or as a float beyond the integer range.
TExprValue WholeNumber(double value)
{
    const TExprValue whole(std::trunc(value));
    const std::optional<qint64> integer = whole.WholePart();
    return integer ? TExprValue(*integer) : whole;
}

TExprValue FnInt(const TCallNode& c, const TArgs& a)
{
    c.NeedNumber(a, 0);
    if (a[0].IsNull() || a[0].Type() == TExprType::Integer)
        return a[0];
    return WholeNumber(a[0].AsFloat());
}

TExprValue FnSqrt(const TCallNode& c, const TArgs& a)
{
    c.NeedNumber(a, 0);
    if (!a[0].IsNull() && a[0].AsFloat() < 0)
        c.Fail(QStringLiteral("SQRT of a negative number"));
    return FnNumber<std::sqrt>(c, a);
}

TExprValue FnDiv(const TCallNode& c, const TArgs& a)
{
    c.NeedNumber(a, 0);
    c.NeedNumber(a, 1);
    if (AnyNull(a))
        return {};
    const double divisor = std::trunc(a[1].AsFloat());
    if (divisor == 0)
        c.Fail(QStringLiteral("Division by zero"));
    // Whole parts beyond the integer range, and the quotient beyond it (the
    // smallest integer divided by -1), divide as floats.
    const std::optional<qint64> x = a[0].WholePart();
    const std::optional<qint64> y = a[1].WholePart();
    if (x && y && !(*x == std::numeric_limits<qint64>::min() && *y == -1))
        return *x / *y;
    return WholeNumber(std::trunc(a[0].AsFloat()) / divisor);
}

TExprValue FnIsNull(const TCallNode&, const TArgs& a) { return a[0].IsNull(); }
TExprValue FnTypeOf(const TCallNode&, const TArgs& a) { return ExprTypeName(a[0].Type()); }
TExprValue FnDate(const TCallNode&, const TArgs&) { return QDate::currentDate(); }
TExprValue FnTime(const TCallNode&, const TArgs&) { return QTime::currentTime(); }

TExprValue FnFormatNumeric(const TCallNode& c, const TArgs& a)
{
    c.NeedString(a, 0);
    c.NeedNumber(a, 1);
    return AnyNull(a) ? TExprValue() : TExprValue(FormatNumeric(a[0].AsStringRef(), a[1].AsFloat()));
}

// The aggregates, in the order of the table below.
enum class TAggregate { Sum, Count, Min, Max, Average };

const std::vector<TFunctionDef>& Functions()
{
    static const std::vector<TFunctionDef> defs = {
        {{"IF", "IF(Condition, Then, Else)", "Then when the condition is true, else Else"}, 3, 3, FnIf},
        {{"STR", "STR(Number)", "The number as text"}, 1, 1, FnStr},
        {{"UPPER", "UPPER(Text)", "The text in capitals"}, 1, 1, FnText<Upper>},
        {{"LOWER", "LOWER(Text)", "The text in small letters"}, 1, 1, FnText<Lower>},
        {{"PRETTY", "PRETTY(Text)", "The text with a capital first letter and the rest small"}, 1, 1, FnText<Pretty>},
        {{"COPY", "COPY(Text, Start, Count)", "Count characters of the text from position Start (1 = first)"}, 3, 3,
         FnCopy},
        {{"INT", "INT(Number)", "The whole part of the number"}, 1, 1, FnInt},
        {{"FRAC", "FRAC(Number)", "The fractional part of the number"}, 1, 1, FnNumber<Frac>},
        {{"SQRT", "SQRT(Number)", "The square root of the number"}, 1, 1, FnSqrt},
        {{"DIV", "DIV(Dividend, Divisor)", "Whole-number division"}, 2, 2, FnDiv},
        {{"ISNULL", "ISNULL(Value)", "True when the value is missing (an empty field)"}, 1, 1, FnIsNull},
        {{"TYPEOF", "TYPEOF(Value)", "The type of the value: INTEGER, FLOAT, STRING, BOOLEAN, DATE..."}, 1, 1,
         FnTypeOf},
        {{"DATE", "DATE", "Today's date"}, 0, 0, FnDate},
        {{"TIME", "TIME", "The time of day"}, 0, 0, FnTime},
        {{"FORMATNUMERIC", "FORMATNUMERIC(Picture, Number)", "The number formatted by a picture such as '#,##0.00'"},
         2, 2, FnFormatNumeric},
        {{"SUM", "SUM(Number)", "Sum of the values of the records printed since the last reset"}, 1, 1, nullptr},
        {{"COUNT", "COUNT", "Number of records printed since the last reset"}, 0, 1, nullptr},
        {{"MIN", "MIN(Value)", "Smallest value of the records printed since the last reset"}, 1, 1, nullptr},
        {{"MAX", "MAX(Value)", "Largest value of the records printed since the last reset"}, 1, 1, nullptr},
        {{"AVERAGE", "AVERAGE(Number)", "Average of the values of the records printed since the last reset"}, 1, 1,
         nullptr},
    };
    return defs;
}

constexpr int FirstAggregate = 15;

class TAggregateNode : public TExprNode {
public:
    TAggregateNode(const QString* text, int position, TAggregate kind, const QString& name)
        : TExprNode(text, position), kind_(kind), name_(name)
    {
    }

    TExprValue Eval() const override
    {
        switch (kind_) {
        case TAggregate::Count: return count_;
        case TAggregate::Sum: return count_ ? sum_ : TExprValue(qint64(0));
        case TAggregate::Average: return count_ ? TExprValue(sum_.AsFloat() / double(count_)) : TExprValue();
        default: return extreme_;
        }
    }

    void Accumulate() override
    {
        const TExprValue v = Args.empty() ? TExprValue(true) : Args[0]->Eval();
        if (v.IsNull())
            return;  // missing values are not counted
        if ((kind_ == TAggregate::Sum || kind_ == TAggregate::Average) && !v.IsNumeric())
            Fail(QStringLiteral("%1 needs numbers, not %2").arg(name_, ExprTypeName(v.Type())));
        ++count_;
        if (kind_ == TAggregate::Sum || kind_ == TAggregate::Average)
            sum_ = count_ == 1 ? v : NumericArithmetic(TExprOp::Add, sum_, v);
        else if (kind_ == TAggregate::Min || kind_ == TAggregate::Max)
            TakeExtreme(v);
    }

    void Reset() override
    {
        count_ = 0;
        sum_ = {};
        extreme_ = {};
    }

private:
    void TakeExtreme(const TExprValue& v)
    {
        if (extreme_.IsNull()) {
            extreme_ = v;
            return;
        }
        if (!ExprValuesComparable(v, extreme_))
            Fail(QStringLiteral("%1 cannot compare %2 and %3")
                     .arg(name_, ExprTypeName(v.Type()), ExprTypeName(extreme_.Type())));
        const int c = CompareExprValues(v, extreme_);
        if (kind_ == TAggregate::Min ? c < 0 : c > 0)
            extreme_ = v;
    }

    TAggregate kind_;
    QString name_;
    qint64 count_ = 0;
    TExprValue sum_;
    TExprValue extreme_;
};

const TFunctionDef* FindFunction(const QString& upperName, int* index)
{
    const auto& defs = Functions();
    for (size_t i = 0; i < defs.size(); ++i)
        if (defs[i].Info.Name == upperName) {
            *index = int(i);
            return &defs[i];
        }
    return nullptr;
}

}  // namespace

bool IsAggregateName(const QString& upperName)
{
    int index = -1;
    return FindFunction(upperName, &index) && index >= FirstAggregate;
}

TExprNodePtr MakeCallNode(const QString* text, int position, const QString& name, std::vector<TExprNodePtr> args)
{
    const QString upper = name.toUpper();
    int index = -1;
    const TFunctionDef* def = FindFunction(upper, &index);
    auto fail = [&](const QString& what) { throw EExprError(*text, position, what); };
    if (!def)
        fail(QStringLiteral("Unknown function '%1'").arg(name));
    const int n = int(args.size());
    if (n < def->MinArgs || n > def->MaxArgs)
        fail(def->MinArgs == def->MaxArgs
                 ? QStringLiteral("%1 takes %2 argument(s), not %3").arg(upper).arg(def->MinArgs).arg(n)
                 : QStringLiteral("%1 takes %2 to %3 arguments, not %4").arg(upper).arg(def->MinArgs).arg(def->MaxArgs).arg(n));
    TExprNodePtr node;
    if (def->Body)
        node = std::make_unique<TCallNode>(text, position, *def);
    else
        node = std::make_unique<TAggregateNode>(text, position, static_cast<TAggregate>(index - FirstAggregate), upper);
    node->Args = std::move(args);
    return node;
}

const std::vector<TExprFunctionInfo>& ExprFunctionList()
{
    static const std::vector<TExprFunctionInfo> list = [] {
        std::vector<TExprFunctionInfo> out;
        for (const TFunctionDef& def : Functions())
            out.push_back(def.Info);
        return out;
    }();
    return list;
}
