#include "CTrawlexAsyncSocketThreadMainWindow.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThread.h"
#include "CTrawlexEngineSocket.h"
#include "EngineRegistry.h"
#include "EngineJob.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"
#include "RetrievalParams.h"

#include "app/IClock.h"
#include "app/ThreadHandOver.h"

#include <QTimerEvent>

#include <memory>

CTrawlexAsyncSocketThreadMainWindow::CTrawlexAsyncSocketThreadMainWindow(CTrawlexAsyncSocketThread &thread)
    : m_thread(thread)
{
}

CTrawlexAsyncSocketThreadMainWindow::~CTrawlexAsyncSocketThreadMainWindow() = default;

void CTrawlexAsyncSocketThreadMainWindow::SetTimer(int identifier, int milliseconds)
{
    // Precise: a coarse timer may fire up to 5% early, before the run's own period that was
    // armed first, and the run would then never see its time-out.
    m_timer = m_thread.Job().params->clock->startTimer(std::chrono::milliseconds(milliseconds), Qt::PreciseTimer,
                                                      false, this, [this, identifier] { OnTimer(identifier); });
}

bool CTrawlexAsyncSocketThreadMainWindow::event(QEvent *e)
{
    ThreadHandOver::received(e);
    if (e->type() == RetrievalMessages::WM_HOTBOT_REPEAT) {
        if (!m_thread.IsEnding())
            m_thread.RepeatRedirect();
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
    // Only the socket's posted failure arrives here; the time limit comes from the clock.
    OnTimer(e->timerId());
}

void CTrawlexAsyncSocketThreadMainWindow::OnTimer(int identifier)
{
    // Hits delivered: the parser is at work and ends the engine itself.
    if (m_thread.Socket() && m_thread.Socket()->hits() != 0)
        return;
    if (!m_thread.BeginEnd())
        return;
    auto packet = std::make_unique<ResultPacket>();
    const EngineRegistry::Descriptor engine = EngineRegistry::instance().findByIdentifier(identifier);
    packet->Engine = engine ? engine->name : QString();
    packet->Count = -1;
    packet->Reason = m_thread.FailureReason().isEmpty()
        ? QStringLiteral("no answer within %1 seconds").arg(m_thread.Job().params->maxDelay)
        : m_thread.FailureReason();
    // An engine that continues by path has none after a failure.
    if (engine && engine->takes(EngineFeature::ContinuationPath))
        packet->Extra = QStringLiteral(" ");
    m_timer.reset();
    CResultPacketEvent::postAndWait(m_thread.Job().params->receiver, RetrievalMessages::WM_ENGINE_DONE, packet.get());
    m_thread.EndEngine();
}

void CTrawlexAsyncSocketThreadMainWindow::OnDestroy()
{
    // Stopped from outside: the engine ends without a completion.
    m_timer.reset();
    m_thread.BeginEnd();
    m_thread.EndEngine();
}
