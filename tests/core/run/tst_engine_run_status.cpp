// The engine list of a run: the groups the supervisor asks in, how each engine ended, what a
// time-out or Stop leaves, the times over several passes, and the lists kept per stored query;
// then the same fed by a real run monitor.
#include "ScriptedRetrieval.h"
#include "TestDatabase.h"

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CEngineRunStatus.h"
#include "run/CRunMonitor.h"
#include "store/CTrawlexDoc.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using State = CEngineRunStatus::State;
using Outcome = CRunMonitor::Outcome;

namespace {
class SilentPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &) override { return true; }
    QStringList messages;
};

QList<State> states(const CEngineRunStatus &status)
{
    QList<State> list;
    for (int i = 0; i < status.engineCount(); ++i)
        list << status.row(i).state;
    return list;
}

QString cell(const CEngineRunStatus &status, int row, int column)
{
    return status.data(status.index(row, column)).toString();
}

const QStringList kFive{"AltaVista", "Excite", "HotBot", "Lycos", "Yahoo"};
} // namespace

class TestEngineRunStatus final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void asksInGroupsOfMaxConns();
    void endStates_data();
    void endStates();
    void leftoversAtTheRunsEnd_data();
    void leftoversAtTheRunsEnd();
    void passesAddUp();
    void keptForTheStoredQuery();
    void summaries();
    void elapsedText_data();
    void elapsedText();
    void unknownAndRepeatedNames();
    void fedByTheRunMonitor();
    void monitorTimeOutAndSkip();

private:
    qint64 m_now = 0;
    std::unique_ptr<CEngineRunStatus> m_status;
};

void TestEngineRunStatus::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale::c());
}

void TestEngineRunStatus::init()
{
    m_now = 1000;
    m_status = std::make_unique<CEngineRunStatus>();
    m_status->setClock([this] { return m_now; });
    // Checks every signal and index the model gives against Qt's rules for item models.
    new QAbstractItemModelTester(m_status.get(), QAbstractItemModelTester::FailureReportingMode::QtTest, m_status.get());
}

void TestEngineRunStatus::asksInGroupsOfMaxConns()
{
    m_status->beginPass(kFive, 2);
    QVERIFY(m_status->isRunning());
    QCOMPARE(states(*m_status), (QList<State>{State::Asking, State::Asking, State::Waiting, State::Waiting, State::Waiting}));
    QCOMPARE(cell(*m_status, 2, CEngineRunStatus::StateColumn), QStringLiteral("waiting"));
    QCOMPARE(cell(*m_status, 2, CEngineRunStatus::TimeColumn), QString());

    // One of a group ending does not start the next: the supervisor waits for the whole group.
    m_now += 400;
    m_status->endEngine(QStringLiteral("Excite"), 7, QString());
    QCOMPARE(states(*m_status), (QList<State>{State::Asking, State::Answered, State::Waiting, State::Waiting, State::Waiting}));
    m_now += 600;
    m_status->endEngine(QStringLiteral("AltaVista"), 10, QString());
    QCOMPARE(states(*m_status), (QList<State>{State::Answered, State::Answered, State::Asking, State::Asking, State::Waiting}));
    QCOMPARE(m_status->row(0).elapsedMs, 1000);
    QCOMPARE(m_status->row(1).elapsedMs, 400);
    // The second group's clock starts when it is asked, not with the pass.
    m_now += 250;
    QCOMPARE(m_status->elapsedMs(2), 250);
    QCOMPARE(m_status->data(m_status->index(2, 0), CEngineRunStatus::ElapsedRole).toLongLong(), 250);

    m_status->endEngine(QStringLiteral("HotBot"), 3, QString());
    m_status->endEngine(QStringLiteral("Lycos"), 0, QString());
    QCOMPARE(m_status->row(4).state, State::Asking);
    m_status->endEngine(QStringLiteral("Yahoo"), 1, QString());
    QCOMPARE(cell(*m_status, 3, CEngineRunStatus::StateColumn), QStringLiteral("no hits"));
    QCOMPARE(cell(*m_status, 4, CEngineRunStatus::StateColumn), QStringLiteral("1 hit"));
    QCOMPARE(cell(*m_status, 0, CEngineRunStatus::StateColumn), QStringLiteral("10 hits"));
    QCOMPARE(m_status->data(m_status->index(0, 0), CEngineRunStatus::HitsRole).toInt(), 10);
}

void TestEngineRunStatus::endStates_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("counted");

    QTest::newRow("answered") << 12 << QString() << int(State::Answered) << "12 hits" << false;
    QTest::newRow("refused") << -1 << "connection refused" << int(State::Failed) << "failed" << true;
    QTest::newRow("bad page") << -1 << "HTTP 500 Internal Server Error" << int(State::Failed) << "failed" << true;
    QTest::newRow("own time limit") << -1 << "no answer within 60 seconds" << int(State::TimedOut) << "timed out" << true;
    QTest::newRow("no reason") << -1 << QString() << int(State::Failed) << "failed" << true;
}

void TestEngineRunStatus::endStates()
{
    QFETCH(int, count);
    QFETCH(QString, reason);
    QFETCH(int, state);
    QFETCH(QString, text);
    QFETCH(bool, counted);

    m_status->beginPass({QStringLiteral("Excite"), QStringLiteral("Lycos")}, 4);
    m_status->endEngine(QStringLiteral("Lycos"), count, reason);
    QCOMPARE(int(m_status->row(1).state), state);
    QCOMPARE(cell(*m_status, 1, CEngineRunStatus::StateColumn), text);
    QCOMPARE(cell(*m_status, 1, CEngineRunStatus::ReasonColumn), reason);
    // A failure counts no hits.
    QCOMPARE(m_status->row(1).hits, count < 0 ? 0 : count);
    QCOMPARE(m_status->failedEngines(), counted ? QStringList{QStringLiteral("Lycos")} : QStringList{});
    if (!reason.isEmpty())
        QVERIFY(m_status->data(m_status->index(1, 0), Qt::ToolTipRole).toString().contains(reason));
    m_status->endEngine(QStringLiteral("Excite"), 4, QString());
    m_status->finishRun(Outcome::Completed, 3);
    QCOMPARE(m_status->engineCount(), 2);
    QCOMPARE(m_status->failedEngines(), counted ? QStringList{QStringLiteral("Lycos")} : QStringList{});
}

void TestEngineRunStatus::leftoversAtTheRunsEnd_data()
{
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("askingBecomes");
    QTest::addColumn<QStringList>("failed");

    QTest::newRow("time-out") << int(Outcome::TimedOut) << int(State::TimedOut) << QStringList{"HotBot", "Lycos"};
    QTest::newRow("stop") << int(Outcome::Stopped) << int(State::Stopped) << QStringList{};
}

void TestEngineRunStatus::leftoversAtTheRunsEnd()
{
    QFETCH(int, outcome);
    QFETCH(int, askingBecomes);
    QFETCH(QStringList, failed);

    m_status->beginPass(kFive, 2);
    m_status->endEngine(QStringLiteral("AltaVista"), 5, QString());
    m_status->endEngine(QStringLiteral("Excite"), 5, QString());
    m_now += 3000;
    m_status->finishRun(Outcome(outcome), -1);
    QVERIFY(!m_status->isRunning());
    // The engines being asked ran out of time or were stopped; the last one was never asked.
    QCOMPARE(states(*m_status), (QList<State>{State::Answered, State::Answered, State(askingBecomes),
                                              State(askingBecomes), State::NotAsked}));
    QCOMPARE(m_status->row(2).elapsedMs, 3000);
    QVERIFY(!m_status->row(4).reason.isEmpty());
    QCOMPARE(cell(*m_status, 4, CEngineRunStatus::TimeColumn), QString());
    QCOMPARE(m_status->failedEngines(), failed);
    // No clock runs on after the end.
    m_now += 5000;
    QCOMPARE(m_status->elapsedMs(2), 3000);
    // Nothing stored: the list stays on show for the unsaved run.
    QVERIFY(m_status->hasRun());
    QCOMPARE(m_status->engineCount(), 5);
}

void TestEngineRunStatus::passesAddUp()
{
    // An update asks every engine again while new hits come; the run's list sums the passes.
    m_status->beginPass({QStringLiteral("Excite"), QStringLiteral("Lycos")}, 4);
    m_now += 300;
    m_status->endEngine(QStringLiteral("Excite"), 10, QString());
    m_status->endEngine(QStringLiteral("Lycos"), -1, QStringLiteral("connection refused"));
    QCOMPARE(m_status->headingText(), QStringLiteral("Asking the engines"));

    m_now += 100;
    m_status->beginPass({QStringLiteral("Excite"), QStringLiteral("Lycos")}, 4);
    QCOMPARE(m_status->headingText(), QStringLiteral("Asking the engines, pass 2"));
    QCOMPARE(states(*m_status), (QList<State>{State::Asking, State::Asking}));
    // The failure of the first pass is not this pass's.
    QVERIFY(m_status->row(1).reason.isEmpty());
    QVERIFY(m_status->failedEngines().isEmpty());
    m_now += 600;
    m_status->endEngine(QStringLiteral("Excite"), 4, QString());
    m_status->endEngine(QStringLiteral("Lycos"), 6, QString());
    m_status->finishRun(Outcome::Completed, 9);

    QCOMPARE(m_status->row(0).hits, 14);
    QCOMPARE(m_status->row(0).elapsedMs, 900);
    QCOMPARE(m_status->row(1).hits, 6);
    QCOMPARE(m_status->row(1).elapsedMs, 900);
    QVERIFY(m_status->headingText().startsWith(QLatin1String("Run completed at ")));
    QVERIFY(m_status->headingText().endsWith(QLatin1String(", 2 passes")));

    // The next run starts from nothing.
    m_status->beginPass({QStringLiteral("Excite")}, 4);
    QCOMPARE(m_status->engineCount(), 1);
    QCOMPARE(m_status->row(0).hits, 0);
    QCOMPARE(m_status->headingText(), QStringLiteral("Asking the engines"));
}

void TestEngineRunStatus::keptForTheStoredQuery()
{
    QCOMPARE(m_status->headingText(), QStringLiteral("No query run this session."));
    QVERIFY(!m_status->hasRun());

    m_status->beginPass({QStringLiteral("Excite"), QStringLiteral("Yahoo")}, 4);
    m_status->endEngine(QStringLiteral("Excite"), 3, QString());
    m_status->endEngine(QStringLiteral("Yahoo"), -1, QStringLiteral("connection reset"));
    // Another query shown during the run does not take the list away.
    m_status->showQuery(4);
    QVERIFY(m_status->isRunning());
    QCOMPARE(m_status->engineCount(), 2);
    m_status->finishRun(Outcome::Completed, 7);
    QCOMPARE(m_status->shownQueryId(), 7);

    QSignalSpy changed(m_status.get(), &CEngineRunStatus::summaryChanged);
    m_status->showQuery(4);
    QCOMPARE(changed.size(), 1);
    QVERIFY(!m_status->hasRun());
    QCOMPARE(m_status->engineCount(), 0);
    QVERIFY(m_status->failedEngines().isEmpty());
    QCOMPARE(m_status->headingText(), QStringLiteral("No run of this query this session."));
    QCOMPARE(m_status->summaryText(), QString());
    // The same query again changes nothing.
    m_status->showQuery(4);
    QCOMPARE(changed.size(), 1);

    m_status->showQuery(7);
    QVERIFY(m_status->hasRun());
    QCOMPARE(m_status->engineCount(), 2);
    QCOMPARE(m_status->failedEngines(), QStringList{QStringLiteral("Yahoo")});
    QCOMPARE(cell(*m_status, 1, CEngineRunStatus::ReasonColumn), QStringLiteral("connection reset"));

    // A later run of another query keeps both lists apart.
    m_status->beginPass({QStringLiteral("Lycos")}, 4);
    m_status->endEngine(QStringLiteral("Lycos"), 2, QString());
    m_status->finishRun(Outcome::Completed, 8);
    m_status->showQuery(7);
    QCOMPARE(m_status->row(0).engine, QStringLiteral("Excite"));
    m_status->showQuery(8);
    QCOMPARE(m_status->engineCount(), 1);
    QCOMPARE(m_status->row(0).engine, QStringLiteral("Lycos"));
}

void TestEngineRunStatus::summaries()
{
    QCOMPARE(m_status->summaryText(), QString());
    m_status->beginPass(kFive, 4);
    QCOMPARE(m_status->summaryText(), QStringLiteral("Engines: 0 of 5 done"));
    m_status->endEngine(QStringLiteral("Excite"), 2, QString());
    m_status->endEngine(QStringLiteral("HotBot"), -1, QStringLiteral("connection refused"));
    QCOMPARE(m_status->summaryText(), QStringLiteral("Engines: 2 of 5 done, 1 failed"));
    m_status->skipEngine(QStringLiteral("Yahoo"));
    QCOMPARE(m_status->row(4).state, State::NotAsked);
    QCOMPARE(m_status->summaryText(), QStringLiteral("Engines: 3 of 5 done, 1 failed"));
    m_status->endEngine(QStringLiteral("Lycos"), -1, QStringLiteral("no answer within 45 seconds"));
    m_status->finishRun(Outcome::Stopped, 2);
    QCOMPARE(m_status->summaryText(), QStringLiteral("5 engines: 1 answered, 1 failed, 1 timed out, 1 stopped, 1 not asked"));
    QVERIFY(m_status->headingText().startsWith(QLatin1String("Run stopped at ")));

    m_status->beginPass({QStringLiteral("Excite")}, 4);
    m_status->endEngine(QStringLiteral("Excite"), 1, QString());
    m_status->finishRun(Outcome::SaveFailed, -1);
    QCOMPARE(m_status->summaryText(), QStringLiteral("1 engine: 1 answered"));
    QVERIFY(m_status->headingText().endsWith(QLatin1String("; its results could not be stored")));
}

void TestEngineRunStatus::elapsedText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << qint64(0) << "0.0 s";
    QTest::newRow("fraction") << qint64(1249) << "1.2 s";
    QTest::newRow("below ten") << qint64(9949) << "9.9 s";
    QTest::newRow("ten") << qint64(10000) << "10 s";
    QTest::newRow("rounded") << qint64(59499) << "59 s";
    QTest::newRow("a minute") << qint64(59500) << "1 min 00 s";
    QTest::newRow("minutes") << qint64(6 * 60000 + 5000) << "6 min 05 s";
    QTest::newRow("negative") << qint64(-1) << "";
}

void TestEngineRunStatus::elapsedText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(CEngineRunStatus::elapsedText(ms), text);
}

void TestEngineRunStatus::unknownAndRepeatedNames()
{
    // A name twice is asked once; an end from a name the pass did not list still shows.
    m_status->beginPass({QStringLiteral("Excite"), QStringLiteral("Excite"), QStringLiteral("Lycos")}, 1);
    QCOMPARE(m_status->engineCount(), 2);
    QCOMPARE(states(*m_status), (QList<State>{State::Asking, State::Waiting}));
    m_status->endEngine(QStringLiteral("HotBotRepeat"), 4, QString());
    QCOMPARE(m_status->engineCount(), 3);
    QCOMPARE(m_status->row(2).state, State::Answered);
    // An engine ending before its turn, as this list saw it, is not asked again.
    m_status->endEngine(QStringLiteral("Lycos"), 1, QString());
    m_status->endEngine(QStringLiteral("Excite"), 2, QString());
    QCOMPARE(states(*m_status), (QList<State>{State::Answered, State::Answered, State::Answered}));
    // Reports after the end belong to no run.
    m_status->finishRun(Outcome::Completed, 1);
    m_status->endEngine(QStringLiteral("Excite"), 50, QString());
    QCOMPARE(m_status->row(0).hits, 2);
}

namespace {
struct MonitorRun
{
    QTemporaryDir dir;
    SilentPrompt prompt;
    CTrawlexDoc doc;
    CTrawlexQuery query;
    CTrawlexQueryResults results;
    std::unique_ptr<CRunMonitor> monitor;
    ScriptedRetrieval *retrieval = nullptr;

    bool open(int maxConns)
    {
        if (!doc.OpenDatabase(TestDatabase::copyPrebuilt(dir), &prompt))
            return false;
        doc.LoadEngineAddressList();
        monitor = std::make_unique<CRunMonitor>(doc, query, results, prompt);
        auto scripted = std::make_unique<ScriptedRetrieval>();
        retrieval = scripted.get();
        monitor->SetRetrieval(std::move(scripted));
        CRunMonitor::Limits limits;
        limits.maxConns = maxConns;
        monitor->SetLimits(limits);
        return true;
    }
    bool start(const QStringList &engines)
    {
        CQuerySheetEntries entries;
        entries.m_strName = QStringLiteral("Apples");
        entries.m_keywordEntries = {QStringLiteral("include:apple")};
        entries.m_engines = engines;
        return monitor->CommitQuerySheet(entries) && monitor->StartRun(false);
    }
};
} // namespace

void TestEngineRunStatus::fedByTheRunMonitor()
{
    MonitorRun run;
    QVERIFY(run.open(2));
    m_status->watch(*run.monitor, run.results);
    QVERIFY(run.start({QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("Lycos")}));
    QCOMPARE(states(*m_status), (QList<State>{State::Asking, State::Asking, State::Waiting}));

    run.retrieval->hit(QStringLiteral("http://a.example/1"));
    run.retrieval->end(QStringLiteral("AltaVista"), 1);
    run.retrieval->end(QStringLiteral("Excite"), -1, QStringLiteral("connection refused"));
    QCOMPARE(m_status->row(2).state, State::Asking);
    run.retrieval->hit(QStringLiteral("http://l.example/1"));
    run.retrieval->hit(QStringLiteral("http://l.example/2"));
    run.retrieval->end(QStringLiteral("Lycos"), 2);

    // Completed and stored: the list belongs to the stored query.
    QVERIFY(!run.monitor->IsRunning());
    QVERIFY(run.results.Qid() != -1);
    QVERIFY(!m_status->isRunning());
    QCOMPARE(m_status->shownQueryId(), run.results.Qid());
    QCOMPARE(m_status->engineCount(), 3);
    QCOMPARE(m_status->failedEngines(), QStringList{QStringLiteral("Excite")});
    QCOMPARE(m_status->row(2).hits, 2);
    // The completion message names the same engines the list marks as failed.
    QCOMPARE(m_status->failedEngines(), run.results.EngineLevels().failed);
}

void TestEngineRunStatus::monitorTimeOutAndSkip()
{
    MonitorRun run;
    QVERIFY(run.open(4));
    m_status->watch(*run.monitor, run.results);
    QVERIFY(run.start({QStringLiteral("Excite"), QStringLiteral("Yahoo")}));
    run.retrieval->skip(QStringLiteral("Yahoo"));
    QCOMPARE(m_status->row(1).state, State::NotAsked);
    QCOMPARE(m_status->row(1).reason, QStringLiteral("no further page to ask for"));
    // Excite never answers: Stop leaves it stopped.
    run.monitor->Stop();
    QVERIFY(!m_status->isRunning());
    QCOMPARE(m_status->row(0).state, State::Stopped);
    QCOMPARE(m_status->shownQueryId(), -1);
    QVERIFY(m_status->hasRun());
}

QTEST_GUILESS_MAIN(TestEngineRunStatus)
#include "tst_engine_run_status.moc"
