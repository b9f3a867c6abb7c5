#pragma once

class CTrawlexDatabase;

// Which hits a results page shows, as stored in [Pages], and the query's Done flag. Page
// boundaries are stored the first time a page is built, so a page keeps its hits after more
// results were appended to the list. Every failure throws CDaoException.
class CResultsPaging final
{
public:
    static constexpr int kHitsPerPage = 10;

    struct Range
    {
        int page = 0;
        int start = 0; // first hit index
        int end = -1; // one past the last hit index; -1 when the page is past the end
        bool pastEnd = false;
        bool done = false; // the Done flag as read before the build

        int hitCount() const { return pastEnd || end < start ? 0 : end - start; }
    };

    explicit CResultsPaging(CTrawlexDatabase &db);

    // Reads the Done flag and the page's range out of hitCount hits, storing the page's limit
    // when it has none yet.
    Range PageRange(int qid, int page, int hitCount);
    // After the build: sets Done when the query had no hit at all or the page was past the end.
    void FinishPage(int qid, const Range &range);
    // "More" on the page before m_nPage: true when the next page can be built from the hits
    // held (or the end is known), false when the engines must be asked for more first.
    bool NextPageIsHeld(int qid, int nextPage, int hitCount);

private:
    CTrawlexDatabase &m_db;
};
