#include "ManualClock.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <atomic>

namespace {

// What startTimer hands out. It lives in the thread that started the timer, so a timeout for
// another thread is queued to it by name and Qt makes and frees the call itself. Destroying
// it stops the timer, as destroying a QTimer does.
class TimerHandle final : public QObject
{
    Q_OBJECT

public:
    TimerHandle(std::function<void()> fire, std::function<void()> stop)
        : m_fire(std::move(fire))
        , m_stop(std::move(stop))
    {
    }
    ~TimerHandle() override { m_stop(); }

    Q_INVOKABLE void fire() { m_fire(); }

private:
    std::function<void()> m_fire;
    std::function<void()> m_stop;
};

} // namespace

struct ManualClock::Timer
{
    std::chrono::milliseconds due;
    std::chrono::milliseconds interval;
    bool singleShot;
    TimerHandle *handle = nullptr;
    std::function<void()> onTimeout;
    std::atomic<bool> running{true};
};

ManualClock::ManualClock(const QDateTime &start)
    : m_start(start)
{
}

ManualClock::~ManualClock()
{
    Q_ASSERT_X(m_timers.empty(), "ManualClock", "a timer outlives its clock");
}

QDateTime ManualClock::now() const
{
    std::lock_guard lock(m_mutex);
    return m_start.addMSecs(m_elapsed.count());
}

std::unique_ptr<QObject> ManualClock::startTimer(std::chrono::milliseconds interval, Qt::TimerType, bool singleShot,
                                                 QObject *, std::function<void()> onTimeout)
{
    auto timer = std::make_shared<Timer>();
    timer->interval = interval;
    timer->singleShot = singleShot;
    timer->onTimeout = std::move(onTimeout);
    // Made here, in the context's thread, as the system clock makes its QTimer.
    auto handle = std::make_unique<TimerHandle>(
        [timer] {
            if (timer->running)
                timer->onTimeout();
        },
        [this, timer] { remove(timer); });
    timer->handle = handle.get();
    std::lock_guard lock(m_mutex);
    timer->due = m_elapsed + interval;
    m_timers.push_back(timer);
    return handle;
}

void ManualClock::remove(const std::shared_ptr<Timer> &timer)
{
    std::lock_guard lock(m_mutex);
    // A timeout already queued to the handle goes with it.
    timer->running = false;
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}

void ManualClock::advance(std::chrono::milliseconds by)
{
    std::unique_lock lock(m_mutex);
    const std::chrono::milliseconds target = m_elapsed + by;
    for (;;) {
        const auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                           [](const auto &a, const auto &b) { return a->due < b->due; });
        if (next == m_timers.end() || (*next)->due > target)
            break;
        const std::shared_ptr<Timer> timer = *next;
        m_elapsed = timer->due;
        if (timer->singleShot)
            m_timers.erase(next);
        else
            timer->due += std::max(timer->interval, std::chrono::milliseconds(1));
        if (timer->handle->thread() != QThread::currentThread()) {
            // Under the lock: the handle removes its timer under it before it goes.
            QMetaObject::invokeMethod(timer->handle, "fire", Qt::QueuedConnection);
            continue;
        }
        lock.unlock();
        timer->onTimeout();
        lock.lock();
    }
    m_elapsed = target;
}

int ManualClock::activeTimers() const
{
    std::lock_guard lock(m_mutex);
    return int(m_timers.size());
}

#include "ManualClock.moc"
