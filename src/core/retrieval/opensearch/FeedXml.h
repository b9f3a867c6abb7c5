#pragma once

#include <QString>
#include <QUrl>

class QXmlStreamReader;
struct FeedPage;

// What the RSS and Atom readers share: reading a field's text in the form its type says,
// the OpenSearch response elements, xml:base, and the refusal of documents that declare
// their own entities.
class FeedXml final
{
public:
    FeedXml() = delete;

    // How a field's content is written.
    enum class Content {
        Text,  // plain text; markup characters mean themselves
        Html,  // escaped HTML (RSS descriptions, Atom type="html")
        Xhtml, // XHTML child elements (Atom type="xhtml")
    };

    // Reads from the current start element to its end element and returns the field as
    // plain text. Leaves the reader on the end element, or in error.
    static QString readField(QXmlStreamReader &xml, Content content);

    // The content kind an Atom type attribute names ("text", "html", "xhtml", or a media type).
    static Content atomContent(QStringView type);

    // True when the current start element is totalResults, startIndex or itemsPerPage of
    // the OpenSearch namespaces; reads it into the page (a value that is not a number is
    // ignored).
    static bool readResponseElement(QXmlStreamReader &xml, FeedPage &page);

    // The base of the current start element: the parent's base, moved by its xml:base.
    static QUrl elementBase(const QXmlStreamReader &xml, const QUrl &parentBase);

    // Called on the DTD token: a document that declares entities is refused before any of
    // them could be expanded (the "billion laughs" trick). Returns the error, or empty.
    static QString refuseEntities(const QXmlStreamReader &xml);

    // Reads up to the root element, refusing entity declarations on the way. Returns an
    // error sentence ("what" names the document: "The feed"), or empty with the reader on
    // the root's start element.
    static QString readToRoot(QXmlStreamReader &xml, const QString &what);

    // On the root element: an RSS feed (rss, or RSS 1.0's rdf:RDF), an Atom feed.
    static bool isRssRoot(const QXmlStreamReader &xml);
    static bool isAtomRoot(const QXmlStreamReader &xml);

    // A sentence for a reader error, with where it happened.
    static QString errorText(const QXmlStreamReader &xml, const QString &what);
};
