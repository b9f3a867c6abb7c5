#pragma once

#include "IResultsPageState.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class CDaoException;
class CQuerySheetEntries;
class CResultPacketEvent;
class CTrawlexDoc;
class CTrawlexQuery;
class CTrawlexQueryResults;
class IClock;
class IRunRetrieval;
class IUserPrompt;

// The run monitor: starts the passes of a run, takes every hit and every engine's end from the
// engine threads, decides when a pass and the run are over, saves, times the run out and
// stops it. The main frame and the command line both drive this one object and only present
// what its signals report. Lives on the user-interface thread, which is where the packets of
// the engine threads are posted (it is their receiver).
class CRunMonitor final : public QObject, private IResultsPageState
{
    Q_OBJECT

public:
    enum class Outcome { Completed, SaveFailed, TimedOut, Stopped };
    Q_ENUM(Outcome)

    // The run settings; the command line may override them for one run.
    struct Limits
    {
        bool directConnection = true;
        int maxConns = 4;
        int maxDelay = 60; // seconds per engine
    };

    // Runs the document's query into the document's results set.
    CRunMonitor(CTrawlexDoc &doc, IUserPrompt &prompt, QObject *parent = nullptr);
    CRunMonitor(CTrawlexDoc &doc, CTrawlexQuery &query, CTrawlexQueryResults &results,
                IUserPrompt &prompt, QObject *parent = nullptr);
    ~CRunMonitor() override;

    // The retrieval the passes use; by default the engine threads (tests put a fake here).
    void SetRetrieval(std::unique_ptr<IRunRetrieval> retrieval);
    // Where the results view's page index lives; null keeps the monitor's own.
    void SetPageState(IResultsPageState *pageState);
    int PageIndex() const override;
    void SetPageIndex(int page) override;

    void SetLimits(const Limits &limits) { m_limits = limits; }
    // The clock the run's time-out and the engines' time limits follow; by default the system's.
    void SetClock(IClock &clock) { m_pClock = &clock; }

    // The sheet's OK: validates, replaces the document's query and marks the run as started.
    // False when a rule refused (its message has been shown) or the overwrite was declined.
    // Database failures of the look-ups propagate as CDaoException.
    bool CommitQuerySheet(const CQuerySheetEntries &entries);

    // Starts a pass. bContinue false: a fresh run (new, opened or updated query); true: a
    // further pass of the query on show (more results, or the next pass of an update).
    // False when no Internet session is active (the message has been shown).
    bool StartRun(bool bContinue);
    // The Stop command: ends the run without a message; an update's stored query comes back.
    void Stop();

    bool IsRunning() const;

Q_SIGNALS:
    // Text for the status bar's message pane: "Initializing", "Progress n%", "Ready".
    void statusText(const QString &text);
    // The figure behind "Progress n%", for a progress bar.
    void progress(int percent);
    // A pass has started: Stop on, the "More" and "Previous" buttons off, fly-by texts off.
    void runStarted();
    // The run has ended however it ended: Stop off, fly-by texts on again.
    void runEnded();
    // After a time-out or Stop: the "More" and "Previous" buttons of the page on show work again.
    void pageButtonsEnabled();
    // A pass asks these engines, at most maxConns of them at a time, in this order.
    void passStarted(const QStringList &engines, int maxConns);
    // One engine of the pass has ended: its hits, or -1 when it failed, and then why.
    void engineEnded(const QString &engine, int hits, const QString &reason);
    // An engine left out of a pass for more results: it has no further page to ask for.
    void engineSkipped(const QString &engine);
    // "Query Retrieval completed!" with the failed engines named; shown in a message box.
    void completionMessage(const QString &text);
    // "Error!  Query has timed out!  Try again."; shown in a message box.
    void timeoutMessage(const QString &text);
    // The tree shows the newest query (after a completed run).
    void showNewestQuery();
    // The results view builds the page at its page index.
    void showPage();
    // The run is over; emitted last.
    void runFinished(CRunMonitor::Outcome outcome);

protected:
    bool event(QEvent *e) override;

private:
    enum class State { Idle, Running, EndingPass, Stopping };

    void OnEngineHit(CResultPacketEvent &e);
    void OnEngineDone(CResultPacketEvent &e);
    void OnEngineSkipped(CResultPacketEvent &e);
    void CheckPassEnd();
    void OnPassEnd();
    void OnRunComplete();
    void OnRunTimer();
    void StopRetrieval();
    void RestoreUpdatedQuery();
    void MoveNewHitsToFront(int firstNew);
    void FinishRun(Outcome outcome);
    void ReportDatabaseError(const CDaoException &e);

    CTrawlexDoc &m_doc;
    CTrawlexQuery &m_query;
    CTrawlexQueryResults &m_results;
    IUserPrompt &m_prompt;
    std::unique_ptr<IRunRetrieval> m_retrieval;
    IResultsPageState *m_pPageState = nullptr;
    int m_nOwnPage = 0;
    Limits m_limits;

    IClock *m_pClock;
    State m_state = State::Idle;
    std::unique_ptr<QObject> m_runTimer; // while a pass runs
    // Engines that had ended (the levels' reported list) at the last tick of the run timer; -1 when not watching.
    int m_nEndedAtLastTick = -1;
    int m_nEngineCount = 0;
};
