#pragma once

#include "CAutoResetEvent.h"

#include <QString>

// One hit, or one engine's completion, on its way from a worker thread to the receiver.
// The sender allocates it, posts it in a CResultPacketEvent and blocks on Done; the receiver
// copies what it needs and releases the packet (which signals Done); then the sender frees it.
struct ResultPacket
{
    QString Engine;  // the engine's name: the one that ended, or the one that returned the hit
    int Count = 0;   // completion: hits delivered, or -1 when the engine failed or ran out of time
    QString Title;
    QString URL;
    QString Summary;
    QString Extra;   // Yahoo's next-set path, " " when there is none; empty for other engines
    QString Reason;  // completion with Count -1: why the engine failed, when it is known
    bool Exhausted = false; // completion: the engine has no further page for this query
    CAutoResetEvent Done;
};
