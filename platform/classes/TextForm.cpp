#include "TextForm.h"
#include "BinaryStream.h"
#include "rtl/Exceptions.h"

#include <charconv>
#include <cmath>

namespace {

// Characters of a string written on one line before a '+' continuation.
constexpr int StringChunk = 64;
// Bytes of binary data written on one line (two hex digits each).
constexpr int BinaryChunk = 32;

QString Spaces(int indent) { return QString(indent, u' '); }

// Shortest text that reads back as the same number, always recognisable as
// a float (it holds a '.' or an exponent).
template <class F>
QString FloatText(F value)
{
    if (!std::isfinite(value))
        throw EWriteError(QStringLiteral("A float that is not finite has no text form"));
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    QString s = QString::fromLatin1(buf, res.ptr - buf);
    if (!s.contains(u'.') && !s.contains(u'e'))
        s += QStringLiteral(".0");
    return s;
}

class TTextWriter {
public:
    QString Text(const TObjectNode& root)
    {
        Node(root, 0);
        return out_;
    }

private:
    void Node(const TObjectNode& node, int indent);
    void Property(const QString& name, const TValue& v, int indent);
    void Value(const TValue& v, int indent);
    void String(const QString& s, int indent);
    void Binary(const QByteArray& b, int indent);
    void List(const std::vector<TValue>& items, int indent);
    void Collection(const std::vector<TCollectionItemValue>& items, int indent);

    QString out_;
};

void TTextWriter::Node(const TObjectNode& node, int indent)
{
    if ((node.Flags & TObjectNode::ffInline) && (node.Flags & TObjectNode::ffInherited))
        throw EWriteError(QStringLiteral("An object both inherited and inline has no text form (%1)").arg(node.Name));
    const char* keyword = node.Flags & TObjectNode::ffInline      ? "inline"
                          : node.Flags & TObjectNode::ffInherited ? "inherited"
                                                                  : "object";
    out_ += Spaces(indent) + QLatin1String(keyword) + u' ';
    if (!node.Name.isEmpty())
        out_ += node.Name + QStringLiteral(": ");
    out_ += node.ClassName;
    if (node.Flags & TObjectNode::ffChildPos)
        out_ += QStringLiteral(" [%1]").arg(node.ChildPos);
    out_ += u'\n';
    for (const auto& [name, value] : node.Properties)
        Property(name, value, indent + 2);
    for (const TObjectNode& child : node.Children)
        Node(child, indent + 2);
    out_ += Spaces(indent) + QStringLiteral("end\n");
}

void TTextWriter::Property(const QString& name, const TValue& v, int indent)
{
    out_ += Spaces(indent) + name + QStringLiteral(" = ");
    Value(v, indent);
    out_ += u'\n';
}

void TTextWriter::Value(const TValue& v, int indent)
{
    if (v.IsInteger()) {
        out_ += QString::number(v.Int);
        return;
    }
    if (v.IsString())
        return String(v.Str, indent);
    switch (v.Type) {
    case TValueType::Extended: out_ += FloatText(v.Float); break;
    case TValueType::Single: out_ += FloatText(static_cast<float>(v.Float)) + u's'; break;
    case TValueType::Currency: out_ += FloatText(v.Float) + u'c'; break;
    case TValueType::Date: out_ += FloatText(v.Float) + u'd'; break;
    case TValueType::Ident: out_ += v.Str; break;
    case TValueType::False:
    case TValueType::True:
    case TValueType::Nil: out_ += WordOfValueType(v.Type); break;
    case TValueType::Set: out_ += u'[' + v.Set.join(QStringLiteral(", ")) + u']'; break;
    case TValueType::Binary: Binary(v.Bin, indent); break;
    case TValueType::List: List(v.List, indent); break;
    case TValueType::Collection: Collection(v.Items, indent); break;
    default: throw EWriteError(QStringLiteral("Value without a text form"));
    }
}

// A surrogate without its partner: UTF-8 text cannot hold it.
bool IsLoneSurrogate(const QString& s, qsizetype i)
{
    const QChar ch = s[i];
    if (ch.isHighSurrogate())
        return i + 1 >= s.size() || !s[i + 1].isLowSurrogate();
    return ch.isLowSurrogate() && (i == 0 || !s[i - 1].isHighSurrogate());
}

// Quoted runs for printable characters, #n for control characters and lone
// surrogates, and a
// '+' continuation every StringChunk characters.
void TTextWriter::String(const QString& s, int indent)
{
    if (s.isEmpty()) {
        out_ += QStringLiteral("''");
        return;
    }
    bool quoted = false;
    int count = 0;
    auto closeQuote = [&] {
        if (quoted)
            out_ += u'\'';
        quoted = false;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar ch = s[i];
        // never split a surrogate pair across two lines
        if (count >= StringChunk && !(i > 0 && s[i - 1].isHighSurrogate())) {
            closeQuote();
            out_ += QStringLiteral(" +\n") + Spaces(indent + 2);
            count = 0;
        }
        if (IsCodedChar(ch) || IsLoneSurrogate(s, i)) {
            closeQuote();
            out_ += CharCode(ch);
        } else {
            if (!quoted)
                out_ += u'\'';
            quoted = true;
            out_ += ch == u'\'' ? QStringLiteral("''") : QString(ch);
        }
        ++count;
    }
    closeQuote();
}

void TTextWriter::Binary(const QByteArray& b, int indent)
{
    out_ += u'{';
    for (qsizetype i = 0; i < b.size(); i += BinaryChunk)
        out_ += u'\n' + Spaces(indent + 2) + QString::fromLatin1(b.mid(i, BinaryChunk).toHex().toUpper());
    out_ += u'}';
}

void TTextWriter::List(const std::vector<TValue>& items, int indent)
{
    out_ += u'(';
    for (const TValue& item : items) {
        out_ += u'\n' + Spaces(indent + 2);
        Value(item, indent + 2);
    }
    out_ += u')';
}

void TTextWriter::Collection(const std::vector<TCollectionItemValue>& items, int indent)
{
    out_ += u'<';
    for (const TCollectionItemValue& item : items) {
        out_ += u'\n' + Spaces(indent + 2) + QStringLiteral("item");
        if (item.Index)
            out_ += QStringLiteral(" [%1]").arg(*item.Index);
        out_ += u'\n';
        for (const auto& [name, value] : item.Properties)
            Property(name, value, indent + 4);
        out_ += Spaces(indent + 2) + QStringLiteral("end");
    }
    out_ += u'>';
}

bool IsDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

// A recursive-descent reader over the characters of the text.
class TTextParser {
public:
    explicit TTextParser(const QString& text) : s_(text) {}

    TObjectNode Root()
    {
        TObjectNode root = Node(ObjectKeyword());
        Blanks();
        if (pos_ < s_.size())
            Error(QStringLiteral("end of text expected"));
        return root;
    }

private:
    [[noreturn]] void Error(const QString& what) const
    {
        throw EReadError(QStringLiteral("Line %1: %2").arg(line_).arg(what));
    }
    void Blanks()
    {
        for (; pos_ < s_.size() && s_[pos_].unicode() <= ' '; ++pos_)
            if (s_[pos_] == u'\n')
                ++line_;
    }
    QChar Peek()
    {
        Blanks();
        return pos_ < s_.size() ? s_[pos_] : QChar();
    }
    void Expect(QChar ch)
    {
        if (Peek() != ch)
            Error(QStringLiteral("'%1' expected").arg(ch));
        ++pos_;
    }
    bool Accept(QChar ch)
    {
        if (Peek() != ch)
            return false;
        ++pos_;
        return true;
    }
    QString Ident()
    {
        if (!IsStreamNameStart(Peek()))
            Error(QStringLiteral("identifier expected"));
        const qsizetype start = pos_;
        while (pos_ < s_.size() && IsStreamNameChar(s_[pos_]))
            ++pos_;
        return s_.mid(start, pos_ - start);
    }
    bool PeekWord(const char* word)
    {
        if (!IsStreamNameStart(Peek()))
            return false;
        qsizetype end = pos_;
        while (end < s_.size() && IsStreamNameChar(s_[end]))
            ++end;
        return QStringView(s_).mid(pos_, end - pos_).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    void Enter()
    {
        if (++depth_ > MaxStreamNesting)
            Error(QStringLiteral("nesting too deep"));
    }
    void Leave() { --depth_; }

    quint8 ObjectKeyword();
    TObjectNode Node(quint8 flags);
    TValue Value();
    TValue Number();
    qint64 IntegerText(const QString& digits, int base);
    QString String();
    void StringPiece(QString& out);
    TValue SetValue();
    TValue List();
    TValue Binary();
    TValue Collection();
    std::pair<QString, TValue> Property();

    const QString& s_;
    qsizetype pos_ = 0;
    int line_ = 1;
    int depth_ = 0;
};

quint8 TTextParser::ObjectKeyword()
{
    const QString word = Ident().toLower();
    if (word == u"object")
        return 0;
    if (word == u"inherited")
        return TObjectNode::ffInherited;
    if (word == u"inline")
        return TObjectNode::ffInline;
    Error(QStringLiteral("'object' expected"));
}

TObjectNode TTextParser::Node(quint8 flags)
{
    Enter();
    TObjectNode node;
    node.Flags = flags;
    node.ClassName = Ident();
    if (Accept(u':')) {
        node.Name = node.ClassName;
        node.ClassName = Ident();
    }
    if (Accept(u'[')) {
        const TValue pos = Number();
        if (!pos.IsInteger() || pos.Int < INT32_MIN || pos.Int > INT32_MAX)
            Error(QStringLiteral("child position expected"));
        node.ChildPos = static_cast<int>(pos.Int);
        node.Flags |= TObjectNode::ffChildPos;
        Expect(u']');
    }
    for (;;) {
        if (PeekWord("end")) {
            Ident();
            break;
        }
        if (PeekWord("object") || PeekWord("inherited") || PeekWord("inline"))
            node.Children.push_back(Node(ObjectKeyword()));
        else
            node.Properties.push_back(Property());
    }
    Leave();
    return node;
}

std::pair<QString, TValue> TTextParser::Property()
{
    QString name = Ident();
    Expect(u'=');
    return {std::move(name), Value()};
}

TValue TTextParser::Value()
{
    const QChar ch = Peek();
    if (ch == u'\'' || ch == u'#')
        return TValue::String(String());
    if (IsDigit(ch) || ch == u'-' || ch == u'+' || ch == u'$')
        return Number();
    if (ch == u'[')
        return SetValue();
    if (ch == u'(')
        return List();
    if (ch == u'{')
        return Binary();
    if (ch == u'<')
        return Collection();
    if (!IsStreamNameStart(ch))
        Error(QStringLiteral("value expected"));
    const QString word = Ident();
    if (const std::optional<TValueType> type = ValueTypeOfWord(word)) {
        TValue value;
        value.Type = *type;
        return value;
    }
    return TValue::Ident(word);
}

qint64 TTextParser::IntegerText(const QString& digits, int base)
{
    bool ok = false;
    const qint64 v = digits.toLongLong(&ok, base);
    if (!ok)
        Error(QStringLiteral("invalid number %1").arg(digits));
    return v;
}

TValue TTextParser::Number()
{
    Blanks();
    if (pos_ >= s_.size())
        Error(QStringLiteral("number expected"));
    const qsizetype start = pos_;
    if (s_[pos_] == u'-' || s_[pos_] == u'+')
        ++pos_;
    if (pos_ < s_.size() && s_[pos_] == u'$') {
        const bool negative = s_[start] == u'-';
        const qsizetype digits = ++pos_;
        while (pos_ < s_.size() && isxdigit(s_[pos_].toLatin1()))
            ++pos_;
        const qint64 v = IntegerText(s_.mid(digits, pos_ - digits), 16);
        return TValue::Integer(negative ? -v : v);
    }
    bool isFloat = false;
    while (pos_ < s_.size()) {
        const QChar ch = s_[pos_];
        if (IsDigit(ch))
            ++pos_;
        else if (ch == u'.' || ch == u'e' || ch == u'E')
            isFloat = true, ++pos_;
        else if ((ch == u'-' || ch == u'+') && (s_[pos_ - 1] == u'e' || s_[pos_ - 1] == u'E'))
            ++pos_;
        else
            break;
    }
    const QString text = s_.mid(start, pos_ - start);
    if (!isFloat && !(pos_ < s_.size() && QStringLiteral("scd").contains(s_[pos_].toLower())))
        return TValue::Integer(IntegerText(text, 10));
    bool ok = false;
    TValue v = TValue::Extended(text.toDouble(&ok));
    if (!ok)
        Error(QStringLiteral("invalid number %1").arg(text));
    if (pos_ < s_.size()) {
        const QChar suffix = s_[pos_].toLower();
        if (suffix == u's') {
            if (!(std::fabs(v.Float) < 0x1.ffffffp127))  // rounds to infinity as a single
                Error(QStringLiteral("invalid number %1").arg(text));
            v.Type = TValueType::Single;
            v.Float = static_cast<float>(v.Float);  // what the stream will hold
        } else if (suffix == u'c') {
            v.Type = TValueType::Currency;
        } else if (suffix == u'd') {
            v.Type = TValueType::Date;
        }
        if (v.Type != TValueType::Extended)
            ++pos_;
    }
    return v;
}

// Quoted runs and #n codes, joined when they touch or across lines by '+';
// strings on separate lines (the items of a list) stay separate.
QString TTextParser::String()
{
    QString out;
    Blanks();
    for (;;) {
        StringPiece(out);
        if (pos_ < s_.size() && (s_[pos_] == u'\'' || s_[pos_] == u'#'))
            continue;
        const qsizetype savedPos = pos_;
        const int savedLine = line_;
        if (Peek() == u'+') {
            ++pos_;
            Blanks();
            continue;
        }
        pos_ = savedPos;
        line_ = savedLine;
        return out;
    }
}

void TTextParser::StringPiece(QString& out)
{
    if (pos_ < s_.size() && s_[pos_] == u'\'') {
        for (++pos_;; ++pos_) {
            if (pos_ >= s_.size() || s_[pos_] == u'\n')
                Error(QStringLiteral("unterminated string"));
            if (s_[pos_] == u'\'') {
                if (pos_ + 1 < s_.size() && s_[pos_ + 1] == u'\'')
                    ++pos_;
                else
                    break;
            }
            out += s_[pos_];
        }
        ++pos_;
        return;
    }
    if (pos_ >= s_.size() || s_[pos_] != u'#')
        Error(QStringLiteral("string expected"));
    ++pos_;
    const bool hex = pos_ < s_.size() && s_[pos_] == u'$';
    pos_ += hex;
    const qsizetype start = pos_;
    while (pos_ < s_.size() && (hex ? isxdigit(s_[pos_].toLatin1()) : IsDigit(s_[pos_])))
        ++pos_;
    const qint64 code = IntegerText(s_.mid(start, pos_ - start), hex ? 16 : 10);
    if (code < 0 || code > 0xFFFF)
        Error(QStringLiteral("invalid character code"));
    out += QChar(static_cast<char16_t>(code));
}

TValue TTextParser::SetValue()
{
    Expect(u'[');
    QStringList names;
    if (!Accept(u']')) {
        do
            names << Ident();
        while (Accept(u','));
        Expect(u']');
    }
    return TValue::SetOf(names);
}

TValue TTextParser::List()
{
    Expect(u'(');
    Enter();
    std::vector<TValue> items;
    while (!Accept(u')'))
        items.push_back(Value());
    Leave();
    return TValue::ListOf(std::move(items));
}

TValue TTextParser::Binary()
{
    Expect(u'{');
    QByteArray hex;
    while (!Accept(u'}')) {
        if (pos_ >= s_.size())
            Error(QStringLiteral("'}' expected"));
        const char c = s_[pos_].toLatin1();  // Peek in Accept stopped on a character
        if (!isxdigit(static_cast<unsigned char>(c)))
            Error(QStringLiteral("hexadecimal digit expected"));
        hex.append(c);
        ++pos_;
    }
    if (hex.size() % 2)
        Error(QStringLiteral("odd number of hexadecimal digits"));
    return TValue::Binary(QByteArray::fromHex(hex));
}

TValue TTextParser::Collection()
{
    Expect(u'<');
    Enter();
    TValue v;
    v.Type = TValueType::Collection;
    while (!Accept(u'>')) {
        if (Ident().compare(u"item", Qt::CaseInsensitive) != 0)
            Error(QStringLiteral("'item' expected"));
        TCollectionItemValue item;
        if (Accept(u'[')) {
            const TValue index = Number();
            if (!index.IsInteger())
                Error(QStringLiteral("item index expected"));
            item.Index = index.Int;
            Expect(u']');
        }
        while (!PeekWord("end"))
            item.Properties.push_back(Property());
        Ident();
        v.Items.push_back(std::move(item));
    }
    Leave();
    return v;
}

}  // namespace

QString WriteObjectText(const TObjectNode& root) { return TTextWriter().Text(root); }

TObjectNode ReadObjectText(const QString& text) { return TTextParser(text).Root(); }

QByteArray ObjectTextToBinary(const QString& text) { return WriteObjectStream(ReadObjectText(text)); }

QString ObjectBinaryToText(const QByteArray& stream) { return WriteObjectText(ReadObjectStream(stream)); }

QByteArray ObjectTextToResource(const QString& text)
{
    const TObjectNode root = ReadObjectText(text);
    return WrapResource(WriteObjectStream(root), root.ClassName);
}

QString ObjectResourceToText(const QByteArray& resource) { return WriteObjectText(ReadObjectStream(UnwrapResource(resource))); }
