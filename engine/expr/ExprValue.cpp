#include "ExprValue.h"

#include "db/Field.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>

TExprValue TExprValue::FromVariant(const QVariant& v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool: return v.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort: return v.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: return v.toDouble();
    case QMetaType::QDate: return v.toDate();
    case QMetaType::QTime: return v.toTime();
    case QMetaType::QDateTime: return v.toDateTime();
    default: return v.toString();
    }
}

bool TExprValue::IsTemporal() const
{
    const TExprType t = Type();
    return t == TExprType::Date || t == TExprType::Time || t == TExprType::DateTime;
}

std::optional<qint64> TExprValue::WholePart() const
{
    if (Type() == TExprType::Integer)
        return std::get<qint64>(v_);
    // -2^63 and 2^63 are exact doubles; a NaN fails both tests.
    const double whole = std::trunc(std::get<double>(v_));
    if (whole >= -9223372036854775808.0 && whole < 9223372036854775808.0)
        return static_cast<qint64>(whole);
    return std::nullopt;
}

double TExprValue::AsFloat() const
{
    return Type() == TExprType::Integer ? double(std::get<qint64>(v_)) : std::get<double>(v_);
}

QDateTime TExprValue::AsDateTime() const
{
    switch (Type()) {
    case TExprType::Date: return QDateTime(std::get<QDate>(v_), QTime(0, 0));
    case TExprType::Time: return QDateTime(QDate(1899, 12, 30), std::get<QTime>(v_));
    default: return std::get<QDateTime>(v_);
    }
}

QString TExprValue::ToText() const
{
    switch (Type()) {
    case TExprType::Null: return {};
    case TExprType::Integer: return QString::number(std::get<qint64>(v_));
    case TExprType::Float: return dbformat::FloatText(std::get<double>(v_));
    case TExprType::String: return std::get<QString>(v_);
    case TExprType::Boolean: return std::get<bool>(v_) ? QStringLiteral("True") : QStringLiteral("False");
    case TExprType::Date: return dbformat::DateText(std::get<QDate>(v_));
    case TExprType::Time: return dbformat::TimeText(std::get<QTime>(v_));
    // a date-time at midnight is a plain date (a date field's value), as a data field shows it
    case TExprType::DateTime: return dbformat::DateTimeText(std::get<QDateTime>(v_));
    }
    return {};
}

QString ExprTypeName(TExprType type)
{
    static const char* const names[] = {"NULL", "INTEGER", "FLOAT", "STRING", "BOOLEAN", "DATE", "TIME", "DATETIME"};
    return QString::fromLatin1(names[static_cast<int>(type)]);
}

namespace {

QString GroupThousands(const QString& digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += QLatin1Char(',');
        out += digits[i];
    }
    return out;
}

// One section of the picture applied to a non-negative value.
QString FormatSection(const QString& section, double value)
{
    const int point = section.indexOf(QLatin1Char('.'));
    const QString intPart = point < 0 ? section : section.left(point);
    const QString fracPart = point < 0 ? QString() : section.mid(point + 1);
    const int fracRequired = int(fracPart.count(QLatin1Char('0')));
    const int fracOptional = int(fracPart.count(QLatin1Char('#')));
    const int intRequired = int(intPart.count(QLatin1Char('0')));
    const bool thousands = intPart.contains(QLatin1Char(','));

    QString number = QString::number(value, 'f', fracRequired + fracOptional);
    QString intDigits = number.section(QLatin1Char('.'), 0, 0);
    QString fracDigits = number.section(QLatin1Char('.'), 1, 1);
    while (fracDigits.size() > fracRequired && fracDigits.endsWith(QLatin1Char('0')))
        fracDigits.chop(1);
    if (intDigits == QLatin1String("0") && intRequired == 0)
        intDigits.clear();
    while (intDigits.size() < intRequired)
        intDigits.prepend(QLatin1Char('0'));
    if (thousands)
        intDigits = GroupThousands(intDigits);

    // Literal characters before the first and after the last placeholder stay.
    static const QString placeholders = QStringLiteral("0#,.");
    int first = 0;
    while (first < section.size() && !placeholders.contains(section[first]))
        ++first;
    int last = section.size() - 1;
    while (last >= first && !placeholders.contains(section[last]))
        --last;
    QString body = intDigits;
    if (!fracDigits.isEmpty())
        body += QLatin1Char('.') + fracDigits;
    return section.left(first) + body + section.mid(last + 1);
}

}  // namespace

QString FormatNumeric(const QString& picture, double value)
{
    if (picture.isEmpty())
        return dbformat::FloatText(value);
    const QStringList sections = picture.split(QLatin1Char(';'));
    if (value == 0 && sections.size() > 2)
        return FormatSection(sections[2], 0);
    if (value < 0 && sections.size() > 1)
        return FormatSection(sections[1], -value);
    QString text = FormatSection(sections[0], std::fabs(value));
    return value < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]"))) ? QLatin1Char('-') + text : text;
}
