#include "AltaVistaParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

namespace AltaVistaParser {

namespace {
constexpr QByteArrayView kHitStart = "<dt><font size=-1><b>";
}

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    if (!text.cutTo(kHitStart))
        return;
    for (;;) {
        QByteArrayView title;
        QByteArrayView summary;
        bool ok = text.cutTo("<a href=") && text.cutAfter('"');
        const QByteArrayView url = text.takeUpTo('"');
        ok = ok && text.cutAfter("<strong>") && text.textBefore("</strong>", title)
            && text.cutTo("</strong>");
        ok = ok && text.cutAfter("</a><dd>") && text.textBefore("<br><cite", summary)
            && text.cutTo("<br><cite");
        // A hit whose markers are missing is not delivered: its fields would come from
        // another hit or from the rest of the page.
        if (!ok)
            return;
        deliver(decoding.hit(title, url, summary));
        text.cutPast(url);
        if (!text.cutTo(kHitStart))
            return;
    }
}

} // namespace AltaVistaParser
