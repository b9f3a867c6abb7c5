#pragma once

#include <QString>

#include <optional>

// What a result reader learnt about one answer page besides its hits: the OpenSearch
// response elements when the page has them (totalResults, startIndex, itemsPerPage), how
// many items it held, and why it stopped early when the document was broken.
//
// Hits delivered before a break stay delivered; `error` only says the page ended badly.
struct FeedPage
{
    std::optional<qint64> totalResults;
    std::optional<qint64> startIndex;
    std::optional<qint64> itemsPerPage;
    // Items (RSS items, Atom entries, JSON results) read completely, whether or not they
    // became hits: paging compares this with the page size to see a short last page.
    qsizetype items = 0;
    // Hits handed to the sink (items without a web address are not).
    qsizetype delivered = 0;
    // Empty for a sound document; otherwise a sentence naming what is wrong.
    QString error;

    bool ok() const { return error.isEmpty(); }
};
