#pragma once

#include <QString>

#include <memory>
#include <mutex>

class QObject;
class CTrawlexAsyncSocketThread;
struct RetrievalParams;

// One engine of the current batch; the supervisor owns it for the batch's life.
struct EngineJob
{
    QString name;                           // "HotBotRepeat" after a HotBot redirect
    // The engine thread's window while it exists. The supervisor posts to it only under the
    // lock, and the engine thread clears it under the lock before deleting the window, so a
    // stop never posts to a window that is already gone.
    std::mutex windowLock;
    QObject *threadWindow = nullptr;
    const RetrievalParams *params = nullptr; // read-only for the engine thread
    std::unique_ptr<CTrawlexAsyncSocketThread> thread;
};
