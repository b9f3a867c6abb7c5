// The real clock's timers, which the engine threads rely on: made in the thread that starts
// them and firing there, again and again at their period.
#include "app/CSystemClock.h"

#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <memory>

class TestSystemClock final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periodicTimerLivesAndFiresInItsThread();
};

void TestSystemClock::periodicTimerLivesAndFiresInItsThread()
{
    std::atomic<int> fired{0};
    std::atomic<bool> elsewhere{false};
    std::atomic<bool> timerInThread{false};
    // All of it happens in the thread, so only its start and end cross threads: hand-overs
    // the thread checker sees, where Qt's queued calls would hide them.
    std::unique_ptr<QThread> worker(QThread::create([&] {
        QThread *const self = QThread::currentThread();
        QEventLoop loop;
        QObject context;
        std::unique_ptr<QObject> timer = CSystemClock::instance().startTimer(
            std::chrono::milliseconds(5), Qt::PreciseTimer, false, &context, [&] {
                if (QThread::currentThread() != self)
                    elsewhere = true;
                if (++fired >= 3)
                    loop.quit();
            });
        timerInThread = timer->thread() == self;
        // A ceiling only: the loop ends at the third tick.
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        timer.reset();
    }));
    worker->start();
    QVERIFY(worker->wait(10000));
    QVERIFY(timerInThread.load());
    QVERIFY(fired.load() >= 3);
    QVERIFY(!elsewhere.load());
}

QTEST_GUILESS_MAIN(TestSystemClock)
#include "tst_system_clock.moc"
