#pragma once

#include <QObject>

#include <memory>

class CTrawlexAsyncSocketThread;

// The engine thread's receiving object: the engine's time limit (and the failure a socket
// posts as a timer event with the engine's identifier), HotBot's redirect, and the close
// that stops the engine.
class CTrawlexAsyncSocketThreadMainWindow final : public QObject
{
    Q_OBJECT

public:
    explicit CTrawlexAsyncSocketThreadMainWindow(CTrawlexAsyncSocketThread &thread);
    ~CTrawlexAsyncSocketThreadMainWindow() override;

    // The engine's periodic time limit, keyed by the engine identifier.
    void SetTimer(int identifier, int milliseconds);

protected:
    bool event(QEvent *e) override;
    void timerEvent(QTimerEvent *e) override;

private:
    void OnTimer(int identifier);
    void OnDestroy();

    CTrawlexAsyncSocketThread &m_thread;
    std::unique_ptr<QObject> m_timer;
};
