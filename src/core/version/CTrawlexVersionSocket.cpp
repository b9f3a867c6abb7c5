#include "CTrawlexVersionSocket.h"

#include "CVersionResultEvent.h"
#include "VersionResult.h"
#include "app/IClock.h"
#include "app/ThreadHandOver.h"
#include "retrieval/HttpRequestText.h"
#include "retrieval/SocketReadChunk.h"

CTrawlexVersionSocket::CTrawlexVersionSocket(QObject *mainFrame, const QString &host, quint16 port,
                                             int timeLimitMs, IClock &clock)
    : m_pMainFrame(mainFrame)
    , m_strHost(host)
    , m_nPort(port)
    , m_nTimeLimitMs(timeLimitMs)
    , m_clock(clock)
    , m_socket(this)
{
    connect(&m_socket, &QTcpSocket::connected, this, &CTrawlexVersionSocket::OnConnect);
    connect(&m_socket, &QTcpSocket::readyRead, this, &CTrawlexVersionSocket::OnReceive);
}

void CTrawlexVersionSocket::Start()
{
    // A server that is down or refuses shows itself by the time limit, as a slow one does.
    m_timer = m_clock.startTimer(std::chrono::milliseconds(m_nTimeLimitMs), Qt::CoarseTimer, true, this,
                                 [this] { Deliver(0, QString()); });
    m_socket.connectToHost(m_strHost, m_nPort);
}

void CTrawlexVersionSocket::Cancel()
{
    if (m_bDone)
        return;
    m_bDone = true;
    m_timer.reset();
    m_socket.abort();
    emit finished();
}

void CTrawlexVersionSocket::OnConnect()
{
    const QByteArray request = HttpRequestText::build("vcontrol/trawlex.htm");
    if (m_socket.write(request) != request.size())
        Deliver(0, QString()); // a failed send ends the check at once
}

void CTrawlexVersionSocket::OnReceive()
{
    while (!m_bDone) {
        const QByteArray chunk = m_socket.read(kSocketReadChunk);
        if (chunk.isEmpty())
            return;
        m_strReply.append(chunk);
        if (chunk.contains('@')) {
            Deliver(1, QString::fromLatin1(m_strReply));
            return;
        }
        if (m_strReply.size() > kMaxReply) {
            // Whatever keeps arriving without an end mark is not a version file.
            m_socket.abort();
            m_strReply.clear();
            return;
        }
    }
}

void CTrawlexVersionSocket::Deliver(int status, const QString &reply)
{
    if (m_bDone)
        return;
    m_bDone = true;
    m_timer.reset();
    m_socket.abort();
    if (m_pMainFrame) {
        VersionResult result;
        result.nStatus = status;
        result.strReply = reply;
        ThreadHandOver::postEvent(m_pMainFrame, new CVersionResultEvent(&result));
        result.evDone.Wait();
    }
    emit finished();
}
