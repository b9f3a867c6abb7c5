#include "RssReader.h"

#include "AtomReader.h"
#include "FeedDelivery.h"
#include "FeedXml.h"
#include "HitAddress.h"

#include <QXmlStreamReader>

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

    Item item;
    FeedXml::readItems(xml, pageAddress, what, page, {
        .opens = [&item](const QXmlStreamReader &xml) {
            if (xml.name() != u"item" || !isRssElement(xml))
                return false;
            item = Item();
            return true;
        },
        .readChild = [&item](QXmlStreamReader &xml, const QUrl &base) {
            const QStringView name = xml.name();
            if (isRssElement(xml)) {
                if (name == u"title") {
                    item.title = FeedXml::readField(xml, FeedXml::Content::Html);
                    return true;
                }
                if (name == u"link") {
                    item.link = FeedXml::readField(xml, FeedXml::Content::Text);
                    item.linkBase = base;
                    return true;
                }
                if (name == u"description") {
                    item.description = FeedXml::readField(xml, FeedXml::Content::Html);
                    return true;
                }
                if (name == u"guid") {
                    // A guid is a permalink unless it says otherwise.
                    const bool permaLink = xml.attributes().value(QLatin1StringView("isPermaLink")).trimmed().compare(u"false", Qt::CaseInsensitive) != 0;
                    const QString guid = FeedXml::readField(xml, FeedXml::Content::Text);
                    if (permaLink) {
                        item.guid = guid;
                        item.guidBase = base;
                    }
                    return true;
                }
            }
            if (name == u"encoded" && xml.namespaceUri() == u"http://purl.org/rss/1.0/modules/content/") {
                item.encoded = FeedXml::readField(xml, FeedXml::Content::Html);
                return true;
            }
            return false;
        },
        .close = [&] {
            QString address = HitAddress::resolve(item.link, item.linkBase);
            if (address.isEmpty() && !item.guid.isEmpty())
                address = HitAddress::resolve(item.guid, item.guidBase);
            QString summary = item.description.isEmpty() ? std::move(item.encoded) : std::move(item.description);
            FeedDelivery::offer(page, deliver, std::move(item.title), std::move(address), std::move(summary));
        },
    });
    return page;
}
