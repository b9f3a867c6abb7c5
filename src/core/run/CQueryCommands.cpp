#include "CQueryCommands.h"

#include "CEngineTest.h"
#include "CSearchFieldCommit.h"

#include "app/IUserPrompt.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"
#include "store/CTrawlexDoc.h"

CQueryCommands::CQueryCommands(CTrawlexDoc &doc, IUserPrompt &prompt)
    : CQueryCommands(doc, doc.Query(), doc.ResultsSet(), prompt)
{
}

CQueryCommands::CQueryCommands(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results,
                               IUserPrompt &prompt)
    : m_doc(doc)
    , m_query(query)
    , m_results(results)
    , m_prompt(prompt)
{
}

bool CQueryCommands::hasDatabase() const
{
    return m_doc.HasDatabase();
}

bool CQueryCommands::isRunning() const
{
    return m_results.IsRunning();
}

int CQueryCommands::shownQueryId() const
{
    return m_results.Qid();
}

CQueryCommands::Commit CQueryCommands::commitSheet(const CQuerySheetEntries &entries)
{
    if (!m_pMonitor)
        return Commit::Refused;
    try {
        return m_pMonitor->CommitQuerySheet(entries) ? Commit::Committed : Commit::Refused;
    } catch (const CDaoException &e) {
        // The query is untouched: the sheet stays open with everything in it.
        ReportDaoError(e, &m_prompt);
    }
    return Commit::Failed;
}

bool CQueryCommands::searchFor(const QString &text, const QStringList &engines, QStringList &notes)
{
    if (isRunning())
        return false;
    CSearchFieldCommit commit(m_doc, m_query, m_results, m_prompt);
    CSearchFieldCommit::Outcome outcome = CSearchFieldCommit::Outcome::Refused;
    try {
        outcome = commit.Commit(text, engines);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
    }
    notes = commit.Notes();
    return outcome == CSearchFieldCommit::Outcome::Committed && runCommitted();
}

bool CQueryCommands::runCommitted()
{
    if (startRun(false))
        return true;
    // Nothing runs: the commands must not stay greyed behind a run that never began.
    m_results.SetRunning(false);
    return false;
}

bool CQueryCommands::loadQuery(int qid)
{
    try {
        CStoredQueryDefinition(m_doc.Database()).load(qid, m_query);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return false;
    }
    return true;
}

bool CQueryCommands::showStoredQuery(int qid)
{
    // A run owns the query and the results until it ends.
    if (isRunning() || !hasDatabase())
        return false;
    try {
        CStoredQueryResults(m_doc).load(m_results, qid);
        CStoredQueryDefinition(m_doc.Database()).load(qid, m_query);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return false;
    }
    m_results.SetQid(qid);
    return true;
}

bool CQueryCommands::updateQuery(int qid)
{
    if (qid != -1 && !loadQuery(qid))
        return false;
    m_doc.PrepareUpdate(m_results);
    if (startRun(false))
        return true;
    // The update never began: the query on show is still the stored one.
    m_doc.CancelUpdate(m_results);
    return false;
}

bool CQueryCommands::moreResults()
{
    m_results.SetSavedCount(m_results.HitCount());
    return startRun(true);
}

void CQueryCommands::stop()
{
    if (m_pMonitor)
        m_pMonitor->Stop();
}

bool CQueryCommands::deleteQuery(int qid)
{
    try {
        CMainQueryTable(m_doc.Database()).deleteQuery(qid);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
        return false;
    }
    // Its hits are no longer the document's, so nothing (Export, Update, More) works on a
    // query the file no longer holds.
    if (m_results.Qid() == qid)
        m_results.ResetForNewRun(m_doc.IsUpdating());
    return true;
}

std::optional<int> CQueryCommands::newestQueryId()
{
    try {
        return CMainQueryTable(m_doc.Database()).maxQid();
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
    }
    return std::nullopt;
}

std::optional<qsizetype> CQueryCommands::exportResults(const QString &path, CResultsExporter::Format format)
{
    try {
        const std::optional<CResultsExporter> exporter = CResultsExporter::FromStoredQuery(m_doc, m_results.Qid());
        if (!exporter) {
            m_prompt.showMessage(QStringLiteral("Error!  The query on show is no longer stored."));
            return std::nullopt;
        }
        QString error;
        if (!exporter->WriteFile(path, format, error)) {
            m_prompt.showMessage(error);
            return std::nullopt;
        }
        return exporter->HitCount();
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
    }
    return std::nullopt;
}

int CQueryCommands::maxDelay() const
{
    if (m_limits)
        return m_limits().maxDelay;
    return CRunMonitor::Limits().maxDelay;
}

bool CQueryCommands::startEngineTest(CEngineTest &test, const QString &engine, const QStringList &words)
{
    return test.start(engine, words, m_doc.EngineAddressList(), maxDelay());
}

bool CQueryCommands::startRun(bool bContinue)
{
    if (!m_pMonitor)
        return false;
    if (m_limits)
        m_pMonitor->SetLimits(m_limits());
    try {
        return m_pMonitor->StartRun(bContinue);
    } catch (const CDaoException &e) {
        ReportDaoError(e, &m_prompt);
    }
    return false;
}
