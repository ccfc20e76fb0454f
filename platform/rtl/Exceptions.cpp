#include "Exceptions.h"

Exception::Exception(QString message) : message_(std::move(message)), utf8_(message_.toStdString()) {}

void Exception::SetMessage(const QString& message)
{
    message_ = message;
    utf8_ = message.toStdString();
}

QString Format(const QString& pattern, std::initializer_list<QString> args)
{
    QString out;
    auto next = args.begin();
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == u'%' && i + 1 < pattern.size()) {
            const QChar spec = pattern[i + 1];
            if ((spec == u's' || spec == u'd') && next != args.end()) {
                out += *next++;
                ++i;
                continue;
            }
            if (spec == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}
