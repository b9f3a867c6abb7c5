#include "CAutoResetEvent.h"

void CAutoResetEvent::Set()
{
    // Notified under the lock: the waiter may free the event (with its packet) as soon as it
    // returns, so nothing here may touch it after the unlock.
    std::lock_guard lock(m_mutex);
    m_bSignalled = true;
    m_cond.notify_one();
}

void CAutoResetEvent::Wait()
{
    std::unique_lock lock(m_mutex);
    m_cond.wait(lock, [this] { return m_bSignalled; });
    m_bSignalled = false;
}

bool CAutoResetEvent::WaitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_cond.wait_for(lock, timeout, [this] { return m_bSignalled; }))
        return false;
    m_bSignalled = false;
    return true;
}
