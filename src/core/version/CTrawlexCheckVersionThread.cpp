#include "CTrawlexCheckVersionThread.h"

#include "CTrawlexVersionSocket.h"
#include "CVersionResultEvent.h"
#include "app/ProgramThreads.h"

#include <QCoreApplication>

#include <QMutexLocker>

CTrawlexCheckVersionThread::CTrawlexCheckVersionThread(QObject *mainFrame, const QString &server,
                                                       int timeLimitMs, IClock &clock)
    : m_pMainFrame(mainFrame)
    , m_nTimeLimitMs(timeLimitMs)
    , m_clock(clock)
{
    ProgramThreads::Name(*this, QStringLiteral("version"));
    m_strHost = server.trimmed();
    const qsizetype colon = m_strHost.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const uint port = m_strHost.mid(colon + 1).toUInt(&ok);
        if (ok && port > 0 && port <= 65535) {
            m_nPort = static_cast<quint16>(port);
            m_strHost.truncate(colon);
        }
    }
}

CTrawlexCheckVersionThread::~CTrawlexCheckVersionThread()
{
    Cancel();
    // The worker may be waiting for the main frame to take a result that is still queued:
    // keep delivering it while waiting.
    while (!wait(10)) {
        if (m_pMainFrame && m_pMainFrame->thread() == QThread::currentThread())
            QCoreApplication::sendPostedEvents(m_pMainFrame, CVersionResultEvent::WM_VERSION_RESULT);
    }
}

void CTrawlexCheckVersionThread::Cancel()
{
    QMutexLocker lock(&m_mutex);
    m_bCancelled = true;
    // Queued into the check's own loop, so it is not lost before the loop runs. By name, so
    // that Qt makes and frees the queued call itself: a functor's call object would be made
    // here and freed on the check's thread, a hand-over the thread checker cannot see.
    if (m_pSocket)
        QMetaObject::invokeMethod(m_pSocket, "Cancel", Qt::QueuedConnection);
}

void CTrawlexCheckVersionThread::run()
{
    CTrawlexVersionSocket socket(m_pMainFrame, m_strHost, m_nPort, m_nTimeLimitMs, m_clock);
    connect(&socket, &CTrawlexVersionSocket::finished, this, [this] { quit(); }, Qt::DirectConnection);
    {
        QMutexLocker lock(&m_mutex);
        if (m_bCancelled)
            return;
        m_pSocket = &socket;
        socket.Start();
    }
    exec();
    QMutexLocker lock(&m_mutex);
    m_pSocket = nullptr;
}
