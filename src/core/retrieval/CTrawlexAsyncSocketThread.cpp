#include "CTrawlexAsyncSocketThread.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThreadMainWindow.h"
#include "CTrawlexEngineSocket.h"
#include "EngineRegistry.h"
#include "EngineJob.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"
#include "RetrievalParams.h"

#include <memory>

CTrawlexAsyncSocketThread::CTrawlexAsyncSocketThread(EngineJob *job)
    : m_pJob(job)
{
}

CTrawlexAsyncSocketThread::~CTrawlexAsyncSocketThread() = default;

bool CTrawlexAsyncSocketThread::BeginEnd()
{
    if (m_bEnding)
        return false;
    m_bEnding = true;
    return true;
}

void CTrawlexAsyncSocketThread::EndEngine()
{
    m_bEnding = true;
    quit();
}

CTrawlexEngineSocket *CTrawlexAsyncSocketThread::CreateSocket(EngineJob *job, CTrawlexAsyncSocketThread *thread)
{
    const EngineRegistry::Descriptor engine = EngineRegistry::instance().find(job->name);
    return engine && engine->createSocket ? engine->createSocket(job, thread) : nullptr;
}

void CTrawlexAsyncSocketThread::run()
{
    if (InitInstance())
        exec();
    ExitInstance();
}

bool CTrawlexAsyncSocketThread::InitInstance()
{
    m_pMainWnd = new CTrawlexAsyncSocketThreadMainWindow(this);
    {
        std::lock_guard lock(m_pJob->windowLock);
        m_pJob->threadWindow = m_pMainWnd;
    }
    // A stop that came before the window existed could not be posted to it.
    if (m_pJob->params && m_pJob->params->bStop.load())
        return false;

    m_pSocket = CreateSocket(m_pJob, this);
    if (!m_pSocket) {
        // A name without a connection class cannot be asked; report it as failed.
        BeginEnd();
        auto packet = std::make_unique<ResultPacket>();
        packet->Engine = m_pJob->name;
        packet->Count = -1;
        CResultPacketEvent::postAndWait(m_pJob->receiver, RetrievalMessages::WM_ENGINE_DONE, packet.get());
        return false;
    }
    m_pMainWnd->SetTimer(EngineRegistry::instance().identifierOf(m_pJob->name), m_pJob->maxDelay * 1000);
    m_pSocket->Start();
    return true;
}

void CTrawlexAsyncSocketThread::ExitInstance()
{
    {
        std::lock_guard lock(m_pJob->windowLock);
        m_pJob->threadWindow = nullptr;
    }
    delete m_pSocket;
    m_pSocket = nullptr;
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
}
