#pragma once

#include "FeedPage.h"
#include "retrieval/engines/EngineHit.h"

#include <QByteArrayView>
#include <QUrl>

// Reads the hits of an RSS answer page: every item's title, link and description (the
// item's guid when it is a permalink stands in for a missing or unusable link; a
// content:encoded body for a missing description). RSS 2.0 and the older 0.9x feeds are
// read, and RSS 1.0, whose items sit beside the channel. The OpenSearch response
// elements of the channel go into the FeedPage.
//
// Titles and descriptions are HTML by RSS custom, so they become plain text
// (MarkupText::fromHtml). Links are resolved against xml:base and `pageAddress`; only http
// and https hits are delivered. Each hit goes to `deliver` when its item ends; a document
// that breaks off keeps the hits before the break and says what broke in FeedPage::error.
// A document whose root is an Atom feed is read as Atom: servers mix up the two types.
class RssReader final
{
public:
    RssReader() = delete;

    static FeedPage read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver);
};
