// The run monitor on the real engine threads against the engine simulator: Stop must end a
// run at once, hand back every packet and store nothing, whatever the engines are doing.

#include "RunEngineSim.h"

#include "app/IUserPrompt.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDoc.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class QuietPrompt final : public IUserPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &) override { return false; }
    QStringList messages;
};

CQuerySheetEntries allEngines(const QString &name)
{
    CQuerySheetEntries entries;
    entries.m_strName = name;
    entries.m_keywordEntries = {QStringLiteral("include:travel")};
    entries.m_engines = {QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("HotBot"),
                         QStringLiteral("InfoSeek"), QStringLiteral("Lycos"), QStringLiteral("Magellan"),
                         QStringLiteral("Yahoo")};
    return entries;
}

} // namespace

class TestRunStop final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void stopWhileEnginesTrickle();
    void stopFromInsideAHit();
    void completesAfterAStoppedRun();

private:
    bool open(const QStringList &faults);

    QTemporaryDir m_dir;
    RunEngineSim m_sim;
    std::unique_ptr<CTrawlexDoc> m_doc;
    QuietPrompt m_prompt;
};

bool TestRunStop::open(const QStringList &faults)
{
    m_doc.reset();
    m_sim.stop();
    QStringList args;
    for (const QString &f : faults)
        args << QStringLiteral("--fault") << f;
    if (!m_sim.start(args))
        return false;
    const QString path = m_dir.filePath(QStringLiteral("tx-%1.mdb").arg(m_sim.port()));
    if (!m_sim.createDatabase(path))
        return false;
    m_doc = std::make_unique<CTrawlexDoc>();
    if (!m_doc->OpenDatabase(path, &m_prompt))
        return false;
    m_doc->LoadEngineAddressList();
    return true;
}

void TestRunStop::stopWhileEnginesTrickle()
{
    QVERIFY(open({QStringLiteral("all=trickle:20")}));
    CRunMonitor monitor(*m_doc, m_prompt);
    monitor.SetLimits({true, 4, 30});
    QSignalSpy finished(&monitor, &CRunMonitor::runFinished);
    QVERIFY(monitor.CommitQuerySheet(allEngines(QStringLiteral("Trickle"))));
    QVERIFY(monitor.StartRun(false));
    QTest::qWait(300); // four engines connected and reading, one byte at a time

    QElapsedTimer clock;
    clock.start();
    monitor.Stop();
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Stopped);
    QVERIFY(!monitor.IsRunning());
    QVERIFY(!m_doc->ResultsSet().IsRunning());
    QVERIFY(m_doc->MainQueries().allQueries().isEmpty());
    QVERIFY(m_prompt.messages.isEmpty());
}

void TestRunStop::stopFromInsideAHit()
{
    // Engines answer at once: when the first hit is taken, the others are blocked on their
    // Done events in the queue. Stop from the hit's own signal must still hand them all back.
    QVERIFY(open({}));
    CRunMonitor monitor(*m_doc, m_prompt);
    monitor.SetLimits({true, 4, 30});
    QSignalSpy finished(&monitor, &CRunMonitor::runFinished);
    bool stopped = false;
    connect(&monitor, &CRunMonitor::progress, this, [&monitor, &stopped](int) {
        if (!stopped) {
            stopped = true;
            monitor.Stop();
        }
    });
    QVERIFY(monitor.CommitQuerySheet(allEngines(QStringLiteral("Inside"))));
    QVERIFY(monitor.StartRun(false));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Stopped);
    QTest::qWait(200); // nothing may arrive after the stop
    QCOMPARE(finished.size(), 1);
    QVERIFY(m_doc->MainQueries().allQueries().isEmpty());
    QVERIFY(m_doc->ResultsSet().Level() == 0);
}

void TestRunStop::completesAfterAStoppedRun()
{
    // The same monitor runs again after a stop, and that run completes and is stored.
    QVERIFY(open({}));
    CRunMonitor monitor(*m_doc, m_prompt);
    monitor.SetLimits({true, 4, 30});
    QSignalSpy finished(&monitor, &CRunMonitor::runFinished);
    QVERIFY(monitor.CommitQuerySheet(allEngines(QStringLiteral("Twice"))));
    QVERIFY(monitor.StartRun(false));
    monitor.Stop();
    QCOMPARE(finished.size(), 1);
    QVERIFY(monitor.StartRun(false));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.last().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Completed);
    const auto rows = m_doc->MainQueries().allQueries();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().level, 1);
    QVERIFY(m_doc->ResultsSet().HitCount() > 0);
}

QTEST_GUILESS_MAIN(TestRunStop)
#include "tst_run_stop.moc"
