#pragma once

#include "retrieval/web/NetworkThreads.h"

#include <QSslSocket>

#include <cstdlib>

// For tests that speak HTTPS: at the process's end, waits for the network managers' threads to
// exit before OpenSSL's own end-of-process cleanup (registered when it starts, so it runs after
// this), so the leak checker never sees the per-thread state those exits free.
inline void WaitForNetworkThreadsAtExit()
{
    QSslSocket::supportsSsl();
    std::atexit([] { NetworkThreads::WaitForEnd(); });
}
