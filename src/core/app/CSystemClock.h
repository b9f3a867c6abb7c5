#pragma once

#include "IClock.h"

// The real time: QDateTime and QTimer. Holds no state, so any thread may use the one instance.
class CSystemClock final : public IClock
{
public:
    static CSystemClock &instance();

    QDateTime now() const override;
    std::unique_ptr<QObject> startTimer(std::chrono::milliseconds interval, Qt::TimerType type, bool singleShot,
                                        QObject *context, std::function<void()> onTimeout) override;
};
