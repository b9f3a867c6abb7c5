#pragma once

#include <QList>
#include <QHash>
#include <QMultiHash>
#include <QString>
#include <QStringList>

class CTrawlexDoc;
class CTrawlexDatabase;
class CTrawlexQuery;
class IUserPrompt;

// The hits of a run and the bookkeeping of its passes: what the main frame feeds, the results
// view shows and the database keeps. The five hit arrays are parallel (index i is one hit).
class CTrawlexQueryResults
{
public:
    // Longest summary stored unshortened, in characters.
    static constexpr int kMaxSummaryLength = 152;

    // Clears the hits (unless an update is running: doc.UpdateQID != -1), the counters, the
    // Yahoo path and both engine lists; m_nQID becomes -1.
    void ResetForNewRun(const CTrawlexDoc &doc);
    // Empties both engine lists; forgets m_nQID unless an update is running. Hits, level and
    // counters stay.
    void ResetForNextPass(const CTrawlexDoc &doc);

    // Stores the hit unless its address is held already (letter case ignored); counts it
    // either way. bNew marks a hit found by an update (doc.UpdateQID != -1). engine is the
    // one that returned it: a held address gains it in its list (once), a new hit starts
    // its list with it; an empty name adds nothing.
    void AddResult(const QString &title, const QString &url, const QString &summary, bool bNew,
                   const QString &engine = QString());
    // Convenience: bNew from the document's update state.
    void AddResult(const CTrawlexDoc &doc, const QString &title, const QString &url, const QString &summary,
                   const QString &engine = QString());
    int HitCount() const { return int(m_urls.size()); }
    // The engines that returned hit, first finder first; empty when unknown (a hit stored
    // before engines were kept) or when hit is out of range.
    QStringList engines(int hit) const;
    // Call after changing m_urls other than through AddResult.
    void RebuildUrlIndex();
    // Moves the hits from firstNew on to the front, in their order, and marks them new.
    void MoveHitsToFront(int firstNew);

    // Counts one more page for every engine that reported this pass without failure.
    void UpdateEngineLevels();

    // Stores the pass in one transaction: at level 1 the whole definition of query as a new
    // stored query (replacing doc.OverwriteQID), later only level and counters; then the
    // Yahoo path and the hits. replacedQid (the stored query a completing update replaces)
    // is deleted in the same transaction, so the file never holds both forms or neither.
    // On failure nothing of the pass is stored and nothing is deleted, "Error!  Failed to
    // insert Query Results" is shown through prompt (stderr when null), the QID, the counters
    // and doc.OverwriteQID are as before the call, and false comes back.
    bool SaveQueryAndResults(CTrawlexDoc &doc, const CTrawlexQuery &query, IUserPrompt *prompt,
                             int replacedQid = -1);

    // Loads level, counters, hits (new ones first) and the Yahoo path of the stored query qid.
    // m_nQID is the caller's to set. Throws CDaoException on a database failure or when there
    // is no such query.
    void LoadStoredResults(const CTrawlexDoc &doc, int qid);

    // The summary as stored: longer than 152 characters, it is cut at the last blank within
    // the first 152 and ends in "..." ("..." alone without such a blank).
    static QString ShortenSummary(const QString &summary);

    int m_nQID = -1;
    int m_nLevel = 0;
    QStringList m_titles;
    QStringList m_urls;
    QStringList m_summaries;
    QList<int> m_newFlags;
    QList<QStringList> m_hitEngines; // per hit: the engines that returned it
    QStringList m_reportedEngines;
    QStringList m_failedEngines;
    QStringList m_exhaustedEngines; // ended this pass with their last page
    QString m_strEngineLevels; // "#AltaVista#@2@#Yahoo#@1@"
    bool m_bRunning = false;
    QString m_strYahooPath;
    int m_nHitsReceived = 0;
    int m_nSavedCount = 0;

private:
    void ClearHits();
    // Code that fills or empties the address array itself may leave m_newFlags and
    // m_hitEngines of another length: they are made as long as m_urls again.
    void FitToHitCount();

    // Index of m_urls by a hash of the case-folded address (no folded copies are made),
    // and how many of m_urls it was built from.
    // The rare second address with an equal hash goes to the overflow.
    QHash<size_t, qsizetype> m_urlIndex;
    QMultiHash<size_t, qsizetype> m_urlOverflow;
    qsizetype m_nIndexedCount = 0;
    // Index of the held hit with that address, or -1.
    qsizetype IndexFind(size_t key, const QString &url) const;
    void IndexInsert(size_t key, qsizetype index);
};

// The page counter of engine in a SearchEngineLevel text; 0 when it has no item.
int GetPageCounter(const QString &engine, const QString &engineLevels);
