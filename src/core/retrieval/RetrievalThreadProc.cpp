#include "RetrievalThreadProc.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThread.h"
#include "EngineJob.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"
#include "RetrievalParams.h"

#include "app/ThreadHandOver.h"


#include <memory>
#include <mutex>
#include <vector>

namespace {

// Tells the receiver that Yahoo is left out and counts as ended, and waits until it took that.
void reportYahooSkipped(QObject *receiver)
{
    auto packet = std::make_unique<ResultPacket>();
    packet->Engine = QStringLiteral("Yahoo");
    packet->Extra = QStringLiteral(" ");
    CResultPacketEvent::postAndWait(receiver, RetrievalMessages::WM_ENGINE_SKIPPED, packet.get());
}

// Engine threads of the batch that have ended, counted by each thread as its last act, so
// everything it did is ordered before the supervisor deletes its objects.
struct BatchEnds
{
    std::mutex mutex;
    std::size_t ended = 0;
};

std::size_t endedCount(BatchEnds &ends)
{
    std::lock_guard lock(ends.mutex);
    return ends.ended;
}

void closeRunningEngines(const std::vector<std::unique_ptr<EngineJob>> &jobs)
{
    for (const auto &job : jobs) {
        if (job->thread->isFinished())
            continue;
        std::lock_guard lock(job->windowLock);
        if (job->threadWindow)
            ThreadHandOver::postEvent(job->threadWindow, new QEvent(RetrievalMessages::WM_ENGINE_CLOSE));
    }
}

} // namespace

int RetrievalThreadProc(RetrievalParams *params)
{
    const QStringList &all = params->engines;
    QStringList started;
    const int maxConns = qMax(1, params->maxConns);
    const bool bYahooPathEmpty = params->yahooPath.trimmed().isEmpty();

    while (!params->bStop.load()) {
        QStringList batch;
        for (const QString &name : all) {
            if (batch.size() >= maxConns)
                break;
            if (started.contains(name))
                continue;
            started.append(name);
            batch.append(name);
        }
        if (batch.isEmpty())
            break;

        // A run for more results asks Yahoo only for the next set it named last time.
        if (params->bMoreResults && bYahooPathEmpty && batch.removeAll(QStringLiteral("Yahoo")) > 0) {
            reportYahooSkipped(params->receiver);
            if (batch.isEmpty()) {
                CResultPacketEvent::post(params->receiver,
                                         new CResultPacketEvent(RetrievalMessages::WM_ENGINE_DONE, nullptr));
                return 0;
            }
        }

        std::vector<std::unique_ptr<EngineJob>> jobs;
        for (const QString &name : batch) {
            auto job = std::make_unique<EngineJob>();
            job->name = name;
            job->params = params;
            jobs.push_back(std::move(job));
        }
        BatchEnds ends;
        for (const auto &job : jobs) {
            job->thread = std::make_unique<CTrawlexAsyncSocketThread>(*job);
            // Runs in the ending engine thread; wakes the wait below.
            QObject::connect(
                job->thread.get(), &QThread::finished, job->thread.get(),
                [params, &ends] {
                    // Wholly under the lock: the supervisor deletes this connection with the
                    // thread once it has seen the count.
                    std::lock_guard lock(ends.mutex);
                    ++ends.ended;
                    params->wake.Set();
                },
                Qt::DirectConnection);
            job->thread->start();
        }

        for (;;) {
            if (params->bStop.load()) {
                closeRunningEngines(jobs);
                break;
            }
            if (endedCount(ends) == jobs.size())
                break;
            params->wake.Wait();
        }
        // After a stop, each thread still counts itself out before it is deleted.
        while (endedCount(ends) < jobs.size())
            params->wake.Wait();
        for (const auto &job : jobs) {
            job->thread->wait();
            job->thread.reset();
        }
    }
    return 0;
}
