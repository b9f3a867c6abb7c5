#include "SimServer.h"

#include "EngineRequest.h"
#include "OversizeFeed.h"
#include "PageWriter.h"
#include "RequestDecoder.h"
#include "TodayRequest.h"
#include "TodayResponder.h"

#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <random>

namespace {

// The end of the request head: a blank line, written with LF (as the client
// does) or CRLF (as browsers do).
qsizetype headEnd(const QByteArray &bytes)
{
    const qsizetype lf = bytes.indexOf("\n\n");
    const qsizetype crlf = bytes.indexOf("\n\r\n");
    if (lf < 0)
        return crlf;
    if (crlf < 0)
        return lf;
    return std::min(lf, crlf);
}

// "GET /path?query HTTP/1.0": the target is everything between the method
// and the version, so a stray blank inside it does no harm.
QByteArray requestTarget(const QByteArray &head)
{
    QByteArray line = head.left(head.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    const qsizetype first = line.indexOf(' ');
    if (first < 0)
        return {};
    qsizetype last = line.lastIndexOf(" HTTP/");
    if (last <= first)
        last = line.size();
    return line.mid(first + 1, last - first - 1).trimmed();
}

QByteArray header(const QByteArray &status, const QString &charset, qsizetype length, const QByteArray &extra = {})
{
    return "HTTP/1.0 " + status + "\r\n" + extra + "Server: trawlex-enginesim\r\nContent-Type: text/html; charset="
           + charset.toLatin1() + "\r\nContent-Length: " + QByteArray::number(length) + "\r\n\r\n";
}

QString hostAndPort(const QHostAddress &address, quint16 port)
{
    QString host = address.toString();
    if (address.protocol() == QAbstractSocket::IPv6Protocol)
        host = u'[' + host + u']';
    return host + u':' + QString::number(port);
}

} // namespace

SimServer::SimServer(Corpus corpus, Options options, QObject *parent)
    : QObject(parent), m_corpus(std::move(corpus)), m_options(std::move(options)),
      m_today(std::make_unique<TodayResponder>(m_corpus))
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] { onNewConnection(&m_server); });
}

SimServer::~SimServer() = default;

bool SimServer::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (!m_server.listen(address, port)) {
        *error = m_server.errorString();
        return false;
    }
    m_writer = std::make_unique<PageWriter>(m_corpus, hostAndPort(address, m_server.serverPort()), m_options.utf8);
    return true;
}

bool SimServer::listenTls(const QHostAddress &address, quint16 port, const QByteArray &certificatePem,
                          const QByteArray &privateKeyPem, QString *error)
{
    if (!QSslSocket::supportsSsl()) {
        *error = QStringLiteral("this Qt has no TLS backend");
        return false;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(QSslCertificate(certificatePem, QSsl::Pem));
    configuration.setPrivateKey(QSslKey(privateKeyPem, QSsl::Ec, QSsl::Pem));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone); // clients show no certificate
    if (configuration.localCertificate().isNull() || configuration.privateKey().isNull()) {
        *error = QStringLiteral("the certificate or its key cannot be read");
        return false;
    }
    m_tlsServer = std::make_unique<QSslServer>();
    m_tlsServer->setSslConfiguration(configuration);
    // The socket is handed over once its handshake is done.
    connect(m_tlsServer.get(), &QTcpServer::pendingConnectionAvailable, this,
            [this] { onNewConnection(m_tlsServer.get()); });
    if (m_options.verbose) {
        connect(m_tlsServer.get(), &QSslServer::errorOccurred, this, [](QSslSocket *socket, QAbstractSocket::SocketError) {
            std::fprintf(stderr, "enginesim: TLS connection ended: %s\n", qPrintable(socket->errorString()));
            std::fflush(stderr);
        });
    }
    if (!m_tlsServer->listen(address, port)) {
        *error = m_tlsServer->errorString();
        return false;
    }
    return true;
}

quint16 SimServer::tlsPort() const
{
    return m_tlsServer ? m_tlsServer->serverPort() : 0;
}

void SimServer::onNewConnection(QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        m_pending.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        // A TLS socket comes after its handshake, perhaps with the request already read.
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void SimServer::onReadyRead(QTcpSocket *socket)
{
    auto pending = m_pending.find(socket);
    if (pending == m_pending.end()) {
        socket->readAll(); // already answered (or being answered): ignore what follows
        return;
    }
    pending->append(socket->readAll());
    const qsizetype end = headEnd(*pending);
    if (end < 0 && pending->size() <= kMaxRequestBytes)
        return;
    const QByteArray head = end < 0 ? QByteArray() : pending->left(end);
    // A POST form follows the head; wait for as much of it as was announced.
    QByteArray body;
    if (end >= 0) {
        const qsizetype bodyStart = end + (pending->at(end + 1) == '\r' ? 3 : 2);
        const qsizetype length = std::max<qsizetype>(0, TodayRequest::contentLength(head));
        if (pending->size() - bodyStart < length && pending->size() <= kMaxRequestBytes)
            return;
        body = pending->mid(bodyStart, length);
    }
    m_pending.erase(pending);
    answer(socket, head, body);
}

void SimServer::answer(QTcpSocket *socket, const QByteArray &head, const QByteArray &body)
{
    const TodayRequest today = TodayRequest::parse(head, body);
    if (today.route() != TodayRequest::Route::None) {
        answerToday(socket, today);
        return;
    }
    const QByteArray target = requestTarget(head);
    EngineRequest request = RequestDecoder::decode(target);
    if (m_options.verbose) {
        std::fprintf(stderr, "enginesim: %s -> %s\n", head.left(head.indexOf('\n')).trimmed().constData(),
                     request.engine.isEmpty() ? "404" : qPrintable(request.engine));
        std::fflush(stderr);
    }
    FaultPlan::Fault fault = m_options.faults.faultFor(request.engine);
    if (!FaultPlan::oldEnginesShow(fault.kind))
        fault = {};
    if (fault.kind == FaultPlan::Kind::Refuse) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (fault.kind == FaultPlan::Kind::Never)
        return; // the connection stays open until the client gives up
    // The page is made now, so that the latency is all the client waits.
    QByteArray bytes;
    if (fault.kind == FaultPlan::Kind::Garbage) {
        const QByteArray body = garbage(request.target);
        bytes = header("200 OK", m_writer->charsetName(), body.size()) + body;
    } else {
        bytes = response(request);
    }
    deliver(socket, bytes, fault);
}

void SimServer::answerToday(QTcpSocket *socket, const TodayRequest &request)
{
    const auto *tls = qobject_cast<QSslSocket *>(socket);
    const bool https = tls && tls->isEncrypted();
    // The second leg of a redirect-once answers as a healthy server would.
    FaultPlan::Fault fault;
    if (!request.faultName().isEmpty() && !request.redirected())
        fault = m_options.faults.faultFor(request.faultName());
    if (m_options.verbose) {
        std::fprintf(stderr, "enginesim: %s%s -> %s (User-Agent: %s)\n", request.requestLine().constData(),
                     https ? " [https]" : "", request.faultName().isEmpty() ? "404" : qPrintable(request.faultName()),
                     request.header("user-agent").constData());
        std::fflush(stderr);
    }
    if (fault.kind == FaultPlan::Kind::Refuse) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (fault.kind == FaultPlan::Kind::Never)
        return;

    const TodayResponder::Context context{https, hostAndPort(socket->localAddress(), socket->localPort()),
                                          m_server.serverPort()};
    TodayResponder::Answer answer = m_today->answer(request, context, fault.kind);
    if (answer.oversize) {
        auto *feed = new OversizeFeed(*answer.oversize, socket);
        const QByteArray head = TodayResponder::head(answer, feed->length(), false);
        QTimer::singleShot(std::max(0, m_options.latencyMs), Qt::PreciseTimer, feed, [socket, feed, head] {
            socket->write(head);
            feed->start();
        });
        return;
    }
    if (fault.kind == FaultPlan::Kind::Garbage)
        answer.body = garbage(request.target());
    QByteArray bytes = TodayResponder::bytes(answer, request.acceptsGzip());
    if (fault.kind == FaultPlan::Kind::NoEnd) {
        // Short of what Content-Length promised, and the connection stays open.
        const qsizetype bodyStart = bytes.indexOf("\r\n\r\n") + 4;
        bytes.chop(std::min<qsizetype>(64, bytes.size() - bodyStart));
    }
    deliver(socket, bytes, fault);
}

void SimServer::deliver(QTcpSocket *socket, const QByteArray &bytes, const FaultPlan::Fault &fault)
{
    if (m_options.latencyMs <= 0) {
        send(socket, bytes, fault);
        return;
    }
    // The socket is the timer's context: a client that leaves early cancels the answer.
    QTimer::singleShot(m_options.latencyMs, Qt::PreciseTimer, socket,
                       [this, socket, bytes, fault] { send(socket, bytes, fault); });
}

void SimServer::send(QTcpSocket *socket, const QByteArray &bytes, const FaultPlan::Fault &fault)
{
    switch (fault.kind) {
    case FaultPlan::Kind::CloseEarly:
        socket->write(bytes.left(bytes.size() / 2));
        socket->disconnectFromHost();
        return;
    case FaultPlan::Kind::Trickle:
        trickle(socket, bytes, fault.intervalMs);
        return;
    case FaultPlan::Kind::NoEnd: {
        const qsizetype endTag = bytes.toUpper().lastIndexOf("</HTML>");
        socket->write(endTag < 0 ? bytes : bytes.left(endTag));
        return; // kept open: the page never ends
    }
    default:
        socket->write(bytes);
        socket->disconnectFromHost();
    }
}

void SimServer::trickle(QTcpSocket *socket, QByteArray rest, int intervalMs)
{
    if (rest.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(rest.left(1));
    socket->flush();
    QTimer::singleShot(intervalMs, socket, [this, socket, rest = rest.mid(1), intervalMs] {
        trickle(socket, rest, intervalMs);
    });
}

QByteArray SimServer::response(const EngineRequest &request) const
{
    const QString charset = m_writer->charsetName();
    switch (request.kind) {
    case EngineRequest::Kind::Redirect: {
        const QByteArray location = "http://" + m_writer->serverAddress().toLatin1() + '/' + request.redirectPath;
        const QByteArray body = m_writer->redirectPage(location);
        // The Location comes first: the client follows the first "http://" of the answer.
        return header("302 Moved", charset, body.size(), "Location: " + location + "\r\n") + body;
    }
    case EngineRequest::Kind::NotFound: {
        if (request.target.startsWith("/yahoo/")) {
            const QByteArray directory = m_writer->categoryPage(request.target);
            if (!directory.isEmpty())
                return header("200 OK", charset, directory.size()) + directory;
        }
        const QByteArray body = m_writer->notFoundPage(request.target);
        return header("404 Not Found", charset, body.size()) + body;
    }
    case EngineRequest::Kind::Search:
        break;
    }
    QByteArray body = m_writer->resultPage(request);
    // Keep the end tag inside one of the client's reads: pad with blanks in
    // front of it when it would straddle a read boundary.
    const qsizetype tag = body.toUpper().lastIndexOf("</HTML>");
    for (int attempt = 0; tag >= 0 && attempt < 3; ++attempt) {
        const qsizetype at = header("200 OK", charset, body.size()).size() + body.toUpper().lastIndexOf("</HTML>");
        const qsizetype offset = at % kClientReadSize;
        if (offset + 7 <= kClientReadSize)
            break;
        body.insert(body.toUpper().lastIndexOf("</HTML>"), QByteArray(kClientReadSize - offset, ' '));
    }
    return header("200 OK", charset, body.size()) + body;
}

QByteArray SimServer::garbage(const QByteArray &seed) const
{
    // Bytes that carry none of the engines' markers: no tags, quotes or "%".
    std::mt19937 dice(quint32(qHash(seed)));
    QByteArray body;
    const int size = 2000 + int(dice() % 4000);
    body.reserve(size + 16);
    for (int i = 0; i < size; ++i) {
        char c = char(1 + dice() % 255);
        if (c == '<' || c == '>' || c == '"' || c == '%' || c == '\'')
            c = ' ';
        body += c;
    }
    body += "\n</HTML>\n";
    return body;
}
