#include "AltaVistaRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace AltaVistaRequest {

namespace {

void writeWord(QByteArray &out, const QString &word, Run run, qsizetype index)
{
    QString w = run == Run::Group ? takeGroupMarks(out, word) : word;
    if (w == QLatin1String("not")) {
        // A leading "not" stands alone; anywhere else AltaVista needs it joined by "and".
        if (run != Run::Plain || index != 0)
            out.append("and+");
        out.append("not+");
        return;
    }
    if (isOperator(w)) {
        out.append(w.toLatin1()).append('+');
        return;
    }
    if (run == Run::Filter)
        out.append(escapeFilter(lowerFirst(w)));
    else
        out.append(escape(w));
    out.append('+');
}

const Runs kRuns{true, true, true, true};

} // namespace

QByteArray firstPage(const QStringList &words)
{
    return compose("?pg=aq&text=yes&what=web&kl=XX&q=", words, kRuns, writeWord,
                   "&r=&d0=21%2FMar%2F86&d1=&act=search");
}

QByteArray nextPage(const QStringList &words, int counter)
{
    return compose("?pg=aq&text=yes&q=", words, kRuns, writeWord, "&stq=" + number(10 * counter));
}

} // namespace AltaVistaRequest
