#include "FeedFormat.h"

namespace FeedFormats {

std::optional<FeedFormat> forMediaType(QStringView mediaType)
{
    QStringView type = mediaType;
    if (const qsizetype semicolon = type.indexOf(u';'); semicolon >= 0)
        type = type.first(semicolon);
    type = type.trimmed();
    if (type.compare(u"application/atom+xml", Qt::CaseInsensitive) == 0)
        return FeedFormat::Atom;
    if (type.compare(u"application/rss+xml", Qt::CaseInsensitive) == 0)
        return FeedFormat::Rss;
    if (type.compare(u"application/json", Qt::CaseInsensitive) == 0)
        return FeedFormat::Json;
    return std::nullopt;
}

QString mediaType(FeedFormat format)
{
    switch (format) {
    case FeedFormat::Atom:
        return QStringLiteral("application/atom+xml");
    case FeedFormat::Rss:
        return QStringLiteral("application/rss+xml");
    case FeedFormat::Json:
        break;
    }
    return QStringLiteral("application/json");
}

QString name(FeedFormat format)
{
    switch (format) {
    case FeedFormat::Atom:
        return QStringLiteral("atom");
    case FeedFormat::Rss:
        return QStringLiteral("rss");
    case FeedFormat::Json:
        break;
    }
    return QStringLiteral("json");
}

std::optional<FeedFormat> fromName(QStringView name)
{
    for (FeedFormat format : {FeedFormat::Atom, FeedFormat::Rss, FeedFormat::Json})
        if (name.compare(FeedFormats::name(format), Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

} // namespace FeedFormats
