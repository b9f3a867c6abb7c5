#include "CRetrievalRun.h"

#include "RetrievalParams.h"
#include "RetrievalThreadProc.h"
#include "app/ProgramThreads.h"

#include <QEventLoop>
#include <QThread>

CRetrievalRun::CRetrievalRun(QObject *parent)
    : QObject(parent)
{
}

CRetrievalRun::~CRetrievalRun()
{
    if (m_pThread) {
        requestStop();
        waitForFinished();
    }
}

void CRetrievalRun::joinSupervisor()
{
    m_pThread->wait();
    (void)m_bSupervisorDone.load(std::memory_order_acquire);
}

bool CRetrievalRun::start(std::unique_ptr<RetrievalParams> params)
{
    if (isRunning() || !params)
        return false;
    if (m_pThread) {
        joinSupervisor();
        m_pThread.reset();
    }
    m_pParams = std::move(params);
    RetrievalParams *raw = m_pParams.get();
    m_bEnded = false;
    m_bSupervisorDone.store(false);
    m_pThread.reset(QThread::create([this, raw] {
        RetrievalThreadProc(raw);
        m_bSupervisorDone.store(true, std::memory_order_release);
    }));
    ProgramThreads::Name(*m_pThread, QStringLiteral("run"));
    connect(
        m_pThread.get(), &QThread::finished, this,
        [this] {
            m_bEnded = true;
            emit finished();
        },
        Qt::QueuedConnection);
    m_pThread->start();
    return true;
}

void CRetrievalRun::requestStop()
{
    if (m_pParams)
        m_pParams->requestStop();
}

bool CRetrievalRun::isRunning() const
{
    return !m_bEnded;
}

void CRetrievalRun::waitForFinished()
{
    if (!m_pThread)
        return;
    if (!m_bEnded) {
        // The end arrives as an event on this thread, so nothing can slip in between.
        QEventLoop loop;
        connect(this, &CRetrievalRun::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    joinSupervisor();
}
