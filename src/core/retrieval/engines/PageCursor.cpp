#include "PageCursor.h"

#include <algorithm>
#include <string_view>

PageCursor::PageCursor(QByteArrayView page)
    : m_page(page)
    , m_end(page.size())
{
}

qsizetype PageCursor::findAbsolute(QByteArrayView marker, qsizetype absFrom) const
{
    if (absFrom > m_end)
        return -1;
    if (marker.isEmpty())
        return absFrom;

    Memo *slot = nullptr;
    for (Memo &memo : m_memo) {
        if (memo.key.size() == marker.size() && memo.key == marker) {
            slot = &memo;
            break;
        }
    }
    if (slot && absFrom >= slot->from && (slot->at < 0 || absFrom <= slot->at)) {
        // The first occurrence from the remembered start is also the first from here.
        const qsizetype at = slot->at;
        return at >= 0 && at + marker.size() <= m_end ? at : -1;
    }
    if (!slot) {
        slot = &m_memo[m_nextMemo];
        m_nextMemo = (m_nextMemo + 1) % int(m_memo.size());
        slot->key = marker.toByteArray();
    }
    // string_view's search runs memchr over the marker's first byte, which is fast on HTML.
    const std::string_view rest(m_page.data() + absFrom, size_t(m_end - absFrom));
    const size_t found = rest.find(std::string_view(marker.data(), size_t(marker.size())));
    const qsizetype rel = found == std::string_view::npos ? -1 : qsizetype(found);
    slot->from = absFrom;
    slot->at = rel < 0 ? -1 : absFrom + rel;
    return slot->at;
}

qsizetype PageCursor::indexOf(QByteArrayView marker, qsizetype from) const
{
    const qsizetype at = findAbsolute(marker, m_begin + std::max<qsizetype>(from, 0));
    return at < 0 ? -1 : at - m_begin;
}

qsizetype PageCursor::indexOf(char c, qsizetype from) const
{
    return indexOf(QByteArrayView(&c, 1), from);
}

qsizetype PageCursor::lastIndexOf(QByteArrayView marker, qsizetype before) const
{
    if (marker.isEmpty())
        return -1;
    // An occurrence may start before `before` and run past it; only its start counts.
    const qsizetype absBefore = m_begin + std::clamp<qsizetype>(before, 0, size());
    const qsizetype windowEnd = std::min(m_end, absBefore + marker.size() - 1);
    if (m_lastKey == marker && m_lastWindowEnd == windowEnd && m_begin >= m_lastFrom) {
        // The last occurrence in [m_lastFrom, before) is also the last in [m_begin, before)
        // when it lies inside; otherwise there is none there.
        return m_lastAt >= m_begin ? m_lastAt - m_begin : -1;
    }
    const qsizetype rel = m_page.sliced(m_begin, windowEnd - m_begin).lastIndexOf(marker);
    m_lastKey = marker.toByteArray();
    m_lastWindowEnd = windowEnd;
    m_lastFrom = m_begin;
    m_lastAt = rel < 0 ? -1 : m_begin + rel;
    return rel;
}

bool PageCursor::cutTo(QByteArrayView marker)
{
    const qsizetype at = findAbsolute(marker, m_begin);
    if (at < 0) {
        m_begin = m_end;
        return false;
    }
    m_begin = at;
    return true;
}

bool PageCursor::cutAfter(QByteArrayView marker, qsizetype extra)
{
    if (!cutTo(marker))
        return false;
    skip(marker.size() + extra);
    return true;
}

bool PageCursor::cutAfter(char c)
{
    return cutAfter(QByteArrayView(&c, 1));
}

void PageCursor::endAt(QByteArrayView marker)
{
    const qsizetype at = findAbsolute(marker, m_begin);
    if (at >= 0)
        m_end = at;
}

void PageCursor::cutPast(QByteArrayView field)
{
    if (field.data() == nullptr)
        return;
    const qsizetype fieldEnd = field.data() + field.size() - m_page.data();
    m_begin = std::clamp(fieldEnd, m_begin, m_end);
}

void PageCursor::skip(qsizetype n)
{
    m_begin += std::clamp<qsizetype>(n, 0, size());
}

void PageCursor::skipAny(QByteArrayView set)
{
    while (m_begin < m_end && set.contains(m_page[m_begin]))
        ++m_begin;
}

void PageCursor::skipCharOrLineEnd()
{
    skip(text().startsWith("\r\n") ? 2 : 1);
}

bool PageCursor::textBefore(QByteArrayView marker, QByteArrayView &field) const
{
    const qsizetype at = indexOf(marker);
    if (at < 0)
        return false;
    field = text().first(at);
    return true;
}

QByteArrayView PageCursor::takeUpTo(char c, bool *found) const
{
    const qsizetype at = indexOf(c);
    if (found)
        *found = at >= 0;
    return at < 0 ? text() : text().first(at);
}

bool PageCursor::textBeforeLineEnd(QByteArrayView marker, QByteArrayView &field) const
{
    const QByteArray withLf = marker.toByteArray().append('\n');
    const QByteArray withCrLf = marker.toByteArray().append("\r\n");
    const qsizetype lf = indexOf(withLf);
    const qsizetype crLf = indexOf(withCrLf);
    if (lf < 0 && crLf < 0)
        return false;
    field = text().first(lf < 0 ? crLf : crLf < 0 ? lf : std::min(lf, crLf));
    return true;
}

QByteArrayView PageCursor::takeLine() const
{
    QByteArrayView line = takeUpTo('\n');
    if (line.size() < size() && line.endsWith('\r'))
        line.chop(1);
    return line;
}
