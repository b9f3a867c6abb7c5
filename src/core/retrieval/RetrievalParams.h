#pragma once

#include "CAutoResetEvent.h"
#include "app/CSystemClock.h"
#include "query/CTrawlexQuery.h"

#include <QString>
#include <QStringList>

#include <atomic>

class QObject;

// Everything a run's workers read, copied on the user-interface thread when the run starts,
// so that no worker reads the document or the results set while the user-interface thread
// may change them. Owned by the run (CRetrievalRun) for the run's whole life.
struct RetrievalParams
{
    QStringList engines;          // the query's engine names, in the query's order
    QString booleanText;          // the query's boolean text, split into words per engine
    CTrawlexQuery query;          // the query itself: today's engines are asked in their own syntax
    QString engineAddressList;    // "|name|address|" per engine
    QString engineLevels;         // the per-engine page counters (SearchEngineLevel text)
    QString yahooPath;            // Yahoo's stored continuation path
    bool bMoreResults = false;    // a run for more results (the results view's page is not 0)
    int maxConns = 4;             // engines asked at the same time, 1..4
    int maxDelay = 45;            // each engine's time limit in seconds
    QObject *receiver = nullptr;  // every packet is posted here; must outlive the run
    IClock *clock = &CSystemClock::instance(); // the engines' time limits follow it

    // Stop: the flag says why the supervisor woke; the event also wakes it when an engine
    // thread of the batch has ended, so it waits on one thing only.
    std::atomic<bool> bStop{false};
    CAutoResetEvent wake;

    void requestStop()
    {
        bStop.store(true);
        wake.Set();
    }
};
