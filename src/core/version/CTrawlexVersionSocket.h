#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpSocket>

#include <memory>

class IClock;

// The version check's connection: sends the one request for the maker's version file and
// collects the reply until its end mark "@" arrives or the time limit runs out. Lives in the
// check's own thread.
class CTrawlexVersionSocket final : public QObject
{
    Q_OBJECT

public:
    CTrawlexVersionSocket(QObject *mainFrame, const QString &host, quint16 port, int timeLimitMs, IClock &clock);

    void Start();
    // Ends the check without a result; invokable by name from another thread.
    Q_INVOKABLE void Cancel();

    // A reply that never brings "@" stops being collected here; the time limit then ends it.
    static constexpr qsizetype kMaxReply = 64 * 1024;

signals:
    // The result has been handed over (or the check failed); the thread may end.
    void finished();

private:
    void OnConnect();
    void OnReceive();
    void Deliver(int status, const QString &reply);

    QPointer<QObject> m_pMainFrame;
    QString m_strHost;
    quint16 m_nPort;
    int m_nTimeLimitMs;
    IClock &m_clock;
    QTcpSocket m_socket;
    std::unique_ptr<QObject> m_timer; // the check's time limit (identifier 3 of old)
    QByteArray m_strReply;
    bool m_bDone = false;
};
