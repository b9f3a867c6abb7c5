#pragma once

#include "CTrawlexEngineLevels.h"
#include "CTrawlexHit.h"

#include <QHash>
#include <QMultiHash>

// The hits of a run and the bookkeeping of its passes: what the main frame feeds, the results
// view shows and the database keeps. No two hits share an address (letter case ignored) once
// they came through AddResult.
class CTrawlexQueryResults
{
public:
    // Longest summary stored unshortened, in characters.
    static constexpr int kMaxSummaryLength = 152;

    // Clears the hits (unless an update is running), the counters, the Yahoo path and the
    // engine levels; the QID becomes -1.
    void ResetForNewRun(bool updating);
    // Forgets how the engines ended the pass; forgets the QID unless an update is running.
    // Hits, level, counters and page counters stay.
    void ResetForNextPass(bool updating);

    // Stores the hit unless its address is held already (letter case ignored); counts it
    // either way. bNew marks a hit found by an update. engine is the one that returned it:
    // a held address gains it in its list (once), a new hit starts its list with it; an
    // empty name adds nothing.
    void AddResult(const QString &title, const QString &url, const QString &summary, bool bNew,
                   const QString &engine = QString());
    int HitCount() const { return int(m_hits.size()); }
    const QList<CTrawlexHit> &Hits() const { return m_hits; }
    // The engines that returned hit, first finder first; empty when unknown (a hit stored
    // before engines were kept) or when hit is out of range.
    QStringList engines(int hit) const;
    // Replaces the hits, in their order, as a stored query holds them.
    void SetHits(QList<CTrawlexHit> hits);
    // Moves the hits from firstNew on to the front, in their order, and marks them new.
    void MoveHitsToFront(int firstNew);
    // Every hit stops being new.
    void ClearNewFlags();
    // Cuts the summary of hit to the form it is stored in, and returns it.
    const QString &StoredSummary(int hit);

    int Qid() const { return m_nQID; }
    void SetQid(int qid) { m_nQID = qid; }
    int Level() const { return m_nLevel; }
    void SetLevel(int level) { m_nLevel = level; }
    bool IsRunning() const { return m_bRunning; }
    void SetRunning(bool running) { m_bRunning = running; }
    const QString &YahooPath() const { return m_strYahooPath; }
    void SetYahooPath(const QString &path) { m_strYahooPath = path; }
    int HitsReceived() const { return m_nHitsReceived; }
    int SavedCount() const { return m_nSavedCount; }
    void SetSavedCount(int count) { m_nSavedCount = count; }
    CTrawlexEngineLevels &EngineLevels() { return m_levels; }
    const CTrawlexEngineLevels &EngineLevels() const { return m_levels; }

    // The summary as stored: longer than 152 characters, it is cut at the last blank within
    // the first 152 and ends in "..." ("..." alone without such a blank).
    static QString ShortenSummary(const QString &summary);

private:
    void RebuildUrlIndex();
    // Index of the held hit with that address, or -1.
    qsizetype IndexFind(size_t key, const QString &url) const;
    void IndexInsert(size_t key, qsizetype index);

    int m_nQID = -1;
    int m_nLevel = 0;
    QList<CTrawlexHit> m_hits;
    CTrawlexEngineLevels m_levels;
    bool m_bRunning = false;
    QString m_strYahooPath;
    int m_nHitsReceived = 0;
    int m_nSavedCount = 0;

    // Index of m_hits by a hash of the case-folded address (no folded copies are made).
    // The rare second address with an equal hash goes to the overflow.
    QHash<size_t, qsizetype> m_urlIndex;
    QMultiHash<size_t, qsizetype> m_urlOverflow;
};
