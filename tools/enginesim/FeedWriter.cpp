#include "SimNamespaces.h"
#include "FeedWriter.h"

#include "SimDocument.h"
#include "WebText.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamWriter>

#include <functional>

namespace {

const QString kAtomNs = QStringLiteral("http://www.w3.org/2005/Atom");
const QString kOpenSearchNs = QStringLiteral(SIM_OPENSEARCH_NS);
const QString kEngineName = QStringLiteral("enginesim");

// A fixed date per position, so that every answer to a request is the same.
QDateTime updated(int position)
{
    return QDateTime(QDate(2025, 6, 1), QTime(12, 0), Qt::UTC).addSecs(-3600LL * position);
}

// XML 1.0 cannot carry most control characters, not even as references.
QString xmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if ((c.unicode() >= 0x20 && !c.isSurrogate() && c.unicode() < 0xFFFE) || c == u'\t' || c == u'\n'
                   || c == u'\r') {
            out += c;
        }
    }
    return out;
}

// The writer's own prefix and default namespace are known only within one
// writer, so each piece declares what it writes.
QByteArray written(const std::function<void(QXmlStreamWriter &)> &write)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    write(xml);
    return bytes;
}

QJsonObject searxItem(const SimDocument &doc)
{
    return QJsonObject{{QStringLiteral("url"), doc.url},
                       {QStringLiteral("title"), doc.title},
                       {QStringLiteral("content"), doc.summary},
                       {QStringLiteral("engine"), kEngineName},
                       {QStringLiteral("engines"), QJsonArray{kEngineName}},
                       {QStringLiteral("category"), QStringLiteral("general")}};
}

// The whole answer with an empty results array, split where the items go.
QPair<QByteArray, QByteArray> searxFrame(const FeedWriter::Page &page)
{
    const QJsonObject object{{QStringLiteral("query"), page.query},
                             {QStringLiteral("number_of_results"), page.total},
                             {QStringLiteral("results"), QJsonArray()},
                             {QStringLiteral("answers"), QJsonArray()},
                             {QStringLiteral("corrections"), QJsonArray()},
                             {QStringLiteral("infoboxes"), QJsonArray()},
                             {QStringLiteral("suggestions"), QJsonArray()},
                             {QStringLiteral("unresponsive_engines"), QJsonArray()}};
    const QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    const QByteArray marker = "\"results\":[";
    const qsizetype at = json.indexOf(marker) + marker.size();
    return {json.left(at), json.mid(at) + '\n'};
}

} // namespace

QByteArray FeedWriter::document(const Page &page)
{
    QByteArray bytes = head(page);
    for (qsizetype i = 0; i < page.items.size(); ++i)
        bytes += item(page, page.first + int(i), *page.items.at(i));
    return bytes + tail(page);
}

QByteArray FeedWriter::head(const Page &page)
{
    if (page.format == Format::SearxJson)
        return searxFrame(page).first;
    const QString title = QStringLiteral("trawlex-enginesim: %1").arg(xmlSafe(page.query));
    auto responseElements = [&page](QXmlStreamWriter &xml) {
        xml.writeTextElement(kOpenSearchNs, QStringLiteral("totalResults"), QString::number(page.total));
        xml.writeTextElement(kOpenSearchNs, QStringLiteral("startIndex"), QString::number(page.first + 1));
        xml.writeTextElement(kOpenSearchNs, QStringLiteral("itemsPerPage"), QString::number(page.count));
        xml.writeEmptyElement(kOpenSearchNs, QStringLiteral("Query"));
        xml.writeAttribute(QStringLiteral("role"), QStringLiteral("request"));
        xml.writeAttribute(QStringLiteral("searchTerms"), xmlSafe(page.query));
        xml.writeAttribute(QStringLiteral("startIndex"), QString::number(page.first + 1));
    };
    return written([&](QXmlStreamWriter &xml) {
        xml.writeStartDocument();
        if (page.format == Format::Atom) {
            xml.writeDefaultNamespace(kAtomNs);
            xml.writeNamespace(kOpenSearchNs, QStringLiteral("opensearch"));
            xml.writeStartElement(kAtomNs, QStringLiteral("feed"));
            xml.writeTextElement(kAtomNs, QStringLiteral("title"), title);
            xml.writeEmptyElement(kAtomNs, QStringLiteral("link"));
            xml.writeAttribute(QStringLiteral("rel"), QStringLiteral("self"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("application/atom+xml"));
            xml.writeAttribute(QStringLiteral("href"), page.selfUrl);
            xml.writeTextElement(kAtomNs, QStringLiteral("id"), page.selfUrl);
            xml.writeTextElement(kAtomNs, QStringLiteral("updated"), updated(0).toString(Qt::ISODate));
            xml.writeStartElement(kAtomNs, QStringLiteral("author"));
            xml.writeTextElement(kAtomNs, QStringLiteral("name"), QStringLiteral("trawlex-enginesim"));
            xml.writeEndElement();
            responseElements(xml);
        } else {
            xml.writeNamespace(kOpenSearchNs, QStringLiteral("opensearch"));
            xml.writeStartElement(QStringLiteral("rss"));
            xml.writeAttribute(QStringLiteral("version"), QStringLiteral("2.0"));
            xml.writeStartElement(QStringLiteral("channel"));
            xml.writeTextElement(QStringLiteral("title"), title);
            xml.writeTextElement(QStringLiteral("link"), page.selfUrl);
            xml.writeTextElement(QStringLiteral("description"),
                                 QStringLiteral("Search results for \"%1\"").arg(xmlSafe(page.query)));
            responseElements(xml);
        }
        // Left open: the items and the tail follow.
        xml.writeCharacters(QString());
    });
}

QByteArray FeedWriter::item(const Page &page, int position, const SimDocument &doc)
{
    if (page.format == Format::SearxJson) {
        const QByteArray json = QJsonDocument(searxItem(doc)).toJson(QJsonDocument::Compact);
        return position > page.first ? ',' + json : json;
    }
    const QString url = xmlSafe(doc.url);
    const QString summary = highlighted(xmlSafe(doc.summary), page.words);
    return written([&](QXmlStreamWriter &xml) {
        if (page.format == Format::Atom) {
            // No namespace of its own: the entry is in the feed's default namespace.
            xml.writeStartElement(QStringLiteral("entry"));
            xml.writeStartElement(QStringLiteral("title"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("html"));
            xml.writeCharacters(highlighted(xmlSafe(doc.title), page.words));
            xml.writeEndElement();
            xml.writeEmptyElement(QStringLiteral("link"));
            xml.writeAttribute(QStringLiteral("rel"), QStringLiteral("alternate"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("text/html"));
            xml.writeAttribute(QStringLiteral("href"), url);
            xml.writeTextElement(QStringLiteral("id"), url);
            xml.writeTextElement(QStringLiteral("updated"), updated(position).toString(Qt::ISODate));
            xml.writeStartElement(QStringLiteral("summary"));
            xml.writeAttribute(QStringLiteral("type"), QStringLiteral("html"));
            xml.writeCharacters(summary);
            xml.writeEndElement();
            xml.writeEndElement();
        } else {
            xml.writeStartElement(QStringLiteral("item"));
            xml.writeTextElement(QStringLiteral("title"), xmlSafe(doc.title));
            xml.writeTextElement(QStringLiteral("link"), url);
            xml.writeTextElement(QStringLiteral("description"), summary);
            xml.writeStartElement(QStringLiteral("guid"));
            xml.writeAttribute(QStringLiteral("isPermaLink"), QStringLiteral("true"));
            xml.writeCharacters(url);
            xml.writeEndElement();
            xml.writeTextElement(QStringLiteral("pubDate"), QLocale::c().toString(updated(position), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss '+0000'")));
            xml.writeEndElement();
        }
    });
}

QByteArray FeedWriter::tail(const Page &page)
{
    switch (page.format) {
    case Format::Atom: return "\n</feed>\n";
    case Format::Rss: return "\n</channel>\n</rss>\n";
    case Format::SearxJson: return searxFrame(page).second;
    }
    return {};
}

QByteArray FeedWriter::contentType(Format format)
{
    switch (format) {
    case Format::Atom: return "application/atom+xml; charset=utf-8";
    case Format::Rss: return "application/rss+xml; charset=utf-8";
    case Format::SearxJson: return "application/json; charset=utf-8";
    }
    return {};
}

QString FeedWriter::highlighted(const QString &text, const QStringList &words)
{
    // The summary as HTML, as feeds carry it: the page text escaped, the words
    // searched for in bold. The writer escapes it once more for the XML.
    QString html = WebText::escapeHtml(text);
    if (words.isEmpty())
        return html;
    QStringList alternatives;
    for (const QString &word : words)
        alternatives.append(QRegularExpression::escape(word));
    // Not inside an entity ("&amp;" holds the word "amp").
    static QHash<QString, QRegularExpression> cache;
    const QString pattern = QStringLiteral("(?<![&#\\w])(%1)(?!\\w)").arg(alternatives.join(u'|'));
    auto found = cache.find(pattern);
    if (found == cache.end()) {
        if (cache.size() > 256)
            cache.clear();
        found = cache.insert(pattern, QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption
                                                                      | QRegularExpression::UseUnicodePropertiesOption));
    }
    return html.replace(*found, QStringLiteral("<b>\\1</b>"));
}
