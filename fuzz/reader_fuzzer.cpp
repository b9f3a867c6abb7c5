// Feeds arbitrary bytes to one of the readers of today's engines (TRAWLEX_FUZZ_READER:
// "rss", "atom", "json" or "description"). Besides crashes and hangs it stops on output out
// of proportion to the input: every hit needs an item of its own in the document, and its
// fields come from that item's bytes, plus the page address a relative link is resolved
// against.

#include "retrieval/opensearch/AtomReader.h"
#include "retrieval/opensearch/HitAddress.h"
#include "retrieval/opensearch/JsonMappingReader.h"
#include "retrieval/opensearch/OpenSearchDescriptionReader.h"
#include "retrieval/opensearch/OpenSearchTemplate.h"
#include "retrieval/opensearch/RssReader.h"
#include "retrieval/opensearch/SearxJsonReader.h"

#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const QUrl kPage(QStringLiteral("https://fuzz.example/search/page?q=x"));

void check(const FeedPage &page, qsizetype hits, qsizetype delivered, std::size_t size)
{
    if (hits != page.delivered || page.delivered > page.items || page.items > qsizetype(size))
        std::abort();
    // Entities and references only shrink. An address may be three times its bytes (each
    // byte percent-encoded) and appears twice when it stands in for a missing title; the base
    // it was resolved against (the page, or an inherited xml:base) is bounded per hit.
    if (delivered > 6 * qsizetype(size) + 2 * hits * (HitAddress::kLongest + kPage.toString().size()))
        std::abort();
}

FeedPage readFeed(QByteArrayView body, const HitSink &sink)
{
    const char *reader = TRAWLEX_FUZZ_READER;
    if (std::strcmp(reader, "rss") == 0)
        return RssReader::read(body, kPage, sink);
    if (std::strcmp(reader, "atom") == 0)
        return AtomReader::read(body, kPage, sink);
    static const JsonMappingReader mapping(JsonMapping{QStringLiteral("data.items"), QStringLiteral("title"),
                                                       QStringLiteral("links.0.href"), QStringLiteral("snippet.text"),
                                                       QStringLiteral("data.total")});
    // Both JSON readers see every input: the fixed shape and a mapping with paths.
    FeedPage page = SearxJsonReader::read(body, kPage, sink);
    const FeedPage mapped = mapping.read(body, kPage, sink);
    page.items += mapped.items;
    page.delivered += mapped.delivered;
    return page;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView body(reinterpret_cast<const char *>(data), qsizetype(size));
    if (std::strcmp(TRAWLEX_FUZZ_READER, "description") == 0) {
        QString error;
        const auto description = OpenSearchDescriptionReader::read(body, kPage, &error);
        if (description.has_value() == !error.isEmpty())
            std::abort();
        if (description) {
            // Every Url the reader accepts must fill in without trouble.
            OpenSearchTemplate::Values values;
            values.searchTerms = QStringLiteral("a+b c&d");
            values.page = 3;
            values.inputEncoding = description->inputEncoding;
            for (const OpenSearchUrl &url : description->urls)
                OpenSearchTemplate::expand(url, values);
            description->resultsUrl(&error);
        }
        return 0;
    }
    qsizetype hits = 0;
    qsizetype delivered = 0;
    const FeedPage page = readFeed(body, [&](EngineHit &&hit) {
        ++hits;
        delivered += hit.title.size() + hit.url.size() + hit.summary.size();
        if (hit.url.isEmpty() || !(hit.url.startsWith(u"http://") || hit.url.startsWith(u"https://")))
            std::abort();
    });
    check(page, hits, delivered, std::strcmp(TRAWLEX_FUZZ_READER, "json") == 0 ? 2 * size : size);
    return 0;
}
