#pragma once

#include "WebQueryText.h"
#include "retrieval/engines/EngineHit.h"
#include "retrieval/opensearch/FeedFormat.h"
#include "retrieval/opensearch/FeedPage.h"
#include "retrieval/opensearch/JsonMapping.h"
#include "retrieval/opensearch/OpenSearchUrl.h"
#include "retrieval/opensearch/SearchRequest.h"

#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <optional>

struct OpenSearchDescription;

// An engine the user added: how it is asked (an OpenSearch results Url, whatever way it was
// added), in which format it answers, how its pages go and which operators it takes. A plain
// value, stored in [Engine Definition] and copied into the engine threads.
struct EngineDefinition
{
    QString name;
    FeedFormat format = FeedFormat::Atom;
    OpenSearchUrl url;                  // the results Url: template, method, params, offsets
    int pageSize = 10;                  // {count}, and what a full page holds
    WebQueryText::Operators operators;  // which of intitle: inurl: site: it takes
    std::optional<JsonMapping> mapping; // JSON other than the metasearch shape
    QString description;
    QString inputEncoding = QStringLiteral("UTF-8");
    QString source; // the description's address or file, or the instance, it came from

    static constexpr int kMaxPageSize = 100;

    // Why a name cannot be an added engine's, or empty: it must not be empty, start or end in
    // a blank, contain "#", "@" or "|" (they would break the page counters and the engine
    // address list) or control characters, or be longer than 64 characters. Uniqueness is
    // the registry's and the database's to check.
    static QString nameProblem(const QString &name);
    // Why the definition cannot be searched, or empty (its name, an http/https template
    // with {searchTerms} in it or its Params, a page size of 1 to kMaxPageSize).
    QString problem() const;

    // From a description: its chosen results Url, name and texts. Empty, with the reason,
    // when the description offers nothing Trawlex reads.
    static std::optional<EngineDefinition> fromDescription(const OpenSearchDescription &description,
                                                           const QString &source, QString *error);

    // "atom", "rss", "json" or "mapped" (JSON read by its mapping): the stored word.
    QString formatName() const;
    // Sets format (and clears or keeps the mapping) from such a word; false for others.
    bool setFormatName(const QString &word);

    // The request for one page (1 is the first) of the query text.
    std::optional<SearchRequest> request(const QString &queryText, int page, QString *error = nullptr) const;
    // Reads an answer body from address in the definition's format.
    FeedPage read(QByteArrayView body, const QUrl &address, const HitSink &deliver) const;

    bool operator==(const EngineDefinition &) const = default;
};
