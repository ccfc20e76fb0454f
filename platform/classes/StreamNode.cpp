#include "StreamNode.h"

#include <algorithm>

bool TObjectNode::operator==(const TObjectNode& o) const
{
    return ClassName.compare(o.ClassName, Qt::CaseInsensitive) == 0 && Name.compare(o.Name, Qt::CaseInsensitive) == 0 &&
           Flags == o.Flags && (!(Flags & ffChildPos) || ChildPos == o.ChildPos) && Properties == o.Properties &&
           Children == o.Children;
}

bool IsStreamNameStart(QChar ch) { return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || ch == u'_'; }

bool IsStreamNameChar(QChar ch) { return IsStreamNameStart(ch) || (ch >= u'0' && ch <= u'9') || ch == u'.'; }

bool IsStreamName(QStringView s)
{
    return !s.isEmpty() && IsStreamNameStart(s.front()) && std::all_of(s.begin(), s.end(), IsStreamNameChar);
}

bool IsStreamKeyword(QStringView s)
{
    // asked of every property name read: the length rules out most at once
    for (QLatin1String word : {QLatin1String("object"), QLatin1String("inherited"), QLatin1String("inline"), QLatin1String("end")})
        if (s.size() == word.size() && s.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

namespace {
struct TValueWord {
    const char* Word;
    TValueType Type;
};
constexpr TValueWord valueWords[] = {{"False", TValueType::False}, {"True", TValueType::True}, {"nil", TValueType::Nil}};
}  // namespace

std::optional<TValueType> ValueTypeOfWord(QStringView word)
{
    for (const TValueWord& w : valueWords)
        if (word.compare(QLatin1String(w.Word), Qt::CaseInsensitive) == 0)
            return w.Type;
    return std::nullopt;
}

QLatin1String WordOfValueType(TValueType type)
{
    const auto* w = std::ranges::find(valueWords, type, &TValueWord::Type);
    return w != std::end(valueWords) ? QLatin1String(w->Word) : QLatin1String();
}

bool IsCodedChar(QChar ch) { return ch.unicode() < 32 || ch.unicode() == 127; }

QString CharCode(QChar ch) { return u'#' + QString::number(ch.unicode()); }
