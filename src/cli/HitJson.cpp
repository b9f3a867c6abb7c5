#include "HitJson.h"

#include "query/CTrawlexQueryResults.h"
#include "query/QueryJson.h"

namespace HitJson {

QByteArray Line(const CTrawlexQueryResults &results, int hit)
{
    QByteArray line = "{\"title\":" + QueryJson::QuoteString(results.m_titles.value(hit));
    line += ",\"url\":" + QueryJson::QuoteString(results.m_urls.value(hit));
    line += ",\"summary\":" + QueryJson::QuoteString(results.m_summaries.value(hit));
    line += results.m_newFlags.value(hit) ? ",\"new\":true" : ",\"new\":false";
    line += ",\"engines\":[";
    const QStringList engines = results.engines(hit);
    for (qsizetype i = 0; i < engines.size(); ++i) {
        if (i > 0)
            line += ',';
        line += QueryJson::QuoteString(engines.at(i));
    }
    line += "]}";
    return line;
}

} // namespace HitJson
