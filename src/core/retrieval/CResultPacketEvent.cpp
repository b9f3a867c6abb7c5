#include "CResultPacketEvent.h"

#include "ResultPacket.h"

#include <QCoreApplication>

CResultPacketEvent::CResultPacketEvent(QEvent::Type type, ResultPacket *packet)
    : QEvent(type)
    , m_ref(packet)
{
}

CResultPacketEvent::~CResultPacketEvent() = default;

ResultPacketRef CResultPacketEvent::takePacket()
{
    return std::move(m_ref);
}

void CResultPacketEvent::postAndWait(QObject *receiver, QEvent::Type type, ResultPacket *packet)
{
    QCoreApplication::postEvent(receiver, new CResultPacketEvent(type, packet));
    packet->Done.Wait();
}
