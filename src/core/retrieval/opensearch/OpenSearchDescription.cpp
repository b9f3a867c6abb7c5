#include "OpenSearchDescription.h"

#include <QStringList>

namespace {

// "a", "a and b", "a, b and c"
QString listed(const QStringList &items)
{
    if (items.size() <= 1)
        return items.value(0);
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.last();
}

} // namespace

std::optional<OpenSearchUrl> OpenSearchDescription::resultsUrl(QString *error) const
{
    for (FeedFormat wanted : {FeedFormat::Atom, FeedFormat::Rss, FeedFormat::Json}) {
        const OpenSearchUrl *post = nullptr;
        for (const OpenSearchUrl &url : urls) {
            if (!url.hasRel(u"results") || url.format() != wanted)
                continue;
            if (!url.isPost())
                return url;
            if (!post)
                post = &url;
        }
        if (post)
            return *post;
    }
    if (error) {
        QStringList offered;
        QStringList roles;
        for (const OpenSearchUrl &url : urls) {
            const QString type = url.type.trimmed();
            if (url.hasRel(u"results")) {
                if (!offered.contains(type, Qt::CaseInsensitive))
                    offered += type;
            } else if (!roles.contains(url.rel)) {
                roles += url.rel;
            }
        }
        if (!offered.isEmpty())
            *error = QStringLiteral("This search offers its results only as %1, which Trawlex cannot read.").arg(listed(offered));
        else if (!roles.isEmpty())
            *error = QStringLiteral("This search offers no address for results, only for %1.").arg(listed(roles));
        else
            *error = QStringLiteral("This search offers no address for results.");
    }
    return std::nullopt;
}
