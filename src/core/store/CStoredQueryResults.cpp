#include "CStoredQueryResults.h"

#include "CDaoException.h"
#include "CMainQueryTable.h"
#include "CResultTables.h"
#include "CSearchEngineTable.h"
#include "CStoredQueryDefinition.h"
#include "CTrawlexDatabase.h"
#include "CTrawlexDoc.h"
#include "app/IUserPrompt.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"

#include <algorithm>

namespace {
const QString kYahoo = QStringLiteral("Yahoo");
} // namespace

CStoredQueryResults::CStoredQueryResults(CTrawlexDoc &doc)
    : m_doc(doc)
{
}

bool CStoredQueryResults::save(CTrawlexQueryResults &results, const CTrawlexQuery &query, IUserPrompt &prompt,
                               int replacedQid)
{
    // What a failed save must give back, so that memory keeps agreeing with the file.
    const int qidBefore = results.Qid();
    const int overwriteBefore = m_doc.OverwriteQID;
    CTrawlexEngineLevels &levels = results.EngineLevels();
    const QString levelsBefore = levels.text;

    levels.Update();

    try {
        CTrawlexDatabase &db = m_doc.Database();
        CMainQueryTable mainQueries(db);
        CResultTables resultRows(db);
        CDbTransaction transaction(db);

        // A first pass stores the whole definition. So does a later pass whose first save
        // failed: its hits would otherwise have no query to belong to.
        const bool wholeQuery = results.Level() == 1 || results.Qid() == -1;
        if (wholeQuery) {
            if (m_doc.OverwriteQID != -1) {
                mainQueries.deleteQuery(m_doc.OverwriteQID);
                m_doc.OverwriteQID = -1;
            }
            results.SetQid(mainQueries.insertQuery(query.m_strName));
        }
        const int qid = results.Qid();
        mainQueries.setLevel(qid, results.Level());
        mainQueries.setEngineLevels(qid, levels.text);
        if (wholeQuery)
            CStoredQueryDefinition(db).insert(qid, query);

        if (levels.reported.contains(kYahoo)) {
            resultRows.deleteYahoo(qid);
            resultRows.insertYahoo(qid, results.YahooPath());
        }

        resultRows.deleteResults(qid);
        const bool updating = m_doc.IsUpdating();
        for (int i = 0; i < results.HitCount(); ++i) {
            const QString &summary = results.StoredSummary(i);
            const CTrawlexHit &hit = results.Hits().at(i);
            const bool isNew = updating && i >= m_doc.UpdateFirstNew;
            resultRows.insertResult(qid, hit.title, hit.url, summary.isEmpty() ? QStringLiteral(" ") : summary, isNew,
                                    hit.engines);
        }
        if (replacedQid != -1 && replacedQid != qid)
            mainQueries.deleteQuery(replacedQid);
        transaction.commit();
    } catch (const CDaoException &) {
        results.SetQid(qidBefore);
        m_doc.OverwriteQID = overwriteBefore;
        levels.text = levelsBefore;
        prompt.showMessage(QStringLiteral("Error!  Failed to insert Query Results"));
        return false;
    }
    return true;
}

void CStoredQueryResults::load(CTrawlexQueryResults &results, int qid)
{
    results.ResetForNewRun(m_doc.IsUpdating());
    CTrawlexDatabase &db = m_doc.Database();
    CMainQueryTable mainQueries(db);
    CResultTables resultRows(db);
    CSearchEngineTable engines(db);

    const std::optional<CMainQueryTable::LevelInfo> info = mainQueries.levelAndEngineLevels(qid);
    if (!info)
        throw CDaoException::noCurrentRecord(QStringLiteral("[Main Query] levels"));
    results.SetLevel(info->level);
    results.EngineLevels().text = info->engineLevels;

    // New hits first, each side keeping its order; hits kept by an update count too.
    QList<CTrawlexHit> hits = results.Hits();
    hits += resultRows.results(qid);
    std::stable_partition(hits.begin(), hits.end(), [](const CTrawlexHit &hit) { return hit.isNew; });
    results.SetHits(std::move(hits));

    for (int sid : engines.queryEngineSids(qid)) {
        if (engines.engineName(sid) == kYahoo) {
            // A query whose Yahoo never reported has no row: it simply has no path yet.
            results.SetYahooPath(resultRows.yahooPath(qid));
            break;
        }
    }
}
