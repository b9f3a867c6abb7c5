#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <chrono>
#include <functional>
#include <memory>

class QObject;

// Where the program reads the time and gets its timers, so that tests can move time on
// instead of waiting for it to pass. The program uses the system's; tests may give their own.
class IClock
{
public:
    virtual ~IClock() = default;

    // The local date and time.
    virtual QDateTime now() const = 0;
    // Calls onTimeout in context's thread once the interval has passed, and again every
    // interval unless singleShot, until the returned timer is destroyed. Called, and the timer
    // destroyed, in context's thread.
    virtual std::unique_ptr<QObject> startTimer(std::chrono::milliseconds interval, Qt::TimerType type,
                                                bool singleShot, QObject *context,
                                                std::function<void()> onTimeout) = 0;
};
