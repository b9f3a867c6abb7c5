#include "EngineDefinition.h"

#include "retrieval/opensearch/AtomReader.h"
#include "retrieval/opensearch/HitAddress.h"
#include "retrieval/opensearch/JsonMappingReader.h"
#include "retrieval/opensearch/OpenSearchDescription.h"
#include "retrieval/opensearch/OpenSearchTemplate.h"
#include "retrieval/opensearch/RssReader.h"
#include "retrieval/opensearch/SearxJsonReader.h"

#include <QRegularExpression>

namespace {

constexpr int kMaxNameLength = 64;

bool mentionsSearchTerms(const OpenSearchUrl &url)
{
    if (url.templateText.contains(QLatin1String("{searchTerms")))
        return true;
    for (const OpenSearchUrl::Param &p : url.params) {
        if (p.value.contains(QLatin1String("{searchTerms")))
            return true;
    }
    return false;
}

} // namespace

QString EngineDefinition::nameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("An engine needs a name.");
    if (name != name.trimmed())
        return QStringLiteral("An engine's name cannot start or end with a blank.");
    if (name.size() > kMaxNameLength)
        return QStringLiteral("An engine's name can have at most %1 characters.").arg(kMaxNameLength);
    for (const QChar c : name) {
        if (c == u'#' || c == u'@' || c == u'|')
            return QStringLiteral("An engine's name cannot contain \"#\", \"@\" or \"|\".");
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("An engine's name cannot contain control characters.");
    }
    return {};
}

QString EngineDefinition::problem() const
{
    if (const QString why = nameProblem(name); !why.isEmpty())
        return why;
    const QUrl address(QString(url.templateText).replace(QRegularExpression(QStringLiteral("\\{[^}]*\\}")), QString()));
    if (!HitAddress::isWebAddress(address))
        return QStringLiteral("The search address must be an http or https address with a host: %1").arg(url.templateText);
    if (!mentionsSearchTerms(url))
        return QStringLiteral("The search address has no {searchTerms} for the words: %1").arg(url.templateText);
    if (url.method != QLatin1String("GET") && url.method != QLatin1String("POST"))
        return QStringLiteral("The method must be GET or POST, not %1.").arg(url.method);
    if (pageSize < 1 || pageSize > kMaxPageSize)
        return QStringLiteral("The page size must be from 1 to %1.").arg(kMaxPageSize);
    if (mapping && format != FeedFormat::Json)
        return QStringLiteral("Only a JSON engine can have a mapping.");
    if (mapping && mapping->addressPath.isEmpty())
        return QStringLiteral("A JSON mapping must at least say which field gives a hit's address.");
    return {};
}

std::optional<EngineDefinition> EngineDefinition::fromDescription(const OpenSearchDescription &description,
                                                                  const QString &source, QString *error)
{
    const std::optional<OpenSearchUrl> results = description.resultsUrl(error);
    if (!results)
        return std::nullopt;
    EngineDefinition d;
    d.name = description.shortName.simplified();
    d.format = results->format().value_or(FeedFormat::Atom);
    d.url = *results;
    d.description = description.description.simplified();
    d.inputEncoding = description.inputEncoding;
    d.source = source;
    return d;
}

QString EngineDefinition::formatName() const
{
    return mapping ? QStringLiteral("mapped") : FeedFormats::name(format);
}

bool EngineDefinition::setFormatName(const QString &word)
{
    if (word.compare(QLatin1String("mapped"), Qt::CaseInsensitive) == 0) {
        format = FeedFormat::Json;
        if (!mapping)
            mapping = JsonMapping{};
        return true;
    }
    const std::optional<FeedFormat> f = FeedFormats::fromName(word);
    if (!f)
        return false;
    format = *f;
    mapping.reset();
    return true;
}

std::optional<SearchRequest> EngineDefinition::request(const QString &queryText, int page, QString *error) const
{
    OpenSearchTemplate::Values values;
    values.searchTerms = queryText;
    values.page = page;
    values.count = pageSize;
    values.inputEncoding = inputEncoding;
    return OpenSearchTemplate::expand(url, values, error);
}

FeedPage EngineDefinition::read(QByteArrayView body, const QUrl &address, const HitSink &deliver) const
{
    switch (format) {
    case FeedFormat::Atom:
        return AtomReader::read(body, address, deliver);
    case FeedFormat::Rss:
        return RssReader::read(body, address, deliver);
    case FeedFormat::Json:
        break;
    }
    if (mapping)
        return JsonMappingReader(*mapping).read(body, address, deliver);
    return SearxJsonReader::read(body, address, deliver);
}
