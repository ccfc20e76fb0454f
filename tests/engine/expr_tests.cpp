// The expression language: precedence, types, functions, errors, fields and
// aggregates with reset.
#include "db/Field.h"
#include "engine/expr/Expression.h"

#include <gtest/gtest.h>
#include <map>

namespace {

QString Eval(const QString& text, const TExprFieldResolver& resolver = {})
{
    const TExprValue v = EvaluateExpression(text, resolver);
    return ExprTypeName(v.Type()) + QLatin1Char(':') + v.ToText();
}

struct TCase {
    QString Text;
    const char* Expected;  // TYPE:text
};

void Check(const std::vector<TCase>& cases, const TExprFieldResolver& resolver = {})
{
    for (const TCase& c : cases)
        EXPECT_EQ(Eval(c.Text, resolver), QString::fromUtf8(c.Expected)) << c.Text.left(40).toStdString();
}

// Position and fault of an expression that must fail.
std::pair<int, QString> ErrorOf(const QString& text, const TExprFieldResolver& resolver = {})
{
    try {
        TExpression e(text, resolver);
        e.Accumulate();
        e.Value();
    } catch (const EExprError& err) {
        // A long expression is quoted by its start.
        EXPECT_TRUE(err.Message().contains(text.left(60))) << err.Message().left(200).toStdString();
        return {err.Position, err.What};
    }
    ADD_FAILURE() << "no error for " << text.left(60).toStdString();
    return {0, {}};
}

// A one-table data source whose current record the test moves.
struct TFakeTable {
    std::vector<std::map<QString, TExprValue>> Rows;
    size_t Current = 0;

    TExprFieldResolver Resolver(const QString& tableName = QStringLiteral("Orders"))
    {
        return [this, tableName](const QString& dataSet, const QString& field) -> TExprFieldReader {
            if (!dataSet.isEmpty() && dataSet.compare(tableName, Qt::CaseInsensitive) != 0)
                return {};
            const QString key = field.toUpper();
            if (Rows.empty() || !Rows[0].count(key))
                return {};
            return [this, key] { return Rows[Current].at(key); };
        };
    }
};

}  // namespace

TEST(Expression, PrecedenceAndArithmetic)
{
    Check({
        {"1 + 2 * 3", "INTEGER:7"},
        {"(1 + 2) * 3", "INTEGER:9"},
        {"10 - 4 - 3", "INTEGER:3"},
        {"7 / 2", "FLOAT:3.5"},
        {"-2 * -3", "INTEGER:6"},
        {"2 * 3.5", "FLOAT:7"},
        {"1.5e2 + 1", "FLOAT:151"},
        {"1 + 2 = 3", "BOOLEAN:True"},
        {"1 < 2 AND 2 < 1 OR TRUE", "BOOLEAN:True"},
        {"NOT 1 = 2", "BOOLEAN:True"},
        {"NOT TRUE OR TRUE", "BOOLEAN:True"},
        {"TRUE OR FALSE AND FALSE", "BOOLEAN:True"},
        {"'ab' + 'cd'", "STRING:abcd"},
        {"'It''s'", "STRING:It's"},
        {"'b' > 'a'", "BOOLEAN:True"},
        {"2 >= 2.0", "BOOLEAN:True"},
        {"3 <> 3", "BOOLEAN:False"},
    });
}

TEST(Expression, Functions)
{
    Check({
        {"IF(1 > 2, 'yes', 'no')", "STRING:no"},
        {"STR(42) + '!'", "STRING:42!"},
        {"STR(2.5)", "STRING:2.5"},
        {"UPPER('abc')", "STRING:ABC"},
        {"lower('ABC')", "STRING:abc"},
        {"PRETTY('hELLO wORLD')", "STRING:Hello world"},
        {"COPY('Vornak', 2, 3)", "STRING:orn"},
        {"COPY('Vornak', 5, 10)", "STRING:ak"},
        {"INT(7.9)", "INTEGER:7"},
        {"INT(-7.9)", "INTEGER:-7"},
        {"FRAC(7.25)", "FLOAT:0.25"},
        {"SQRT(16)", "FLOAT:4"},
        {"DIV(17, 5)", "INTEGER:3"},
        {"ISNULL(1)", "BOOLEAN:False"},
        {"TYPEOF('x')", "STRING:STRING"},
        {"TYPEOF(1.5)", "STRING:FLOAT"},
        {"TYPEOF(DATE)", "STRING:DATE"},
        {"TYPEOF(TIME())", "STRING:TIME"},
        {"FORMATNUMERIC('#,##0.00', 1234567.891)", "STRING:1,234,567.89"},
        {"FORMATNUMERIC('0.0', -2.25)", "STRING:-2.3"},
        {"FORMATNUMERIC('000', 7)", "STRING:007"},
        {"FORMATNUMERIC('#.##', 0.5)", "STRING:.5"},
        {"FORMATNUMERIC('$ #,##0.00;($ #,##0.00)', -1500)", "STRING:($ 1,500.00)"},
    });
    EXPECT_EQ(EvaluateExpression("DATE").ToText(), dbformat::DateText(QDate::currentDate()));
}

TEST(Expression, ErrorsNameThePosition)
{
    EXPECT_EQ(ErrorOf("1 +").first, 4);
    EXPECT_EQ(ErrorOf("(1 + 2").first, 7);
    EXPECT_EQ(ErrorOf("'abc").first, 1);
    EXPECT_EQ(ErrorOf("1 $ 2").first, 3);
    EXPECT_EQ(ErrorOf("").second, "Expression is empty");
    EXPECT_EQ(ErrorOf("FOO(1)"), std::make_pair(1, QStringLiteral("Unknown function 'FOO'")));
    EXPECT_EQ(ErrorOf("2 + Nothing").second, "Unknown field or function 'Nothing'");
    EXPECT_EQ(ErrorOf("COPY('a', 1)").second, "COPY takes 3 argument(s), not 2");
    EXPECT_EQ(ErrorOf("1 + 2)").second, "Unexpected ')'");
    // Type errors point at the operator or function.
    EXPECT_EQ(ErrorOf("'a' * 2"), std::make_pair(5, QStringLiteral("Operator * cannot combine STRING and INTEGER")));
    EXPECT_EQ(ErrorOf("1 + 'a'").first, 3);
    EXPECT_EQ(ErrorOf("1 AND TRUE").first, 3);
    EXPECT_EQ(ErrorOf("IF(1, 2, 3)").second, "IF needs a BOOLEAN as argument 1, not INTEGER");
    EXPECT_EQ(ErrorOf("UPPER(3)").first, 1);
    EXPECT_EQ(ErrorOf("1 / 0").second, "Division by zero");
    EXPECT_EQ(ErrorOf("DIV(1, 0)").second, "Division by zero");
    EXPECT_EQ(ErrorOf("SQRT(-1)").first, 1);
    EXPECT_EQ(ErrorOf("SUM(SUM(1))").first, 5);
}

TEST(Expression, FieldsAndNulls)
{
    TFakeTable t;
    t.Rows = {{{"NAME", TExprValue("Ann")}, {"QTY", TExprValue(3)}, {"PRICE", TExprValue(2.5)}, {"NOTE", TExprValue()}}};
    const auto r = t.Resolver();
    Check({
        {"[Name] + '!'", "STRING:Ann!"},
        {"Orders.Qty * Orders.Price", "FLOAT:7.5"},
        {"orders.[price]", "FLOAT:2.5"},
        {"Qty + 1", "INTEGER:4"},
        {"ISNULL([Note])", "BOOLEAN:True"},
        {"[Note] + 1", "NULL:"},
        {"[Note] = [Note]", "BOOLEAN:True"},
        {"[Note] > 1", "BOOLEAN:False"},
        {"UPPER([Note])", "NULL:"},
    },
          r);
    // A date-time prints its time unless it is midnight, as a data field shows it.
    EXPECT_EQ(TExprValue(QDateTime(QDate(1994, 3, 2), QTime(0, 0))).ToText(), "03/02/1994");
    EXPECT_EQ(TExprValue(QDateTime(QDate(1994, 3, 2), QTime(9, 5))).ToText(), "03/02/1994 09:05:00");
    EXPECT_EQ(ErrorOf("Customers.Name", r).second, "Unknown field or function 'Customers.Name'");
    EXPECT_EQ(ErrorOf("[Name] * 2", r).first, 8);
}

TEST(Expression, AggregatesCollectUntilReset)
{
    TFakeTable t;
    for (int q : {4, 1, 7, 0})
        t.Rows.push_back({{"QTY", q == 0 ? TExprValue() : TExprValue(q)}, {"NAME", TExprValue(QString(QChar('a' + q)))}});
    const auto r = t.Resolver();
    TExpression sum("'Total ' + STR(SUM([Qty]))", r);
    TExpression count("COUNT", r);
    TExpression countQty("COUNT(Qty)", r);
    TExpression min("MIN(Qty)", r);
    TExpression max("MAX([Name])", r);
    TExpression avg("AVERAGE(Qty * 1.0)", r);
    TExpression plain("Qty", r);
    EXPECT_FALSE(plain.HasAggregates());
    EXPECT_TRUE(sum.HasAggregates());
    EXPECT_EQ(sum.Value().ToText(), "Total 0");
    EXPECT_TRUE(min.Value().IsNull());
    for (TExpression* e : {&sum, &count, &countQty, &min, &max, &avg})
        for (t.Current = 0; t.Current < t.Rows.size(); ++t.Current)
            e->Accumulate();
    EXPECT_EQ(sum.Value().ToText(), "Total 12");
    EXPECT_EQ(count.Value().ToText(), "4");
    EXPECT_EQ(countQty.Value().ToText(), "3");  // the missing value is not counted
    EXPECT_EQ(min.Value().ToText(), "1");
    EXPECT_EQ(max.Value().ToText(), "h");
    EXPECT_EQ(avg.Value().ToText(), "4");

    sum.Reset();
    min.Reset();
    t.Current = 1;
    sum.Accumulate();
    min.Accumulate();
    EXPECT_EQ(sum.Value().ToText(), "Total 1");
    EXPECT_EQ(min.Value().ToText(), "1");
}

TEST(Expression, FunctionListDescribesEveryFunction)
{
    const auto& list = ExprFunctionList();
    EXPECT_EQ(list.size(), 20u);
    for (const auto& f : list) {
        EXPECT_FALSE(f.Description.isEmpty()) << f.Name.toStdString();
        EXPECT_TRUE(f.Syntax.startsWith(f.Name)) << f.Name.toStdString();
    }
}

namespace {

QString Repeat(const char* piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

// "first op first op ... first" of the given number of terms.
QString Chain(const char* term, const char* op, int terms)
{
    return QString::fromLatin1(term) + (QString::fromLatin1(op) + QString::fromLatin1(term)).repeated(terms - 1);
}

}  // namespace

TEST(Expression, NestingIsBoundedAndFlatChainsOfAnyLengthEvaluate)
{
    const QString tooDeep = QStringLiteral("Expression too deeply nested (more than 200 levels)");
    const std::vector<std::pair<QString, int>> refused = {
        {Repeat("(", 10000) + "1" + Repeat(")", 10000), 201},
        {Repeat("-", 100000) + "1", 201},
        {Repeat("NOT ", 100000) + "TRUE", 801},
        {Repeat("UPPER(", 10000) + "'a'" + Repeat(")", 10000), 1201},
        {Repeat("-(", 5000) + "1" + Repeat(")", 5000), 201},
        {"SUM(" + Repeat("(", 1000), 204},  // refused before the missing ')' is seen
    };
    for (const auto& [text, position] : refused) {
        const auto [at, what] = ErrorOf(text);
        EXPECT_EQ(what, tooDeep) << text.left(20).toStdString();
        EXPECT_EQ(at, position) << text.left(20).toStdString();
    }
    // The message quotes a long expression by its start, the fault stays in sight.
    try {
        TExpression e(Repeat("(", 10000) + "1" + Repeat(")", 10000));
    } catch (const EExprError& err) {
        EXPECT_EQ(err.Message(), "Error in expression '" + Repeat("(", 60) + "...' at position 201: " + tooDeep);
    }
    Check({
        {(Repeat("(", 200) + "7" + Repeat(")", 200)), "INTEGER:7"},
        {(Repeat("-", 200) + "7"), "INTEGER:7"},
        {(Repeat("NOT ", 199) + "TRUE"), "BOOLEAN:False"},
        {(Chain("1", "+", 100000)), "INTEGER:100000"},
        {(Chain("2", " - 1 + ", 100000)), "INTEGER:100001"},
        {(Chain("1.5", "*", 100000)), "FLOAT:inf"},
        {(Chain("2", "/", 60000) + " = 0"), "BOOLEAN:True"},
        {(Chain("TRUE", " AND ", 100000)), "BOOLEAN:True"},
        {(Chain("1 = 2", " OR ", 100000)), "BOOLEAN:False"},
        {Chain("'a'", "+", 10000) + " = '" + Repeat("a", 10000) + "'", "BOOLEAN:True"},
        {("10 - " + Chain("(1 + 2)", " * ", 3) + " - (5 - 2)"), "INTEGER:-20"},
    });
    // Aggregates inside a long chain gather and reset as any other.
    TExpression total(Chain("SUM(2)", "+", 60000));
    total.Accumulate();
    total.Accumulate();
    EXPECT_EQ(total.Value().ToText(), "240000");
    total.Reset();
    EXPECT_EQ(total.Value().ToText(), "0");
    // The fault in a chain is found at its own operator.
    EXPECT_EQ(ErrorOf(Chain("1", "+", 50) + " + 'a'"), std::make_pair(101, QStringLiteral("Operator + cannot combine INTEGER and STRING")));
}

TEST(Expression, ArithmeticBeyondTheIntegerRangeIsDefined)
{
    Check({
        // Integers that leave their range give floats.
        {"9223372036854775807 + 1", "FLOAT:9.22337203685478e+18"},
        {"-9223372036854775807 - 2", "FLOAT:-9.22337203685478e+18"},
        {"-9223372036854775807 - 1", "INTEGER:-9223372036854775808"},
        {"4294967296 * 4294967296", "FLOAT:1.84467440737096e+19"},
        {"3037000499 * 3037000499", "INTEGER:9223372030926249001"},
        {"-(-9223372036854775807 - 1)", "FLOAT:9.22337203685478e+18"},
        {"-(-9223372036854775807)", "INTEGER:9223372036854775807"},
        {"99999999999999999999", "FLOAT:1e+20"},
        // DIV of whole parts; quotients beyond the range are floats.
        {"DIV(-9223372036854775807 - 1, -1)", "FLOAT:9.22337203685478e+18"},
        {"DIV(-9223372036854775807 - 1, 2)", "INTEGER:-4611686018427387904"},
        {"DIV(1e300, 3)", "FLOAT:3.33333333333333e+299"},
        {"DIV(9e18, 1)", "INTEGER:9000000000000000000"},
        {"DIV(7.9, 2.9)", "INTEGER:3"},
        {"DIV(-7, 2)", "INTEGER:-3"},
        {"DIV(5, 1e300)", "INTEGER:0"},
        // INT keeps a whole part beyond the range as a float.
        {"INT(1e300)", "FLOAT:1e+300"},
        {"INT(-1e300)", "FLOAT:-1e+300"},
        {"INT(9223372036854775807)", "INTEGER:9223372036854775807"},
        {"INT(1e300 * 1e300)", "FLOAT:inf"},
        // Positions and counts beyond the range are beyond every text.
        {"COPY('Vornak', 1e300, 2)", "STRING:"},
        {"COPY('Vornak', -1e300, 1e300)", "STRING:Vornak"},
        {"COPY('Vornak', 2, 9223372036854775807)", "STRING:ornak"},
        {"COPY('Vornak', 9223372036854775807, 9223372036854775807)", "STRING:"},
        {"FORMATNUMERIC('#,##0', 1e20)", "STRING:100,000,000,000,000,000,000"},
    });
    EXPECT_EQ(ErrorOf("DIV(1, 0.5)").second, "Division by zero");
    EXPECT_EQ(ErrorOf("COPY('Vornak', FRAC(1e300 * 1e300), 1)").second, "COPY needs a number as argument 2, not NaN");

    TFakeTable t;
    const std::map<QString, TExprValue> row = {
        {"DAY", TExprValue(QDate(1994, 3, 2))}, {"NODAY", TExprValue(QDate())}, {"BIG", TExprValue(qint64(9223372036854775807))}};
    t.Rows = {row, row};
    const auto r = t.Resolver();
    Check({
        {"[Day] + 1.9", "DATE:03/03/1994"},
        {"[Day] - 2", "DATE:02/28/1994"},
        {"[Day] - (-1)", "DATE:03/03/1994"},
        {"[NoDay] + 1E111", "DATE:"},
    },
          r);
    // A date beyond the calendar is refused at its operator.
    for (const char* text : {"[Day] - 1E111", "[Day] + 1E111", "[Day] + 9223372036854775807",
                             "[Day] - (-9223372036854775807 - 1)", "[Day] - 9223372036854775807",
                             "[Day] + 1e300 * 1e300", "[Day] + FRAC(1e300 * 1e300)", "[Day] + 1e15"})
        EXPECT_EQ(ErrorOf(text, r), std::make_pair(7, QStringLiteral("Date out of range"))) << text;

    // A running sum leaves the integer range as a float.
    TExpression sum("SUM(Big)", r);
    TExpression average("AVERAGE(Big)", r);
    for (t.Current = 0; t.Current < t.Rows.size(); ++t.Current)
        for (TExpression* e : {&sum, &average})
            e->Accumulate();
    EXPECT_EQ(ExprTypeName(sum.Value().Type()) + ':' + sum.Value().ToText(), "FLOAT:1.84467440737096e+19");
    EXPECT_EQ(average.Value().ToText(), "9.22337203685478e+18");
}
