#include "HitJson.h"

#include "query/CTrawlexQueryResults.h"
#include "query/QueryJson.h"

namespace HitJson {

QByteArray Line(const CTrawlexQueryResults &results, int hit)
{
    const CTrawlexHit h = results.Hits().value(hit);
    QByteArray line = "{\"title\":" + QueryJson::QuoteString(h.title);
    line += ",\"url\":" + QueryJson::QuoteString(h.url);
    line += ",\"summary\":" + QueryJson::QuoteString(h.summary);
    line += h.isNew ? ",\"new\":true" : ",\"new\":false";
    line += ",\"engines\":[";
    const QStringList &engines = h.engines;
    for (qsizetype i = 0; i < engines.size(); ++i) {
        if (i > 0)
            line += ',';
        line += QueryJson::QuoteString(engines.at(i));
    }
    line += "]}";
    return line;
}

} // namespace HitJson
