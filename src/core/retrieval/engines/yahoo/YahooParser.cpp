#include "YahooParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

#include <algorithm>

namespace YahooParser {

namespace {

constexpr QByteArrayView kCategoryMatches = "<B>Yahoo! Category Matches";
constexpr QByteArrayView kSiteMatches = "<B>Yahoo! Site Matches";
constexpr QByteArrayView kLink = "HREF=\"";
constexpr QByteArrayView kLinkEnd = "</A>";
const QString kNoPath = QStringLiteral(" ");

// Removes every "<b>" and "</b>". Deleting one can join its neighbours into a new one
// ("<<b>b>"), so the removal runs until none is left; the two tags cannot overlap, so one
// pass that drops a tag as soon as it completes gives the same text in linear time.
QString withoutBold(const QString &text)
{
    if (!text.contains(u"<b>") && !text.contains(u"</b>"))
        return text;
    QString out(text.size(), Qt::Uninitialized);
    QChar *const begin = out.data();
    QChar *end = begin;
    for (const QChar c : text) {
        *end++ = c;
        if (c != u'>')
            continue;
        const QStringView tail(begin, end);
        if (tail.endsWith(u"<b>"))
            end -= 3;
        else if (tail.endsWith(u"</b>"))
            end -= 4;
    }
    out.truncate(end - begin);
    return out;
}

// The path of the link to the next set of matches as the page wrote it, " " when there is
// none. Yahoo wrote the query's blanks into it unescaped; the request escapes what may not
// stand in a request line, so the path is kept whole.
QString nextSetPath(QByteArrayView page, const PageDecoding &decoding)
{
    PageCursor text(page);
    const qsizetype more = text.indexOf("Matches</A></B>]</CENTER><P>");
    if (more < 0)
        return kNoPath;
    const qsizetype link = text.lastIndexOf("<A HREF", more);
    if (link < 0)
        return kNoPath;
    text.skip(link);
    if (!text.cutAfter('"'))
        return kNoPath;
    bool closed = false;
    const QByteArrayView path = text.takeUpTo('"', &closed);
    if (!closed)
        return kNoPath;
    const QString decoded = decoding.decode(path);
    // Blanks alone name nothing, and " " is what the stored queries know as no next set.
    return decoded.trimmed().isEmpty() ? kNoPath : decoded;
}

// One match's address and title; the text starts at the address afterwards. False when
// there is no further match or its title has no closing "</A>".
bool takeLink(PageCursor &text, QByteArrayView &url, QByteArrayView &title, qsizetype &titleEnd)
{
    if (!text.cutTo(kLink))
        return false;
    text.cutAfter('"');
    url = text.takeUpTo('"');
    // The title starts past the address's closing quotation mark and the '>'.
    const qsizetype titleStart = url.size() + 2;
    titleEnd = text.indexOf(kLinkEnd, titleStart);
    if (titleEnd < 0)
        return false;
    title = text.text().sliced(titleStart, titleEnd - titleStart);
    return true;
}

void readCategories(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    text.cutTo(kCategoryMatches);
    if (!text.cutAfter("<p>"))
        return;
    text.endAt("<CENTER");
    QByteArrayView url;
    QByteArrayView title;
    qsizetype titleEnd = 0;
    while (takeLink(text, url, title, titleEnd)) {
        deliver(EngineHit{withoutBold(decoding.decode(title)), decoding.decode(url),
                          QStringLiteral("Yahoo Category")});
        text.skip(titleEnd + kLinkEnd.size());
    }
}

// "Yahoo Site.  " and the description with its first letter in upper case, bold removed.
QString siteSummary(const PageDecoding &decoding, QByteArrayView description)
{
    QString text = decoding.decode(description);
    if (!text.isEmpty()) {
        const qsizetype first = text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1;
        text.replace(0, first, text.first(first).toUpper());
    }
    return withoutBold(QStringLiteral("Yahoo Site.  ") + text);
}

void readSites(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    text.cutTo(kSiteMatches);
    if (!text.cutTo("<UL TYPE=") || !text.cutTo("<A HREF"))
        return;
    text.endAt("<CENTER");
    QByteArrayView url;
    QByteArrayView title;
    qsizetype titleEnd = 0;
    while (takeLink(text, url, title, titleEnd)) {
        // The description follows the title past line ends, blanks and dashes, and ends
        // where the next item or the end of the list begins.
        qsizetype start = titleEnd + kLinkEnd.size();
        const QByteArrayView rest = text.text();
        while (start < rest.size() && (rest[start] == '\n' || rest[start] == '\r' || rest[start] == ' ' || rest[start] == '-'))
            ++start;
        const qsizetype item = text.indexOf("<LI>", start);
        const qsizetype listEnd = text.indexOf("</UL>", start);
        if (item < 0 && listEnd < 0)
            return;
        const qsizetype end = item < 0 ? listEnd : listEnd < 0 ? item : std::min(item, listEnd);
        const QByteArrayView description = rest.sliced(start, end - start);

        const qsizetype nextItem = text.indexOf("<LI><A HREF");
        const qsizetype nestedList = text.indexOf("<UL TYPE=disc");
        deliver(EngineHit{withoutBold(decoding.decode(title)), decoding.decode(url),
                          siteSummary(decoding, description)});
        if (nextItem < 0 && nestedList < 0)
            return;
        text.skip(nextItem < 0 ? nestedList : nestedList < 0 ? nextItem : std::min(nextItem, nestedList));
        text.cutPast(description);
    }
}

} // namespace

QString parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    const bool categories = page.contains(kCategoryMatches);
    const bool sites = page.contains(kSiteMatches);
    // Without matches, or on Yahoo's page of web-search results, there is nothing to read
    // and no next set worth asking for.
    if ((!categories && !sites) || page.contains("- <b>Alta Vista Web Pages</b>"))
        return kNoPath;
    const QString path = nextSetPath(page, decoding);
    if (categories)
        readCategories(page, decoding, deliver);
    if (sites)
        readSites(page, decoding, deliver);
    return path;
}

} // namespace YahooParser
