#pragma once

#include "FeedPage.h"
#include "retrieval/engines/EngineHit.h"

#include <QByteArrayView>
#include <QUrl>

// Reads the JSON answer of a metasearch instance (/search?...&format=json): an object whose
// "results" array holds objects with "url", "title" and "content". Its "number_of_results"
// is the total when it is above 0 (the instances send 0 when they do not know). Otherwise as
// JsonMappingReader with JsonMapping::metasearch().
class SearxJsonReader final
{
public:
    SearxJsonReader() = delete;

    static FeedPage read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver);
};
