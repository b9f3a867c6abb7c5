#pragma once

#include <QString>
#include <QUrl>

#include <functional>

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

    // What a reader does with the items of a feed (RSS items, Atom entries).
    struct Items
    {
        std::function<bool(const QXmlStreamReader &)> opens; // true: this start element opens one
        // A start element right inside the item, with its xml:base; true when it was read whole.
        std::function<bool(QXmlStreamReader &, const QUrl &)> readChild;
        std::function<void()> close; // on the item's end element
    };

    // From the root's start element to the end: keeps the xml:base of every open element,
    // reads the OpenSearch response elements outside the items into page (totalResults,
    // startIndex, itemsPerPage; a value that is not a number is ignored) and hands the items'
    // elements to items. A reader error goes into page.error.
    static void readItems(QXmlStreamReader &xml, const QUrl &pageAddress, const QString &what, FeedPage &page,
                          const Items &items);
};
