#pragma once

#include "app/ProgramThreads.h"

#include <QSslSocket>

#include <cstdlib>

// For tests that speak HTTPS: at the process's end, waits for the program's and the network
// managers' threads to exit before OpenSSL's own end-of-process cleanup (registered when it
// starts, so it runs after this), so the leak checker never sees the state those exits free.
inline void WaitForThreadsEndAtExit()
{
    QSslSocket::supportsSsl();
    std::atexit([] { ProgramThreads::WaitForEnd(); });
}
