// An expression as an expression element uses it: parsed once against the
// fields of a data set, evaluated, accumulated over records and reset.
#include "FuzzTargets.h"
#include "engine/expr/Expression.h"

#include <QStringDecoder>

#include <map>

namespace {

// One record of every value type, under the data-set name Orders.
TExprFieldReader FieldOf(const QString& dataSet, const QString& field)
{
    static const std::map<QString, TExprValue> record = {
        {QStringLiteral("NAME"), TExprValue("Ann")},
        {QStringLiteral("QTY"), TExprValue(3)},
        {QStringLiteral("PRICE"), TExprValue(2.5)},
        {QStringLiteral("PAID"), TExprValue(true)},
        {QStringLiteral("SOLD"), TExprValue(QDate(1994, 3, 2))},
        {QStringLiteral("AT"), TExprValue(QTime(9, 5))},
        {QStringLiteral("STAMP"), TExprValue(QDateTime(QDate(1994, 3, 2), QTime(9, 5)))},
        {QStringLiteral("NOTE"), TExprValue()},
    };
    if (!dataSet.isEmpty() && dataSet.compare(u"Orders", Qt::CaseInsensitive) != 0)
        return {};
    const auto it = record.find(field.toUpper());
    if (it == record.end())
        return {};
    return [value = it->second] { return value; };
}

}  // namespace

int FuzzExpression(const uint8_t* data, size_t size)
{
    auto decode = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(FuzzInput(data, size));
    try {
        TExpression expression(text, FieldOf);
        (void)expression.Value().ToText();
        expression.Accumulate();
        expression.Accumulate();
        (void)expression.Value().ToText();
        expression.Reset();
        (void)expression.Value().ToText();
    } catch (const Exception&) {
    }
    return 0;
}
