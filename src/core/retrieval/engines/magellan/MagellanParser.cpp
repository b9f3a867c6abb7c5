#include "MagellanParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

namespace MagellanParser {

namespace {

// The title may be written over several lines: leading and trailing line ends and blanks
// are not part of it.
QByteArrayView trimTitle(QByteArrayView title)
{
    while (!title.isEmpty() && (title.front() == '\n' || title.front() == ' ' || title.front() == '\r'))
        title = title.sliced(1);
    while (!title.isEmpty() && (title.back() == '\n' || title.back() == ' ' || title.back() == '\r'))
        title.chop(1);
    return title;
}

} // namespace

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    if (!text.cutTo("<!--search results-->"))
        return;
    text.endAt("</FORM>");
    for (;;) {
        if (!text.cutTo("HREF=\""))
            return;
        text.cutAfter('"');
        const QByteArrayView url = text.takeUpTo('"');

        // The title starts past the address's closing quotation mark and the '>'.
        QByteArrayView title;
        const qsizetype titleStart = url.size() + 2;
        if (titleStart <= text.size()) {
            qsizetype titleEnd = text.indexOf('<', titleStart);
            if (titleEnd < 0)
                titleEnd = text.size();
            title = text.text().sliced(titleStart, titleEnd - titleStart);
        }

        if (!text.cutAfter("<BR>"))
            return;
        text.skipAny("\r\n ");
        const QByteArrayView summary = text.takeLine();
        deliver(decoding.hit(trimTitle(title), url, summary));
        text.cutPast(url);
        text.cutPast(title);
        text.cutPast(summary);
        if (!text.cutTo("<HR>"))
            return;
    }
}

} // namespace MagellanParser
