#pragma once

#include <QByteArray>
#include <QString>
#include <QThread>

#include <memory>

class CTrawlexAsyncSocketThreadMainWindow;
class CTrawlexEngineSocket;
struct EngineJob;

// One engine's worker: an event loop with the engine's window (timers, redirect, close) and
// its connection. The supervisor creates, starts, waits for and deletes it.
class CTrawlexAsyncSocketThread final : public QThread
{
    Q_OBJECT

public:
    explicit CTrawlexAsyncSocketThread(EngineJob &job);
    ~CTrawlexAsyncSocketThread() override;

    // True the first time only: whoever gets it sends the engine's one completion (the parser,
    // the time limit or a failure). Later claims, and a close, find the engine ending.
    bool BeginEnd();
    bool IsEnding() const { return m_bEnding; }
    // Leaves the event loop; the socket and window go with the thread's exit.
    void EndEngine();

    // HotBot's redirect: a new connection sends the repeated request.
    void RepeatRedirect();

    // Why the connection failed, for the completion its failure leads to.
    void SetFailureReason(const QString &reason) { m_strFailureReason = reason; }
    const QString &FailureReason() const { return m_strFailureReason; }

    // The repeated HotBot request.
    void SetRedirect(const QByteArray &request) { m_strRedirect = request; }
    const QByteArray &Redirect() const { return m_strRedirect; }

    EngineJob &Job() const { return m_job; }
    // Both exist while the event loop runs; the connection is null after a failed creation.
    CTrawlexEngineSocket *Socket() const { return m_socket.get(); }
    CTrawlexAsyncSocketThreadMainWindow *Window() const { return m_window.get(); }

protected:
    void run() override;

private:
    bool InitInstance();
    void ExitInstance();
    // The connection of the job's engine as named now; none for a name without one.
    void CreateSocket();

    EngineJob &m_job;
    std::unique_ptr<CTrawlexEngineSocket> m_socket;
    std::unique_ptr<CTrawlexAsyncSocketThreadMainWindow> m_window;
    QByteArray m_strRedirect;
    bool m_bEnding = false;
    QString m_strFailureReason;
};
