#include "LycosRequest.h"

#include "../RequestWords.h"

using namespace RequestWords;

namespace LycosRequest {

namespace {

void write(QByteArray &out, const QString &word, Run run, qsizetype)
{
    const QString w = run == Run::Group ? takeGroupMarks(out, word) : word;
    if (!writeCapitalOperator(out, w, false))
        writePlain(out, w);
}

const Runs kRuns{true, false, true, false};
constexpr char kSuffix[] = "&adv=1&mtemp=java&rt=1&rtwm=1000&rttf=50&rtfd=50&rtpn=15&rtpy=50&rtor=10";

} // namespace

QByteArray firstPage(const QStringList &words)
{
    return compose("cgi-bin/pursuit?query=", words, kRuns, write, kSuffix);
}

QByteArray nextPage(const QStringList &words, int counter)
{
    return compose("cgi-bin/pursuit?query=", words, kRuns, write,
                   QByteArray(kSuffix) + "&first=" + number(10 * counter + 1));
}

} // namespace LycosRequest
