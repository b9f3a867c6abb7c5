#pragma once

#include "retrieval/CAutoResetEvent.h"

#include <QString>

// What the version check hands to the main frame. The worker owns it and waits on evDone
// until the receiver has copied what it needs.
struct VersionResult
{
    int nStatus = 0;  // 1: a reply with the end mark "@"; 0: failure (time limit, send failure)
    QString strReply; // the whole reply when nStatus is 1
    CAutoResetEvent evDone;
};
