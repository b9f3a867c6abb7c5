#include "HotBotParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

namespace HotBotParser {

namespace {
// Ends a relevance percentage; each hit's link follows the "</B>" that closes its number.
constexpr QByteArrayView kRelevance = "%</FONT>";
}

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    for (;;) {
        const qsizetype relevance = text.indexOf(kRelevance);
        if (relevance < 0)
            return;
        // Back to the nearest "</B>" before the percentage; without one the text stays.
        const qsizetype number = text.lastIndexOf("</B>", relevance);
        if (number > 0)
            text.skip(number);

        QByteArrayView summary;
        bool ok = text.cutAfter("<A") && text.cutAfter("HREF=", 1);
        const QByteArrayView url = text.takeUpTo('"');
        ok = ok && text.cutAfter('>');
        const QByteArrayView title = text.takeUpTo('<');
        // A "<BR>" inside the summary stays; the one that ends it ends its line.
        ok = ok && text.cutAfter("</FONT></TD>") && text.cutAfter('>')
            && text.textBeforeLineEnd("<BR>", summary);
        if (!ok)
            return;
        deliver(decoding.hit(title, url, summary));
        text.cutPast(url);
        text.cutPast(title);
        text.cutPast(summary);
    }
}

} // namespace HotBotParser
