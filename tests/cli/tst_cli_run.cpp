#include "RunCliProcess.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kAllEngines = R"(["AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"])";

QByteArray queryJson(const QByteArray &name, const QByteArray &word, const QByteArray &engines)
{
    return "{\"name\": \"" + name + "\", \"keywords\": [\"include:" + word + "\"], \"engines\": " + engines + "}";
}

struct Stored
{
    QList<CMainQueryTable::Row> rows;
    QList<CResultTables::Result> results; // of the first row
    QString yahooPath;                    // of the first row; null when none
};

Stored readStore(const QString &path)
{
    Stored s;
    CTrawlexDoc doc;
    if (!doc.OpenDatabase(path, nullptr))
        return s;
    s.rows = doc.MainQueries().allQueries();
    if (!s.rows.isEmpty()) {
        const int qid = s.rows.first().qid;
        s.results = doc.Results().results(qid);
        const QVariant yahoo = doc.Database().scalar(QStringLiteral("SELECT URL FROM [Yahoo] WHERE QID = ?"), {qid},
                                                     QStringLiteral("test"));
        if (yahoo.isValid())
            s.yahooPath = yahoo.toString();
    }
    return s;
}

int countNew(const QList<CResultTables::Result> &results)
{
    return int(std::count_if(results.cbegin(), results.cend(), [](const CResultTables::Result &r) { return r.isNew; }));
}

} // namespace

class TestCliRun final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void newQueryStoredAtLevelOne();
    void hitsNameTheEnginesThatReturnedThem();
    void moreAdvancesPagesAndYahooContinues();
    void moreSkipsYahooWithoutPath();
    void updateFindsNewHitsOverSeveralPasses();
    void updateFirstPassFindsNothing();
    void freshRunOfStoredQueryAsksToOverwrite();
    void failedEnginesNamed();
    void wholeRunTimesOut();
    void refusedQueries_data();
    void refusedQueries();
    void dialUpWithoutLinkDoesNotRun();

private:
    bool setUpDatabase(const QStringList &faults = {});
    RunCliResult run(const QStringList &args, int timeoutMs = 60000);
    QString writeQuery(const QByteArray &json);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RunEngineSim> m_sim;
    QString m_strDb;
};

void TestCliRun::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(TestPaths::engineSimProgram()), "trawlex-enginesim is not built");
}

void TestCliRun::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_strDb = m_dir->filePath(QStringLiteral("tx.mdb"));
}

void TestCliRun::cleanup()
{
    m_sim.reset();
    m_dir.reset();
}

bool TestCliRun::setUpDatabase(const QStringList &faults)
{
    m_sim = std::make_unique<RunEngineSim>();
    QStringList args;
    for (const QString &fault : faults)
        args << QStringLiteral("--fault") << fault;
    if (!m_sim->start(args))
        return false;
    const RunCliResult init = RunCliProcess::run(*m_dir, {QStringLiteral("initdb"), m_strDb, QStringLiteral("--engines-at"), m_sim->address()});
    return init.exitCode == 0;
}

RunCliResult TestCliRun::run(const QStringList &args, int timeoutMs)
{
    return RunCliProcess::run(*m_dir, QStringList{QStringLiteral("run")} + args + QStringList{QStringLiteral("--db"), m_strDb},
                              timeoutMs);
}

QString TestCliRun::writeQuery(const QByteArray &json)
{
    return RunCliProcess::writeFile(*m_dir, QStringLiteral("query.json"), json);
}

void TestCliRun::newQueryStoredAtLevelOne()
{
    QVERIFY(setUpDatabase());
    const RunCliResult r = run({writeQuery(queryJson("Travel", "travel", kAllEngines)), QStringLiteral("--max-delay"), QStringLiteral("10")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.outLines().value(0), QByteArray("Query Retrieval completed!"));
    QVERIFY(r.err.contains("Initializing\n"));
    QVERIFY(r.err.endsWith("Ready\n"));

    const QList<QByteArray> hits = r.hitLines();
    QVERIFY(hits.size() >= 10);
    for (const QByteArray &line : hits) {
        const QJsonObject hit = QJsonDocument::fromJson(line).object();
        QVERIFY2(hit.value(QStringLiteral("url")).toString().startsWith(QLatin1String("http://")), line.constData());
        QVERIFY(!hit.value(QStringLiteral("title")).toString().isEmpty());
        QCOMPARE(hit.value(QStringLiteral("new")).toBool(), false);
    }

    const Stored s = readStore(m_strDb);
    QCOMPARE(s.rows.size(), 1);
    QCOMPARE(s.rows.first().name, QStringLiteral("Travel"));
    QCOMPARE(s.rows.first().level, 1);
    for (const char *engine : {"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"})
        QVERIFY2(s.rows.first().engineLevels.contains(QStringLiteral("#%1#@1@").arg(QLatin1String(engine))),
                 qPrintable(s.rows.first().engineLevels));
    QCOMPARE(s.results.size(), hits.size());
    QCOMPARE(QJsonDocument::fromJson(hits.first()).object().value(QStringLiteral("url")).toString(), s.results.first().url);
    QVERIFY2(s.yahooPath.startsWith(QLatin1String("/bin/search?")) && s.yahooPath.endsWith(QLatin1String("b=21")),
             qPrintable(s.yahooPath));
}

void TestCliRun::hitsNameTheEnginesThatReturnedThem()
{
    QVERIFY(setUpDatabase());
    const QStringList seven{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"};
    const RunCliResult r = run({writeQuery(queryJson("Travel", "travel", kAllEngines))});
    QCOMPARE(r.exitCode, 0);
    const QList<QByteArray> hits = r.hitLines();
    QVERIFY(hits.size() >= 10);
    // The engines share one corpus, so many pages come from more than one of them.
    int shared = 0;
    QSet<QString> named;
    QList<QStringList> printed;
    for (const QByteArray &line : hits) {
        const QStringList engines = QJsonDocument::fromJson(line).object().value("engines").toVariant().toStringList();
        QVERIFY2(!engines.isEmpty(), line.constData());
        QCOMPARE(QSet<QString>(engines.cbegin(), engines.cend()).size(), engines.size());
        for (const QString &e : engines) {
            QVERIFY2(seven.contains(e), qPrintable(e)); // HotBot's repeated request is HotBot's
            named << e;
        }
        shared += engines.size() > 1 ? 1 : 0;
        printed << engines;
    }
    QVERIFY(shared > 0);
    QCOMPARE(named.size(), seven.size());

    // Stored as printed, and shown so again.
    const Stored s = readStore(m_strDb);
    QCOMPARE(s.results.size(), printed.size());
    for (int i = 0; i < printed.size(); ++i)
        QCOMPARE(s.results.at(i).engines, printed.at(i));
    const RunCliResult show = RunCliProcess::run(*m_dir, {"show", QString::number(s.rows.first().qid), "--db", m_strDb});
    QCOMPARE(show.exitCode, 0);
    QCOMPARE(show.outLines().mid(1), hits);
}

void TestCliRun::moreAdvancesPagesAndYahooContinues()
{
    QVERIFY(setUpDatabase());
    const QString query = writeQuery(queryJson("Web", "web", R"(["AltaVista", "Lycos", "Yahoo"])"));
    QCOMPARE(run({query}).exitCode, 0);
    const Stored first = readStore(m_strDb);
    const int qid = first.rows.first().qid;

    const RunCliResult more = run({QStringLiteral("--more"), QStringLiteral("--qid"), QString::number(qid)});
    QCOMPARE(more.exitCode, 0);
    QCOMPARE(more.outLines().value(0), QByteArray("Query Retrieval completed!"));
    const Stored second = readStore(m_strDb);
    QCOMPARE(second.rows.size(), 1);
    QCOMPARE(second.rows.first().qid, qid); // the same stored query grew
    QCOMPARE(second.rows.first().level, 2);
    // Items stand in the order the engines first ended, which varies.
    const QString levels = second.rows.first().engineLevels;
    QCOMPARE(levels.size(), QStringLiteral("#AltaVista#@2@#Lycos#@2@#Yahoo#@2@").size());
    for (const char *engine : {"AltaVista", "Lycos", "Yahoo"})
        QVERIFY2(levels.contains(QStringLiteral("#%1#@2@").arg(QLatin1String(engine))), qPrintable(levels));
    QVERIFY(second.results.size() > first.results.size());
    QCOMPARE(more.hitLines().size(), second.results.size());
    // Yahoo was asked for the page its stored path names, whose own next-set link follows.
    QVERIFY2(second.yahooPath.endsWith(QLatin1String("b=41")), qPrintable(second.yahooPath));
    // The hits held before keep their places.
    for (int i = 0; i < first.results.size(); ++i)
        QCOMPARE(second.results.at(i).url, first.results.at(i).url);
}

void TestCliRun::moreSkipsYahooWithoutPath()
{
    // Yahoo closes every connection without a byte: it fails at its limit, and the first run
    // stores no continuation path for it.
    QVERIFY(setUpDatabase({QStringLiteral("Yahoo=refuse")}));
    const QString query = writeQuery(queryJson("Web", "web", R"(["AltaVista", "Yahoo"])"));
    const RunCliResult first = run({query, QStringLiteral("--max-delay"), QStringLiteral("1")});
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.outLines().value(0), QByteArray("Query Retrieval completed!  Yahoo timed out."));
    const int qid = readStore(m_strDb).rows.first().qid;
    QCOMPARE(readStore(m_strDb).yahooPath, QStringLiteral(" "));

    // "More" leaves Yahoo out and counts it as ended: it is not asked, so it cannot fail.
    const RunCliResult more = run({QStringLiteral("--more"), QStringLiteral("--qid"), QString::number(qid),
                                   QStringLiteral("--max-delay"), QStringLiteral("1")});
    QCOMPARE(more.exitCode, 0);
    QCOMPARE(more.outLines().value(0), QByteArray("Query Retrieval completed!"));
    const Stored s = readStore(m_strDb);
    QCOMPARE(s.rows.first().level, 2);
    QCOMPARE(s.rows.first().engineLevels, QStringLiteral("#AltaVista#@2@#Yahoo#@1@"));
    QCOMPARE(s.yahooPath, QStringLiteral(" "));
}

void TestCliRun::updateFindsNewHitsOverSeveralPasses()
{
    QVERIFY(setUpDatabase());
    const QString query = writeQuery(queryJson("News", "news", R"(["AltaVista", "Excite"])"));
    QCOMPARE(run({query}).exitCode, 0);
    const int oldQid = readStore(m_strDb).rows.first().qid;
    QCOMPARE(run({QStringLiteral("--more"), QStringLiteral("--qid"), QString::number(oldQid)}).exitCode, 0);
    const Stored before = readStore(m_strDb);
    QCOMPARE(before.rows.first().level, 2);

    // Forget every other stored hit of both pages, as if the engines had them only now.
    int forgotten = 0;
    {
        CTrawlexDoc doc;
        QVERIFY(doc.OpenDatabase(m_strDb, nullptr));
        QSqlQuery &q = doc.Database().run(QStringLiteral("DELETE FROM [Query Results] WHERE QID = ? AND rowid % 2 = 0"),
                                          {oldQid}, QStringLiteral("test"));
        forgotten = q.numRowsAffected();
        q.finish();
    }
    QVERIFY(forgotten >= 4);

    const RunCliResult update = run({QStringLiteral("--update"), QStringLiteral("--qid"), QString::number(oldQid)});
    QCOMPARE(update.exitCode, 0);
    QCOMPARE(update.outLines().value(0), QByteArray("Query Retrieval completed!"));
    const Stored after = readStore(m_strDb);
    QCOMPARE(after.rows.size(), 1); // the old stored query was replaced
    QVERIFY(after.rows.first().qid != oldQid);
    QCOMPARE(after.rows.first().name, QStringLiteral("News"));
    QCOMPARE(after.rows.first().level, 2); // two passes, each with new hits
    QCOMPARE(after.results.size(), before.results.size());
    QCOMPARE(countNew(after.results), forgotten);

    // The new hits come first on stdout, marked.
    const QList<QByteArray> hits = update.hitLines();
    QCOMPARE(hits.size(), after.results.size());
    for (int i = 0; i < hits.size(); ++i)
        QCOMPARE(QJsonDocument::fromJson(hits.at(i)).object().value(QStringLiteral("new")).toBool(), i < forgotten);
}

void TestCliRun::updateFirstPassFindsNothing()
{
    QVERIFY(setUpDatabase());
    const QString query = writeQuery(queryJson("Home", "home", R"(["AltaVista", "Magellan"])"));
    QCOMPARE(run({query}).exitCode, 0);
    const int oldQid = readStore(m_strDb).rows.first().qid;
    QCOMPARE(run({QStringLiteral("--more"), QStringLiteral("--qid"), QString::number(oldQid)}).exitCode, 0);
    const Stored before = readStore(m_strDb);

    const RunCliResult update = run({QStringLiteral("--update"), QStringLiteral("--qid"), QString::number(oldQid)});
    QCOMPARE(update.exitCode, 0);
    const Stored after = readStore(m_strDb);
    QCOMPARE(after.rows.size(), 1);
    QVERIFY(after.rows.first().qid != oldQid);
    QCOMPARE(after.rows.first().level, 1); // one pass only
    QCOMPARE(after.results.size(), before.results.size());
    QCOMPARE(countNew(after.results), 0);
}

void TestCliRun::freshRunOfStoredQueryAsksToOverwrite()
{
    QVERIFY(setUpDatabase());
    QCOMPARE(run({writeQuery(queryJson("Travel", "travel", R"(["AltaVista"])"))}).exitCode, 0);
    const int oldQid = readStore(m_strDb).rows.first().qid;

    const RunCliResult declined = run({QStringLiteral("--qid"), QString::number(oldQid)});
    QCOMPARE(declined.exitCode, 2);
    QVERIFY(declined.err.contains("Error!  Query name already exists.  Overwrite? no"));
    QCOMPARE(readStore(m_strDb).rows.first().qid, oldQid);

    const RunCliResult again = run({QStringLiteral("--qid"), QString::number(oldQid), QStringLiteral("--overwrite")});
    QCOMPARE(again.exitCode, 0);
    const Stored s = readStore(m_strDb);
    QCOMPARE(s.rows.size(), 1);
    QVERIFY(s.rows.first().qid != oldQid);
    QCOMPARE(s.rows.first().name, QStringLiteral("Travel"));
    QCOMPARE(s.rows.first().level, 1);
}

void TestCliRun::failedEnginesNamed()
{
    QVERIFY(setUpDatabase({QStringLiteral("Excite=refuse"), QStringLiteral("Lycos=close-early"),
                           QStringLiteral("Yahoo=no-end"), QStringLiteral("HotBot=garbage")}));
    const QString query = writeQuery(queryJson("Bad", "travel", R"(["AltaVista", "Excite", "HotBot", "Lycos", "Yahoo"])"));
    // One engine at a time keeps the order of the failures fixed.
    const RunCliResult r = run({query, QStringLiteral("--max-conns"), QStringLiteral("1"), QStringLiteral("--max-delay"), QStringLiteral("1")});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.outLines().value(0), QByteArray("Query Retrieval completed!  Excite, Lycos and Yahoo timed out."));
    QVERIFY(r.elapsedMs < 5000);
    QVERIFY(r.hitLines().size() >= 10); // AltaVista's
    const Stored s = readStore(m_strDb);
    QCOMPARE(s.rows.size(), 1);
    QVERIFY(s.rows.first().engineLevels.startsWith(QLatin1String("#AltaVista#@1@")));
    QVERIFY(!s.rows.first().engineLevels.contains(QLatin1String("Excite")));
    QVERIFY(!s.rows.first().engineLevels.contains(QLatin1String("Lycos")));
    QCOMPARE(s.results.size(), r.hitLines().size());
}

void TestCliRun::wholeRunTimesOut()
{
    // One engine that never answers and a one-second limit: the run's period (one engine
    // times one second) and the engine's own limit end together. Both timers are precise and
    // the run's is armed first, so its time-out normally wins; a heavily loaded machine may
    // still let the engine's limit win an attempt, and whichever wins, the run ends within
    // its period.
    QVERIFY(setUpDatabase({QStringLiteral("all=never")}));
    const QString query = writeQuery(queryJson("Slow", "travel", R"(["AltaVista"])"));
    int timeOuts = 0;
    for (int attempt = 0; attempt < 12 && timeOuts == 0; ++attempt) {
        const RunCliResult r = run({query, QStringLiteral("--max-delay"), QStringLiteral("1"), QStringLiteral("--overwrite")});
        QVERIFY2(r.elapsedMs < 3000, qPrintable(QString::number(r.elapsedMs)));
        if (r.exitCode == 1) {
            QVERIFY(r.err.contains("Error!  Query has timed out!  Try again.\n"));
            QVERIFY(r.out.isEmpty());
            ++timeOuts;
        } else {
            QCOMPARE(r.exitCode, 0);
            QCOMPARE(r.outLines().value(0), QByteArray("Query Retrieval completed!  AltaVista timed out."));
            QCOMPARE(r.hitLines().size(), 0);
        }
    }
    QCOMPARE(timeOuts, 1);
    // A timed-out new query stores nothing; an earlier attempt's completed query stays as it was.
    const Stored s = readStore(m_strDb);
    QVERIFY(s.rows.size() <= 1);
    for (const auto &row : s.rows)
        QCOMPARE(row.level, 1);
}

void TestCliRun::refusedQueries_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("no name") << QByteArray(R"({"keywords": ["include:a"], "engines": ["AltaVista"]})")
                             << QByteArray("Error!  Missing name of query.\n");
    QTest::newRow("no engine") << QByteArray(R"({"name": "x", "keywords": ["include:a"]})")
                               << QByteArray("Error!  No Search engine selected.\n");
    QTest::newRow("nothing included") << QByteArray(R"({"name": "x", "keywords": ["optional:a"], "engines": ["AltaVista"]})")
                                      << QByteArray("Error!  At least one keyword must be included in search to be meaningful.\n");
    QTest::newRow("groups on Yahoo")
        << QByteArray(R"({"name": "x", "keywords": ["include:a"], "groups": ["include:g"], "members": ["g:include:b"], "engines": ["Yahoo"]})")
        << QByteArray("Error!  The following search engines do not allow groups:  Yahoo\n");
    QTest::newRow("malformed file") << QByteArray("{\"name\": ") << QByteArray("query.json");
}

void TestCliRun::refusedQueries()
{
    QFETCH(QByteArray, json);
    QFETCH(QByteArray, message);
    QVERIFY(setUpDatabase());
    const RunCliResult r = run({writeQuery(json)});
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QVERIFY(r.out.isEmpty());
    QVERIFY(readStore(m_strDb).rows.isEmpty());
}

void TestCliRun::dialUpWithoutLinkDoesNotRun()
{
    QVERIFY(setUpDatabase());
    QDir(m_dir->path()).mkpath(QStringLiteral("config/Quorvel Software"));
    QVERIFY(!RunCliProcess::writeFile(*m_dir, QStringLiteral("config/Quorvel Software/Trawlex.conf"),
                                      "[Version%201.12]\nTXconn=Dial\n").isEmpty());
    const RunCliResult r = run({writeQuery(queryJson("Dial", "travel", R"(["AltaVista"])"))});
    if (r.exitCode == 0)
        QSKIP("this machine has a point-to-point link up");
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("Error!  Internet session must be active to do query.\n"));
    QVERIFY(readStore(m_strDb).rows.isEmpty());
}

QTEST_GUILESS_MAIN(TestCliRun)
#include "tst_cli_run.moc"
