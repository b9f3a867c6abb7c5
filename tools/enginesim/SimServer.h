#pragma once

#include "Corpus.h"
#include "FaultPlan.h"

#include <QHash>
#include <QObject>
#include <QTcpServer>

#include <memory>

class PageWriter;
class QTcpSocket;
struct EngineRequest;

// One loopback HTTP/1.0 server standing in for all seven engines, one path
// per engine. Every answer closes its connection, as the servers of the time did.
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

    static constexpr qsizetype kMaxRequestBytes = 64 * 1024;
    // The client reads 8191 bytes at a time and looks for the end tag in each read alone.
    static constexpr qsizetype kClientReadSize = 8191;

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &requestHead);
    void send(QTcpSocket *socket, const QByteArray &bytes, const FaultPlan::Fault &fault);
    void trickle(QTcpSocket *socket, QByteArray rest, int intervalMs);
    QByteArray response(const EngineRequest &request) const;
    QByteArray garbage(const QByteArray &seed) const;

    Corpus m_corpus;
    Options m_options;
    QTcpServer m_server;
    std::unique_ptr<PageWriter> m_writer;
    QHash<QTcpSocket *, QByteArray> m_pending; // request bytes read so far
};
