#include "CRetrievalRun.h"

#include "RetrievalParams.h"
#include "RetrievalThreadProc.h"

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
        delete m_pThread;
    }
}

bool CRetrievalRun::start(std::unique_ptr<RetrievalParams> params)
{
    if (isRunning() || !params)
        return false;
    if (m_pThread) {
        m_pThread->wait();
        delete m_pThread;
        m_pThread = nullptr;
    }
    m_pParams = std::move(params);
    RetrievalParams *raw = m_pParams.get();
    m_pThread = QThread::create([raw] { RetrievalThreadProc(raw); });
    connect(m_pThread, &QThread::finished, this, &CRetrievalRun::finished, Qt::QueuedConnection);
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
    return m_pThread && !m_pThread->isFinished();
}

void CRetrievalRun::waitForFinished()
{
    if (!m_pThread)
        return;
    if (!m_pThread->isFinished()) {
        QEventLoop loop;
        connect(m_pThread, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
        // Checked again after connecting, so an end in between cannot be missed.
        if (!m_pThread->isFinished())
            loop.exec();
    }
    m_pThread->wait();
}
