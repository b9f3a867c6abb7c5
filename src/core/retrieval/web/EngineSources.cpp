#include "EngineSources.h"

#include "retrieval/opensearch/MetasearchInstance.h"
#include "retrieval/opensearch/OpenSearchDescription.h"
#include "retrieval/opensearch/OpenSearchDescriptionReader.h"

#include <QRegularExpression>

namespace {

std::optional<EngineDefinition> refuse(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

QString attribute(const QString &tag, const QString &name)
{
    static const QString pattern = QStringLiteral("\\b%1\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))");
    const QRegularExpressionMatch m =
        QRegularExpression(pattern.arg(name), QRegularExpression::CaseInsensitiveOption).match(tag);
    if (!m.hasMatch())
        return {};
    for (int i = 1; i <= 3; ++i) {
        if (m.capturedLength(i) > 0)
            return m.captured(i);
    }
    return {};
}

} // namespace

std::optional<EngineDefinition> EngineSources::fromDescription(QByteArrayView document, const QUrl &address,
                                                               QString *error)
{
    QString why;
    const std::optional<OpenSearchDescription> description = OpenSearchDescriptionReader::read(document, address, &why);
    if (!description)
        return refuse(error, why);
    const QString source = address.isLocalFile() ? address.toLocalFile() : address.toString(QUrl::FullyEncoded);
    return EngineDefinition::fromDescription(*description, source, error);
}

QUrl EngineSources::linkedDescription(QByteArrayView html, const QUrl &pageAddress)
{
    // Only the head names it; a page's body cannot be trusted to be small.
    const QString head = QString::fromUtf8(html.first(qMin<qsizetype>(html.size(), 256 * 1024)));
    static const QRegularExpression link(QStringLiteral("<link\\b[^>]*>"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = link.globalMatch(head); it.hasNext();) {
        const QString tag = it.next().captured(0);
        if (attribute(tag, QStringLiteral("rel")).compare(QLatin1String("search"), Qt::CaseInsensitive) != 0)
            continue;
        if (attribute(tag, QStringLiteral("type")).compare(QLatin1String("application/opensearchdescription+xml"),
                                                           Qt::CaseInsensitive) != 0)
            continue;
        const QUrl target = pageAddress.resolved(QUrl(attribute(tag, QStringLiteral("href")).trimmed()));
        if (target.scheme() == QLatin1String("http") || target.scheme() == QLatin1String("https"))
            return target;
    }
    return {};
}

bool EngineSources::looksLikeXml(QByteArrayView document)
{
    QByteArrayView rest = document;
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    rest = rest.trimmed();
    if (!rest.startsWith('<'))
        return false;
    const QByteArray start = rest.first(qMin<qsizetype>(rest.size(), 512)).toByteArray().toLower();
    return !start.startsWith("<!doctype html") && !start.startsWith("<html");
}

std::optional<EngineDefinition> EngineSources::fromInstance(const QString &base, FeedFormat format, QString *error)
{
    QString why;
    const std::optional<OpenSearchDescription> description = MetasearchInstance::description(base, format, &why);
    if (!description)
        return refuse(error, why);
    std::optional<EngineDefinition> d = EngineDefinition::fromDescription(*description, base.trimmed(), error);
    if (d) // the instances take the operators their engines share
        d->operators = WebQueryText::Operator::Site;
    return d;
}

std::optional<EngineDefinition> EngineSources::fromTemplate(const QString &templateText, const QString &format,
                                                            QString *error)
{
    EngineDefinition d;
    if (!d.setFormatName(format))
        return refuse(error, QStringLiteral("The format must be atom, rss, json or mapped, not \"%1\".").arg(format));
    d.url.type = FeedFormats::mediaType(d.format);
    d.url.templateText = templateText.trimmed();
    d.source = d.url.templateText;
    // Named after its host until the user names it.
    const QString host = QUrl(d.url.templateText).host();
    d.name = host.isEmpty() ? QStringLiteral("engine") : host;
    // A mapped engine's mapping is given by the caller afterwards, and checked when it is added.
    EngineDefinition unmapped = d;
    unmapped.mapping.reset();
    if (const QString why = unmapped.problem(); !why.isEmpty())
        return refuse(error, why);
    return d;
}
