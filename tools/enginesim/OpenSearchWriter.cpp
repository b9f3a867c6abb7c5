#include "SimNamespaces.h"
#include "OpenSearchWriter.h"

#include <QXmlStreamWriter>

#include <algorithm>

namespace {

const QString kNs = QStringLiteral(SIM_OPENSEARCH_NS);
const QString kParametersNs = QStringLiteral(SIM_OPENSEARCH_PARAMETERS_NS);

struct Url
{
    QString type;
    QString templateText;
    QString method;          // empty: GET, and no attribute
    QString indexOffset;     // empty: no attribute (the default, 1)
    QString pageOffset;
    QList<QPair<QString, QString>> params; // POST fields
    bool parametersExtension = false;      // write the fields as parameters:Parameter
};

struct Description
{
    QString name;
    QString shortName;
    QString text;
    QList<Url> urls;
};

QList<Description> descriptions(const QString &base)
{
    const QList<QPair<QString, QString>> postFields = {{QStringLiteral("q"), QStringLiteral("{searchTerms}")},
                                                       {QStringLiteral("page"), QStringLiteral("{startPage}")}};
    const QString htmlTemplate = base + QStringLiteral("/html/search?q={searchTerms}");
    return {
        {QStringLiteral("atom"), QStringLiteral("Sim Atom"), QStringLiteral("The simulator's corpus as Atom 1.0 feeds."),
         {{QStringLiteral("application/atom+xml"),
           base + QStringLiteral("/feed/atom?q={searchTerms}&start={startIndex?}&count={count?}"), {},
           QStringLiteral("1"), {}, {}, false}}},
        // The page a browser would show comes first: a reader has to pick the feed.
        {QStringLiteral("rss"), QStringLiteral("Sim RSS"), QStringLiteral("The simulator's corpus as RSS 2.0 feeds."),
         {{QStringLiteral("text/html"), htmlTemplate, {}, {}, {}, {}, false},
          {QStringLiteral("application/rss+xml"),
           base + QStringLiteral("/feed/rss?q={searchTerms}&page={startPage?}&n={count?}"), {}, {},
           QStringLiteral("1"), {}, false}}},
        {QStringLiteral("json"), QStringLiteral("Sim JSON"),
         QStringLiteral("The simulator's corpus as a metasearch instance's JSON."),
         {{QStringLiteral("application/json"), base + QStringLiteral("/feed/json?q={searchTerms}&pageno={startPage}"),
           {}, {}, {}, {}, false}}},
        {QStringLiteral("post"), QStringLiteral("Sim POST"),
         QStringLiteral("The simulator's corpus as RSS 2.0, asked with a form POST."),
         {{QStringLiteral("application/rss+xml"), base + QStringLiteral("/feed/post"), QStringLiteral("POST"), {}, {},
           postFields, false}}},
        {QStringLiteral("post-params"), QStringLiteral("Sim POST params"),
         QStringLiteral("The same POST search, its fields written with the parameters extension."),
         {{QStringLiteral("application/rss+xml"), base + QStringLiteral("/feed/post"), QStringLiteral("POST"), {}, {},
           postFields, true}}},
        {QStringLiteral("html"), QStringLiteral("Sim HTML"),
         QStringLiteral("Result pages for browsers only: nothing a reader of feeds can use."),
         {{QStringLiteral("text/html"), htmlTemplate, {}, {}, {}, {}, false}}},
    };
}

} // namespace

QStringList OpenSearchWriter::names()
{
    QStringList result;
    for (const Description &d : descriptions(QString()))
        result.append(d.name);
    return result;
}

QByteArray OpenSearchWriter::description(const QString &name, const QString &base)
{
    for (const Description &d : descriptions(base)) {
        if (d.name != name)
            continue;
        QByteArray bytes;
        QXmlStreamWriter xml(&bytes);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeDefaultNamespace(kNs);
        const bool extension = std::any_of(d.urls.begin(), d.urls.end(), [](const Url &u) { return u.parametersExtension; });
        if (extension)
            xml.writeNamespace(kParametersNs, QStringLiteral("parameters"));
        xml.writeStartElement(kNs, QStringLiteral("OpenSearchDescription"));
        xml.writeTextElement(kNs, QStringLiteral("ShortName"), d.shortName);
        xml.writeTextElement(kNs, QStringLiteral("Description"), d.text);
        xml.writeTextElement(kNs, QStringLiteral("InputEncoding"), QStringLiteral("UTF-8"));
        xml.writeTextElement(kNs, QStringLiteral("OutputEncoding"), QStringLiteral("UTF-8"));
        for (const Url &url : d.urls) {
            xml.writeStartElement(kNs, QStringLiteral("Url"));
            xml.writeAttribute(QStringLiteral("type"), url.type);
            xml.writeAttribute(QStringLiteral("template"), url.templateText);
            if (!url.method.isEmpty()) {
                xml.writeAttribute(QStringLiteral("method"), url.method);
                if (url.parametersExtension)
                    xml.writeAttribute(kParametersNs, QStringLiteral("method"), url.method);
            }
            if (!url.indexOffset.isEmpty())
                xml.writeAttribute(QStringLiteral("indexOffset"), url.indexOffset);
            if (!url.pageOffset.isEmpty())
                xml.writeAttribute(QStringLiteral("pageOffset"), url.pageOffset);
            for (const auto &[field, value] : url.params) {
                if (url.parametersExtension)
                    xml.writeEmptyElement(kParametersNs, QStringLiteral("Parameter"));
                else
                    xml.writeEmptyElement(kNs, QStringLiteral("Param"));
                xml.writeAttribute(QStringLiteral("name"), field);
                xml.writeAttribute(QStringLiteral("value"), value);
            }
            xml.writeEndElement();
        }
        xml.writeStartElement(kNs, QStringLiteral("Query"));
        xml.writeAttribute(QStringLiteral("role"), QStringLiteral("example"));
        xml.writeAttribute(QStringLiteral("searchTerms"), QStringLiteral("apple"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndDocument();
        return bytes;
    }
    return {};
}
