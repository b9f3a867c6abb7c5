#include "YahooRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace YahooRequest {

namespace {

void writeWord(QByteArray &out, const QString &word, Run run, qsizetype)
{
    // "and" and "not" become "+" and "-" prefixes of the next word; "or" is Yahoo's default.
    if (word == QLatin1String("and")) {
        out.append("%2B");
        return;
    }
    if (word == QLatin1String("not")) {
        out.append('-');
        return;
    }
    if (word == QLatin1String("or"))
        return;
    if (run != Run::Filter) {
        writePlain(out, word);
        return;
    }
    const qsizetype colon = word.indexOf(u':');
    QString w = word;
    if (colon >= 0) {
        const QString type = word.left(colon);
        if (type == QLatin1String("Title"))
            w = u't' + word.mid(colon);
        else if (type == QLatin1String("URL"))
            w = QStringLiteral("url") + word.mid(colon);
    }
    out.append(escapeFilter(w)).append('+');
}

} // namespace

QByteArray firstPage(const QStringList &words)
{
    return compose("bin/search?p=%2B", words, Runs{false, true, false, true}, writeWord, {});
}

QByteArray nextPage(const QString &yahooPath)
{
    QString path = yahooPath.trimmed();
    if (path.startsWith(u'/'))
        path.remove(0, 1);
    // The path came from Yahoo's own page and is sent as it stands (its escapes included),
    // except for what would break the request line: Yahoo wrote the query's blanks into it.
    return escapeRequestLine(path);
}

} // namespace YahooRequest
