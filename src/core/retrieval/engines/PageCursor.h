#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>

// The working copy of a result page that the parsers cut hits out of. It is a view on the
// page that only ever shrinks from the front or the back: cutting moves an end, it never
// copies the rest of the page.
//
// Cutting to a marker that is not there leaves nothing: the parsers then stop instead of
// reading a hit out of the wrong stretch of the page.
//
// Searches remember where they found (or did not find) each marker, so a parser that looks
// for the same marker again from a later position does not scan the same bytes twice; this
// keeps every parser linear even on pages whose markers are far apart or missing.
class PageCursor final
{
public:
    explicit PageCursor(QByteArrayView page);

    QByteArrayView text() const { return m_page.sliced(m_begin, m_end - m_begin); }
    qsizetype size() const { return m_end - m_begin; }
    bool isEmpty() const { return m_begin == m_end; }

    // Offset of the first occurrence at or after `from` (relative to the text), or -1.
    qsizetype indexOf(QByteArrayView marker, qsizetype from = 0) const;
    qsizetype indexOf(char c, qsizetype from = 0) const;
    bool contains(QByteArrayView marker) const { return indexOf(marker) >= 0; }

    // Offset of the last occurrence that starts before `before` (relative), or -1.
    qsizetype lastIndexOf(QByteArrayView marker, qsizetype before) const;

    // The text becomes the part starting at the marker; empty and false when it is absent.
    bool cutTo(QByteArrayView marker);
    // The text becomes the part after the marker and `extra` more characters.
    bool cutAfter(QByteArrayView marker, qsizetype extra = 0);
    bool cutAfter(char c);
    // The text becomes the part before the marker; unchanged when it is absent.
    void endAt(QByteArrayView marker);
    // Moves the start past the end of a field cut out of this page, unless it is there
    // already. Parsers call it once a hit is delivered, so that the next hit never reads
    // bytes that already belong to one: every byte lands in at most one hit.
    void cutPast(QByteArrayView field);
    // Drops the first n characters (all of them when there are fewer).
    void skip(qsizetype n);
    // Drops the leading characters that occur in `set`.
    void skipAny(QByteArrayView set);
    // Drops one character, or two when they are CR LF: a line end counts as one either way.
    void skipCharOrLineEnd();

    // The leading characters before the marker; false when the marker is absent.
    bool textBefore(QByteArrayView marker, QByteArrayView &field) const;
    // The leading characters before the first marker that a line end follows, LF or CR LF
    // (servers sent both, and pages mix them); false when there is none.
    bool textBeforeLineEnd(QByteArrayView marker, QByteArrayView &field) const;
    // The leading characters up to the first line end (its CR too), or the whole text.
    QByteArrayView takeLine() const;
    // The leading characters up to, not including, the first c, or the whole text.
    // `found` tells whether c was there.
    QByteArrayView takeUpTo(char c, bool *found = nullptr) const;

private:
    struct Memo
    {
        QByteArray key; // a copy: callers may pass markers that do not outlive the call
        qsizetype from = 0; // absolute position the search started at
        qsizetype at = -1;  // absolute position found, -1 for none up to the page's end
    };

    qsizetype findAbsolute(QByteArrayView marker, qsizetype absFrom) const;

    QByteArrayView m_page;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;

    mutable std::array<Memo, 16> m_memo;
    mutable int m_nextMemo = 0;

    // One memo for the backward search: the last occurrence in [m_lastFrom, the window's
    // end).
    mutable QByteArray m_lastKey;
    mutable qsizetype m_lastWindowEnd = -1;
    mutable qsizetype m_lastFrom = -1;
    mutable qsizetype m_lastAt = -1;
};
