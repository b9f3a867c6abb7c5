#pragma once

#include "FeedFormat.h"
#include "OpenSearchDescription.h"

#include <QString>
#include <QStringView>

#include <optional>

// A metasearch instance added by its base address ("https://host/path/"): its search is
// BASE/search?q={searchTerms}&format=json&pageno={startPage} (or format=rss), which gives
// the metasearch JSON shape or an RSS feed with the OpenSearch response elements. The
// result is an ordinary description, so it is searched and paged like any other.
class MetasearchInstance final
{
public:
    MetasearchInstance() = delete;

    // `format` is Json or Rss. The description's ShortName is the instance's host. Refused
    // (empty, with `error`) for an address that is not http or https, has no host, or a
    // format the instances do not serve (Atom). An address already ending in "/search"
    // or carrying a query is taken for the instance it belongs to.
    static std::optional<OpenSearchDescription> description(QStringView base, FeedFormat format, QString *error = nullptr);
};
