#include "SearxJsonReader.h"

#include "JsonMappingReader.h"

FeedPage SearxJsonReader::read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver)
{
    static const JsonMappingReader reader(JsonMapping::metasearch());
    FeedPage page = reader.read(body, pageAddress, deliver);
    if (page.totalResults == 0)
        page.totalResults.reset();
    return page;
}
