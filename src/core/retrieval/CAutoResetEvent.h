#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// An event that lets exactly one waiter through per Set() and then resets itself, as the
// packet hand-over between an engine thread and its receiver needs.
class CAutoResetEvent final
{
public:
    CAutoResetEvent() = default;
    CAutoResetEvent(const CAutoResetEvent &) = delete;
    CAutoResetEvent &operator=(const CAutoResetEvent &) = delete;

    void Set();
    // Blocks until the event is signalled, then resets it.
    void Wait();
    // As Wait(), but gives up after the timeout; true when the event was signalled.
    bool WaitFor(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_bSignalled = false;
};
