#pragma once

#include <QHash>
#include <QObject>

class QTimer;
class CTrawlexAsyncSocketThread;

// The engine thread's receiving object: the engine's time limit (and the failure a socket
// posts as a timer event with the engine's identifier), HotBot's redirect, and the close
// that stops the engine.
class CTrawlexAsyncSocketThreadMainWindow final : public QObject
{
    Q_OBJECT

public:
    explicit CTrawlexAsyncSocketThreadMainWindow(CTrawlexAsyncSocketThread *thread);
    ~CTrawlexAsyncSocketThreadMainWindow() override;

    // Periodic timer keyed by the engine identifier.
    void SetTimer(int identifier, int milliseconds);
    void KillTimer(int identifier);

protected:
    bool event(QEvent *e) override;
    void timerEvent(QTimerEvent *e) override;

private:
    void OnTimer(int identifier);
    void OnHotBotRepeat();
    void OnDestroy();

    CTrawlexAsyncSocketThread *m_pThread;
    QHash<int, QTimer *> m_timers;
};
