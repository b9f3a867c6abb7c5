#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "FeedXml.h"

#include "FeedPage.h"
#include "HitAddress.h"
#include "MarkupText.h"

#include <QXmlStreamReader>

#include <vector>

namespace {

const QLatin1StringView kOpenSearch11(TRAWLEX_OPENSEARCH_NS);
const QLatin1StringView kOpenSearchRss10(TRAWLEX_OPENSEARCH_RSS_NS);
const QLatin1StringView kXmlNamespace("http://www.w3.org/XML/1998/namespace");

// Text of a child element inside an HTML field is already unescaped by the XML reader;
// escaping it again lets the one HTML routine read the whole field.
void appendEscaped(QString &out, QStringView text)
{
    for (QChar c : text) {
        if (c == u'<')
            out += u"&lt;";
        else if (c == u'&')
            out += u"&amp;";
        else
            out += c;
    }
}

std::optional<qint64> count(QStringView text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

QString FeedXml::readField(QXmlStreamReader &xml, Content content)
{
    QString raw;
    int depth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (content == Content::Text || (content == Content::Html && depth == 0))
                raw += xml.text();
            else
                appendEscaped(raw, xml.text());
        } else if (token == QXmlStreamReader::EntityReference) {
            // Left unresolved by a document with an external DTD (old RSS 0.91 feeds used
            // HTML entity names that way): read them as the HTML entities they are.
            const QStringView name = xml.name();
            if (content == Content::Html && depth == 0) {
                raw += u'&' + name.toString() + u';';
            } else {
                const QStringView entity = MarkupText::namedEntity(name);
                const QString text = entity.isEmpty() ? u'&' + name.toString() + u';' : entity.toString();
                if (content == Content::Text)
                    raw += text;
                else
                    appendEscaped(raw, text);
            }
        } else if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (content != Content::Text)
                raw += u'<' + xml.name().toString() + u'>';
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == 0)
                break;
            --depth;
            if (content != Content::Text)
                raw += u"</" + xml.name().toString() + u'>';
        }
    }
    return content == Content::Text ? MarkupText::fromPlain(raw) : MarkupText::fromHtml(raw);
}

FeedXml::Content FeedXml::atomContent(QStringView type)
{
    const QStringView t = type.trimmed();
    if (t.isEmpty() || t.compare(u"text", Qt::CaseInsensitive) == 0)
        return Content::Text;
    if (t.compare(u"html", Qt::CaseInsensitive) == 0 || t.startsWith(u"text/html", Qt::CaseInsensitive))
        return Content::Html;
    if (t.compare(u"xhtml", Qt::CaseInsensitive) == 0 || t.startsWith(u"application/xhtml+xml", Qt::CaseInsensitive))
        return Content::Xhtml;
    return Content::Text;
}

namespace {

bool readResponseElement(QXmlStreamReader &xml, FeedPage &page)
{
    const QStringView ns = xml.namespaceUri();
    if (ns != kOpenSearch11 && ns != kOpenSearchRss10)
        return false;
    const QStringView name = xml.name();
    std::optional<qint64> *target = nullptr;
    if (name == u"totalResults")
        target = &page.totalResults;
    else if (name == u"startIndex")
        target = &page.startIndex;
    else if (name == u"itemsPerPage")
        target = &page.itemsPerPage;
    else
        return false;
    if (const auto value = count(xml.readElementText(QXmlStreamReader::SkipChildElements)))
        *target = value;
    return true;
}

// The base of the current start element: the parent's base, moved by its xml:base.
QUrl elementBase(const QXmlStreamReader &xml, const QUrl &parentBase)
{
    const QStringView base = xml.attributes().value(kXmlNamespace, QLatin1StringView("base"));
    // An overlong base could only serve to inflate every address below it.
    if (base.isEmpty() || base.size() > HitAddress::kLongest)
        return parentBase;
    const QUrl relative(base.trimmed().toString(), QUrl::TolerantMode);
    return parentBase.isEmpty() ? relative : parentBase.resolved(relative);
}

} // namespace

QString FeedXml::refuseEntities(const QXmlStreamReader &xml)
{
    const auto declarations = xml.entityDeclarations();
    if (declarations.isEmpty())
        return {};
    return QStringLiteral("The document declares its own entities (such as \"%1\"), which Trawlex does not expand.")
        .arg(declarations.first().name());
}

QString FeedXml::errorText(const QXmlStreamReader &xml, const QString &what)
{
    return QStringLiteral("%1 is not well-formed XML (line %2, column %3: %4).")
        .arg(what)
        .arg(xml.lineNumber())
        .arg(xml.columnNumber())
        .arg(xml.errorString());
}

QString FeedXml::readToRoot(QXmlStreamReader &xml, const QString &what)
{
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::DTD) {
            if (QString refusal = refuseEntities(xml); !refusal.isEmpty())
                return refusal;
        } else if (token == QXmlStreamReader::StartElement) {
            return {};
        }
    }
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        return errorText(xml, what);
    return QStringLiteral("%1 is empty: it has no root element.").arg(what);
}

bool FeedXml::isRssRoot(const QXmlStreamReader &xml)
{
    return (xml.name() == u"rss" && xml.namespaceUri().isEmpty())
        || (xml.name() == u"RDF" && xml.namespaceUri() == u"http://www.w3.org/1999/02/22-rdf-syntax-ns#");
}

bool FeedXml::isAtomRoot(const QXmlStreamReader &xml)
{
    return xml.name() == u"feed" && xml.namespaceUri() == u"http://www.w3.org/2005/Atom";
}

void FeedXml::readItems(QXmlStreamReader &xml, const QUrl &pageAddress, const QString &what, FeedPage &page,
                        const Items &items)
{
    // The base of every open element, the root's first; fields read whole are not pushed.
    std::vector<QUrl> bases{elementBase(xml, pageAddress)};
    std::size_t itemDepth = 0; // none open
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QUrl base = elementBase(xml, bases.back());
            if (itemDepth == 0) {
                if (readResponseElement(xml, page))
                    continue;
                bases.push_back(base);
                if (items.opens(xml))
                    itemDepth = bases.size();
                continue;
            }
            if (bases.size() == itemDepth && items.readChild(xml, base))
                continue;
            bases.push_back(base);
        } else if (token == QXmlStreamReader::EndElement) {
            if (itemDepth != 0 && bases.size() == itemDepth) {
                items.close();
                itemDepth = 0;
            }
            if (bases.size() > 1)
                bases.pop_back();
        }
    }
    if (xml.hasError())
        page.error = errorText(xml, what);
}
