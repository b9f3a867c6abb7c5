#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;

// A scripted web server on 127.0.0.1 standing in for the engines in exchange tests. It reads
// each request up to its empty line (a bare "\n\n" as the program sends, or CRLF), records it,
// and answers by the script with the longest path prefix that matches the request path.
class LoopbackEngineServer final : public QObject
{
    Q_OBJECT

public:
    struct Script
    {
        // Answers that close early or trickle are the simulator's faults (--fault), not kept here.
        enum Kind {
            FullPage,    // the whole answer at once, then close
            SplitPage,   // each part in its own write, `delayMs` apart, then close
            NeverAnswer, // keep the connection open and silent
            KeepOpen,    // the whole answer at once, but the connection stays open
        };
        Kind kind = FullPage;
        QList<QByteArray> parts; // FullPage, KeepOpen: parts are joined
        int delayMs = 0;         // SplitPage: between writes; others: before answering
    };

    struct Request
    {
        QByteArray bytes;      // exactly as received, up to and including the empty line
        QByteArray path;       // second word of the request line
        qint64 acceptedAtMs;   // connection accepted, since the server started
        qint64 receivedAtMs;   // request complete
        qint64 closedAtMs = -1; // the server closed the connection (or saw it closed)
    };

    explicit LoopbackEngineServer(QObject *parent = nullptr);
    ~LoopbackEngineServer() override;

    bool listen();
    quint16 port() const;
    // "127.0.0.1:PORT"
    QByteArray hostPort() const;

    void setScript(const QByteArray &pathPrefix, const Script &script);
    static Script page(const QByteArray &answer, int delayMs = 0);
    static Script split(const QList<QByteArray> &parts, int delayMs);

    const QList<Request> &requests() const { return m_requests; }
    // Requests whose path starts with the prefix, in arrival order.
    QList<Request> requestsFor(const QByteArray &pathPrefix) const;
    int connectionsOpen() const { return m_nOpen; }
    int maxConnectionsOpen() const { return m_nMaxOpen; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

private:
    struct Connection;
    void onNewConnection();
    void onReadyRead(Connection *c);
    void answer(Connection *c, const Script &script);
    void writeNext(Connection *c);
    void closeConnection(Connection *c);

    QTcpServer *m_pServer;
    QList<std::pair<QByteArray, Script>> m_scripts;
    QList<Request> m_requests;
    QList<Connection *> m_connections;
    QElapsedTimer m_clock;
    int m_nOpen = 0;
    int m_nMaxOpen = 0;
};
