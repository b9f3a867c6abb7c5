#include "InfoSeekRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace InfoSeekRequest {

namespace {

void writeWord(QByteArray &out, const QString &word, Run run, qsizetype)
{
    if (word == QLatin1String("and")) {
        // "and" becomes a "+" in front of the next word, lower-cased among the filters.
        out.append(run == Run::Filter ? "%2b" : "%2B");
        return;
    }
    if (word == QLatin1String("or"))
        return; // InfoSeek ors by default
    if (run != Run::Filter) {
        writePlain(out, word);
        return;
    }
    const qsizetype colon = word.indexOf(u':');
    const QString w = colon < 0 ? word.toLower() : word.left(colon).toLower() + word.mid(colon);
    out.append(escapeFilter(w)).append('+');
}

const Runs kRuns{false, true, false, true};

} // namespace

QByteArray firstPage(const QStringList &words)
{
    QByteArray query("Titles?qt=%2B");
    query.append(walk(words, kRuns, writeWord));
    // A trailing "and" left no "+" behind to drop.
    if (words.isEmpty() || words.constLast().trimmed() != QLatin1String("and"))
        query.chop(1);
    query.append("&col=WW&sv=IS&lk=noframes&nh=10");
    return query;
}

QByteArray nextPage(const QStringList &words, int counter)
{
    return compose("Titles?qt=%2B", words, kRuns, writeWord, "&lk=noframes&st=" + number(10 * counter));
}

} // namespace InfoSeekRequest
