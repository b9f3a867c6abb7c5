#pragma once

#include "FeedPage.h"
#include "retrieval/engines/EngineHit.h"

#include <QByteArrayView>
#include <QUrl>

// Reads the hits of an Atom 1.0 answer page (RFC 4287): every entry's title, its link with
// rel="alternate" or without rel (the first such), and its summary or, without one, its
// inline content. Title, summary and content are read as their type says: "text" as it
// stands, "html" with the markup removed, "xhtml" as the text of its elements. The
// OpenSearch response elements of the feed go into the FeedPage.
//
// Links are resolved against xml:base and `pageAddress`; only http and https hits are
// delivered, each when its entry ends. A document that breaks off keeps the hits before the
// break and says what broke in FeedPage::error. A document whose root is an RSS feed is read
// as RSS: servers mix up the two types.
class AtomReader final
{
public:
    AtomReader() = delete;

    static FeedPage read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver);
};
