#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The answer formats Trawlex reads from today's engines.
enum class FeedFormat {
    Atom, // Atom 1.0 feed (application/atom+xml)
    Rss,  // RSS 2.0 feed (application/rss+xml)
    Json, // JSON results: the metasearch shape, or a mapping for other APIs (application/json)
};

namespace FeedFormats {

// The format a results media type names, ignoring case and parameters
// ("application/rss+xml; charset=UTF-8" is RSS). Suggestion lists and HTML are none.
std::optional<FeedFormat> forMediaType(QStringView mediaType);

// The media type of a format, as a description's Url states it.
QString mediaType(FeedFormat format);

// "atom", "rss" or "json": the word the command line and stored definitions use.
QString name(FeedFormat format);
std::optional<FeedFormat> fromName(QStringView name);

} // namespace FeedFormats
