#include "InfoSeekParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

namespace InfoSeekParser {

namespace {
constexpr QByteArrayView kHeader = "<font face=\"Arial,Helvetica\" color=\"FFFFFF\"><b>Search results";
constexpr QByteArrayView kNoResults = "<h2>No Results Found</h2>";
constexpr QByteArrayView kTrailer = "<font color=\"FFFFFF\" size=0>xxxxxx";
constexpr QByteArrayView kHitStart = "<b><a href=";
}

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    if (!text.contains(kHeader) || text.contains(kNoResults))
        return;
    if (!text.cutTo(kHitStart))
        return;
    text.endAt(kTrailer);
    for (;;) {
        // Past the marker and the address's opening quotation mark.
        if (!text.cutAfter(kHitStart, 1))
            return;
        QByteArrayView summary;
        const QByteArrayView url = text.takeUpTo('"');
        bool ok = text.cutAfter('>');
        const QByteArrayView title = text.takeUpTo('<');
        // The summary starts on the line after the title's "<br>".
        ok = ok && text.cutAfter("<br>");
        if (ok)
            text.skipCharOrLineEnd();
        ok = ok && text.textBefore("<br>", summary);
        if (!ok)
            return;
        deliver(decoding.hit(title, url, summary));
        // The next hit is looked for after this one's fields.
        text.cutPast(url);
        text.cutPast(title);
        text.cutPast(summary);
    }
}

} // namespace InfoSeekParser
