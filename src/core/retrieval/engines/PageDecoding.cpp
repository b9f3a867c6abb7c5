#include "PageDecoding.h"

#include <QtGlobal>

#include <algorithm>
#include <optional>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// Case-insensitive search for an ASCII needle written in lower case.
qsizetype findNoCase(QByteArrayView hay, QByteArrayView lowerNeedle, qsizetype from = 0)
{
    const qsizetype last = hay.size() - lowerNeedle.size();
    const char first = lowerNeedle.front();
    const char firstUpper = char(first >= 'a' && first <= 'z' ? first - 32 : first);
    for (qsizetype i = std::max<qsizetype>(from, 0); i <= last; ++i) {
        const char c = hay[i];
        if (c != first && c != firstUpper)
            continue;
        if (qstrnicmp(hay.data() + i, lowerNeedle.data(), size_t(lowerNeedle.size())) == 0)
            return i;
    }
    return -1;
}

// The value of "charset=" inside a Content-Type value or a meta tag, if there is one.
std::optional<QByteArrayView> charsetIn(QByteArrayView text)
{
    qsizetype at = findNoCase(text, "charset");
    if (at < 0)
        return std::nullopt;
    at += 7;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    if (at >= text.size() || text[at] != '=')
        return std::nullopt;
    ++at;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    while (at < text.size() && (text[at] == '"' || text[at] == '\''))
        ++at;
    qsizetype end = at;
    while (end < text.size() && !isBlank(text[end]) && text[end] != ';' && text[end] != '"'
           && text[end] != '\'' && text[end] != '>' && text[end] != '/')
        ++end;
    return text.sliced(at, end - at);
}

bool isUtf8Name(QByteArrayView name)
{
    return name.compare("utf-8", Qt::CaseInsensitive) == 0
        || name.compare("utf8", Qt::CaseInsensitive) == 0;
}

// The charset of the Content-Type header, when the page starts with an HTTP status line.
// bodyStart receives the offset after the header block.
std::optional<QByteArrayView> headerCharset(QByteArrayView page, qsizetype &bodyStart)
{
    bodyStart = 0;
    if (!page.startsWith("HTTP/"))
        return std::nullopt;
    qsizetype lineStart = 0;
    while (lineStart < page.size()) {
        qsizetype lineEnd = page.indexOf('\n', lineStart);
        if (lineEnd < 0)
            lineEnd = page.size();
        QByteArrayView line = page.sliced(lineStart, lineEnd - lineStart);
        if (line.endsWith('\r'))
            line.chop(1);
        lineStart = std::min(lineEnd + 1, page.size());
        if (line.isEmpty())
            break;
        if (line.size() > 13 && qstrnicmp(line.data(), "content-type:", 13) == 0) {
            if (auto cs = charsetIn(line.sliced(13)))
                return cs;
        }
    }
    bodyStart = lineStart;
    return std::nullopt;
}

bool tagIs(QByteArrayView html, qsizetype at, const char *lowerName)
{
    const qsizetype n = qsizetype(qstrlen(lowerName));
    return at + n <= html.size() && qstrnicmp(html.data() + at, lowerName, size_t(n)) == 0;
}

// The charset of the first meta tag in the document's head that declares one. Only the head
// counts (up to "</head" or "<body"): a hit's summary may quote markup.
std::optional<QByteArrayView> metaCharset(QByteArrayView html)
{
    qsizetype at = 0;
    while ((at = html.indexOf('<', at)) >= 0) {
        if (tagIs(html, at, "<body") || tagIs(html, at, "</head"))
            break;
        if (!tagIs(html, at, "<meta")) {
            ++at;
            continue;
        }
        qsizetype end = html.indexOf('>', at);
        if (end < 0)
            end = html.size();
        if (auto cs = charsetIn(html.sliced(at, end - at)))
            return cs;
        at = end;
    }
    return std::nullopt;
}

bool isAscii(QByteArrayView bytes)
{
    // No early exit: the loop vectorises, and fields are short.
    uchar any = 0;
    for (const char c : bytes)
        any |= uchar(c);
    return any < 0x80;
}

bool declaresUtf8(QByteArrayView page)
{
    qsizetype bodyStart = 0;
    if (auto cs = headerCharset(page, bodyStart))
        return isUtf8Name(*cs); // the server's word outranks the page's own
    if (auto cs = metaCharset(page.sliced(bodyStart)))
        return isUtf8Name(*cs);
    return false;
}

} // namespace

PageDecoding::PageDecoding(QByteArrayView page)
    : m_utf8(declaresUtf8(page))
    , m_windows1252("windows-1252", QStringConverter::Flag::Stateless)
{
}

QString PageDecoding::decode(QByteArrayView bytes) const
{
    QString text;
    if (isAscii(bytes))
        text = QString::fromLatin1(bytes);
    else if (m_utf8)
        text = QString::fromUtf8(bytes);
    else if (!m_windows1252.isValid())
        text = QString::fromLatin1(bytes);
    else
        text = m_windows1252.decode(bytes);
    // A line end inside a field reads as LF whether the server wrote LF or CR LF, so a page
    // gives the same hits either way.
    if (text.contains(u'\r'))
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

EngineHit PageDecoding::hit(QByteArrayView title, QByteArrayView url, QByteArrayView summary) const
{
    return EngineHit{decode(title), decode(url), decode(summary)};
}
