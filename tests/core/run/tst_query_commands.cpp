#include "ScriptedRetrieval.h"
#include "StoreRecordingPrompt.h"
#include "TestDatabase.h"

#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "store/CTrawlexDoc.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kNoSession = QStringLiteral("Error!  Internet session must be active to do query.");

// The commands over a fresh tx.mdb, with runs played by the test.
struct Commands
{
    QTemporaryDir dir;
    StoreRecordingPrompt prompt;
    CTrawlexDoc doc;
    std::unique_ptr<CRunMonitor> monitor;
    std::unique_ptr<CQueryCommands> commands;
    ScriptedRetrieval *retrieval = nullptr;
    CRunMonitor::Limits limits;

    bool open()
    {
        if (!doc.OpenDatabase(TestDatabase::copyPrebuilt(dir), &prompt))
            return false;
        doc.LoadEngineAddressList();
        monitor = std::make_unique<CRunMonitor>(doc, prompt);
        auto scripted = std::make_unique<ScriptedRetrieval>();
        retrieval = scripted.get();
        monitor->SetRetrieval(std::move(scripted));
        commands = std::make_unique<CQueryCommands>(doc, prompt);
        commands->setRunMonitor(monitor.get());
        commands->setLimits([this] { return limits; });
        return true;
    }
    // A query on AltaVista committed through the sheet's OK and run to its end with hits.
    int storeQuery(const QString &name, const QStringList &urls)
    {
        CQuerySheetEntries entries;
        entries.m_strName = name;
        entries.m_keywordEntries = {QStringLiteral("include:") + name};
        entries.m_engines = {QStringLiteral("AltaVista")};
        if (commands->commitSheet(entries) != CQueryCommands::Commit::Committed || !commands->runCommitted())
            return -1;
        QSignalSpy finished(monitor.get(), &CRunMonitor::runFinished);
        for (const QString &url : urls)
            retrieval->hit(url);
        retrieval->end(QStringLiteral("AltaVista"), int(urls.size()));
        if (finished.count() != 1
            || finished.first().first().value<CRunMonitor::Outcome>() != CRunMonitor::Outcome::Completed)
            return -1;
        return commands->shownQueryId();
    }
    // The connection counts as dial-up, and no dial-up link is up here: no run can start.
    void loseSession() { limits.directConnection = false; }
};

} // namespace

class TestQueryCommands : public QObject
{
    Q_OBJECT

private slots:
    void runThatCannotStartLeavesCommandsUsable();
    void updateAndMoreKeepTheStoredQuery();
    void limitsAreReadAtEveryStart();
    void deleteForgetsOnlyTheHitsOnShow();
    void databaseFailuresAreReportedOnce();
};

void TestQueryCommands::runThatCannotStartLeavesCommandsUsable()
{
    Commands c;
    QVERIFY(c.open());
    c.loseSession();
    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("coffee");
    entries.m_keywordEntries = {QStringLiteral("include:coffee")};
    entries.m_engines = {QStringLiteral("AltaVista")};
    QCOMPARE(c.commands->commitSheet(entries), CQueryCommands::Commit::Committed);
    QVERIFY(c.commands->isRunning());
    QVERIFY(!c.commands->runCommitted());
    QVERIFY(!c.commands->isRunning());
    QCOMPARE(c.prompt.messages, QStringList{kNoSession});
    QCOMPARE(c.retrieval->starts(), 0);

    // A rule's refusal is told apart from a failure: the command line exits differently.
    entries.m_engines.clear();
    QCOMPARE(c.commands->commitSheet(entries), CQueryCommands::Commit::Refused);
}

void TestQueryCommands::updateAndMoreKeepTheStoredQuery()
{
    Commands c;
    QVERIFY(c.open());
    const int qid = c.storeQuery(QStringLiteral("tea"), {QStringLiteral("http://a.example/1"), QStringLiteral("http://a.example/2")});
    QVERIFY(qid > 0);
    QVERIFY(c.commands->showStoredQuery(qid));
    QCOMPARE(c.commands->results().HitCount(), 2);

    // An update that cannot start puts the stored query back on show, usable.
    c.loseSession();
    QVERIFY(!c.commands->updateQuery(qid));
    QCOMPARE(c.commands->shownQueryId(), qid);
    QVERIFY(!c.commands->isRunning());

    // More counts the hits held, so progress is measured from there, and extends the same query.
    c.limits.directConnection = true;
    QVERIFY(c.commands->moreResults());
    QCOMPARE(c.commands->results().SavedCount(), 2);
    QCOMPARE(c.commands->shownQueryId(), qid);
    QCOMPARE(c.retrieval->starts(), 2);
    c.retrieval->hit(QStringLiteral("http://a.example/3"));
    c.retrieval->end(QStringLiteral("AltaVista"), 1);
    QVERIFY(!c.commands->isRunning());
    QVERIFY(c.commands->showStoredQuery(qid));
    QCOMPARE(c.commands->results().HitCount(), 3);

    // An update that runs marks what it finds and replaces the stored query when it completes.
    QVERIFY(c.commands->updateQuery(qid));
    c.retrieval->hit(QStringLiteral("http://a.example/4"));
    c.retrieval->end(QStringLiteral("AltaVista"), 1);
    // Passes go on while they bring new hits, up to the level More reached.
    for (int pass = 0; pass < 3 && c.commands->isRunning(); ++pass)
        c.retrieval->end(QStringLiteral("AltaVista"), 0);
    QVERIFY(!c.commands->isRunning());
    const std::optional<int> newest = c.commands->newestQueryId();
    QVERIFY(newest);
    QVERIFY(c.commands->showStoredQuery(*newest));
    QCOMPARE(c.commands->results().HitCount(), 4);
    QCOMPARE(c.commands->results().Hits().first().url, QStringLiteral("http://a.example/4"));
    QVERIFY(c.commands->results().Hits().first().isNew);
    QVERIFY(!c.commands->showStoredQuery(qid)); // replaced
    QCOMPARE(c.prompt.messages.size(), 2);
    QCOMPARE(c.prompt.messages.first(), kNoSession);
}

void TestQueryCommands::limitsAreReadAtEveryStart()
{
    Commands c;
    QVERIFY(c.open());
    c.limits.maxConns = 1;
    const int qid = c.storeQuery(QStringLiteral("milk"), {QStringLiteral("http://m.example/1")});
    QVERIFY(qid > 0);
    QCOMPARE(c.retrieval->maxConns, 1);
    // Changed settings take effect with the next run, More included.
    c.limits.maxConns = 3;
    QVERIFY(c.commands->moreResults());
    QCOMPARE(c.retrieval->maxConns, 3);
}

void TestQueryCommands::deleteForgetsOnlyTheHitsOnShow()
{
    Commands c;
    QVERIFY(c.open());
    const int shown = c.storeQuery(QStringLiteral("bread"), {QStringLiteral("http://b.example/1")});
    const int other = c.storeQuery(QStringLiteral("butter"), {QStringLiteral("http://b.example/2")});
    QVERIFY(shown > 0 && other > 0);
    QVERIFY(c.commands->showStoredQuery(shown));

    QVERIFY(c.commands->deleteQuery(other));
    QCOMPARE(c.commands->shownQueryId(), shown);
    QCOMPARE(c.commands->results().HitCount(), 1);

    QVERIFY(c.commands->deleteQuery(shown));
    QCOMPARE(c.commands->shownQueryId(), -1);
    QCOMPARE(c.commands->results().HitCount(), 0);
    QCOMPARE(c.commands->newestQueryId(), std::optional<int>(-1));
    QVERIFY(c.prompt.messages.isEmpty());
}

void TestQueryCommands::databaseFailuresAreReportedOnce()
{
    Commands c;
    QVERIFY(c.open());
    QVERIFY(!c.commands->showStoredQuery(4242));
    QCOMPARE(c.prompt.messages.size(), 1);
    QVERIFY(c.prompt.messages.first().startsWith(QStringLiteral("DAO error")));
    QVERIFY(!c.commands->loadQuery(4242));
    QCOMPARE(c.prompt.messages.size(), 2);
    QVERIFY(!c.commands->isRunning());
}

QTEST_GUILESS_MAIN(TestQueryCommands)
#include "tst_query_commands.moc"
