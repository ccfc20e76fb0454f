#pragma once
// The expression language of expression elements, group expressions and the
// expression builder. An expression is parsed once (fields are looked up at
// that moment) and evaluated per record; aggregates (SUM, COUNT, MIN, MAX,
// AVERAGE) gather one value per Accumulate call until Reset.
#include "ExprValue.h"
#include "rtl/Exceptions.h"

#include <functional>
#include <memory>

// A syntax or type error: the message names the expression and the 1-based
// character position at which the fault was found.
class EExprError : public Exception {
public:
    EExprError(const QString& expression, int position, const QString& what);
    const char* ClassName() const override { return "EExprError"; }
    int Position;
    QString What;  // the fault alone, without expression and position
};

// Reads the current record's value of one field.
using TExprFieldReader = std::function<TExprValue()>;
// Finds a field by data-set name (empty when the reference named none) and
// field name; returns an empty reader when there is no such field.
using TExprFieldResolver = std::function<TExprFieldReader(const QString& dataSet, const QString& field)>;

class TExprNode;

class TExpression {
public:
    // Parses the text; raises EExprError. A null resolver knows no fields.
    explicit TExpression(const QString& text, const TExprFieldResolver& resolver = {});
    ~TExpression();
    TExpression(const TExpression&) = delete;
    TExpression& operator=(const TExpression&) = delete;

    const QString& Text() const { return text_; }
    // The value for the current record; raises EExprError on a type error.
    TExprValue Value() const;
    // Gives every aggregate of the expression the current record.
    void Accumulate();
    // Empties the aggregates.
    void Reset();
    bool HasAggregates() const { return hasAggregates_; }

private:
    QString text_;
    std::unique_ptr<TExprNode> root_;
    bool hasAggregates_ = false;
};

// Parses and evaluates in one go (tests, the builder's check).
TExprValue EvaluateExpression(const QString& text, const TExprFieldResolver& resolver = {});

// One entry of the function list the expression builder shows.
struct TExprFunctionInfo {
    QString Name;
    QString Syntax;       // "COPY(S, Start, Count)"
    QString Description;  // one line
};
const std::vector<TExprFunctionInfo>& ExprFunctionList();
