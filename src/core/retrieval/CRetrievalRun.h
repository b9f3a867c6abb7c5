#pragma once

#include <QObject>

#include <atomic>
#include <memory>

class QThread;
struct RetrievalParams;

// One run of the retrieval as the user-interface thread sees it: starts the supervisor on its
// own thread, stops it, and waits for it while the receiver keeps getting its packets (the
// engines may be blocked on a packet's hand-over, so a plain join could never return).
class CRetrievalRun final : public QObject
{
    Q_OBJECT

public:
    explicit CRetrievalRun(QObject *parent = nullptr);
    // Stops a run still going and waits for it.
    ~CRetrievalRun() override;

    // Starts a run; params->receiver must be set and outlive the run. False while a run is
    // still going (nothing changes then).
    bool start(std::unique_ptr<RetrievalParams> params);
    // Signals the stop; engines not blocked on a hand-over end at once, the others when their
    // receiver has taken the packet.
    void requestStop();
    bool isRunning() const;
    bool isFinished() const { return !isRunning(); }
    // Returns when the supervisor has ended, delivering this thread's events meanwhile.
    void waitForFinished();
    // The current or last run's parameters; nullptr before the first start.
    const RetrievalParams *params() const { return m_pParams.get(); }

signals:
    // The supervisor has ended (delivered on this object's thread).
    void finished();

private:
    void joinSupervisor();

    std::unique_ptr<RetrievalParams> m_pParams;
    std::unique_ptr<QThread> m_pThread;
    // Set on this object's thread when the supervisor's end has been delivered here.
    bool m_bEnded = true;
    // The supervisor's last act; read after joining so its writes are ordered before ours in
    // terms the thread checker sees.
    std::atomic<bool> m_bSupervisorDone{false};
};
