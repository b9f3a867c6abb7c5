#include "CTrawlexAsyncSocketThreadMainWindow.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThread.h"
#include "CTrawlexEngineSocket.h"
#include "EngineRegistry.h"
#include "EngineJob.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"

#include "app/ThreadHandOver.h"

#include <QTimer>
#include <QTimerEvent>

#include <memory>

CTrawlexAsyncSocketThreadMainWindow::CTrawlexAsyncSocketThreadMainWindow(CTrawlexAsyncSocketThread *thread)
    : m_pThread(thread)
{
}

CTrawlexAsyncSocketThreadMainWindow::~CTrawlexAsyncSocketThreadMainWindow() = default;

void CTrawlexAsyncSocketThreadMainWindow::SetTimer(int identifier, int milliseconds)
{
    KillTimer(identifier);
    auto *timer = new QTimer(this);
    // Precise: a coarse timer may fire up to 5% early, before the run's own period that was
    // armed first, and the run would then never see its time-out.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(milliseconds);
    connect(timer, &QTimer::timeout, this, [this, identifier] { OnTimer(identifier); });
    m_timers.insert(identifier, timer);
    timer->start();
}

void CTrawlexAsyncSocketThreadMainWindow::KillTimer(int identifier)
{
    if (QTimer *timer = m_timers.take(identifier))
        delete timer;
}

bool CTrawlexAsyncSocketThreadMainWindow::event(QEvent *e)
{
    ThreadHandOver::received(e);
    if (e->type() == RetrievalMessages::WM_HOTBOT_REPEAT) {
        OnHotBotRepeat();
        return true;
    }
    if (e->type() == RetrievalMessages::WM_ENGINE_CLOSE) {
        OnDestroy();
        return true;
    }
    return QObject::event(e);
}

void CTrawlexAsyncSocketThreadMainWindow::timerEvent(QTimerEvent *e)
{
    // Only the socket's posted failure arrives here; the time limits are QTimer objects.
    OnTimer(e->timerId());
}

void CTrawlexAsyncSocketThreadMainWindow::OnTimer(int identifier)
{
    // Hits delivered: the parser is at work and ends the engine itself.
    if (m_pThread->m_pSocket && m_pThread->m_pSocket->hits() != 0)
        return;
    if (!m_pThread->BeginEnd())
        return;
    auto packet = std::make_unique<ResultPacket>();
    const EngineRegistry::Descriptor engine = EngineRegistry::instance().findByIdentifier(identifier);
    packet->Engine = engine ? engine->name : QString();
    packet->Count = -1;
    packet->Reason = m_pThread->FailureReason().isEmpty()
        ? QStringLiteral("no answer within %1 seconds").arg(m_pThread->m_pJob->maxDelay)
        : m_pThread->FailureReason();
    // An engine that continues by path has none after a failure.
    if (engine && engine->takes(EngineFeature::ContinuationPath))
        packet->Extra = QStringLiteral(" ");
    KillTimer(identifier);
    CResultPacketEvent::postAndWait(m_pThread->m_pJob->receiver, RetrievalMessages::WM_ENGINE_DONE,
                                    packet.get());
    m_pThread->EndEngine();
}

void CTrawlexAsyncSocketThreadMainWindow::OnHotBotRepeat()
{
    if (m_pThread->IsEnding())
        return;
    // The repeated request shares the first one's time limit: timer 4 keeps running.
    delete m_pThread->m_pSocket;
    m_pThread->m_pSocket = nullptr;
    m_pThread->m_pJob->name = QStringLiteral("HotBotRepeat");
    m_pThread->m_pSocket = CTrawlexAsyncSocketThread::CreateSocket(m_pThread->m_pJob, m_pThread);
    m_pThread->m_pSocket->Start();
}

void CTrawlexAsyncSocketThreadMainWindow::OnDestroy()
{
    // Stopped from outside: the engine ends without a completion.
    const QList<int> identifiers = m_timers.keys();
    for (int identifier : identifiers)
        KillTimer(identifier);
    m_pThread->BeginEnd();
    m_pThread->EndEngine();
}
