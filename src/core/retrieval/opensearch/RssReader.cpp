#include "RssReader.h"

#include "AtomReader.h"
#include "FeedDelivery.h"
#include "FeedXml.h"
#include "HitAddress.h"

#include <QXmlStreamReader>

#include <vector>

namespace {

bool isRssElement(const QXmlStreamReader &xml)
{
    const QStringView ns = xml.namespaceUri();
    return ns.isEmpty() || ns == u"http://purl.org/rss/1.0/" || ns == u"http://backend.userland.com/rss2";
}

struct Item
{
    QString title;
    QString link;
    QUrl linkBase;
    QString guid; // only a permalink guid is kept
    QUrl guidBase;
    QString description;
    QString encoded;
};

} // namespace

FeedPage RssReader::read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver)
{
    FeedPage page;
    QXmlStreamReader xml(QByteArray::fromRawData(body.data(), body.size()));
    const QString what = QStringLiteral("The feed");
    page.error = FeedXml::readToRoot(xml, what);
    if (!page.ok())
        return page;
    if (FeedXml::isAtomRoot(xml))
        return AtomReader::read(body, pageAddress, deliver);
    if (!FeedXml::isRssRoot(xml)) {
        page.error = QStringLiteral("The answer is not an RSS feed: its root element is <%1>.")
                         .arg(xml.qualifiedName().toString());
        return page;
    }

    // The base of every open element, the root's first; fields read whole are not pushed.
    std::vector<QUrl> bases{FeedXml::elementBase(xml, pageAddress)};
    std::optional<Item> item;
    std::size_t itemDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QUrl base = FeedXml::elementBase(xml, bases.back());
            const QStringView name = xml.name();
            if (!item) {
                if (FeedXml::readResponseElement(xml, page))
                    continue;
                bases.push_back(base);
                if (name == u"item" && isRssElement(xml)) {
                    item.emplace();
                    itemDepth = bases.size();
                }
                continue;
            }
            if (bases.size() == itemDepth && isRssElement(xml)) {
                if (name == u"title") {
                    item->title = FeedXml::readField(xml, FeedXml::Content::Html);
                    continue;
                }
                if (name == u"link") {
                    item->link = FeedXml::readField(xml, FeedXml::Content::Text);
                    item->linkBase = base;
                    continue;
                }
                if (name == u"description") {
                    item->description = FeedXml::readField(xml, FeedXml::Content::Html);
                    continue;
                }
                if (name == u"guid") {
                    // A guid is a permalink unless it says otherwise.
                    const bool permaLink = xml.attributes().value(QLatin1StringView("isPermaLink")).trimmed().compare(u"false", Qt::CaseInsensitive) != 0;
                    const QString guid = FeedXml::readField(xml, FeedXml::Content::Text);
                    if (permaLink) {
                        item->guid = guid;
                        item->guidBase = base;
                    }
                    continue;
                }
            }
            if (bases.size() == itemDepth && name == u"encoded"
                && xml.namespaceUri() == u"http://purl.org/rss/1.0/modules/content/") {
                item->encoded = FeedXml::readField(xml, FeedXml::Content::Html);
                continue;
            }
            bases.push_back(base);
        } else if (token == QXmlStreamReader::EndElement) {
            if (item && bases.size() == itemDepth) {
                QString address = HitAddress::resolve(item->link, item->linkBase);
                if (address.isEmpty() && !item->guid.isEmpty())
                    address = HitAddress::resolve(item->guid, item->guidBase);
                QString summary = item->description.isEmpty() ? std::move(item->encoded) : std::move(item->description);
                FeedDelivery::offer(page, deliver, std::move(item->title), std::move(address), std::move(summary));
                item.reset();
            }
            if (bases.size() > 1)
                bases.pop_back();
        }
    }
    if (xml.hasError())
        page.error = FeedXml::errorText(xml, what);
    return page;
}
