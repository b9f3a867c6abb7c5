#pragma once

#include "EngineDefinition.h"

#include <QByteArrayView>
#include <QString>
#include <QUrl>

#include <optional>

// The ways an engine is added, as pure functions on what was fetched or typed: an OpenSearch
// description (from an address or a file), a metasearch instance by its base address, or a
// results template with its format. Each gives a definition that still needs its name checked
// (CUserEngines) or a sentence saying what is wrong.
class EngineSources final
{
public:
    EngineSources() = delete;

    // A description document read from `address` (a file's address for a file).
    static std::optional<EngineDefinition> fromDescription(QByteArrayView document, const QUrl &address,
                                                           QString *error);
    // The description an HTML page names the way browsers find one
    // (<link rel="search" type="application/opensearchdescription+xml" href="...">), resolved
    // against the page's address; empty when it names none.
    static QUrl linkedDescription(QByteArrayView html, const QUrl &pageAddress);
    // True when the bytes look like an XML document rather than a web page or JSON.
    static bool looksLikeXml(QByteArrayView document);

    // A metasearch instance's JSON (or RSS) search.
    static std::optional<EngineDefinition> fromInstance(const QString &base, FeedFormat format, QString *error);
    // A results address with {searchTerms} and the format its answers come in ("atom",
    // "rss", "json" or "mapped"; a mapped one comes with an empty mapping for the caller to fill).
    static std::optional<EngineDefinition> fromTemplate(const QString &templateText, const QString &format,
                                                        QString *error);
};
