// The hand-over pieces: the auto-reset event, the receiver's hold on a packet, and the engine
// identifiers the time limits are keyed by.
#include "app/ThreadHandOver.h"
#include "retrieval/CAutoResetEvent.h"
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/RetrievalMessages.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTest>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Takes every packet event and either releases it, keeps the hold, or ignores it.
class Taker final : public QObject
{
public:
    enum class Mode { Release, Keep, Ignore };
    Mode mode = Mode::Release;
    ResultPacketRef kept;
    QString seenTitle;

protected:
    bool event(QEvent *e) override
    {
        ThreadHandOver::received(e);
        if (e->type() != RetrievalMessages::WM_ENGINE_HIT)
            return QObject::event(e);
        auto *pe = static_cast<CResultPacketEvent *>(e);
        seenTitle = pe->packet()->Title;
        if (mode == Mode::Release)
            pe->release();
        else if (mode == Mode::Keep)
            kept = pe->takePacket();
        return true;
    }
};

} // namespace

class TestRetrievalPackets final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void autoResetEventLetsOneWaiterThrough()
    {
        CAutoResetEvent e;
        QVERIFY(!e.WaitFor(10ms));
        e.Set();
        e.Set(); // a second Set before the wait does not count twice
        QVERIFY(e.WaitFor(0ms));
        QVERIFY(!e.WaitFor(10ms));

        std::atomic<bool> through{false};
        std::thread waiter([&] {
            e.Wait();
            through = true;
        });
        std::this_thread::sleep_for(30ms);
        QVERIFY(!through);
        e.Set();
        waiter.join();
        QVERIFY(through);
    }

    void holdReleasesExactlyOnce_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("released by the receiver") << int(Taker::Mode::Release);
        QTest::newRow("kept and released later") << int(Taker::Mode::Keep);
        QTest::newRow("ignored: the event releases it") << int(Taker::Mode::Ignore);
    }

    // The sender blocks until the receiver lets the packet go, whichever way it does so; the
    // count of releases moves by exactly one.
    void holdReleasesExactlyOnce()
    {
        QFETCH(int, mode);
        Taker taker;
        taker.mode = Taker::Mode(mode);
        const long long before = ResultPacketRef::releasedCount();
        std::atomic<bool> returned{false};
        std::thread sender([&] {
            ResultPacket packet;
            packet.Title = QStringLiteral("Cats");
            CResultPacketEvent::postAndWait(&taker, RetrievalMessages::WM_ENGINE_HIT, &packet);
            returned = true;
        });
        QTRY_COMPARE(taker.seenTitle, QStringLiteral("Cats"));
        if (taker.mode == Taker::Mode::Keep) {
            QTest::qWait(50);
            QVERIFY(!returned);
            QVERIFY(taker.kept);
            QCOMPARE(taker.kept->Title, QStringLiteral("Cats"));
            ResultPacketRef moved = std::move(taker.kept);
            QVERIFY(!taker.kept);
            moved.release();
            QVERIFY(!moved);
            moved.release(); // a second release does nothing
        }
        sender.join();
        QVERIFY(returned);
        QCOMPARE(ResultPacketRef::releasedCount() - before, 1);
    }

    void eventForADeletedReceiverStillReleases()
    {
        auto *taker = new Taker;
        QString seen;
        const long long before = ResultPacketRef::releasedCount();
        std::atomic<bool> posted{false};
        std::thread sender([taker, &posted] {
            ResultPacket packet;
            packet.Title = QStringLiteral("Cats");
            posted = true;
            CResultPacketEvent::postAndWait(taker, RetrievalMessages::WM_ENGINE_HIT, &packet);
        });
        // No event loop runs here, so the receiver goes before it could take the packet; its
        // pending events are dropped, and dropping one must not leave the sender blocked.
        while (!posted)
            std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(30ms);
        seen = taker->seenTitle;
        delete taker;
        sender.join();
        QCOMPARE(seen, QString());
        QCOMPARE(ResultPacketRef::releasedCount() - before, 1);
    }

    void engineIdentifiers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("identifier");
        QTest::newRow("AltaVista") << "AltaVista" << 2;
        QTest::newRow("HotBot") << "HotBot" << 4;
        QTest::newRow("HotBotRepeat") << "HotBotRepeat" << 5;
        QTest::newRow("Magellan") << "Magellan" << 8;
        QTest::newRow("Worm") << "Worm" << 11;
        QTest::newRow("Yahoo") << "Yahoo" << 12;
        QTest::newRow("case matters") << "yahoo" << 0;
        QTest::newRow("unknown") << "Google" << 0;
    }

    void engineIdentifiers()
    {
        QFETCH(QString, name);
        QFETCH(int, identifier);
        QCOMPARE(EngineRegistry::instance().identifierOf(name), identifier);
        if (identifier != 0)
            QCOMPARE(EngineRegistry::instance().nameOf(identifier), name);
    }
};

QTEST_GUILESS_MAIN(TestRetrievalPackets)
#include "tst_retrieval_packets.moc"
