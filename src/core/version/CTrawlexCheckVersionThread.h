#pragma once

#include "app/CSystemClock.h"

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>

class CTrawlexVersionSocket;

// Asks the maker's version server for the current release in a thread of its own and posts
// the answer to the main frame as a CVersionResultEvent.
class CTrawlexCheckVersionThread final : public QThread
{
    Q_OBJECT

public:
    static constexpr int kTimeLimitMs = 12000;

    // server: "host" or "host:port" (port 80 without one). clock: what the time limit follows,
    // by default the system's.
    CTrawlexCheckVersionThread(QObject *mainFrame, const QString &server, int timeLimitMs = kTimeLimitMs,
                               IClock &clock = CSystemClock::instance());
    ~CTrawlexCheckVersionThread() override;

    // The user gave up waiting: the check ends without a result.
    void Cancel();

protected:
    void run() override;

private:
    QPointer<QObject> m_pMainFrame;
    QString m_strHost;
    quint16 m_nPort = 80;
    int m_nTimeLimitMs;
    IClock &m_clock;
    QMutex m_mutex;
    bool m_bCancelled = false;
    CTrawlexVersionSocket *m_pSocket = nullptr; // while run() is active
};
