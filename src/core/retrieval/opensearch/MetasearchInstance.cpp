#include "MetasearchInstance.h"

#include "HitAddress.h"

#include <QUrl>

std::optional<OpenSearchDescription> MetasearchInstance::description(QStringView base, FeedFormat format, QString *error)
{
    auto refuse = [error](const QString &why) -> std::optional<OpenSearchDescription> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (format == FeedFormat::Atom)
        return refuse(QStringLiteral("A metasearch instance answers in JSON or RSS, not in Atom."));
    const QString written = base.trimmed().toString();
    QUrl url(written, QUrl::StrictMode);
    if (!HitAddress::isWebAddress(url))
        return refuse(QStringLiteral("The instance address must be an http or https address with a host: %1").arg(written));

    url = url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
    QString path = url.path();
    if (path.endsWith(u"/search"))
        path.chop(6);
    else if (!path.endsWith(u'/'))
        path += u'/';
    url.setPath(path);

    const QString wanted = format == FeedFormat::Json ? QStringLiteral("json") : QStringLiteral("rss");
    OpenSearchUrl search;
    search.type = FeedFormats::mediaType(format);
    search.templateText = url.toString(QUrl::FullyEncoded)
        + QStringLiteral("search?q={searchTerms}&format=%1&pageno={startPage}").arg(wanted);

    OpenSearchDescription description;
    description.shortName = url.host();
    description.description = QStringLiteral("Metasearch instance at %1").arg(url.toString(QUrl::FullyEncoded));
    description.urls += search;
    if (error)
        error->clear();
    return description;
}
