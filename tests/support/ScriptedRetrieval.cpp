#include "ScriptedRetrieval.h"

#include "retrieval/CResultPacketEvent.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"
#include "retrieval/RetrievalParams.h"

#include <QCoreApplication>

ScriptedRetrieval::ScriptedRetrieval() = default;
ScriptedRetrieval::~ScriptedRetrieval() = default;

void ScriptedRetrieval::Start(const RetrievalParams &params)
{
    m_pReceiver = params.receiver;
    engines = params.engines;
    maxConns = params.maxConns;
    m_bRunning = true;
    ++m_nStarts;
}

void ScriptedRetrieval::deliver(QEvent::Type type, std::unique_ptr<ResultPacket> packet)
{
    // Kept until the end: nothing blocks on Done here, the packet only has to outlive its event.
    ResultPacket *raw = packet.get();
    m_packets.push_back(std::move(packet));
    CResultPacketEvent::post(m_pReceiver, new CResultPacketEvent(type, raw));
    QCoreApplication::sendPostedEvents(m_pReceiver);
}

void ScriptedRetrieval::hit(const QString &url, const QString &title)
{
    auto packet = std::make_unique<ResultPacket>();
    packet->URL = url;
    packet->Title = title.isEmpty() ? url : title;
    packet->Summary = QStringLiteral("About ") + packet->Title;
    deliver(RetrievalMessages::WM_ENGINE_HIT, std::move(packet));
}

void ScriptedRetrieval::end(const QString &engine, int count, const QString &reason)
{
    auto packet = std::make_unique<ResultPacket>();
    packet->Engine = engine;
    packet->Count = count;
    packet->Reason = reason;
    packet->Extra = QStringLiteral(" ");
    deliver(RetrievalMessages::WM_ENGINE_DONE, std::move(packet));
}

void ScriptedRetrieval::skip(const QString &engine)
{
    auto packet = std::make_unique<ResultPacket>();
    packet->Engine = engine;
    packet->Extra = QStringLiteral(" ");
    deliver(RetrievalMessages::WM_ENGINE_SKIPPED, std::move(packet));
}
