#include "CTrawlexAsyncSocketThread.h"

#include "CResultPacketEvent.h"
#include "CTrawlexAsyncSocketThreadMainWindow.h"
#include "CTrawlexEngineSocket.h"
#include "EngineRegistry.h"
#include "EngineJob.h"
#include "ResultPacket.h"
#include "RetrievalMessages.h"
#include "RetrievalParams.h"
#include "app/ProgramThreads.h"

#include <memory>

CTrawlexAsyncSocketThread::CTrawlexAsyncSocketThread(EngineJob &job)
    : m_job(job)
{
    ProgramThreads::Name(*this, QStringLiteral("engine"));
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

void CTrawlexAsyncSocketThread::CreateSocket()
{
    const EngineRegistry::Descriptor engine = EngineRegistry::instance().find(m_job.name);
    m_socket.reset(engine && engine->createSocket ? engine->createSocket(&m_job, this) : nullptr);
}

void CTrawlexAsyncSocketThread::RepeatRedirect()
{
    // The repeated request shares the first one's time limit: timer 4 keeps running.
    m_socket.reset();
    m_job.name = QStringLiteral("HotBotRepeat");
    CreateSocket();
    m_socket->Start();
}

void CTrawlexAsyncSocketThread::run()
{
    if (InitInstance())
        exec();
    ExitInstance();
}

bool CTrawlexAsyncSocketThread::InitInstance()
{
    m_window = std::make_unique<CTrawlexAsyncSocketThreadMainWindow>(*this);
    {
        std::lock_guard lock(m_job.windowLock);
        m_job.threadWindow = m_window.get();
    }
    // A stop that came before the window existed could not be posted to it.
    if (m_job.params && m_job.params->bStop.load())
        return false;

    CreateSocket();
    if (!m_socket) {
        // A name without a connection class cannot be asked; report it as failed.
        BeginEnd();
        auto packet = std::make_unique<ResultPacket>();
        packet->Engine = m_job.name;
        packet->Count = -1;
        CResultPacketEvent::postAndWait(m_job.params->receiver, RetrievalMessages::WM_ENGINE_DONE, packet.get());
        return false;
    }
    m_window->SetTimer(EngineRegistry::instance().identifierOf(m_job.name), m_job.params->maxDelay * 1000);
    m_socket->Start();
    return true;
}

void CTrawlexAsyncSocketThread::ExitInstance()
{
    {
        std::lock_guard lock(m_job.windowLock);
        m_job.threadWindow = nullptr;
    }
    m_socket.reset();
    m_window.reset();
}
