#include "SysUtils.h"
#include "Exceptions.h"

#include <cfenv>
#include <climits>
#include <cmath>

int Round(double value)
{
    const double r = std::nearbyint(value);  // default rounding mode: to nearest, ties to even
    if (std::isnan(r) || r > INT_MAX || r < INT_MIN)
        throw EConvertError(QStringLiteral("Floating point value out of integer range"));
    return static_cast<int>(r);
}

bool TryStrToInt(const QString& text, int& value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] <= u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    }
    if (i >= n)
        return false;
    long long acc = 0;
    for (; i < n; ++i) {
        const int d = QChar(text[i]).isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
                    : (base == 16 && text[i].toLower() >= u'a' && text[i].toLower() <= u'f')
                        ? text[i].toLower().unicode() - 'a' + 10
                        : -1;
        if (d < 0)
            return false;
        acc = acc * base + d;
        // hex literals may use the full 32-bit pattern, decimals the signed range
        const long long limit = base == 16 ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
        if (acc > limit)
            return false;
    }
    if (negative)
        acc = -acc;
    value = static_cast<int>(static_cast<unsigned int>(acc & 0xFFFFFFFFLL));
    return true;
}

int StrToInt(const QString& text)
{
    int v = 0;
    if (!TryStrToInt(text, v))
        throw EConvertError(Format(QString::fromLatin1(rtlstr::SInvalidInteger), {text}));
    return v;
}

QString IntToStr(long long value) { return QString::number(value); }
