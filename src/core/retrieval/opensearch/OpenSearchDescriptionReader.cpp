#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "OpenSearchDescriptionReader.h"

#include "FeedXml.h"
#include "HitAddress.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

const QLatin1StringView kOpenSearch11(TRAWLEX_OPENSEARCH_NS);
const QLatin1StringView kOpenSearch10(TRAWLEX_OPENSEARCH_DESCRIPTION_1_0_NS);
const QLatin1StringView kSearchPlugin("http://www.mozilla.org/2006/browser/search/");
const QLatin1StringView kParameters(TRAWLEX_OPENSEARCH_PARAMETERS_NS);

// The largest offset taken: paging adds page and count to it, which must not overflow.
constexpr qint64 kLargestOffset = 1000000000;

bool isDescriptionNamespace(QStringView ns)
{
    return ns.isEmpty() || ns == kOpenSearch11 || ns == kOpenSearch10 || ns == kSearchPlugin;
}

QString collapsed(const QString &text)
{
    return text.simplified();
}

// An absolute template is kept exactly as written; a relative one is resolved against the
// document's address, with its {parameters} protected from QUrl, which would encode the braces.
std::optional<QString> absoluteTemplate(const QString &written, const QUrl &base)
{
    const QString text = written.trimmed();
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    if (const QRegularExpressionMatch match = scheme.match(text); match.hasMatch()) {
        const QString name = match.captured(1).toLower();
        if (name != u"http" && name != u"https")
            return std::nullopt;
        const QStringView rest = QStringView(text).sliced(match.capturedLength());
        if (!rest.startsWith(u"//") || rest.size() < 3 || rest[2] == u'/')
            return std::nullopt;
        return text;
    }
    if (!HitAddress::isWebAddress(base))
        return std::nullopt;
    static const QRegularExpression parameter(QStringLiteral("\\{[^{}]*\\}"));
    QStringList parameters;
    QString protectedText;
    qsizetype last = 0;
    for (const QRegularExpressionMatch &match : parameter.globalMatch(text)) {
        protectedText += QStringView(text).sliced(last, match.capturedStart() - last);
        protectedText += QStringLiteral("trawlexparameter%1x").arg(parameters.size());
        parameters += match.captured();
        last = match.capturedEnd();
    }
    protectedText += QStringView(text).sliced(last);
    const QUrl resolved = base.resolved(QUrl(protectedText, QUrl::TolerantMode));
    if (!HitAddress::isWebAddress(resolved))
        return std::nullopt;
    QString result = resolved.toString(QUrl::FullyEncoded);
    for (qsizetype i = parameters.size() - 1; i >= 0; --i)
        result.replace(QStringLiteral("trawlexparameter%1x").arg(i), parameters[i]);
    return result;
}

class Reader final
{
public:
    Reader(QByteArrayView document, const QUrl &base)
        : m_xml(QByteArray::fromRawData(document.data(), document.size())), m_base(base)
    {
    }

    std::optional<OpenSearchDescription> read(QString &error)
    {
        error = FeedXml::readToRoot(m_xml, QStringLiteral("The description"));
        if (!error.isEmpty())
            return std::nullopt;
        const QStringView root = m_xml.name();
        const QStringView ns = m_xml.namespaceUri();
        const bool known = (root == u"OpenSearchDescription" && ns != kSearchPlugin && isDescriptionNamespace(ns))
            || (root == u"SearchPlugin" && ns == kSearchPlugin);
        if (!known) {
            error = QStringLiteral("This is not an OpenSearch description: its root element is <%1>.")
                        .arg(m_xml.qualifiedName().toString());
            return std::nullopt;
        }
        OpenSearchDescription description;
        bool inputEncodingSeen = false;
        bool outputEncodingSeen = false;
        while (m_xml.readNextStartElement()) {
            const QStringView name = m_xml.name();
            if (!isDescriptionNamespace(m_xml.namespaceUri())) {
                m_xml.skipCurrentElement();
            } else if (name == u"ShortName") {
                description.shortName = collapsed(m_xml.readElementText(QXmlStreamReader::IncludeChildElements));
            } else if (name == u"Description") {
                description.description = collapsed(m_xml.readElementText(QXmlStreamReader::IncludeChildElements));
            } else if (name == u"InputEncoding" || name == u"OutputEncoding" || name == u"Language") {
                const bool input = name == u"InputEncoding";
                const bool output = name == u"OutputEncoding";
                const QString value = m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
                if (value.isEmpty())
                    continue;
                if (input && !inputEncodingSeen) {
                    description.inputEncoding = value;
                    inputEncodingSeen = true;
                } else if (output && !outputEncodingSeen) {
                    description.outputEncoding = value;
                    outputEncodingSeen = true;
                } else if (!input && !output && description.language.isEmpty()) {
                    description.language = value;
                }
            } else if (name == u"Url") {
                OpenSearchUrl url;
                if (!readUrl(url, description.urls.size() + 1, error))
                    return std::nullopt;
                description.urls += url;
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (m_xml.hasError()) {
            error = FeedXml::errorText(m_xml, QStringLiteral("The description"));
            return std::nullopt;
        }
        if (description.shortName.isEmpty()) {
            error = QStringLiteral("The description has no ShortName.");
            return std::nullopt;
        }
        if (description.urls.isEmpty()) {
            error = QStringLiteral("The description has no Url.");
            return std::nullopt;
        }
        return description;
    }

private:
    bool offset(QLatin1StringView attribute, qint64 &target, qsizetype number, QString &error)
    {
        const QStringView written = m_xml.attributes().value(attribute);
        if (written.isNull())
            return true;
        bool ok = false;
        const qint64 value = written.trimmed().toLongLong(&ok);
        if (!ok || value < 0 || value > kLargestOffset) {
            error = QStringLiteral("Url %1: its %2 is not a whole number from 0 to %3: \"%4\".")
                        .arg(number)
                        .arg(attribute)
                        .arg(kLargestOffset)
                        .arg(written.toString());
            return false;
        }
        target = value;
        return true;
    }

    bool readUrl(OpenSearchUrl &url, qsizetype number, QString &error)
    {
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QString written = attributes.value(QLatin1StringView("template")).toString();
        url.type = attributes.value(QLatin1StringView("type")).trimmed().toString();
        if (written.trimmed().isEmpty()) {
            error = QStringLiteral("Url %1 has no template.").arg(number);
            return false;
        }
        if (url.type.isEmpty()) {
            error = QStringLiteral("Url %1 (%2) has no type.").arg(number).arg(written);
            return false;
        }
        const std::optional<QString> absolute = absoluteTemplate(written, m_base);
        if (!absolute) {
            error = QStringLiteral("Url %1 has a template that is not an http or https address: %2").arg(number).arg(written);
            return false;
        }
        url.templateText = *absolute;
        QStringView method = attributes.value(QLatin1StringView("method"));
        if (method.isEmpty())
            method = attributes.value(kParameters, QLatin1StringView("method"));
        if (!method.isEmpty()) {
            url.method = method.trimmed().toString().toUpper();
            if (url.method != u"GET" && url.method != u"POST") {
                error = QStringLiteral("Url %1 has the method \"%2\"; only GET and POST are possible.")
                            .arg(number)
                            .arg(method.toString());
                return false;
            }
        }
        if (const QStringView rel = attributes.value(QLatin1StringView("rel")); !rel.trimmed().isEmpty())
            url.rel = rel.toString().simplified();
        if (!offset(QLatin1StringView("indexOffset"), url.indexOffset, number, error) || !offset(QLatin1StringView("pageOffset"), url.pageOffset, number, error))
            return false;
        while (m_xml.readNextStartElement()) {
            const QStringView ns = m_xml.namespaceUri();
            const QStringView name = m_xml.name();
            const bool param = (name == u"Param" && (isDescriptionNamespace(ns) || ns == kParameters))
                || (name == u"Parameter" && ns == kParameters);
            if (param) {
                const QXmlStreamAttributes paramAttributes = m_xml.attributes();
                const QString paramName = paramAttributes.value(QLatin1StringView("name")).trimmed().toString();
                if (paramName.isEmpty()) {
                    error = QStringLiteral("Url %1 has a %2 without a name.").arg(number).arg(name.toString());
                    return false;
                }
                url.params += OpenSearchUrl::Param{paramName, paramAttributes.value(QLatin1StringView("value")).toString()};
            }
            m_xml.skipCurrentElement();
        }
        return true;
    }

    QXmlStreamReader m_xml;
    QUrl m_base;
};

} // namespace

std::optional<OpenSearchDescription> OpenSearchDescriptionReader::read(QByteArrayView document, const QUrl &base,
                                                                        QString *error)
{
    QString message;
    Reader reader(document, base);
    std::optional<OpenSearchDescription> description = reader.read(message);
    if (error)
        *error = description ? QString() : message;
    return description;
}
