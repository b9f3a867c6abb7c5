#include "AtomReader.h"

#include "FeedDelivery.h"
#include "FeedXml.h"
#include "HitAddress.h"
#include "RssReader.h"

#include <QXmlStreamReader>

namespace {

const QLatin1StringView kAtom("http://www.w3.org/2005/Atom");

struct Entry
{
    QString title;
    QString address; // resolved; empty until a usable link is seen
    QString summary;
    QString content;
};

bool isAlternate(QStringView rel)
{
    const QStringView r = rel.trimmed();
    return r.isEmpty() || r == u"alternate" || r == u"http://www.iana.org/assignments/relation/alternate";
}

// Out-of-line content (src) and content of a media type that is not text carry no summary.
bool isReadableContent(const QXmlStreamReader &xml)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.hasAttribute(QLatin1StringView("src")))
        return false;
    const QStringView type = attributes.value(QLatin1StringView("type")).trimmed();
    if (!type.contains(u'/'))
        return true;
    return type.startsWith(u"text/", Qt::CaseInsensitive) || type.startsWith(u"application/xhtml+xml", Qt::CaseInsensitive);
}

} // namespace

FeedPage AtomReader::read(QByteArrayView body, const QUrl &pageAddress, const HitSink &deliver)
{
    FeedPage page;
    QXmlStreamReader xml(QByteArray::fromRawData(body.data(), body.size()));
    const QString what = QStringLiteral("The feed");
    page.error = FeedXml::readToRoot(xml, what);
    if (!page.ok())
        return page;
    if (FeedXml::isRssRoot(xml))
        return RssReader::read(body, pageAddress, deliver);
    if (!FeedXml::isAtomRoot(xml)) {
        page.error = QStringLiteral("The answer is not an Atom feed: its root element is <%1>.")
                         .arg(xml.qualifiedName().toString());
        return page;
    }

    Entry entry;
    FeedXml::readItems(xml, pageAddress, what, page, {
        .opens = [&entry](const QXmlStreamReader &xml) {
            if (xml.namespaceUri() != kAtom || xml.name() != u"entry")
                return false;
            entry = Entry();
            return true;
        },
        .readChild = [&entry](QXmlStreamReader &xml, const QUrl &base) {
            if (xml.namespaceUri() != kAtom)
                return false;
            const QStringView name = xml.name();
            const QStringView type = xml.attributes().value(QLatin1StringView("type"));
            if (name == u"title") {
                entry.title = FeedXml::readField(xml, FeedXml::atomContent(type));
                return true;
            }
            if (name == u"summary") {
                entry.summary = FeedXml::readField(xml, FeedXml::atomContent(type));
                return true;
            }
            if (name == u"content") {
                if (isReadableContent(xml))
                    entry.content = FeedXml::readField(xml, FeedXml::atomContent(type));
                else
                    xml.skipCurrentElement();
                return true;
            }
            // The first usable alternate wins; an unusable one lets a later one count.
            if (name == u"link" && entry.address.isEmpty() && isAlternate(xml.attributes().value(QLatin1StringView("rel"))))
                entry.address = HitAddress::resolve(xml.attributes().value(QLatin1StringView("href")), base);
            return false;
        },
        .close = [&] {
            QString summary = entry.summary.isEmpty() ? std::move(entry.content) : std::move(entry.summary);
            FeedDelivery::offer(page, deliver, std::move(entry.title), std::move(entry.address), std::move(summary));
        },
    });
    return page;
}
