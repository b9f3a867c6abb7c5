#include "RequestWords.h"

namespace RequestWords {

QByteArray walk(const QStringList &words, const Runs &runs, const WordWriter &write)
{
    QByteArray out;
    const qsizetype n = words.size();
    qsizetype i = 0;
    auto endsPlainRun = [&runs](const QString &w) {
        return (runs.plainStopsAtParen && w.contains(u'(')) || (runs.plainStopsAtColon && w.contains(u':'));
    };
    for (; i < n && !endsPlainRun(words.at(i)); ++i)
        write(out, words.at(i).trimmed(), Run::Plain, i);
    if (runs.hasGroupRun) {
        for (; i < n && !words.at(i).contains(u':'); ++i)
            write(out, words.at(i).trimmed(), Run::Group, i);
    }
    if (runs.hasFilterRun) {
        for (; i < n; ++i)
            write(out, words.at(i).trimmed(), Run::Filter, i);
    }
    return out;
}

QByteArray compose(const QByteArray &prefix, const QStringList &words, const Runs &runs,
                   const WordWriter &write, const QByteArray &suffix)
{
    QByteArray query = prefix;
    query.append(walk(words, runs, write));
    query.chop(1);
    query.append(suffix);
    return query;
}

namespace {

void appendPercent(QByteArray &out, unsigned char byte)
{
    static const char hex[] = "0123456789ABCDEF";
    out.append('%');
    out.append(hex[byte >> 4]);
    out.append(hex[byte & 0x0F]);
}

QByteArray escapeText(QStringView text, bool filter)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 8);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out.append("%22"); break;
        case '\'': out.append("%27"); break;
        case ',': out.append("%2C"); break;
        case ':':
            if (filter)
                out.append("%3A");
            else
                out.append(':');
            break;
        case '%': case '&': case '+': case '#': case '=':
            appendPercent(out, c);
            break;
        default:
            if (c <= 0x20 || c >= 0x7F)
                appendPercent(out, c);
            else
                out.append(ch);
        }
    }
    return out;
}

} // namespace

QByteArray escape(QStringView text)
{
    return escapeText(text, false);
}

QByteArray escapeFilter(QStringView text)
{
    return escapeText(text, true);
}

QByteArray escapeRequestLine(QStringView text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 8);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F)
            appendPercent(out, c);
        else
            out.append(ch);
    }
    return out;
}

QString takeGroupMarks(QByteArray &out, const QString &word)
{
    QString rest = word;
    if (rest.startsWith(u'(')) {
        out.append("%28");
        rest.remove(0, 1);
    }
    if (rest.endsWith(u')')) {
        out.append("%29");
        rest.chop(1);
    }
    return rest;
}

bool isOperator(const QString &word)
{
    return word == QLatin1String("and") || word == QLatin1String("or") || word == QLatin1String("not");
}

bool writeCapitalOperator(QByteArray &out, const QString &word, bool joinNot)
{
    if (word == QLatin1String("and")) {
        out.append("AND+");
    } else if (word == QLatin1String("or")) {
        out.append("OR+");
    } else if (word == QLatin1String("not")) {
        if (joinNot)
            out.append("AND+");
        out.append("NOT+");
    } else {
        return false;
    }
    return true;
}

void writePlain(QByteArray &out, const QString &word)
{
    out.append(escape(word)).append('+');
}

QString lowerFirst(const QString &word)
{
    if (word.isEmpty())
        return word;
    return word.left(1).toLower() + word.mid(1);
}

QByteArray number(int value)
{
    return QByteArray::number(value);
}

} // namespace RequestWords
