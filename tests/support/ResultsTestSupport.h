#pragma once

#include "query/CTrawlexQueryResults.h"

#include <QList>
#include <QStringList>

#include <utility>

// One field of every hit of a results set, in order, for comparisons in one line.
namespace ResultsTestSupport {

inline QStringList titles(const CTrawlexQueryResults &r)
{
    QStringList out;
    for (const CTrawlexHit &h : r.Hits())
        out << h.title;
    return out;
}

inline QStringList urls(const CTrawlexQueryResults &r)
{
    QStringList out;
    for (const CTrawlexHit &h : r.Hits())
        out << h.url;
    return out;
}

inline QStringList summaries(const CTrawlexQueryResults &r)
{
    QStringList out;
    for (const CTrawlexHit &h : r.Hits())
        out << h.summary;
    return out;
}

inline QList<int> newFlags(const CTrawlexQueryResults &r)
{
    QList<int> out;
    for (const CTrawlexHit &h : r.Hits())
        out << (h.isNew ? 1 : 0);
    return out;
}

inline QList<QStringList> engineLists(const CTrawlexQueryResults &r)
{
    QList<QStringList> out;
    for (const CTrawlexHit &h : r.Hits())
        out << h.engines;
    return out;
}

// Changes the hits in place, as code that stages a page does; the set reindexes them.
template<class Change>
void editHits(CTrawlexQueryResults &r, Change change)
{
    QList<CTrawlexHit> hits = r.Hits();
    change(hits);
    r.SetHits(std::move(hits));
}

} // namespace ResultsTestSupport
