#include "CRunMonitor.h"

#include "CEngineRetrieval.h"
#include "CQuerySheetValidator.h"
#include "IRunRetrieval.h"
#include "RunTexts.h"

#include "app/CSystemClock.h"
#include "app/IUserPrompt.h"
#include "app/InternetSession.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"
#include "retrieval/RetrievalParams.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"
#include "app/ThreadHandOver.h"

#include <algorithm>

CRunMonitor::CRunMonitor(CTrawlexDoc &doc, IUserPrompt &prompt, QObject *parent)
    : CRunMonitor(doc, doc.Query(), doc.ResultsSet(), prompt, parent)
{
}

CRunMonitor::CRunMonitor(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results,
                         IUserPrompt &prompt, QObject *parent)
    : QObject(parent)
    , m_doc(doc)
    , m_query(query)
    , m_results(results)
    , m_prompt(prompt)
    , m_retrieval(std::make_unique<CEngineRetrieval>())
    , m_pClock(&CSystemClock::instance())
{
}

CRunMonitor::~CRunMonitor()
{
    // Engine threads post to this object: they must be gone before it is. Packets that
    // arrive meanwhile are only handed back.
    m_runTimer.reset();
    m_state = State::Stopping;
    if (m_retrieval) {
        m_retrieval->RequestStop();
        m_retrieval->WaitForFinished();
    }
}

void CRunMonitor::SetRetrieval(std::unique_ptr<IRunRetrieval> retrieval)
{
    m_retrieval = std::move(retrieval);
}

void CRunMonitor::SetPageState(IResultsPageState *pageState)
{
    m_pPageState = pageState;
}

int CRunMonitor::PageIndex() const
{
    return m_pPageState ? m_pPageState->PageIndex() : m_nOwnPage;
}

void CRunMonitor::SetPageIndex(int page)
{
    if (m_pPageState)
        m_pPageState->SetPageIndex(page);
    else
        m_nOwnPage = page;
}

bool CRunMonitor::IsRunning() const
{
    return m_state != State::Idle;
}

bool CRunMonitor::CommitQuerySheet(const CQuerySheetEntries &entries)
{
    CQuerySheetValidator validator(m_doc, m_prompt);
    if (!validator.ValidateQuerySheet(entries))
        return false;
    entries.FillQuery(m_query);
    m_results.SetRunning(true);
    return true;
}

bool CRunMonitor::StartRun(bool bContinue)
{
    if (!IsInternetSessionActive(m_limits.directConnection)) {
        m_prompt.showMessage(QStringLiteral("Error!  Internet session must be active to do query."));
        return false;
    }
    if (!m_retrieval || m_state == State::Running || m_state == State::Stopping)
        return false;

    if (!bContinue) {
        m_results.SetSavedCount(0);
        m_results.SetLevel(0);
        SetPageIndex(0);
        m_results.ResetForNewRun(m_doc.IsUpdating());
    } else {
        // The query on show is the one to extend. Taking its QID from the results set rather
        // than from the tree's selection keeps a query whose first save failed from writing
        // its hits into whatever query happens to be selected.
        const int qid = m_results.Qid();
        m_results.ResetForNextPass(m_doc.IsUpdating());
        if (!m_doc.IsUpdating())
            m_results.SetQid(qid);
    }

    Q_EMIT runStarted();
    m_results.SetRunning(true);

    RetrievalParams params;
    m_query.GetEngines(params.engines);
    params.booleanText = m_query.GetBooleanText();
    params.query = m_query;
    params.engineAddressList = m_doc.EngineAddressList();
    params.engineLevels = m_results.EngineLevels().text;
    params.yahooPath = m_results.YahooPath();
    params.bMoreResults = PageIndex() != 0;
    params.maxConns = m_limits.maxConns;
    params.maxDelay = m_limits.maxDelay;
    params.receiver = this;
    params.clock = m_pClock;
    m_nEngineCount = int(params.engines.size());

    m_state = State::Running;
    Q_EMIT passStarted(params.engines, params.maxConns);
    Q_EMIT statusText(RunTexts::initializing());
    m_nEndedAtLastTick = int(m_results.EngineLevels().reported.size());
    // Armed before the engines start, so a period is never shorter than the engines' own
    // limits (with one engine both are MaxDelay). A query without engines still gets a
    // finite period, so it times out instead of never. Precise: the period races the engines'
    // own limits, and coarse timers may fire late.
    const std::chrono::milliseconds period(std::max(1, m_limits.maxDelay) * std::max(1, m_nEngineCount) * 1000);
    m_runTimer = m_pClock->startTimer(period, Qt::PreciseTimer, false, this, [this] { OnRunTimer(); });
    m_retrieval->Start(params);
    return true;
}

bool CRunMonitor::event(QEvent *e)
{
    ThreadHandOver::received(e);
    const QEvent::Type type = e->type();
    if (type != RetrievalMessages::WM_ENGINE_HIT && type != RetrievalMessages::WM_ENGINE_DONE
        && type != RetrievalMessages::WM_ENGINE_SKIPPED)
        return QObject::event(e);

    auto &packetEvent = static_cast<CResultPacketEvent &>(*e);
    if (m_state != State::Running) {
        // A stopping or ended run only hands packets back, so no engine stays blocked.
        packetEvent.release();
        return true;
    }
    try {
        if (type == RetrievalMessages::WM_ENGINE_HIT)
            OnEngineHit(packetEvent);
        else if (type == RetrievalMessages::WM_ENGINE_DONE)
            OnEngineDone(packetEvent);
        else
            OnEngineSkipped(packetEvent);
    } catch (const CDaoException &ex) {
        packetEvent.release();
        ReportDatabaseError(ex);
    }
    return true;
}

void CRunMonitor::OnEngineHit(CResultPacketEvent &e)
{
    if (const ResultPacket *packet = e.packet())
        m_results.AddResult(packet->Title, packet->URL, packet->Summary, m_doc.IsUpdating(), packet->Engine);
    e.release();

    const int percent = RunTexts::progressPercent(m_results.HitsReceived(), PageIndex(),
                                                  m_results.SavedCount(), m_nEngineCount);
    Q_EMIT progress(percent);
    Q_EMIT statusText(RunTexts::progress(percent));
}

void CRunMonitor::OnEngineDone(CResultPacketEvent &e)
{
    if (const ResultPacket *packet = e.packet()) {
        m_results.EngineLevels().reported << packet->Engine;
        if (packet->Count < 0)
            m_results.EngineLevels().failed << packet->Engine;
        if (packet->Exhausted)
            m_results.EngineLevels().exhausted << packet->Engine;
        Q_EMIT engineEnded(packet->Engine, packet->Count, packet->Reason);
        if (packet->Engine == QLatin1String("Yahoo"))
            m_results.SetYahooPath(packet->Extra);
    }
    e.release();
    CheckPassEnd();
}

void CRunMonitor::OnEngineSkipped(CResultPacketEvent &e)
{
    // Yahoo left out of a run for more results for want of a continuation path: it counts
    // as ended, and its path stays empty.
    const QString engine = e.packet() ? e.packet()->Engine : QStringLiteral("Yahoo");
    e.release();
    m_results.EngineLevels().reported << engine;
    m_results.SetYahooPath(QStringLiteral(" "));
    Q_EMIT engineSkipped(engine);
    CheckPassEnd();
}

void CRunMonitor::CheckPassEnd()
{
    if (m_results.EngineLevels().reported.size() < m_nEngineCount)
        return;
    m_state = State::EndingPass;
    OnPassEnd();
}

void CRunMonitor::OnPassEnd()
{
    m_nEndedAtLastTick = -1;
    // The supervisor is about to end by itself; the wait still passes packets on.
    m_retrieval->WaitForFinished();
    m_results.SetLevel(m_results.Level() + 1);

    // An update goes on while a pass brings new hits, up to the level the query had. Before
    // its first pass the update held the stored hits, not the saved count of 0 a fresh run
    // starts with, so a first pass that finds nothing new ends the update at once.
    const bool updating = m_doc.IsUpdating();
    const int hits = m_results.HitCount();
    const int hitsBefore = m_results.Level() == 1 ? m_doc.UpdateFirstNew : m_results.SavedCount();
    bool finished = true;
    if (updating && hits > 0 && hits != hitsBefore)
        finished = m_results.Level() >= m_doc.UpdateLevel;

    if (finished) {
        m_runTimer.reset();
        OnRunComplete();
        return;
    }

    // An update that still finds new hits: keep this pass and ask again.
    if (!CStoredQueryResults(m_doc).save(m_results, m_query, m_prompt)) {
        // Going on would end by deleting the stored query the update was to replace while
        // its new form was never stored: give the update up and show the old query again.
        m_runTimer.reset();
        m_results.SetRunning(false);
        RestoreUpdatedQuery();
        Q_EMIT statusText(RunTexts::ready());
        FinishRun(Outcome::SaveFailed);
        return;
    }
    m_results.SetSavedCount(m_results.HitCount());
    m_state = State::Idle;
    if (!StartRun(true)) {
        m_runTimer.reset();
        m_results.SetRunning(false);
        RestoreUpdatedQuery();
        Q_EMIT statusText(RunTexts::ready());
        FinishRun(Outcome::Stopped);
    }
}

void CRunMonitor::OnRunComplete()
{
    // The stored query an update replaces goes in the same transaction as the new form is
    // stored, so that a program killed in between leaves one of the two, never both.
    const bool saved = CStoredQueryResults(m_doc).save(m_results, m_query, m_prompt, m_doc.UpdateQID);

    if (m_doc.IsUpdating()) {
        if (saved) {
            m_doc.UpdateQID = -1;
            MoveNewHitsToFront(m_doc.UpdateFirstNew);
        } else {
            // The new form of the query is not stored: the old one stays, and is shown again.
            RestoreUpdatedQuery();
        }
    }

    Q_EMIT showNewestQuery();
    Q_EMIT statusText(RunTexts::ready());
    // A failed save has told the user already; "completed" would claim the run was kept.
    if (saved)
        Q_EMIT completionMessage(RunTexts::completed(m_results.EngineLevels().failed));
    Q_EMIT showPage();
    m_results.SetRunning(false);
    FinishRun(saved ? Outcome::Completed : Outcome::SaveFailed);
}

void CRunMonitor::MoveNewHitsToFront(int firstNew)
{
    m_results.MoveHitsToFront(firstNew);
}

void CRunMonitor::OnRunTimer()
{
    const int ended = int(m_results.EngineLevels().reported.size());
    if (m_state != State::Running || ended != m_nEndedAtLastTick) {
        if (m_state == State::Running)
            m_nEndedAtLastTick = ended;
        return;
    }

    // No engine has ended during a whole period.
    m_runTimer.reset();
    m_doc.OverwriteQID = -1;
    StopRetrieval();
    // Restored only once the engines are gone, so no late hit lands in the restored list.
    if (m_doc.IsUpdating())
        RestoreUpdatedQuery();
    m_nEndedAtLastTick = -1;
    Q_EMIT statusText(RunTexts::ready());
    Q_EMIT timeoutMessage(RunTexts::timedOut());
    Q_EMIT pageButtonsEnabled();
    FinishRun(Outcome::TimedOut);
}

void CRunMonitor::Stop()
{
    // Only a pass in flight can be stopped; a run whose last engine has ended completes.
    if (m_state != State::Running)
        return;
    m_runTimer.reset();
    m_doc.OverwriteQID = -1;
    StopRetrieval();
    if (m_doc.IsUpdating())
        RestoreUpdatedQuery();
    Q_EMIT pageButtonsEnabled();
    m_nEndedAtLastTick = -1;
    FinishRun(Outcome::Stopped);
}

void CRunMonitor::StopRetrieval()
{
    m_results.SetRunning(false);
    m_state = State::Stopping;
    m_retrieval->RequestStop();
    m_retrieval->WaitForFinished();
}

void CRunMonitor::RestoreUpdatedQuery()
{
    const int oldQid = m_doc.UpdateQID;
    try {
        // A pass of the update already stored under a new QID goes again.
        if (m_results.Qid() != -1 && m_results.Qid() != oldQid)
            m_doc.MainQueries().deleteQuery(m_results.Qid());
        m_doc.UpdateQID = -1;
        CStoredQueryResults(m_doc).load(m_results, oldQid);
        CStoredQueryDefinition(m_doc.Database()).load(oldQid, m_query);
    } catch (const CDaoException &e) {
        m_doc.UpdateQID = -1;
        ReportDatabaseError(e);
    }
    SetPageIndex(0);
    Q_EMIT showPage();
    m_results.SetQid(oldQid);
}

void CRunMonitor::FinishRun(Outcome outcome)
{
    m_state = State::Idle;
    m_results.SetRunning(false);
    Q_EMIT runEnded();
    Q_EMIT runFinished(outcome);
}

void CRunMonitor::ReportDatabaseError(const CDaoException &e)
{
    ReportDaoError(e, &m_prompt);
}
