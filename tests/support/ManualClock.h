#pragma once

#include "app/IClock.h"

#include <memory>
#include <mutex>
#include <vector>

// A clock that stands still until the test moves it on. Timers may be started from any
// thread; each fires in its context's thread: at once when that is the thread moving the
// clock, otherwise queued to that thread's event loop.
class ManualClock final : public IClock
{
public:
    explicit ManualClock(const QDateTime &start = QDateTime::currentDateTime());
    ~ManualClock() override;

    QDateTime now() const override;
    std::unique_ptr<QObject> startTimer(std::chrono::milliseconds interval, Qt::TimerType type, bool singleShot,
                                        QObject *context, std::function<void()> onTimeout) override;

    // Moves time on, firing every timer that falls due on the way, earliest first.
    void advance(std::chrono::milliseconds by);
    // Timers running now: a test waits for a worker to have armed its own before moving on.
    int activeTimers() const;

    struct Timer;

private:
    void remove(const std::shared_ptr<Timer> &timer);

    // A standard mutex, not a QMutex: the thread checker sees this one.
    mutable std::mutex m_mutex;
    QDateTime m_start;
    std::chrono::milliseconds m_elapsed{0};
    std::vector<std::shared_ptr<Timer>> m_timers;
};
