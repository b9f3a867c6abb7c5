#include "OpenSearchUrl.h"

bool OpenSearchUrl::hasRel(QStringView role) const
{
    for (QStringView part : QStringView(rel).split(u' ', Qt::SkipEmptyParts))
        if (part.compare(role, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<FeedFormat> OpenSearchUrl::format() const
{
    return FeedFormats::forMediaType(type);
}
