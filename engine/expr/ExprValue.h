#pragma once
// The values an expression computes: null, integer, float, string, Boolean,
// date, time and date-time, with the conversions the functions and the
// printed text need.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>
#include <optional>
#include <variant>

enum class TExprType { Null, Integer, Float, String, Boolean, Date, Time, DateTime };

class TExprValue {
public:
    TExprValue() = default;
    TExprValue(qint64 v) : v_(v) {}
    TExprValue(int v) : v_(qint64(v)) {}
    TExprValue(double v) : v_(v) {}
    TExprValue(const QString& v) : v_(v) {}
    TExprValue(const char* v) : v_(QString::fromUtf8(v)) {}
    TExprValue(bool v) : v_(v) {}
    TExprValue(const QDate& v) : v_(v) {}
    TExprValue(const QTime& v) : v_(v) {}
    TExprValue(const QDateTime& v) : v_(v) {}
    // A data-layer value (null QVariant, qint64, double, bool, QString, QDate...).
    static TExprValue FromVariant(const QVariant& v);

    TExprType Type() const { return static_cast<TExprType>(v_.index()); }
    bool IsNull() const { return Type() == TExprType::Null; }
    bool IsNumeric() const { return Type() == TExprType::Integer || Type() == TExprType::Float; }
    bool IsTemporal() const;

    qint64 AsInteger() const { return std::get<qint64>(v_); }  // integer only
    double AsFloat() const;                                     // numeric only
    // Numeric only: the value without its fraction, or none when that lies
    // beyond the integer range (or is no number at all).
    std::optional<qint64> WholePart() const;
    bool AsBoolean() const { return std::get<bool>(v_); }
    const QString& AsStringRef() const { return std::get<QString>(v_); }
    QDateTime AsDateTime() const;  // temporal only
    // The text a printed element shows for the value (null prints nothing).
    QString ToText() const;

    bool operator==(const TExprValue& other) const { return v_ == other.v_; }

private:
    std::variant<std::monostate, qint64, double, QString, bool, QDate, QTime, QDateTime> v_;
};

// "NULL", "INTEGER", "FLOAT", "STRING", "BOOLEAN", "DATE", "TIME", "DATETIME".
QString ExprTypeName(TExprType type);

// Formats a number with a picture of 0 (digit), # (optional digit), '.'
// (decimal point), ',' (thousands separators) and literal characters; a
// picture of two or three sections split by ';' gives positive, negative
// and zero their own forms.
QString FormatNumeric(const QString& picture, double value);
