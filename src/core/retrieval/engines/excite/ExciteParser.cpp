#include "ExciteParser.h"

#include "../PageCursor.h"
#include "../PageDecoding.h"

#include <algorithm>

namespace ExciteParser {

namespace {

// Past the label's closing "</B>": one character into it, then past the next '>'.
bool cutAfterLabel(PageCursor &text)
{
    if (!text.cutTo("</B>"))
        return false;
    text.skip(1);
    return text.cutAfter('>');
}

// The address ends at the first blank or line end, or with the text.
QByteArrayView takeAddress(const PageCursor &text)
{
    qsizetype end = text.size();
    for (const char stop : {' ', '\n', '\r'}) {
        const qsizetype at = text.indexOf(stop);
        if (at >= 0)
            end = std::min(end, at);
    }
    return text.text().first(end);
}

} // namespace

void parse(QByteArrayView page, const PageDecoding &decoding, const HitSink &deliver)
{
    PageCursor text(page);
    if (!text.contains("<B>List by Web site</B></A>&nbsp;"))
        return;
    if (!text.cutTo("<FONT COLOR=navy>"))
        return;
    text.endAt("<FORM");
    for (;;) {
        QByteArrayView title;
        QByteArrayView summary;
        bool ok = text.cutTo("<A HREF") && text.cutAfter('>') && text.textBefore("</A>", title);
        ok = ok && text.cutTo("<B><I>URL:") && cutAfterLabel(text);
        const QByteArrayView url = takeAddress(text);
        ok = ok && text.cutTo("<B><I>Summary:") && cutAfterLabel(text)
            && text.textBefore("<BR>", summary);
        if (!ok)
            return;
        deliver(decoding.hit(title, url, summary));
        text.cutPast(title);
        text.cutPast(url);
        text.cutPast(summary);
        if (!text.cutTo("<FONT COLOR="))
            return;
    }
}

} // namespace ExciteParser
