#pragma once

class CTrawlexDoc;
class CTrawlexQuery;
class CTrawlexQueryResults;
class IUserPrompt;

// A results set in the file: each pass of a run stored with its query, and loaded again.
class CStoredQueryResults final
{
public:
    explicit CStoredQueryResults(CTrawlexDoc &doc);

    // Stores the pass in one transaction: at level 1 the whole definition of query as a new
    // stored query (replacing doc.OverwriteQID), later only level and counters; then the
    // Yahoo path and the hits. replacedQid (the stored query a completing update replaces)
    // is deleted in the same transaction, so the file never holds both forms or neither.
    // On failure nothing of the pass is stored and nothing is deleted, "Error!  Failed to
    // insert Query Results" is shown through prompt, the QID, the counters and
    // doc.OverwriteQID are as before the call, and false comes back.
    bool save(CTrawlexQueryResults &results, const CTrawlexQuery &query, IUserPrompt &prompt,
              int replacedQid = -1);

    // Loads level, counters, hits (new ones first, with those an update keeps) and the Yahoo
    // path of the stored query qid; the QID is the caller's to set. Throws CDaoException.
    void load(CTrawlexQueryResults &results, int qid);

private:
    CTrawlexDoc &m_doc;
};
