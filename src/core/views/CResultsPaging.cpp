#include "CResultsPaging.h"

#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CPagesTable.h"

#include <QList>

#include <algorithm>

CResultsPaging::CResultsPaging(CTrawlexDatabase &db)
    : m_db(db)
{
}

CResultsPaging::Range CResultsPaging::PageRange(int qid, int page, int hitCount)
{
    CMainQueryTable mainQuery(m_db);
    CPagesTable pages(m_db);

    Range r;
    r.page = page;
    if (qid < 0) {
        // A query that was never stored (its save failed) has no rows to read or write.
        r.start = page * kHitsPerPage;
        if (r.start >= hitCount) {
            r.pastEnd = true;
            r.start = hitCount;
        } else {
            r.end = std::min(r.start + kHitsPerPage, hitCount);
        }
        return r;
    }
    r.done = mainQuery.isDone(qid);

    if (page > 0) {
        const QList<int> previous = pages.pageLimits(qid, page - 1);
        if (previous.isEmpty())
            throw CDaoException(-1, QStringLiteral("[Pages] limits"),
                                QStringLiteral("No stored limit for page %1 of query %2").arg(page - 1).arg(qid));
        r.start = previous.first();
    }

    if (qint64(page) * kHitsPerPage > hitCount || r.start < 0) {
        // A previous page that ended the list (limit -1) cannot be followed by hits either.
        r.pastEnd = true;
        return r;
    }

    const QList<int> stored = pages.pageLimits(qid, page);
    r.end = stored.isEmpty() ? -1 : stored.last();
    if (r.end == -1) {
        if (hitCount > (page + 1) * kHitsPerPage)
            r.end = r.start + kHitsPerPage;
        else if (hitCount == page * kHitsPerPage)
            r.end = -1;
        else
            r.end = hitCount;
        pages.insertPage(qid, page, r.end);
    }
    if (r.end == -1) {
        r.pastEnd = true;
    } else if (r.end > hitCount) {
        // A stored limit beyond the hits held (the list was replaced since) shows what exists.
        r.end = hitCount;
    }
    return r;
}

void CResultsPaging::FinishPage(int qid, const Range &range)
{
    if (qid < 0)
        return;
    const bool noHitAtAll = !range.pastEnd && range.hitCount() == 0 && range.start == 0;
    if (!range.done && (range.pastEnd || noHitAtAll))
        CMainQueryTable(m_db).setDone(qid);
}

bool CResultsPaging::NextPageIsHeld(int qid, int nextPage, int hitCount)
{
    if (qid < 0)
        return nextPage + 1 <= hitCount / kHitsPerPage;
    return CMainQueryTable(m_db).isDone(qid) || nextPage + 1 <= hitCount / kHitsPerPage;
}
