#pragma once

#include "Corpus.h"
#include "FaultPlan.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

#include <memory>

class PageWriter;
class QSslServer;
class QTcpSocket;
class TodayRequest;
class TodayResponder;
struct EngineRequest;

// One loopback HTTP/1.0 server standing in for all seven engines, one path
// per engine, and for today's engines (OpenSearch descriptions, feeds, a
// metasearch instance) in HTTP/1.1 beside them, also over HTTPS on a second
// port. Every answer closes its connection, as the servers of the time did.
class SimServer final : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        int latencyMs = 0;
        bool utf8 = false;
        bool verbose = false;
        FaultPlan faults;
    };

    SimServer(Corpus corpus, Options options, QObject *parent = nullptr);
    ~SimServer() override;

    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return m_server.serverPort(); }
    // The same answers over TLS with the given PEM certificate and key.
    bool listenTls(const QHostAddress &address, quint16 port, const QByteArray &certificatePem,
                   const QByteArray &privateKeyPem, QString *error);
    quint16 tlsPort() const;

    static constexpr qsizetype kMaxRequestBytes = 64 * 1024;
    // The client reads 8191 bytes at a time and looks for the end tag in each read alone.
    static constexpr qsizetype kClientReadSize = 8191;

private:
    void onNewConnection(QTcpServer *server);
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &requestHead, const QByteArray &body);
    void answerToday(QTcpSocket *socket, const TodayRequest &request);
    void deliver(QTcpSocket *socket, const QByteArray &bytes, const FaultPlan::Fault &fault);
    void send(QTcpSocket *socket, const QByteArray &bytes, const FaultPlan::Fault &fault);
    void trickle(QTcpSocket *socket, QByteArray rest, int intervalMs);
    QByteArray response(const EngineRequest &request) const;
    QByteArray garbage(const QByteArray &seed) const;

    Corpus m_corpus;
    Options m_options;
    QTcpServer m_server;
    std::unique_ptr<QSslServer> m_tlsServer;
    std::unique_ptr<PageWriter> m_writer;
    std::unique_ptr<TodayResponder> m_today;
    QHash<QTcpSocket *, QByteArray> m_pending; // request bytes read so far
};
