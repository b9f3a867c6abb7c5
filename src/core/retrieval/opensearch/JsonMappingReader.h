#pragma once

#include "FeedPage.h"
#include "JsonMapping.h"
#include "retrieval/engines/EngineHit.h"

#include <QByteArrayView>
#include <QUrl>

// Reads the hits of a JSON answer as a JsonMapping says: every element of the results
// array is an item; its title and summary become plain text (markup removed, entities
// decoded), its address is resolved against `pageAddress`, and only http and https hits
// are delivered. A title or summary field may hold a text or a number; anything else is
// taken as missing. The mapping's total, when it leads to a number, is the FeedPage's
// totalResults.
//
// JSON is read whole (QJsonDocument, UTF-8, nesting bounded by Qt): a document that does
// not parse delivers no hits and says where it broke. A results path that leads to no
// array is an error too (an engine's error object is not an empty page).
class JsonMappingReader final
{
public:
    explicit JsonMappingReader(JsonMapping mapping);

    FeedPage read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver) const;

    const JsonMapping &mapping() const { return m_mapping; }

private:
    JsonMapping m_mapping;
};
