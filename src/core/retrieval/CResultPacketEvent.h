#pragma once

#include "ResultPacketRef.h"

#include <QEvent>

struct ResultPacket;

// The posted form of WM_ENGINE_HIT, WM_ENGINE_DONE and WM_ENGINE_SKIPPED. The receiver reads
// packet(), then calls release() or keeps the hold with takePacket(); an event that is
// destroyed unhandled releases its packet itself.
class CResultPacketEvent final : public QEvent
{
public:
    CResultPacketEvent(QEvent::Type type, ResultPacket *packet);
    ~CResultPacketEvent() override;

    const ResultPacket *packet() const;
    void release();
    ResultPacketRef takePacket();

    // Posts a packet to the receiver and blocks until it has been released; the caller frees
    // the packet afterwards.
    static void postAndWait(QObject *receiver, QEvent::Type type, ResultPacket *packet);
    // Posts without waiting (the supervisor's completion without a packet).
    static void post(QObject *receiver, CResultPacketEvent *event);

private:
    ResultPacketRef m_ref;
};
