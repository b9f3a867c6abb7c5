#include "MagellanRequest.h"

#include "../RequestWords.h"
#include "../excite/ExciteRequest.h"

using namespace RequestWords;

namespace MagellanRequest {

namespace {

const Runs kRuns{true, false, true, false};

} // namespace

QByteArray firstPage(const QStringList &words)
{
    return compose("search.gw?search=", words, kRuns, ExciteRequest::writeWord, "&c=web&look=magellan");
}

QByteArray nextPage(const QStringList &words, int counter)
{
    // As Excite: the start counts from 0, so the page after `counter` pages starts at 10 x counter.
    return compose("search.gw?search=", words, kRuns, ExciteRequest::writeWord,
                   "&look=magellan&next=Next+Results&start=" + number(10 * counter) + "&collection=web");
}

} // namespace MagellanRequest
