#include "CSystemClock.h"

#include <QTimer>

CSystemClock &CSystemClock::instance()
{
    static CSystemClock clock;
    return clock;
}

QDateTime CSystemClock::now() const
{
    return QDateTime::currentDateTime();
}

std::unique_ptr<QObject> CSystemClock::startTimer(std::chrono::milliseconds interval, Qt::TimerType type,
                                                  bool singleShot, QObject *context,
                                                  std::function<void()> onTimeout)
{
    // Made here, so it lives and fires in the caller's thread, which is context's.
    auto timer = std::make_unique<QTimer>();
    timer->setTimerType(type);
    timer->setSingleShot(singleShot);
    QObject::connect(timer.get(), &QTimer::timeout, context, std::move(onTimeout));
    timer->start(interval);
    return timer;
}
