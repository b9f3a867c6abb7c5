#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>

class CTrawlexAsyncSocketThreadMainWindow;
class CTrawlexEngineSocket;
struct EngineJob;

// One engine's worker: an event loop with the engine's window (timers, redirect, close) and
// its connection. The supervisor creates, starts, waits for and deletes it.
class CTrawlexAsyncSocketThread final : public QThread
{
    Q_OBJECT

public:
    explicit CTrawlexAsyncSocketThread(EngineJob *job);
    ~CTrawlexAsyncSocketThread() override;

    // True the first time only: whoever gets it sends the engine's one completion (the parser,
    // the time limit or a failure). Later claims, and a close, find the engine ending.
    bool BeginEnd();
    bool IsEnding() const { return m_bEnding; }
    // Leaves the event loop; the socket and window go with the thread's exit.
    void EndEngine();

    // Makes the connection object of the job's engine; nullptr for a name without one.
    static CTrawlexEngineSocket *CreateSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread);

    // Why the connection failed, for the completion its failure leads to.
    void SetFailureReason(const QString &reason) { m_strFailureReason = reason; }
    const QString &FailureReason() const { return m_strFailureReason; }

    QByteArray m_strRedirect; // the repeated HotBot request
    EngineJob *m_pJob;
    CTrawlexEngineSocket *m_pSocket = nullptr;
    CTrawlexAsyncSocketThreadMainWindow *m_pMainWnd = nullptr;

protected:
    void run() override;

private:
    bool InitInstance();
    void ExitInstance();

    bool m_bEnding = false;
    QString m_strFailureReason;
};
