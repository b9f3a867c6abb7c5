#include "CResultPacketEvent.h"

#include "ResultPacket.h"

#include <QCoreApplication>

CResultPacketEvent::CResultPacketEvent(QEvent::Type type, ResultPacket *packet)
    : QEvent(type)
    , m_ref(packet)
{
}

CResultPacketEvent::~CResultPacketEvent()
{
    acquire();
}

void CResultPacketEvent::acquire() const
{
    (void)m_bPosted.load(std::memory_order_acquire);
}

const ResultPacket *CResultPacketEvent::packet() const
{
    acquire();
    return m_ref.get();
}

void CResultPacketEvent::release()
{
    acquire();
    m_ref.release();
}

ResultPacketRef CResultPacketEvent::takePacket()
{
    acquire();
    return std::move(m_ref);
}

void CResultPacketEvent::post(QObject *receiver, CResultPacketEvent *event)
{
    event->m_bPosted.store(true, std::memory_order_release);
    QCoreApplication::postEvent(receiver, event);
}

void CResultPacketEvent::postAndWait(QObject *receiver, QEvent::Type type, ResultPacket *packet)
{
    post(receiver, new CResultPacketEvent(type, packet));
    packet->Done.Wait();
}
