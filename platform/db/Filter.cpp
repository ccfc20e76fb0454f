#include "Filter.h"
#include "Field.h"

#include <QDateTime>

namespace {

int CompareValuesImpl(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return int(!a.isNull()) - int(!b.isNull());
    const auto ta = a.typeId();
    if (ta == QMetaType::QString)
        return a.toString().compare(b.toString());
    if (ta == QMetaType::QByteArray)
        return a.toByteArray().compare(b.toByteArray());
    const QPartialOrdering order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Less)
        return -1;
    return order == QPartialOrdering::Greater ? 1 : 0;
}

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

class TCompare : public TFilterExpr {
public:
    TCompare(int field, Op op, QVariant constant, bool prefix)
        : field_(field), op_(op), constant_(std::move(constant)), prefix_(prefix) {}
    bool Matches(const TRecord& row) const override
    {
        const QVariant& v = row[static_cast<size_t>(field_)];
        if (prefix_ && (op_ == Op::Eq || op_ == Op::Ne))
            return v.toString().startsWith(constant_.toString()) == (op_ == Op::Eq);
        if (v.isNull() || constant_.isNull())  // null equals nothing but null
            return (op_ == Op::Eq) == (v.isNull() && constant_.isNull());
        const int c = CompareValuesImpl(v, constant_);
        switch (op_) {
        case Op::Eq: return c == 0;
        case Op::Ne: return c != 0;
        case Op::Lt: return c < 0;
        case Op::Gt: return c > 0;
        case Op::Le: return c <= 0;
        default: return c >= 0;
        }
    }

private:
    int field_;
    Op op_;
    QVariant constant_;
    bool prefix_;
};

class TLogic : public TFilterExpr {
public:
    TLogic(bool isAnd, std::unique_ptr<TFilterExpr> a, std::unique_ptr<TFilterExpr> b)
        : and_(isAnd), a_(std::move(a)), b_(std::move(b)) {}
    bool Matches(const TRecord& row) const override
    {
        return and_ ? a_->Matches(row) && b_->Matches(row) : a_->Matches(row) || b_->Matches(row);
    }

private:
    bool and_;
    std::unique_ptr<TFilterExpr> a_, b_;
};

class TNot : public TFilterExpr {
public:
    explicit TNot(std::unique_ptr<TFilterExpr> a) : a_(std::move(a)) {}
    bool Matches(const TRecord& row) const override { return !a_->Matches(row); }

private:
    std::unique_ptr<TFilterExpr> a_;
};

struct Token {
    enum Kind { End, Name, String, Number, Oper, Open, Close } kind = End;
    QString text;
};

// Recursive descent: or := and {OR and}; and := unary {AND unary};
// unary := NOT unary | ( or ) | field op constant.
class TParser {
public:
    TParser(const QString& text, const std::vector<TFieldDef>& defs) : text_(text), defs_(defs) { Advance(); }

    std::unique_ptr<TFilterExpr> ParseAll()
    {
        auto e = ParseOr();
        if (tok_.kind != Token::End)
            Fail(QStringLiteral("unexpected '%1'").arg(tok_.text));
        return e;
    }

private:
    std::unique_ptr<TFilterExpr> ParseOr()
    {
        auto e = ParseAnd();
        while (IsWord("or")) {
            Advance();
            e = std::make_unique<TLogic>(false, std::move(e), ParseAnd());
        }
        return e;
    }
    std::unique_ptr<TFilterExpr> ParseAnd()
    {
        auto e = ParseUnary();
        while (IsWord("and")) {
            Advance();
            e = std::make_unique<TLogic>(true, std::move(e), ParseUnary());
        }
        return e;
    }
    std::unique_ptr<TFilterExpr> ParseUnary()
    {
        // a bound on nesting keeps absurd filters from exhausting the stack
        if (++depth_ > 100)
            Fail(QStringLiteral("nested too deeply"));
        struct Leave { int& d; ~Leave() { --d; } } leave{depth_};
        if (IsWord("not")) {
            Advance();
            return std::make_unique<TNot>(ParseUnary());
        }
        if (tok_.kind == Token::Open) {
            Advance();
            auto e = ParseOr();
            Expect(Token::Close, "')'");
            return e;
        }
        return ParseComparison();
    }
    std::unique_ptr<TFilterExpr> ParseComparison()
    {
        if (tok_.kind != Token::Name)
            Fail(QStringLiteral("a field name is missing"));
        const int field = FieldIndex(tok_.text);
        Advance();
        if (tok_.kind != Token::Oper)
            Fail(QStringLiteral("a comparison is missing after %1").arg(defs_[size_t(field)].Name));
        const Op op = OpOf(tok_.text);
        Advance();
        bool prefix = false;
        const QVariant constant = Constant(defs_[size_t(field)], prefix);
        return std::make_unique<TCompare>(field, op, constant, prefix);
    }

    QVariant Constant(const TFieldDef& def, bool& prefix)
    {
        const Token t = tok_;
        if (t.kind != Token::String && t.kind != Token::Number && t.kind != Token::Name)
            Fail(QStringLiteral("a constant is missing"));
        Advance();
        if (t.kind == Token::Name && t.text.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
            return {};
        QString s = t.text;
        if (t.kind == Token::String && s.endsWith(u'*') && (def.DataType == ftString || def.DataType == ftMemo)) {
            prefix = true;
            s.chop(1);
        }
        return Convert(def, s);
    }

    QVariant Convert(const TFieldDef& def, const QString& s)
    {
        bool ok = true;
        QVariant v;
        switch (def.DataType) {
        case ftString: case ftMemo: return s;
        case ftBoolean:
            ok = s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
            v = s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
            break;
        case ftDate: case ftDateTime: case ftTime: v = ParseDateTime(def.DataType, s); ok = v.isValid(); break;
        case ftFloat: case ftCurrency: v = s.toDouble(&ok); break;
        default: v = s.toLongLong(&ok); break;
        }
        if (!ok)
            Fail(QStringLiteral("'%1' does not fit field %2").arg(s, def.Name));
        return v;
    }

    static QVariant ParseDateTime(TFieldType type, const QString& s)
    {
        if (type == ftTime) {
            const QTime t = QTime::fromString(s, dbformat::LongTime);
            return t.isValid() ? QVariant(t) : QVariant(QTime::fromString(s, Qt::ISODate));
        }
        QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
        if (!dt.isValid())
            dt = QDateTime::fromString(s, dbformat::DateTime);
        if (!dt.isValid())
            dt = QDateTime(QDate::fromString(s, dbformat::ShortDate), QTime(0, 0));
        if (!dt.isValid())
            return {};
        return type == ftDate ? QVariant(dt.date()) : QVariant(dt);
    }

    static Op OpOf(const QString& s)
    {
        if (s == u"=") return Op::Eq;
        if (s == u"<>") return Op::Ne;
        if (s == u"<") return Op::Lt;
        if (s == u">") return Op::Gt;
        return s == u"<=" ? Op::Le : Op::Ge;
    }

    int FieldIndex(const QString& name)
    {
        for (size_t i = 0; i < defs_.size(); ++i)
            if (defs_[i].Name.compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        Fail(QStringLiteral("field '%1' not found").arg(name));
    }

    bool IsWord(const char* word) const
    {
        return tok_.kind == Token::Name && tok_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    void Expect(Token::Kind kind, const char* what)
    {
        if (tok_.kind != kind)
            Fail(QStringLiteral("%1 expected").arg(QLatin1String(what)));
        Advance();
    }
    [[noreturn]] void Fail(const QString& why) const
    {
        throw EDatabaseError(QStringLiteral("Filter '%1' is incorrect: %2").arg(text_, why));
    }

    void Advance()
    {
        while (pos_ < text_.size() && text_[pos_].isSpace())
            ++pos_;
        tok_ = Token{};
        if (pos_ >= text_.size())
            return;
        const QChar ch = text_[pos_];
        if (ch == u'(' || ch == u')') {
            tok_ = {ch == u'(' ? Token::Open : Token::Close, QString(ch)};
            ++pos_;
        } else if (ch == u'\'') {
            ReadString();
        } else if (ch == u'[') {
            const qsizetype end = text_.indexOf(u']', pos_);
            if (end < 0)
                Fail(QStringLiteral("']' missing"));
            tok_ = {Token::Name, text_.mid(pos_ + 1, end - pos_ - 1)};
            pos_ = end + 1;
        } else if (QStringLiteral("<>=").contains(ch)) {
            qsizetype n = 1;
            if (pos_ + 1 < text_.size() && ch != u'=' && QStringLiteral("<>=").contains(text_[pos_ + 1]) && text_[pos_ + 1] != ch)
                n = 2;
            tok_ = {Token::Oper, text_.mid(pos_, n)};
            if (tok_.text == u"><")
                Fail(QStringLiteral("unknown comparison '><'"));
            pos_ += n;
        } else if (ch.isDigit() || ch == u'-' || ch == u'.') {
            ReadWhile(Token::Number, [](QChar c) { return c.isDigit() || c == u'.' || c == u'-' || c == u'e' || c == u'E' || c == u'+'; });
        } else if (ch.isLetter() || ch == u'_') {
            ReadWhile(Token::Name, [](QChar c) { return c.isLetterOrNumber() || c == u'_'; });
        } else {
            Fail(QStringLiteral("unexpected character '%1'").arg(ch));
        }
    }
    template <class Pred>
    void ReadWhile(Token::Kind kind, Pred pred)
    {
        const qsizetype start = pos_;
        while (pos_ < text_.size() && pred(text_[pos_]))
            ++pos_;
        tok_ = {kind, text_.mid(start, pos_ - start)};
    }
    void ReadString()
    {
        QString s;
        for (++pos_;; ++pos_) {
            if (pos_ >= text_.size())
                Fail(QStringLiteral("a string is not closed"));
            if (text_[pos_] == u'\'') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\'') {
                    s += u'\'';
                    ++pos_;
                    continue;
                }
                ++pos_;
                break;
            }
            s += text_[pos_];
        }
        tok_ = {Token::String, s};
    }

    const QString& text_;
    const std::vector<TFieldDef>& defs_;
    qsizetype pos_ = 0;
    int depth_ = 0;
    Token tok_;
};

}  // namespace

int CompareValues(const QVariant& a, const QVariant& b) { return CompareValuesImpl(a, b); }

std::unique_ptr<TFilterExpr> TFilterExpr::Parse(const QString& text, const std::vector<TFieldDef>& defs)
{
    return TParser(text, defs).ParseAll();
}
