// Tokenizer and recursive-descent parser of the expression language, and the
// public face of a parsed expression.
#include "ExprNodes.h"

namespace {

// Parsing, evaluating and freeing the tree recurse once per level of
// parentheses, calls and unary operators; deeper text is refused before the
// stack runs out. Flat chains of binary operators do not nest.
constexpr int MaxNesting = 200;

enum class TTok { End, Number, String, Ident, Field, Op, LParen, RParen, Comma, Dot };

struct TToken {
    TTok Kind = TTok::End;
    QString Text;  // identifier, field name, string contents, number, operator
    int Position = 1;
};

class TParser {
public:
    TParser(const QString* text, const TExprFieldResolver& resolver) : text_(*text), textPtr_(text), resolver_(resolver)
    {
        Next();
    }

    TExprNodePtr ParseAll()
    {
        if (tok_.Kind == TTok::End)
            Fail(tok_.Position, QStringLiteral("Expression is empty"));
        TExprNodePtr node = ParseOr();
        if (tok_.Kind != TTok::End)
            Fail(tok_.Position, QStringLiteral("Unexpected '%1'").arg(tok_.Text));
        return node;
    }
    bool SawAggregate() const { return sawAggregate_; }

private:
    [[noreturn]] void Fail(int position, const QString& what) const { throw EExprError(text_, position, what); }

    // One more level of nesting while it lives.
    class TNesting {
    public:
        TNesting(TParser& parser, int position) : parser_(parser)
        {
            if (parser_.nesting_ == MaxNesting)
                parser_.Fail(position, QStringLiteral("Expression too deeply nested (more than %1 levels)").arg(MaxNesting));
            ++parser_.nesting_;
        }
        ~TNesting() { --parser_.nesting_; }
        TNesting(const TNesting&) = delete;
        TNesting& operator=(const TNesting&) = delete;

    private:
        TParser& parser_;
    };

    bool IsKeyword(const char* word) const
    {
        return tok_.Kind == TTok::Ident && tok_.Text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool IsOp(const char* op) const { return tok_.Kind == TTok::Op && tok_.Text == QLatin1String(op); }

    // Binary levels, lowest first: OR; AND; NOT; comparisons; + -; * /.
    TExprNodePtr ParseOr()
    {
        TExprNodePtr left = ParseAnd();
        while (IsKeyword("OR")) {
            const int pos = tok_.Position;
            Next();
            left = AppendBinary(textPtr_, std::move(left), TExprOp::Or, pos, ParseAnd());
        }
        return left;
    }
    TExprNodePtr ParseAnd()
    {
        TExprNodePtr left = ParseNot();
        while (IsKeyword("AND")) {
            const int pos = tok_.Position;
            Next();
            left = AppendBinary(textPtr_, std::move(left), TExprOp::And, pos, ParseNot());
        }
        return left;
    }
    TExprNodePtr ParseNot()
    {
        if (!IsKeyword("NOT"))
            return ParseComparison();
        const int pos = tok_.Position;
        const TNesting nesting(*this, pos);
        Next();
        return MakeUnaryNode(textPtr_, pos, TExprOp::Not, ParseNot());
    }
    TExprNodePtr ParseComparison()
    {
        static const std::pair<const char*, TExprOp> ops[] = {{"=", TExprOp::Eq},  {"<>", TExprOp::Ne},
                                                              {"<", TExprOp::Lt},  {"<=", TExprOp::Le},
                                                              {">", TExprOp::Gt},  {">=", TExprOp::Ge}};
        TExprNodePtr left = ParseAdditive();
        for (const auto& [text, op] : ops)
            if (IsOp(text)) {
                const int pos = tok_.Position;
                Next();
                return AppendBinary(textPtr_, std::move(left), op, pos, ParseAdditive());
            }
        return left;
    }
    TExprNodePtr ParseAdditive()
    {
        TExprNodePtr left = ParseMultiplicative();
        while (IsOp("+") || IsOp("-")) {
            const TExprOp op = IsOp("+") ? TExprOp::Add : TExprOp::Sub;
            const int pos = tok_.Position;
            Next();
            left = AppendBinary(textPtr_, std::move(left), op, pos, ParseMultiplicative());
        }
        return left;
    }
    TExprNodePtr ParseMultiplicative()
    {
        TExprNodePtr left = ParseUnary();
        while (IsOp("*") || IsOp("/")) {
            const TExprOp op = IsOp("*") ? TExprOp::Mul : TExprOp::Div;
            const int pos = tok_.Position;
            Next();
            left = AppendBinary(textPtr_, std::move(left), op, pos, ParseUnary());
        }
        return left;
    }
    TExprNodePtr ParseUnary()
    {
        if (IsOp("-") || IsOp("+")) {
            const bool negate = IsOp("-");
            const int pos = tok_.Position;
            const TNesting nesting(*this, pos);
            Next();
            TExprNodePtr operand = ParseUnary();
            return negate ? MakeUnaryNode(textPtr_, pos, TExprOp::Neg, std::move(operand)) : std::move(operand);
        }
        return ParsePrimary();
    }
    TExprNodePtr ParsePrimary()
    {
        const TToken t = tok_;
        switch (t.Kind) {
        case TTok::Number: Next(); return MakeConstantNode(textPtr_, t.Position, NumberValue(t));
        case TTok::String: Next(); return MakeConstantNode(textPtr_, t.Position, TExprValue(t.Text));
        case TTok::Field: Next(); return FieldNode(QString(), t.Text, t.Position);
        case TTok::LParen: {
            const TNesting nesting(*this, t.Position);
            Next();
            TExprNodePtr inner = ParseOr();
            Expect(TTok::RParen, QStringLiteral("')' expected"));
            return inner;
        }
        case TTok::Ident: return ParseIdentifier();
        case TTok::End: Fail(t.Position, QStringLiteral("Unexpected end of expression"));
        default: Fail(t.Position, QStringLiteral("Unexpected '%1'").arg(t.Text));
        }
    }
    TExprNodePtr ParseIdentifier()
    {
        const TToken t = tok_;
        Next();
        if (t.Text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
            return MakeConstantNode(textPtr_, t.Position, TExprValue(true));
        if (t.Text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
            return MakeConstantNode(textPtr_, t.Position, TExprValue(false));
        if (tok_.Kind == TTok::Dot) {
            Next();
            if (tok_.Kind != TTok::Ident && tok_.Kind != TTok::Field)
                Fail(tok_.Position, QStringLiteral("Field name expected after '%1.'").arg(t.Text));
            const QString field = tok_.Text;
            Next();
            return FieldNode(t.Text, field, t.Position);
        }
        if (tok_.Kind == TTok::LParen)
            return ParseCall(t);
        const QString upper = t.Text.toUpper();
        // Functions without arguments may be written without parentheses.
        if (upper == QLatin1String("DATE") || upper == QLatin1String("TIME") || upper == QLatin1String("COUNT"))
            return Call(t, {});
        return FieldNode(QString(), t.Text, t.Position);
    }
    TExprNodePtr ParseCall(const TToken& name)
    {
        const bool aggregate = IsAggregateName(name.Text.toUpper());
        if (aggregate && aggregateDepth_ > 0)
            Fail(name.Position, QStringLiteral("%1 cannot stand inside another aggregate").arg(name.Text.toUpper()));
        aggregateDepth_ += aggregate ? 1 : 0;
        const TNesting nesting(*this, name.Position);
        Next();  // (
        std::vector<TExprNodePtr> args;
        if (tok_.Kind != TTok::RParen) {
            args.push_back(ParseOr());
            while (tok_.Kind == TTok::Comma) {
                Next();
                args.push_back(ParseOr());
            }
        }
        Expect(TTok::RParen, QStringLiteral("')' or ',' expected"));
        aggregateDepth_ -= aggregate ? 1 : 0;
        return Call(name, std::move(args));
    }
    TExprNodePtr Call(const TToken& name, std::vector<TExprNodePtr> args)
    {
        sawAggregate_ = sawAggregate_ || IsAggregateName(name.Text.toUpper());
        return MakeCallNode(textPtr_, name.Position, name.Text, std::move(args));
    }
    TExprNodePtr FieldNode(const QString& dataSet, const QString& field, int position)
    {
        TExprFieldReader reader = resolver_ ? resolver_(dataSet, field) : TExprFieldReader();
        if (!reader) {
            const QString name = dataSet.isEmpty() ? field : dataSet + QLatin1Char('.') + field;
            Fail(position, QStringLiteral("Unknown field or function '%1'").arg(name));
        }
        return MakeFieldNode(textPtr_, position, std::move(reader));
    }
    TExprValue NumberValue(const TToken& t) const
    {
        bool ok = false;
        if (!t.Text.contains(QLatin1Char('.')) && !t.Text.contains(QLatin1Char('E'), Qt::CaseInsensitive)) {
            const qint64 v = t.Text.toLongLong(&ok);
            if (ok)
                return v;
        }
        const double d = t.Text.toDouble(&ok);
        if (!ok)
            Fail(t.Position, QStringLiteral("Invalid number '%1'").arg(t.Text));
        return d;
    }
    void Expect(TTok kind, const QString& what)
    {
        if (tok_.Kind != kind)
            Fail(tok_.Position, what);
        Next();
    }

    void Next()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        tok_ = TToken{TTok::End, QString(), int(pos_) + 1};
        if (pos_ >= text_.size())
            return;
        const QChar c = text_[pos_];
        if (c.isDigit())
            return LexNumber();
        if (c.isLetter() || c == QLatin1Char('_'))
            return LexIdent();
        if (c == QLatin1Char('\''))
            return LexString();
        if (c == QLatin1Char('['))
            return LexField();
        LexSymbol();
    }
    void LexNumber()
    {
        const qsizetype start = pos_;
        auto digits = [&] {
            while (pos_ < text_.size() && text_[pos_].isDigit())
                ++pos_;
        };
        digits();
        if (pos_ + 1 < text_.size() && text_[pos_] == QLatin1Char('.') && text_[pos_ + 1].isDigit()) {
            ++pos_;
            digits();
        }
        if (pos_ < text_.size() && (text_[pos_] == QLatin1Char('e') || text_[pos_] == QLatin1Char('E'))) {
            qsizetype p = pos_ + 1;
            if (p < text_.size() && (text_[p] == QLatin1Char('+') || text_[p] == QLatin1Char('-')))
                ++p;
            if (p < text_.size() && text_[p].isDigit()) {
                pos_ = p;
                digits();
            }
        }
        tok_.Kind = TTok::Number;
        tok_.Text = text_.mid(start, pos_ - start);
    }
    void LexIdent()
    {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && (text_[pos_].isLetterOrNumber() || text_[pos_] == QLatin1Char('_')))
            ++pos_;
        tok_.Kind = TTok::Ident;
        tok_.Text = text_.mid(start, pos_ - start);
    }
    void LexString()
    {
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size())
                Fail(tok_.Position, QStringLiteral("Unterminated string"));
            if (text_[pos_] == QLatin1Char('\'')) {
                // A doubled quote stands for one quote inside the string.
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == QLatin1Char('\'')) {
                    tok_.Text += QLatin1Char('\'');
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            tok_.Text += text_[pos_++];
        }
        tok_.Kind = TTok::String;
    }
    void LexField()
    {
        const qsizetype close = text_.indexOf(QLatin1Char(']'), pos_);
        if (close < 0)
            Fail(tok_.Position, QStringLiteral("']' expected"));
        tok_.Kind = TTok::Field;
        tok_.Text = text_.mid(pos_ + 1, close - pos_ - 1).trimmed();
        if (tok_.Text.isEmpty())
            Fail(tok_.Position, QStringLiteral("Field name expected inside '[]'"));
        pos_ = close + 1;
    }
    void LexSymbol()
    {
        static const char* const twoChar[] = {"<>", "<=", ">="};
        for (const char* op : twoChar)
            if (text_.mid(pos_, 2) == QLatin1String(op)) {
                tok_.Kind = TTok::Op;
                tok_.Text = QLatin1String(op);
                pos_ += 2;
                return;
            }
        const QChar c = text_[pos_++];
        tok_.Text = c;
        switch (c.unicode()) {
        case '+': case '-': case '*': case '/': case '=': case '<': case '>': tok_.Kind = TTok::Op; return;
        case '(': tok_.Kind = TTok::LParen; return;
        case ')': tok_.Kind = TTok::RParen; return;
        case ',': tok_.Kind = TTok::Comma; return;
        case '.': tok_.Kind = TTok::Dot; return;
        default: Fail(tok_.Position, QStringLiteral("Unexpected character '%1'").arg(c));
        }
    }

    const QString& text_;
    const QString* textPtr_;
    const TExprFieldResolver& resolver_;
    qsizetype pos_ = 0;
    TToken tok_;
    int aggregateDepth_ = 0;
    int nesting_ = 0;
    bool sawAggregate_ = false;
};

}  // namespace

namespace {

// The expression as an error message quotes it: a long one by its start only,
// so that the fault itself stays in sight where the message is printed.
QString Quoted(const QString& expression)
{
    constexpr int MaxQuoted = 60;
    return expression.size() <= MaxQuoted ? expression : expression.left(MaxQuoted) + QStringLiteral("...");
}

}  // namespace

EExprError::EExprError(const QString& expression, int position, const QString& what)
    : Exception(QStringLiteral("Error in expression '%1' at position %2: %3").arg(Quoted(expression)).arg(position).arg(what)),
      Position(position), What(what)
{
}

TExpression::TExpression(const QString& text, const TExprFieldResolver& resolver) : text_(text)
{
    TParser parser(&text_, resolver);
    root_ = parser.ParseAll();
    hasAggregates_ = parser.SawAggregate();
}

TExpression::~TExpression() = default;

TExprValue TExpression::Value() const
{
    return root_->Eval();
}

void TExpression::Accumulate()
{
    if (hasAggregates_)
        root_->Accumulate();
}

void TExpression::Reset()
{
    if (hasAggregates_)
        root_->Reset();
}

TExprValue EvaluateExpression(const QString& text, const TExprFieldResolver& resolver)
{
    return TExpression(text, resolver).Value();
}
