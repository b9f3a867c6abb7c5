#include "LoopbackEngineServer.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

struct LoopbackEngineServer::Connection
{
    QTcpSocket *socket = nullptr;
    QByteArray received;
    int requestIndex = -1;
    QByteArray pending; // what is left to write
    QList<QByteArray> parts;
    Script script;
    bool closed = false;
};

LoopbackEngineServer::LoopbackEngineServer(QObject *parent)
    : QObject(parent)
    , m_pServer(new QTcpServer(this))
{
    connect(m_pServer, &QTcpServer::newConnection, this, &LoopbackEngineServer::onNewConnection);
    m_clock.start();
}

LoopbackEngineServer::~LoopbackEngineServer()
{
    for (Connection *c : std::as_const(m_connections)) {
        c->socket->disconnect(this);
        if (!c->closed)
            c->socket->abort();
        delete c;
    }
}

bool LoopbackEngineServer::listen()
{
    return m_pServer->listen(QHostAddress::LocalHost, 0);
}

quint16 LoopbackEngineServer::port() const
{
    return m_pServer->serverPort();
}

QByteArray LoopbackEngineServer::hostPort() const
{
    return "127.0.0.1:" + QByteArray::number(port());
}

void LoopbackEngineServer::setScript(const QByteArray &pathPrefix, const Script &script)
{
    m_scripts.append({pathPrefix, script});
}

LoopbackEngineServer::Script LoopbackEngineServer::page(const QByteArray &answer, int delayMs)
{
    Script s;
    s.kind = Script::FullPage;
    s.parts = {answer};
    s.delayMs = delayMs;
    return s;
}

LoopbackEngineServer::Script LoopbackEngineServer::split(const QList<QByteArray> &parts, int delayMs)
{
    Script s;
    s.kind = Script::SplitPage;
    s.parts = parts;
    s.delayMs = delayMs;
    return s;
}

QList<LoopbackEngineServer::Request> LoopbackEngineServer::requestsFor(const QByteArray &pathPrefix) const
{
    QList<Request> found;
    for (const Request &r : m_requests) {
        if (r.path.startsWith(pathPrefix))
            found.append(r);
    }
    return found;
}

void LoopbackEngineServer::onNewConnection()
{
    // A close and a new connection seen in the same turn of the event loop would be recorded
    // in either order; look at the open connections first, so a close that came before this
    // connection is recorded before it.
    for (Connection *c : std::as_const(m_connections)) {
        if (!c->closed)
            c->socket->waitForReadyRead(0);
    }
    while (QTcpSocket *socket = m_pServer->nextPendingConnection()) {
        auto *c = new Connection;
        c->socket = socket;
        m_connections.append(c);
        m_nMaxOpen = qMax(m_nMaxOpen, ++m_nOpen);
        Request r;
        r.acceptedAtMs = m_clock.elapsed();
        r.receivedAtMs = -1;
        m_requests.append(r);
        c->requestIndex = int(m_requests.size()) - 1;
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { onReadyRead(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { closeConnection(c); });
    }
}

void LoopbackEngineServer::onReadyRead(Connection *c)
{
    if (c->closed)
        return;
    Request &r = m_requests[c->requestIndex];
    if (r.receivedAtMs >= 0) {
        c->socket->readAll(); // anything after the request is ignored
        return;
    }
    c->received += c->socket->readAll();
    qsizetype end = c->received.indexOf("\n\n");
    qsizetype endLength = 2;
    const qsizetype crlf = c->received.indexOf("\r\n\r\n");
    if (crlf >= 0 && (end < 0 || crlf < end)) {
        end = crlf;
        endLength = 4;
    }
    if (end < 0)
        return;
    r.bytes = c->received.left(end + endLength);
    r.receivedAtMs = m_clock.elapsed();
    const QList<QByteArray> words = r.bytes.left(r.bytes.indexOf('\n')).split(' ');
    r.path = words.size() > 1 ? words.at(1) : QByteArray();

    const Script *best = nullptr;
    qsizetype bestLength = -1;
    for (const auto &[prefix, script] : std::as_const(m_scripts)) {
        if (r.path.startsWith(prefix) && prefix.size() > bestLength) {
            best = &script;
            bestLength = prefix.size();
        }
    }
    if (best) {
        answer(c, *best);
        return;
    }
    answer(c, page("HTTP/1.0 404 Not Found\r\n\r\n<HTML>not here</HTML>\r\n"));
}

void LoopbackEngineServer::answer(Connection *c, const Script &script)
{
    c->script = script;
    if (script.kind == Script::NeverAnswer)
        return;
    if (script.kind == Script::SplitPage) {
        c->parts = script.parts;
        writeNext(c);
        return;
    }
    const QByteArray all = script.parts.join();
    QTimer::singleShot(script.delayMs, this, [this, c, all] {
        if (c->closed)
            return;
        c->socket->write(all);
        if (c->script.kind != Script::KeepOpen)
            c->socket->disconnectFromHost();
    });
}

void LoopbackEngineServer::writeNext(Connection *c)
{
    if (c->closed)
        return;
    if (c->parts.isEmpty()) {
        c->socket->disconnectFromHost();
        return;
    }
    c->socket->write(c->parts.takeFirst());
    c->socket->flush();
    QTimer::singleShot(c->script.delayMs, this, [this, c] { writeNext(c); });
}

void LoopbackEngineServer::closeConnection(Connection *c)
{
    if (c->closed)
        return;
    c->closed = true;
    --m_nOpen;
    m_requests[c->requestIndex].closedAtMs = m_clock.elapsed();
}
