#include "ExciteRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace ExciteRequest {

void writeWord(QByteArray &out, const QString &word, Run run, qsizetype index)
{
    const QString w = run == Run::Group ? takeGroupMarks(out, word) : word;
    // A "not" after other words must be joined by "AND"; inside a group always.
    if (!writeCapitalOperator(out, w, run != Run::Plain || index != 0))
        writePlain(out, w);
}

QByteArray firstPage(const QStringList &words)
{
    return compose("?look=default&search=", words, Runs{true, true, true, false}, writeWord,
                   "&tsug=0&csug=10&Search=Search&collection=web&clk=b-b-F1&showSummary=true"
                   "&sorig=rpage&trace=b");
}

QByteArray nextPage(const QStringList &words, int counter)
{
    // Later pages let filter words before the groups through as plain words. The start counts
    // hits from 0, and the counter is the number of pages already had: 10 x counter is the
    // first hit not yet seen.
    return compose("?look=default&collection=web&search=", words, Runs{true, false, true, false}, writeWord,
                   "&start=" + number(10 * counter) + "&showSummary=true&perPage=10&next=Next+Results");
}

} // namespace ExciteRequest
