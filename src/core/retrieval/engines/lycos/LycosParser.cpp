#include "LycosParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

namespace LycosParser {

namespace {
constexpr QByteArrayView kStart = "<!--- Formatted results start here --->";
constexpr QByteArrayView kEnd = "<!--- end formatted results --->";
}

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    if (!text.cutTo(kStart) || !text.contains(kEnd))
        return;
    text.endAt(kEnd);
    if (!text.cutTo("<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>"))
        return;
    for (;;) {
        if (!text.cutTo("<a href="))
            return;
        bool ok = text.cutAfter('"');
        const QByteArrayView url = text.takeUpTo('"');
        ok = ok && text.cutAfter('>');
        const QByteArrayView title = text.takeUpTo('<');
        ok = ok && text.cutAfter("<br>");
        const QByteArrayView summary = text.takeLine();
        if (!ok)
            return;
        deliver(decoding.hit(title, url, summary));
        text.cutPast(url);
        text.cutPast(title);
        text.cutPast(summary);
    }
}

} // namespace LycosParser
