#include "CResultPacketEvent.h"

#include "ResultPacket.h"

#include "app/ThreadHandOver.h"

CResultPacketEvent::CResultPacketEvent(QEvent::Type type, ResultPacket *packet)
    : QEvent(type)
    , m_ref(packet)
{
}

CResultPacketEvent::~CResultPacketEvent()
{
    // Destroyed unhandled, perhaps on the receiver's thread: the packet is released there.
    ThreadHandOver::received(this);
}

const ResultPacket *CResultPacketEvent::packet() const
{
    return m_ref.get();
}

void CResultPacketEvent::release()
{
    m_ref.release();
}

ResultPacketRef CResultPacketEvent::takePacket()
{
    return std::move(m_ref);
}

void CResultPacketEvent::post(QObject *receiver, CResultPacketEvent *event)
{
    ThreadHandOver::postEvent(receiver, event);
}

void CResultPacketEvent::postAndWait(QObject *receiver, QEvent::Type type, ResultPacket *packet)
{
    post(receiver, new CResultPacketEvent(type, packet));
    packet->Done.Wait();
}
