// The supervisor: batches of at most MaxConns engines seen from the servers, the Yahoo check of
// a run for more results, Stop while engines wait on their hand-over, and every packet handed
// back exactly once.
#include "LoopbackEngineServer.h"
#include "LoopbackPacketReceiver.h"
#include "LoopbackPages.h"
#include "LoopbackRun.h"
#include "ManualClock.h"
#include "retrieval/CRetrievalRun.h"
#include "retrieval/ResultPacketRef.h"
#include "retrieval/RetrievalParams.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using Script = LoopbackEngineServer::Script;
using Kind = LoopbackPacketReceiver::Kind;

namespace {

const QList<std::pair<QString, QByteArray>> kPaths = {
    {"AltaVista", "/altavista/cgi-bin/query"}, {"Excite", "/excite/search.gw"}, {"HotBot", "/hotbot"},
    {"InfoSeek", "/infoseek/"}, {"Lycos", "/lycos/"}, {"Magellan", "/magellan/"}, {"Yahoo", "/yahoo/"}};

QString addressesAt(const LoopbackEngineServer &server)
{
    QList<std::pair<QString, QByteArray>> entries;
    for (const auto &[name, path] : kPaths)
        entries.append({name, server.hostPort() + path});
    return LoopbackRun::addressList(entries);
}

QByteArray prefixOf(const QString &engine)
{
    for (const auto &[name, path] : kPaths) {
        if (name == engine)
            return path.left(path.indexOf('/', 1) < 0 ? path.size() : path.indexOf('/', 1));
    }
    return {};
}

// Answers after a delay but leaves the connection open: the server sees it close when the
// engine's thread ends, which is what the batches are ordered by.
Script answerAndStay(const QByteArray &page, int delayMs)
{
    Script s;
    s.kind = Script::KeepOpen;
    s.parts = {page};
    s.delayMs = delayMs;
    return s;
}

} // namespace

class TestRetrievalBatches final : public QObject
{
    Q_OBJECT

private:
    long long m_releasedAtStart = 0;
    int m_packetsSeen = 0;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_releasedAtStart = ResultPacketRef::releasedCount();
    }

    void batchesInOrder_data();
    void batchesInOrder();
    void yahooCheck_data();
    void yahooCheck();
    void timeLimitAfterHitsDoesNotFail();
    void stopWhileBlockedOnHandOver();
    void stopWhileWaitingForServers();
    void destroyingARunningRunStopsIt();
    void everyPacketReleasedOnce();
};

void TestRetrievalBatches::batchesInOrder_data()
{
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<int>("maxConns");
    QTest::newRow("MaxConns 1, two engines") << QStringList{"AltaVista", "Excite"} << 1;
    QTest::newRow("MaxConns 4, six engines")
        << QStringList{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan"} << 4;
    QTest::newRow("MaxConns 2, seven engines")
        << QStringList{"Yahoo", "Magellan", "Lycos", "InfoSeek", "HotBot", "Excite", "AltaVista"} << 2;
}

void TestRetrievalBatches::batchesInOrder()
{
    QFETCH(QStringList, engines);
    QFETCH(int, maxConns);

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", answerAndStay(LoopbackPages::altaVista(LoopbackPages::sampleHits(2)), 150));
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    LoopbackRun::runToEnd(run, LoopbackRun::params(engines, addressesAt(server), &rx, maxConns, 5));
    m_packetsSeen += rx.packetCount();

    QCOMPARE(server.requests().size(), engines.size());
    QCOMPARE(server.maxConnectionsOpen(), qMin(maxConns, int(engines.size())));
    QCOMPARE(rx.completions().size(), engines.size());
    for (qsizetype first = 0; first < engines.size(); first += maxConns) {
        const QStringList batch = engines.mid(first, maxConns);
        const QStringList earlier = engines.mid(0, first);
        qint64 startOfBatch = std::numeric_limits<qint64>::max();
        for (const QString &engine : batch) {
            const auto reqs = server.requestsFor(prefixOf(engine));
            QCOMPARE(reqs.size(), 1);
            startOfBatch = qMin(startOfBatch, reqs.first().acceptedAtMs);
        }
        // No engine of this batch is asked before every engine of the earlier ones has ended.
        for (const QString &engine : earlier) {
            const auto reqs = server.requestsFor(prefixOf(engine));
            QVERIFY(reqs.first().closedAtMs >= 0);
            QVERIFY2(reqs.first().closedAtMs <= startOfBatch,
                     qPrintable(engine + QStringLiteral(" still open when %1 started").arg(batch.first())));
        }
        // The engines of one batch run together: each is asked before any of them ends.
        for (const QString &engine : batch) {
            const auto req = server.requestsFor(prefixOf(engine)).first();
            for (const QString &other : batch)
                QVERIFY(req.acceptedAtMs <= server.requestsFor(prefixOf(other)).first().closedAtMs);
        }
    }
}

void TestRetrievalBatches::yahooCheck_data()
{
    QTest::addColumn<QStringList>("engines");
    QTest::addColumn<bool>("moreResults");
    QTest::addColumn<QString>("yahooPath");
    QTest::addColumn<QList<int>>("kinds"); // the records in order, as Kind values
    QTest::addColumn<bool>("yahooAsked");

    const int done = int(Kind::Done), skipped = int(Kind::Skipped), empty = int(Kind::EmptyDone);
    QTest::newRow("more results, Yahoo alone, no path")
        << QStringList{"Yahoo"} << true << " " << QList<int>{skipped, empty} << false;
    QTest::newRow("more results, Yahoo in the last batch alone")
        << QStringList{"Lycos", "Yahoo"} << true << "" << QList<int>{done, skipped, empty} << false;
    QTest::newRow("more results, Yahoo beside another engine")
        << QStringList{"Lycos", "Yahoo"} << true << "  " << QList<int>{skipped, done} << false;
    QTest::newRow("more results with a path") << QStringList{"Yahoo"} << true << "/bin/search?p=x&b=21"
                                              << QList<int>{done} << true;
    QTest::newRow("first run without a path") << QStringList{"Yahoo"} << false << "" << QList<int>{done} << true;
}

void TestRetrievalBatches::yahooCheck()
{
    QFETCH(QStringList, engines);
    QFETCH(bool, moreResults);
    QFETCH(QString, yahooPath);
    QFETCH(QList<int>, kinds);
    QFETCH(bool, yahooAsked);

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", LoopbackEngineServer::page(LoopbackPages::noResults()));
    LoopbackPacketReceiver rx;
    // MaxConns 1 for two engines puts Yahoo in a batch of its own; 2 puts both in one.
    const int maxConns = QTest::currentDataTag() == QByteArray("more results, Yahoo beside another engine") ? 2 : 1;
    auto params = LoopbackRun::params(engines, addressesAt(server), &rx, maxConns, 5);
    params->bMoreResults = moreResults;
    params->yahooPath = yahooPath;
    params->engineLevels = "#Lycos#@1@#Yahoo#@1@";
    CRetrievalRun run;
    QSignalSpy finished(&run, &CRetrievalRun::finished);
    LoopbackRun::runToEnd(run, std::move(params));
    m_packetsSeen += rx.packetCount();

    QList<int> got;
    for (const auto &r : rx.records())
        got.append(int(r.kind));
    QCOMPARE(got, kinds);
    for (const auto &r : rx.records()) {
        if (r.kind == Kind::Skipped) {
            QCOMPARE(r.engine, QStringLiteral("Yahoo"));
            QCOMPARE(r.extra, QStringLiteral(" "));
        }
    }
    QCOMPARE(server.requestsFor("/yahoo").size(), yahooAsked ? 1 : 0);
    if (yahooAsked && moreResults)
        QVERIFY(server.requestsFor("/yahoo").first().bytes.startsWith("GET /yahoo/bin/search?p=x&b=21 "));
    QTRY_COMPARE(finished.size(), 1);
}

void TestRetrievalBatches::timeLimitAfterHitsDoesNotFail()
{
    // The receiver keeps the first hit past the 1-second limit: the parser still completes.
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", LoopbackEngineServer::page(LoopbackPages::altaVista(LoopbackPages::sampleHits(3))));
    LoopbackPacketReceiver rx;
    rx.setHolding(true);
    ManualClock clock;
    auto params = LoopbackRun::params({"AltaVista"}, addressesAt(server), &rx, 1, 1);
    params->clock = &clock;
    CRetrievalRun run;
    QVERIFY(run.start(std::move(params)));
    QTRY_COMPARE(rx.heldCount(), 1);
    QCOMPARE(clock.activeTimers(), 1);
    clock.advance(std::chrono::milliseconds(1600));
    rx.releaseHeld();
    run.waitForFinished();
    m_packetsSeen += rx.packetCount();
    QCOMPARE(rx.hits().size(), 3);
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().count, 3);
}

void TestRetrievalBatches::stopWhileBlockedOnHandOver()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", LoopbackEngineServer::page(LoopbackPages::altaVista(LoopbackPages::sampleHits(3))));
    server.setScript("/hotbot", LoopbackEngineServer::page(LoopbackPages::hotBot(LoopbackPages::sampleHits(3))));
    LoopbackPacketReceiver rx;
    rx.setHolding(true);
    CRetrievalRun run;
    QVERIFY(run.start(LoopbackRun::params({"AltaVista", "HotBot", "Lycos"}, addressesAt(server), &rx, 2, 5)));
    // Both engines of the first batch wait on their first hit.
    QTRY_COMPARE(rx.heldCount(), 2);
    run.requestStop();
    QTest::qWait(200);
    QVERIFY(run.isRunning()); // nobody has released the packets yet
    QTimer::singleShot(100, &rx, [&rx] { rx.releaseHeld(); });
    QElapsedTimer clock;
    clock.start();
    run.waitForFinished(); // must keep delivering the packets, or it would never return
    m_packetsSeen += rx.packetCount();
    QVERIFY(clock.elapsed() < 3000);
    QVERIFY(run.isFinished());

    // The running parsers finished their pages; no later batch was started.
    QCOMPARE(rx.hits().size(), 6);
    QCOMPARE(rx.completions().size(), 2);
    QCOMPARE(rx.completionOf("AltaVista")->count, 3);
    QCOMPARE(rx.completionOf("HotBot")->count, 3);
    QVERIFY(server.requestsFor("/lycos").isEmpty());
}

void TestRetrievalBatches::stopWhileWaitingForServers()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    Script silent;
    silent.kind = Script::NeverAnswer;
    server.setScript("/", silent);
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    QVERIFY(run.start(LoopbackRun::params({"AltaVista", "Excite", "Magellan"}, addressesAt(server), &rx, 2, 60)));
    QTRY_COMPARE(server.requests().size(), 2);
    QElapsedTimer clock;
    clock.start();
    run.requestStop();
    run.waitForFinished();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    // Stopped engines end without a completion, and the third is never asked.
    QVERIFY(rx.records().isEmpty());
    QCOMPARE(server.requests().size(), 2);
    QTRY_COMPARE(server.connectionsOpen(), 0);
}

void TestRetrievalBatches::destroyingARunningRunStopsIt()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    Script silent;
    silent.kind = Script::NeverAnswer;
    server.setScript("/", silent);
    LoopbackPacketReceiver rx;
    QElapsedTimer clock;
    {
        CRetrievalRun run;
        QVERIFY(run.start(LoopbackRun::params({"Lycos"}, addressesAt(server), &rx, 1, 60)));
        QVERIFY(!run.start(LoopbackRun::params({"Lycos"}, addressesAt(server), &rx, 1, 60)));
        QTRY_COMPARE(server.requests().size(), 1);
        clock.start();
    }
    QVERIFY(clock.elapsed() < 1000);
    QTRY_COMPARE(server.connectionsOpen(), 0);
}

void TestRetrievalBatches::everyPacketReleasedOnce()
{
    // Runs last: every packet any test's receiver saw was released, and only once.
    QCOMPARE(ResultPacketRef::releasedCount() - m_releasedAtStart, m_packetsSeen);
}

QTEST_GUILESS_MAIN(TestRetrievalBatches)
#include "tst_retrieval_batches.moc"
