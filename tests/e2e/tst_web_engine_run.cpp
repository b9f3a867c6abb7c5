// Today's engines inside a run: the connection cap, Stop and the time limit hold for them as
// for the seven, and they run beside the seven in one batch.
#include "LoopbackPacketReceiver.h"
#include "LoopbackRun.h"
#include "ManualClock.h"
#include "RunEngineSim.h"

#include "retrieval/CRetrievalRun.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/RetrievalParams.h"
#include "retrieval/web/EngineSources.h"
#include "retrieval/web/WebEngines.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

class TestWebEngineRun final : public QObject
{
    Q_OBJECT

private:
    // Registers an engine reading the simulator's Atom search under name.
    void addAtom(const QString &name, const QString &base)
    {
        QString error;
        std::optional<EngineDefinition> d =
            EngineSources::fromTemplate(base + "/feed/atom?q={searchTerms}&start={startIndex}", "atom", &error);
        QVERIFY2(d, qPrintable(error));
        d->name = name;
        QVERIFY(EngineRegistry::instance().add(WebEngines::descriptor(*d)));
        m_added << name;
    }

    std::unique_ptr<RetrievalParams> paramsFor(const QStringList &engines, int maxConns, int maxDelay)
    {
        auto p = LoopbackRun::params(engines, LoopbackRun::addressList({{"AltaVista", m_sim.address().toUtf8() + "/altavista/cgi-bin/query"}}),
                                     m_receiver.get(), maxConns, maxDelay, QStringLiteral("travel "));
        p->query.m_keywords = {{QStringLiteral("travel"), QStringLiteral("include")}};
        p->query.m_engines = engines;
        return p;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { m_receiver = std::make_unique<LoopbackPacketReceiver>(); }

    void cleanup()
    {
        for (const QString &name : std::as_const(m_added))
            EngineRegistry::instance().remove(name);
        m_added.clear();
        m_sim.stop();
    }

    void runsBesideTheSeven()
    {
        QVERIFY(m_sim.start());
        addAtom("Atom A", m_sim.httpBase());
        CRetrievalRun run;
        LoopbackRun::runToEnd(run, paramsFor({"AltaVista", "Atom A"}, 4, 10));
        QVERIFY(m_receiver->completionOf("AltaVista"));
        QVERIFY(m_receiver->completionOf("AltaVista")->count > 0);
        const auto *atom = m_receiver->completionOf("Atom A");
        QVERIFY(atom);
        QCOMPARE(atom->count, 10);
        QCOMPARE(m_receiver->hits().size(), m_receiver->completionOf("AltaVista")->count + 10);
    }

    void connectionCapHolds()
    {
        QVERIFY(m_sim.start({"--latency", "300"}));
        for (const char *name : {"Cap 1", "Cap 2", "Cap 3"})
            addAtom(name, m_sim.httpBase());
        CRetrievalRun run;
        const qint64 oneAtATime = LoopbackRun::runToEnd(run, paramsFor({"Cap 1", "Cap 2", "Cap 3"}, 1, 10));
        QCOMPARE(m_receiver->completions().size(), 3);
        QVERIFY2(oneAtATime >= 900, qPrintable(QString::number(oneAtATime)));
    }

    void stopEndsASilentEngine()
    {
        QVERIFY(m_sim.start({"--fault", "atom=never"}));
        addAtom("Silent", m_sim.httpBase());
        CRetrievalRun run;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(run.start(paramsFor({"Silent"}, 4, 30)));
        QTimer::singleShot(300, &run, &CRetrievalRun::requestStop);
        run.waitForFinished();
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!m_receiver->completionOf("Silent")); // stopped engines end without a completion
    }

    void timeLimitEndsASilentEngine()
    {
        QVERIFY(m_sim.start({"--fault", "atom=never"}));
        addAtom("Silent", m_sim.httpBase());
        ManualClock clock;
        CRetrievalRun run;
        QVERIFY(LoopbackRun::runOnClock(run, paramsFor({"Silent"}, 4, 1), clock, std::chrono::seconds(1)));
        const auto *silent = m_receiver->completionOf("Silent");
        QVERIFY(silent);
        QCOMPARE(silent->count, -1);
        QCOMPARE(silent->reason, QStringLiteral("no answer within 1 seconds"));
    }

private:
    RunEngineSim m_sim;
    std::unique_ptr<LoopbackPacketReceiver> m_receiver;
    QStringList m_added;
};

QTEST_GUILESS_MAIN(TestWebEngineRun)
#include "tst_web_engine_run.moc"
