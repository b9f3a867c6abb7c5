#include "HotBotRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace HotBotRequest {

namespace {

// HotBot names its filters itself; the first and the later pages map URL differently.
QString filterWord(const QString &word, bool firstPage)
{
    const qsizetype colon = word.indexOf(u':');
    if (colon < 0)
        return word;
    QString type = word.left(colon);
    QString text = word.mid(colon + 1);
    text.remove(u':');
    if (type == QLatin1String("Title"))
        type = QStringLiteral("title");
    else if (type == QLatin1String("URL"))
        type = firstPage ? QStringLiteral("domain") : QStringLiteral("linkdomain");
    else if (firstPage && type == QLatin1String("link"))
        type = QStringLiteral("linkdomain");
    return type + u':' + text;
}

void writeWord(QByteArray &out, const QString &word, Run run, bool firstPage)
{
    QString w = run == Run::Group ? takeGroupMarks(out, word) : word;
    if (run != Run::Filter) {
        if (!writeCapitalOperator(out, w, false))
            writePlain(out, w);
        return;
    }
    if (w == QLatin1String("and"))
        w = QStringLiteral("AND");
    else if (w == QLatin1String("or"))
        w = QStringLiteral("OR");
    else if (w == QLatin1String("not"))
        w = QStringLiteral("NOT");
    else
        w = filterWord(w, firstPage);
    out.append(escapeFilter(lowerFirst(w))).append('+');
}

const Runs kRuns{true, true, true, true};

} // namespace

QByteArray firstPage(const QStringList &words)
{
    return compose("?SW=web&SM=B&MT=", words, kRuns,
                   [](QByteArray &out, const QString &w, Run run, qsizetype) { writeWord(out, w, run, true); },
                   "&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3");
}

QByteArray nextPage(const QStringList &words, int counter)
{
    // The base is the first hit to show, from 0; without one HotBot shows its first page
    // again, so even the second page names it.
    const QByteArray suffix = "&base=" + number(10 * counter) + "&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9";
    return compose("/?MT=", words, kRuns,
                   [](QByteArray &out, const QString &w, Run run, qsizetype) { writeWord(out, w, run, false); },
                   suffix);
}

} // namespace HotBotRequest
