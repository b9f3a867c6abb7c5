// The real clock's timers, which the engine threads rely on: made in the thread that starts
// them and firing there, again and again at their period.
#include "app/CSystemClock.h"

#include <QThread>
#include <QtTest>

#include <atomic>

class TestSystemClock final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periodicTimerLivesAndFiresInItsThread();
};

void TestSystemClock::periodicTimerLivesAndFiresInItsThread()
{
    QThread worker;
    QObject context;
    context.moveToThread(&worker);
    worker.start();
    std::atomic<int> fired{0};
    std::atomic<bool> elsewhere{false};
    std::unique_ptr<QObject> timer;
    const auto inWorker = [&](auto &&call) { QMetaObject::invokeMethod(&context, call, Qt::BlockingQueuedConnection); };
    inWorker([&] {
        timer = CSystemClock::instance().startTimer(std::chrono::milliseconds(5), Qt::PreciseTimer, false, &context, [&] {
            if (QThread::currentThread() != &worker)
                elsewhere = true;
            ++fired;
        });
    });
    QCOMPARE(timer->thread(), &worker);
    QTRY_VERIFY(fired.load() >= 3);
    inWorker([&] { timer.reset(); });
    worker.quit();
    QVERIFY(worker.wait(5000));
    QVERIFY(!elsewhere.load());
}

QTEST_GUILESS_MAIN(TestSystemClock)
#include "tst_system_clock.moc"
