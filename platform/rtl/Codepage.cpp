#include "Codepage.h"

namespace {
// 0x80..0x9F; 0 marks the five unassigned positions (decoded as the C1 control).
const char16_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                            0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                            0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
}

QString DecodeCp1252(const char* data, qsizetype size)
{
    // one character a byte: written in place, as tables decode a text per field and record
    QString out(size, Qt::Uninitialized);
    auto* chars = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        chars[i] = b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] ? kHigh[b - 0x80] : char16_t(b);
    }
    return out;
}

QString DecodeCp1252(const QByteArray& bytes) { return DecodeCp1252(bytes.constData(), bytes.size()); }

QByteArray EncodeCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u < 0x100)) {
            out += static_cast<char>(u);
            continue;
        }
        char mapped = '?';
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] == u && u != 0)
                mapped = static_cast<char>(0x80 + k);
        if (u >= 0x80 && u < 0xA0)
            mapped = static_cast<char>(u);
        out += mapped;
    }
    return out;
}

bool IsAscii(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}
