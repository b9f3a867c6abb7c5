#include "ManualClock.h"
#include "ResultsTestSupport.h"
#include "TestDatabase.h"

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "retrieval/CResultPacketEvent.h"
#include "retrieval/ResultPacket.h"
#include "retrieval/ResultPacketRef.h"
#include "retrieval/RetrievalMessages.h"
#include "retrieval/RetrievalParams.h"
#include "run/CRunMonitor.h"
#include "run/IRunRetrieval.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <functional>
#include <thread>

namespace {

class RecordingPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &) override { return true; }
    QStringList messages;
};

// What one engine of a pass does, seen from the receiver: hits, then its end (or nothing).
struct FakeEngine
{
    QString name;
    QStringList urls;        // one hit each
    int count = 0;           // completion Count; -1 failed
    bool ends = true;        // false: never ends by itself (blocks until the run is stopped)
    QString extra;           // Yahoo's next-set path
};

// A stand-in for the supervisor and its engine threads: one worker thread that posts the
// packets of a scripted pass exactly as engine threads do (post, block on Done, free).
class FakeRetrieval final : public IRunRetrieval
{
public:
    using Script = std::function<QList<FakeEngine>(const RetrievalParams &params, int pass)>;
    explicit FakeRetrieval(Script script)
        : m_script(std::move(script))
    {
    }
    ~FakeRetrieval() override
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    void Start(const RetrievalParams &params) override
    {
        if (m_thread.joinable())
            m_thread.join();
        m_stop = false;
        m_finished = false;
        starts << params.bMoreResults;
        levels << params.engineLevels;
        yahooPaths << params.yahooPath;
        QList<FakeEngine> engines = m_script(params, m_nPass++);
        QObject *receiver = params.receiver;
        m_thread = std::thread([this, engines, receiver] {
            for (const FakeEngine &engine : engines) {
                for (const QString &url : engine.urls) {
                    if (m_stop)
                        break;
                    auto *hit = new ResultPacket;
                    hit->Engine = engine.name;
                    hit->Title = QStringLiteral("Title of ") + url;
                    hit->URL = url;
                    hit->Summary = QStringLiteral("About ") + url;
                    ++posted;
                    CResultPacketEvent::postAndWait(receiver, RetrievalMessages::WM_ENGINE_HIT, hit);
                    delete hit;
                }
                if (!engine.ends) {
                    while (!m_stop)
                        std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    continue;
                }
                if (m_stop)
                    continue;
                auto *done = new ResultPacket;
                done->Engine = engine.name;
                done->Count = engine.count;
                done->Extra = engine.extra;
                ++posted;
                CResultPacketEvent::postAndWait(receiver, RetrievalMessages::WM_ENGINE_DONE, done);
                delete done;
            }
            m_finished = true;
        });
    }
    void RequestStop() override { m_stop = true; }
    void WaitForFinished() override
    {
        // Packets keep flowing while waiting, as the real supervisor needs.
        while (m_thread.joinable() && !m_finished)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (m_thread.joinable())
            m_thread.join();
    }

    std::atomic<int> posted{0};
    QList<bool> starts;
    QStringList levels;
    QStringList yahooPaths;

private:
    Script m_script;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_finished{true};
    int m_nPass = 0;
};

// Packets posted without a blocked sender (the supervisor's own) are kept here until the end.
std::vector<std::unique_ptr<ResultPacket>> g_keptPackets;

ResultPacket *keptPacket()
{
    g_keptPackets.push_back(std::make_unique<ResultPacket>());
    return g_keptPackets.back().get();
}

QStringList urls(const QString &prefix, int from, int count)
{
    QStringList list;
    for (int i = from; i < from + count; ++i)
        list << QStringLiteral("http://%1.example/%2").arg(prefix).arg(i);
    return list;
}

FakeEngine engine(const QString &name, const QStringList &hits, int count = 0)
{
    FakeEngine e;
    e.name = name;
    e.urls = hits;
    e.count = count < 0 ? -1 : int(hits.size());
    return e;
}

} // namespace

class TestRunMonitor final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newRunStoresAtLevelOne();
    void failedEnginesNamed();
    void timesOutWhenNoEngineEndsForAPeriod();
    void timerPeriodRestartsWhenAnEngineEnds();
    void stopWhileEnginesAreBlocked();
    void moreRunAdvancesCountersAndSkipsYahoo();
    void yahooOnlyBatchSkippedEndsPassOnce();
    void updateRunsPassesWhileNewHitsCome();
    void updateFirstPassWithoutNewHitsEnds();
    void updateTimeOutRestoresStoredQuery();
    void updateFailedSaveKeepsStoredQuery();
    void enginesOfHitsKeptByMoreAndUpdate();

private:
    FakeRetrieval *makeMonitor(FakeRetrieval::Script script, int maxDelay = 60);
    bool commit(const QString &name, const QStringList &engines);
    bool runToEnd(bool bContinue, CRunMonitor::Outcome expected);
    // Moves the run's clock on to at, a millisecond short first: the run in flight must time
    // out exactly then.
    bool timesOutAt(std::chrono::milliseconds at);
    int storedCount();

    QTemporaryDir m_dir;
    ManualClock m_clock;
    std::unique_ptr<CTrawlexDoc> m_doc;
    CTrawlexQuery m_query;
    CTrawlexQueryResults m_results;
    RecordingPrompt m_prompt;
    std::unique_ptr<CRunMonitor> m_monitor;
    QStringList m_statuses;
    QStringList m_completions;
    QStringList m_timeouts;
};

void TestRunMonitor::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestRunMonitor::init()
{
    QVERIFY(m_dir.isValid());
    const QString path = TestDatabase::copyPrebuilt(m_dir);
    m_doc = std::make_unique<CTrawlexDoc>();
    QVERIFY(m_doc->OpenDatabase(path, nullptr));
    m_doc->LoadEngineAddressList();
    m_query = CTrawlexQuery();
    m_results = CTrawlexQueryResults();
    m_prompt.messages.clear();
    m_statuses.clear();
    m_completions.clear();
    m_timeouts.clear();
}

void TestRunMonitor::cleanup()
{
    m_monitor.reset();
    m_doc.reset();
}

FakeRetrieval *TestRunMonitor::makeMonitor(FakeRetrieval::Script script, int maxDelay)
{
    m_monitor = std::make_unique<CRunMonitor>(*m_doc, m_query, m_results, m_prompt);
    auto fake = std::make_unique<FakeRetrieval>(std::move(script));
    FakeRetrieval *raw = fake.get();
    m_monitor->SetRetrieval(std::move(fake));
    m_monitor->SetClock(m_clock);
    CRunMonitor::Limits limits;
    limits.maxDelay = maxDelay;
    m_monitor->SetLimits(limits);
    connect(m_monitor.get(), &CRunMonitor::statusText, this, [this](const QString &t) { m_statuses << t; });
    connect(m_monitor.get(), &CRunMonitor::completionMessage, this, [this](const QString &t) { m_completions << t; });
    connect(m_monitor.get(), &CRunMonitor::timeoutMessage, this, [this](const QString &t) { m_timeouts << t; });
    return raw;
}

bool TestRunMonitor::commit(const QString &name, const QStringList &engines)
{
    CQuerySheetEntries entries;
    entries.m_strName = name;
    entries.m_keywordEntries = {QStringLiteral("include:apple")};
    entries.m_engines = engines;
    return m_monitor->CommitQuerySheet(entries);
}

bool TestRunMonitor::runToEnd(bool bContinue, CRunMonitor::Outcome expected)
{
    QSignalSpy finished(m_monitor.get(), &CRunMonitor::runFinished);
    if (!m_monitor->StartRun(bContinue))
        return false;
    if (!finished.wait(10000))
        return false;
    return finished.size() == 1 && finished.first().first().value<CRunMonitor::Outcome>() == expected;
}

bool TestRunMonitor::timesOutAt(std::chrono::milliseconds at)
{
    QSignalSpy finished(m_monitor.get(), &CRunMonitor::runFinished);
    m_clock.advance(at - std::chrono::milliseconds(1));
    if (!finished.isEmpty() || !m_monitor->IsRunning())
        return false;
    m_clock.advance(std::chrono::milliseconds(1));
    return finished.size() == 1 && finished.first().first().value<CRunMonitor::Outcome>() == CRunMonitor::Outcome::TimedOut;
}

int TestRunMonitor::storedCount()
{
    return int(m_doc->MainQueries().allQueries().size());
}

void TestRunMonitor::newRunStoresAtLevelOne()
{
    FakeRetrieval *fake = makeMonitor([](const RetrievalParams &, int) {
        // Two engines; one duplicate address in another letter case.
        return QList<FakeEngine>{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), 0, 5)),
                                 engine(QStringLiteral("Excite"), urls(QStringLiteral("e"), 0, 4)
                                            << QStringLiteral("HTTP://A.EXAMPLE/0"))};
    });
    const long long releasedBefore = ResultPacketRef::releasedCount();
    QVERIFY(commit(QStringLiteral("Apples"), {QStringLiteral("AltaVista"), QStringLiteral("Excite")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));

    QCOMPARE(fake->posted.load(), 12); // 10 hits, 2 ends
    QCOMPARE(ResultPacketRef::releasedCount() - releasedBefore, 12);
    QCOMPARE(m_results.Level(), 1);
    QCOMPARE(m_results.HitCount(), 9);
    QVERIFY(m_results.Qid() != -1);
    QVERIFY(!m_results.IsRunning());
    QVERIFY(!m_monitor->IsRunning());
    QCOMPARE(m_completions, QStringList{QStringLiteral("Query Retrieval completed!")});
    QCOMPARE(m_statuses.first(), QStringLiteral("Initializing"));
    QCOMPARE(m_statuses.last(), QStringLiteral("Ready"));
    QVERIFY(m_statuses.contains(QStringLiteral("Progress 50%")));
    QVERIFY(!m_statuses.contains(QStringLiteral("Progress 55%"))); // 10 of 20 at most

    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().name, QStringLiteral("Apples"));
    QCOMPARE(rows.first().level, 1);
    QCOMPARE(rows.first().engineLevels, QStringLiteral("#AltaVista#@1@#Excite#@1@"));
    QCOMPARE(m_doc->Results().results(m_results.Qid()).size(), 9);
}

void TestRunMonitor::failedEnginesNamed()
{
    makeMonitor([](const RetrievalParams &, int) {
        return QList<FakeEngine>{engine(QStringLiteral("Excite"), {}, -1),
                                 engine(QStringLiteral("HotBot"), urls(QStringLiteral("h"), 0, 2)),
                                 engine(QStringLiteral("Lycos"), {}, -1), engine(QStringLiteral("Yahoo"), {}, -1)};
    });
    QVERIFY(commit(QStringLiteral("Fails"), {QStringLiteral("Excite"), QStringLiteral("HotBot"),
                                             QStringLiteral("Lycos"), QStringLiteral("Yahoo")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    QCOMPARE(m_completions, QStringList{QStringLiteral("Query Retrieval completed!  Excite, Lycos and Yahoo timed out.")});
    // Only the engine that ended well counts a page.
    QCOMPARE(m_doc->MainQueries().allQueries().first().engineLevels, QStringLiteral("#HotBot#@1@"));
}

void TestRunMonitor::timesOutWhenNoEngineEndsForAPeriod()
{
    makeMonitor(
        [](const RetrievalParams &, int) {
            FakeEngine silent = engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), 0, 3));
            silent.ends = false;
            return QList<FakeEngine>{silent};
        },
        1);
    const long long releasedBefore = ResultPacketRef::releasedCount();
    QVERIFY(commit(QStringLiteral("Slow"), {QStringLiteral("AltaVista")}));
    QSignalSpy hits(m_monitor.get(), &CRunMonitor::progress);
    QVERIFY(m_monitor->StartRun(false));
    QTRY_COMPARE(hits.size(), 3);
    QVERIFY(timesOutAt(std::chrono::seconds(1)));
    QCOMPARE(m_timeouts, QStringList{QStringLiteral("Error!  Query has timed out!  Try again.")});
    QVERIFY(m_completions.isEmpty());
    QCOMPARE(m_statuses.last(), QStringLiteral("Ready"));
    QCOMPARE(storedCount(), 0);
    QCOMPARE(ResultPacketRef::releasedCount() - releasedBefore, 3);
}

void TestRunMonitor::timerPeriodRestartsWhenAnEngineEnds()
{
    // Two engines and a one-second limit: a period of two seconds. One engine ends within the
    // first period, so the run survives the first check and times out at the second.
    makeMonitor(
        [](const RetrievalParams &, int) {
            FakeEngine quick = engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), 0, 1));
            FakeEngine silent = engine(QStringLiteral("Excite"), {});
            silent.ends = false;
            return QList<FakeEngine>{quick, silent};
        },
        1);
    QVERIFY(commit(QStringLiteral("Half"), {QStringLiteral("AltaVista"), QStringLiteral("Excite")}));
    QSignalSpy ended(m_monitor.get(), &CRunMonitor::engineEnded);
    QVERIFY(m_monitor->StartRun(false));
    QTRY_COMPARE(ended.size(), 1);
    QVERIFY(timesOutAt(std::chrono::seconds(4)));
    QCOMPARE(m_timeouts.size(), 1);
}

void TestRunMonitor::stopWhileEnginesAreBlocked()
{
    FakeRetrieval *fake = makeMonitor([](const RetrievalParams &, int) {
        FakeEngine busy = engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), 0, 500));
        busy.ends = false;
        FakeEngine other = engine(QStringLiteral("Excite"), {});
        other.ends = false;
        return QList<FakeEngine>{busy, other};
    });
    const long long releasedBefore = ResultPacketRef::releasedCount();
    QVERIFY(commit(QStringLiteral("Stopped"), {QStringLiteral("AltaVista"), QStringLiteral("Excite")}));
    QSignalSpy finished(m_monitor.get(), &CRunMonitor::runFinished);
    QSignalSpy buttons(m_monitor.get(), &CRunMonitor::pageButtonsEnabled);
    QVERIFY(m_monitor->StartRun(false));
    QTRY_VERIFY(m_results.HitsReceived() >= 3);
    const int statusesBefore = int(m_statuses.size());
    m_monitor->Stop(); // the engine thread is blocked on a Done event here
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Stopped);
    QCOMPARE(buttons.size(), 1);
    QVERIFY(!m_monitor->IsRunning());
    QVERIFY(!m_results.IsRunning());
    QCOMPARE(storedCount(), 0);
    QVERIFY(m_completions.isEmpty() && m_timeouts.isEmpty());
    QCOMPARE(int(m_statuses.size()), statusesBefore); // Stop leaves the status text
    // The engine stopped early, and every packet it posted was handed back before Stop returned.
    QVERIFY(fake->posted.load() < 500);
    QCOMPARE(ResultPacketRef::releasedCount() - releasedBefore, fake->posted.load());
}

void TestRunMonitor::moreRunAdvancesCountersAndSkipsYahoo()
{
    FakeRetrieval *fake = makeMonitor([](const RetrievalParams &params, int pass) {
        QList<FakeEngine> list{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), pass * 10, 10))};
        if (pass == 0) {
            FakeEngine yahoo = engine(QStringLiteral("Yahoo"), {}, -1);
            yahoo.extra = QStringLiteral(" "); // failed: no continuation path
            list << yahoo;
        } else {
            Q_ASSERT(params.bMoreResults);
            // The supervisor leaves Yahoo out and says so.
            ResultPacket *skip = keptPacket();
            skip->Engine = QStringLiteral("Yahoo");
            skip->Extra = QStringLiteral(" ");
            QCoreApplication::postEvent(params.receiver, new CResultPacketEvent(RetrievalMessages::WM_ENGINE_SKIPPED, skip));
        }
        return list;
    });
    QVERIFY(commit(QStringLiteral("More"), {QStringLiteral("AltaVista"), QStringLiteral("Yahoo")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    const int qid = m_results.Qid();
    QCOMPARE(m_completions.last(), QStringLiteral("Query Retrieval completed!  Yahoo timed out."));

    // "More": the view is past page 0 and the saved count is the hits held.
    m_monitor->SetPageIndex(1);
    m_results.SetSavedCount(m_results.HitCount());
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));
    QCOMPARE(fake->starts, (QList<bool>{false, true}));
    QCOMPARE(fake->levels.last(), QStringLiteral("#AltaVista#@1@"));
    QCOMPARE(m_results.Qid(), qid); // the same stored query grows
    QCOMPARE(m_results.Level(), 2);
    QCOMPARE(m_results.HitCount(), 20);
    QCOMPARE(m_results.YahooPath(), QStringLiteral(" "));
    QCOMPARE(m_completions.last(), QStringLiteral("Query Retrieval completed!")); // skipped is not failed
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().level, 2);
    QCOMPARE(rows.first().engineLevels, QStringLiteral("#AltaVista#@2@#Yahoo#@1@"));
    QCOMPARE(m_doc->Results().results(qid).size(), 20);
}

void TestRunMonitor::yahooOnlyBatchSkippedEndsPassOnce()
{
    // MaxConns 1: AltaVista ends in the first batch, Yahoo is skipped in the second, whose
    // emptied batch brings the supervisor's packet-less end as well. One pass, not two.
    makeMonitor([](const RetrievalParams &params, int pass) {
        if (pass == 1) {
            ResultPacket *skip = keptPacket();
            skip->Engine = QStringLiteral("Yahoo");
            skip->Extra = QStringLiteral(" ");
            QObject *receiver = params.receiver;
            QTimer::singleShot(100, receiver, [receiver, skip] {
                QCoreApplication::postEvent(receiver, new CResultPacketEvent(RetrievalMessages::WM_ENGINE_SKIPPED, skip));
                QCoreApplication::postEvent(receiver, new CResultPacketEvent(RetrievalMessages::WM_ENGINE_DONE, nullptr));
            });
        }
        return QList<FakeEngine>{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), pass * 10, 10))};
    });
    QVERIFY(commit(QStringLiteral("Yahoo last"), {QStringLiteral("AltaVista"), QStringLiteral("Yahoo")}));
    m_results.EngineLevels().reported.clear();
    // First pass: Yahoo ends well with a path.
    QVERIFY(m_monitor->StartRun(false));
    QTRY_COMPARE(m_results.EngineLevels().reported.size(), 1);
    {
        ResultPacket *yahoo = keptPacket();
        yahoo->Engine = QStringLiteral("Yahoo");
        yahoo->Count = 0;
        yahoo->Extra = QStringLiteral("   ");
        QSignalSpy finished(m_monitor.get(), &CRunMonitor::runFinished);
        QCoreApplication::postEvent(m_monitor.get(), new CResultPacketEvent(RetrievalMessages::WM_ENGINE_DONE, yahoo));
        QVERIFY(finished.wait(5000));
    }
    QCOMPARE(m_results.Level(), 1);
    m_monitor->SetPageIndex(1);
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));
    QTest::qWait(300); // a second pass end would show here
    QCOMPARE(m_results.Level(), 2);
    QCOMPARE(m_completions.size(), 2);
    QCOMPARE(m_doc->MainQueries().allQueries().first().level, 2);
}

void TestRunMonitor::updateRunsPassesWhileNewHitsCome()
{
    // Three passes store a0..a29; the update's passes then bring a10..a19 (forgotten in the
    // meantime), a30..a39 and a40..a49.
    makeMonitor([](const RetrievalParams &, int pass) {
        static const int block[] = {0, 1, 2, 1, 3, 4, 5, 6};
        return QList<FakeEngine>{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), block[pass] * 10, 10))};
    });
    QVERIFY(commit(QStringLiteral("Grow"), {QStringLiteral("AltaVista")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));               // pass 0: a0..a9
    m_monitor->SetPageIndex(1);
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));                // pass 1: a10..a19
    m_monitor->SetPageIndex(2);
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));                // pass 2: a20..a29
    const int oldQid = m_results.Qid();
    QCOMPARE(m_results.Level(), 3);

    // Forget ten of the stored hits, as if the engines' index had changed since.
    m_doc->Database().run(QStringLiteral("DELETE FROM [Query Results] WHERE QID = ? AND URL LIKE 'http://a.example/1_'"),
                          {oldQid}, QStringLiteral("test")).finish();
    CStoredQueryResults(*m_doc).load(m_results, oldQid);
    m_results.SetQid(oldQid);
    QCOMPARE(m_results.HitCount(), 20);

    // Update Query.
    CStoredQueryDefinition(m_doc->Database()).load(oldQid, m_query);
    m_results.ClearNewFlags();
    m_doc->UpdateQID = m_results.Qid();
    m_doc->UpdateLevel = m_results.Level();
    m_doc->UpdateFirstNew = m_results.HitCount();
    m_results.SetQid(-1);
    m_results.SetRunning(true);
    QSignalSpy started(m_monitor.get(), &CRunMonitor::runStarted);
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed)); // passes 3, 4, 5 of the fake
    QCOMPARE(started.size(), 3);
    QCOMPARE(m_results.Level(), 3);
    QCOMPARE(m_doc->UpdateQID, -1);
    QCOMPARE(m_results.HitCount(), 50);
    // The thirty new ones come first, in the order found, marked new.
    const QStringList expectedNew = urls(QStringLiteral("a"), 10, 10) + urls(QStringLiteral("a"), 30, 20);
    QCOMPARE(ResultsTestSupport::urls(m_results).mid(0, 30), expectedNew);
    for (int i = 0; i < 50; ++i)
        QCOMPARE(ResultsTestSupport::newFlags(m_results).at(i), i < 30 ? 1 : 0);
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1); // the old stored query is gone
    QVERIFY(rows.first().qid != oldQid);
    QCOMPARE(rows.first().qid, m_results.Qid());
    QCOMPARE(rows.first().level, 3);
    int storedNew = 0;
    for (const auto &r : m_doc->Results().results(rows.first().qid))
        storedNew += r.isNew ? 1 : 0;
    QCOMPARE(storedNew, 30);
}

void TestRunMonitor::updateFirstPassWithoutNewHitsEnds()
{
    makeMonitor([](const RetrievalParams &, int pass) {
        return QList<FakeEngine>{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), (pass % 2) * 10, 10))};
    });
    QVERIFY(commit(QStringLiteral("Same"), {QStringLiteral("AltaVista")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    m_monitor->SetPageIndex(1);
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));
    const int oldQid = m_results.Qid();

    m_doc->UpdateQID = oldQid;
    m_doc->UpdateLevel = m_results.Level();
    m_doc->UpdateFirstNew = m_results.HitCount();
    m_results.SetQid(-1);
    QSignalSpy started(m_monitor.get(), &CRunMonitor::runStarted);
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed)); // fake pass 2: a0..a9 again
    QCOMPARE(started.size(), 1);
    QCOMPARE(m_results.Level(), 1);
    QCOMPARE(m_results.HitCount(), 20);
    QVERIFY(!ResultsTestSupport::newFlags(m_results).contains(1));
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1);
    QVERIFY(rows.first().qid != oldQid);
}

void TestRunMonitor::updateTimeOutRestoresStoredQuery()
{
    makeMonitor(
        [](const RetrievalParams &, int pass) {
            FakeEngine e = engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), pass * 10, 10));
            e.ends = pass != 4; // the update's second pass hangs
            return QList<FakeEngine>{e};
        },
        1);
    QVERIFY(commit(QStringLiteral("Hang"), {QStringLiteral("AltaVista")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    for (int page = 1; page < 3; ++page) {
        m_monitor->SetPageIndex(page);
        QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));
    }
    const int oldQid = m_results.Qid();
    const auto storedBefore = m_doc->Results().results(oldQid);
    QCOMPARE(storedBefore.size(), 30);

    m_doc->UpdateQID = oldQid;
    m_doc->UpdateLevel = 3;
    m_doc->UpdateFirstNew = m_results.HitCount();
    m_results.SetQid(-1);
    QSignalSpy pages(m_monitor.get(), &CRunMonitor::showPage);
    QSignalSpy started(m_monitor.get(), &CRunMonitor::runStarted);
    QVERIFY(m_monitor->StartRun(false));
    QTRY_COMPARE(started.size(), 2); // the update's second pass, which hangs
    QVERIFY(timesOutAt(std::chrono::seconds(1)));
    QCOMPARE(m_timeouts.size(), 1);
    QCOMPARE(m_doc->UpdateQID, -1);
    QCOMPARE(m_results.Qid(), oldQid);
    QCOMPARE(m_monitor->PageIndex(), 0);
    QVERIFY(pages.size() >= 1);
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1); // the pass stored under a new QID went again
    QCOMPARE(rows.first().qid, oldQid);
    QCOMPARE(rows.first().level, 3);
    QCOMPARE(m_doc->Results().results(oldQid).size(), storedBefore.size());
    QCOMPARE(m_results.HitCount(), 30);
    QCOMPARE(m_query.m_strName, QStringLiteral("Hang"));
}

void TestRunMonitor::updateFailedSaveKeepsStoredQuery()
{
    makeMonitor([](const RetrievalParams &, int pass) {
        return QList<FakeEngine>{engine(QStringLiteral("AltaVista"), urls(QStringLiteral("a"), pass * 10, 10))};
    });
    QVERIFY(commit(QStringLiteral("Keep"), {QStringLiteral("AltaVista")}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    const int oldQid = m_results.Qid();

    // From now on no hit can be stored.
    m_doc->Database().run(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON [Query Results] "
                                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END"),
                          {}, QStringLiteral("test")).finish();
    m_doc->UpdateQID = oldQid;
    m_doc->UpdateLevel = 1;
    m_doc->UpdateFirstNew = m_results.HitCount();
    m_results.SetQid(-1);
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::SaveFailed));
    QCOMPARE(m_prompt.messages, QStringList{QStringLiteral("Error!  Failed to insert Query Results")});
    QCOMPARE(m_completions.size(), 1); // only the first run's
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().qid, oldQid);
    QCOMPARE(m_doc->Results().results(oldQid).size(), 10);
    QCOMPARE(m_doc->UpdateQID, -1);
    QCOMPARE(m_results.Qid(), oldQid);
    QCOMPARE(m_results.HitCount(), 10);
}

// Each hit names every engine that returned its address, through a more run and an update,
// in memory and as stored.
void TestRunMonitor::enginesOfHitsKeptByMoreAndUpdate()
{
    const QString av = QStringLiteral("AltaVista");
    const QString ex = QStringLiteral("Excite");
    makeMonitor([av, ex](const RetrievalParams &, int pass) {
        switch (pass) {
        case 0:
            return QList<FakeEngine>{engine(av, urls(QStringLiteral("a"), 0, 5)),
                                     engine(ex, urls(QStringLiteral("e"), 0, 3) << QStringLiteral("HTTP://A.EXAMPLE/1"))};
        case 1: // more
            return QList<FakeEngine>{engine(av, urls(QStringLiteral("a"), 5, 1)),
                                     engine(ex, QStringList{QStringLiteral("http://a.example/0")} << urls(QStringLiteral("e"), 3, 1))};
        case 2: // the update's first pass: one new hit from both, an old one found again
            return QList<FakeEngine>{engine(av, QStringList{QStringLiteral("http://n.example/0"), QStringLiteral("http://a.example/2")}),
                                     engine(ex, QStringList{QStringLiteral("http://N.example/0"), QStringLiteral("http://a.example/2")})};
        default: // and its second
            return QList<FakeEngine>{engine(av, QStringList{QStringLiteral("http://e.example/0")}),
                                     engine(ex, QStringList{QStringLiteral("http://e.example/0")})};
        }
    });
    QVERIFY(commit(QStringLiteral("Origins"), {av, ex}));
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    auto enginesOf = [this](const QString &url) {
        const qsizetype i = ResultsTestSupport::urls(m_results).indexOf(url);
        return i < 0 ? QStringList{QStringLiteral("missing")} : m_results.engines(int(i));
    };
    QCOMPARE(m_results.HitCount(), 8);
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/1")), (QStringList{av, ex}));
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/0")), QStringList{av});
    QCOMPARE(enginesOf(QStringLiteral("http://e.example/0")), QStringList{ex});

    m_monitor->SetPageIndex(1);
    QVERIFY(runToEnd(true, CRunMonitor::Outcome::Completed));
    QCOMPARE(m_results.HitCount(), 10);
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/0")), (QStringList{av, ex}));
    QCOMPARE(enginesOf(QStringLiteral("http://e.example/3")), QStringList{ex});
    const int oldQid = m_results.Qid();

    // Update Query on the stored form, as the tree's selection loads it.
    CStoredQueryResults(*m_doc).load(m_results, oldQid);
    m_results.SetQid(oldQid);
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/0")), (QStringList{av, ex}));
    CStoredQueryDefinition(m_doc->Database()).load(oldQid, m_query);
    m_doc->PrepareUpdate(m_results);
    QVERIFY(runToEnd(false, CRunMonitor::Outcome::Completed));
    QCOMPARE(m_results.HitCount(), 11);
    // The new hit comes first with both its engines; old hits keep theirs and gain new ones.
    QCOMPARE(ResultsTestSupport::urls(m_results).first(), QStringLiteral("http://n.example/0"));
    QCOMPARE(m_results.engines(0), (QStringList{av, ex}));
    QCOMPARE(ResultsTestSupport::newFlags(m_results).first(), 1);
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/2")), (QStringList{av, ex}));
    QCOMPARE(enginesOf(QStringLiteral("http://e.example/0")), (QStringList{ex, av}));
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/1")), (QStringList{av, ex}));
    QCOMPARE(enginesOf(QStringLiteral("http://a.example/5")), QStringList{av});
    QCOMPARE(ResultsTestSupport::engineLists(m_results).size(), ResultsTestSupport::urls(m_results).size());

    // Stored as shown.
    CTrawlexQueryResults stored;
    CStoredQueryResults(*m_doc).load(stored, m_results.Qid());
    QCOMPARE(ResultsTestSupport::urls(stored), ResultsTestSupport::urls(m_results));
    QCOMPARE(ResultsTestSupport::engineLists(stored), ResultsTestSupport::engineLists(m_results));
}

QTEST_GUILESS_MAIN(TestRunMonitor)
#include "tst_run_monitor.moc"
