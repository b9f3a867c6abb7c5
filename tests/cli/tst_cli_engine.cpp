// Engines of today through the command line, against the simulator over HTTP and HTTPS:
// adding them every way, the refusals, a run that mixes them with the seven, More, Update and
// removal, the transport's failures with their reasons, and an older database.
#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "store/CSchemaMigration.h"
#include "RunCliProcess.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString scalarText(const QString &db, const QString &sql)
{
    QString value;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        c.setDatabaseName(db);
        if (c.open()) {
            QSqlQuery q(c);
            if (q.exec(sql) && q.next())
                value = q.value(0).toString();
        }
        c.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return value;
}

} // namespace

class TestCliEngine final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(QFile::exists(TestPaths::engineSimProgram()), "trawlex-enginesim is not built");
    }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_db = m_dir->filePath(QStringLiteral("tx.mdb"));
        qunsetenv("TRAWLEX_CA_CERTIFICATES");
    }

    void cleanup()
    {
        m_sim.reset();
        m_dir.reset();
        qunsetenv("TRAWLEX_CA_CERTIFICATES");
    }

    void addsEveryWay()
    {
        QVERIFY(setUp());
        trust();
        QCOMPARE(engine({"add", m_sim->httpsBase() + "/opensearch/atom.xml", "--name", "Sim Atom"}).exitCode, 0);
        QCOMPARE(engine({"add", m_sim->httpBase() + "/searx/", "--instance", "--name", "Sim Searx"}).exitCode, 0);
        QCOMPARE(engine({"add", m_sim->httpsBase() + "/opensearch/post.xml", "--name", "Sim Post"}).exitCode, 0);
        // The description picks its RSS Url over the HTML one.
        QCOMPARE(engine({"add", m_sim->httpBase() + "/opensearch/rss.xml", "--name", "Sim RSS"}).exitCode, 0);
        QCOMPARE(engine({"add", "--template", m_sim->httpBase() + "/feed/json?q={searchTerms}&pageno={startPage}",
                         "--format", "json", "--name", "Sim JSON", "--operators", "site intitle"})
                     .exitCode,
                 0);
        // A description in a file.
        const QString file = RunCliProcess::writeFile(
            *m_dir, "desc.xml",
            "<OpenSearchDescription xmlns=\"" TRAWLEX_OPENSEARCH_NS "\"><ShortName>From File</ShortName>"
            "<Url type=\"application/atom+xml\" template=\"" + m_sim->httpBase().toUtf8()
                + "/feed/atom?q={searchTerms}&amp;start={startIndex}\"/></OpenSearchDescription>");
        QCOMPARE(engine({"add", file}).exitCode, 0);

        const RunCliResult list = engine({"list", "--json"});
        QCOMPARE(list.exitCode, 0);
        QMap<QString, QJsonObject> byName;
        for (const QByteArray &line : list.outLines()) {
            const QJsonObject o = QJsonDocument::fromJson(line).object();
            byName.insert(o.value("name").toString(), o);
        }
        QCOMPARE(byName.size(), 7 + 6);
        QCOMPARE(byName.value("AltaVista").value("kind").toString(), QStringLiteral("built-in"));
        QCOMPARE(byName.value("Sim Atom").value("kind").toString(), QStringLiteral("atom"));
        QCOMPARE(byName.value("Sim Searx").value("kind").toString(), QStringLiteral("json"));
        QCOMPARE(byName.value("Sim Post").value("method").toString(), QStringLiteral("POST"));
        QCOMPARE(byName.value("Sim RSS").value("kind").toString(), QStringLiteral("rss"));
        QCOMPARE(byName.value("Sim JSON").value("operators").toString(), QStringLiteral("intitle site"));
        QVERIFY(byName.contains("From File"));

        // Each answers a test search with hits.
        for (const char *name : {"Sim Atom", "Sim Searx", "Sim Post", "Sim RSS", "Sim JSON", "From File"}) {
            const RunCliResult t = engine({"test", name, "travel"});
            QVERIFY2(t.exitCode == 0, t.err.constData());
            QVERIFY2(t.out.contains(" hits in "), t.out.constData());
            QVERIFY(t.outLines().size() > 1);
        }
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("html only") << QStringList{"add", "{http}/opensearch/html.xml"} << "text/html";
        QTest::newRow("built-in name") << QStringList{"add", "{http}/opensearch/atom.xml", "--name", "yahoo"}
                                       << "built-in";
        QTest::newRow("retired name") << QStringList{"add", "{http}/opensearch/atom.xml", "--name", "Worm"} << "built-in";
        QTest::newRow("taken ignoring case") << QStringList{"add", "{http}/opensearch/rss.xml", "--name", "FIRST"}
                                             << "already";
        QTest::newRow("hash") << QStringList{"add", "{http}/opensearch/rss.xml", "--name", "a#b"} << "\"#\"";
        QTest::newRow("bar") << QStringList{"add", "{http}/opensearch/rss.xml", "--name", "a|b"} << "\"|\"";
        QTest::newRow("at") << QStringList{"add", "{http}/opensearch/rss.xml", "--name", "a@b"} << "\"@\"";
        QTest::newRow("not http") << QStringList{"add", "--template", "ftp://x.example/?q={searchTerms}", "--format",
                                                 "rss", "--name", "F"}
                                  << "http or https";
        QTest::newRow("no search terms") << QStringList{"add", "--template", "{http}/feed/rss", "--format", "rss",
                                                        "--name", "F"}
                                         << "{searchTerms}";
        QTest::newRow("unknown format") << QStringList{"add", "--template", "{http}/feed/rss?q={searchTerms}",
                                                       "--format", "html", "--name", "F"}
                                        << "format";
        QTest::newRow("mapped without address") << QStringList{"add", "--template", "{http}/feed/json?q={searchTerms}",
                                                               "--format", "mapped", "--name", "F"}
                                                << "address";
        QTest::newRow("built-in removed") << QStringList{"remove", "AltaVista"} << "built-in";
        QTest::newRow("unknown removed") << QStringList{"remove", "Nothing"} << "no added engine";
    }

    void refusals()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        QVERIFY(setUp());
        QCOMPARE(engine({"add", m_sim->httpBase() + "/opensearch/atom.xml", "--name", "First"}).exitCode, 0);
        const QString before = scalarText(m_db, "SELECT group_concat(SName, '|') FROM [Search Engine]");
        for (QString &a : args)
            a.replace("{http}", m_sim->httpBase());
        const RunCliResult r = engine(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QCOMPARE(scalarText(m_db, "SELECT group_concat(SName, '|') FROM [Search Engine]"), before);
    }

    void transportFailures_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("https");
        QTest::addColumn<QString>("reason");
        // Every row but the silent one has time enough for its answer on a slow (sanitizer) build.
        QTest::newRow("403") << "atom=http403" << false << "HTTP 403";
        QTest::newRow("429") << "atom=http429" << false << "HTTP 429";
        QTest::newRow("500") << "atom=http500" << false << "HTTP 500";
        QTest::newRow("redirect loop") << "atom=redirect-loop" << false << "redirects";
        QTest::newRow("https to http") << "atom=redirect-downgrade" << true << "https to http";
        QTest::newRow("broken xml") << "atom=bad-xml" << false << "";
        QTest::newRow("over the bound") << "atom=oversize" << false << "larger than";
        QTest::newRow("silent") << "atom=never" << false << "no answer within 2 seconds";
        QTest::newRow("closed early") << "atom=close-early" << false << "";
        QTest::newRow("untrusted certificate") << "" << true << "certificate";
        QTest::newRow("redirect followed") << "atom=redirect-once" << true << "ok";
    }

    void transportFailures()
    {
        QFETCH(QString, fault);
        QFETCH(bool, https);
        QFETCH(QString, reason);
        QVERIFY(setUp(fault.isEmpty() ? QStringList() : QStringList{"--fault", fault}));
        writeSettings(reason.startsWith(QLatin1String("no answer within")) ? "MaxDelay=2\n" : "MaxDelay=30\n");
        // The description itself comes over plain HTTP; the search goes where its template says.
        const QString base = https ? m_sim->httpsBase() : m_sim->httpBase();
        if (https && reason != QLatin1String("certificate"))
            trust();
        const QString file = RunCliProcess::writeFile(
            *m_dir, "desc.xml",
            "<OpenSearchDescription xmlns=\"" TRAWLEX_OPENSEARCH_NS "\"><ShortName>S</ShortName>"
            "<Url type=\"application/atom+xml\" template=\"" + base.toUtf8() + "/feed/atom?q={searchTerms}\"/>"
            "</OpenSearchDescription>");
        QCOMPARE(engine({"add", file}).exitCode, 0);
        const RunCliResult t = engine({"test", "S", "travel"});
        if (reason == QLatin1String("ok")) {
            QVERIFY2(t.exitCode == 0, t.err.constData());
            return;
        }
        QCOMPARE(t.exitCode, 1);
        QVERIFY2(t.err.contains("S failed after"), t.err.constData());
        QVERIFY2(QString::fromUtf8(t.err).contains(reason), t.err.constData());
    }

    // A run that mixes the seven with today's engines: every engine's hits stored, More asks
    // each for its next page, an engine whose page came back short is asked no more, Update
    // completes, and removal keeps the query working.
    void mixedRunMoreUpdateAndRemoval()
    {
        QVERIFY(setUp());
        trust();
        QCOMPARE(engine({"add", m_sim->httpsBase() + "/opensearch/atom.xml", "--name", "Sim Atom"}).exitCode, 0);
        QCOMPARE(engine({"add", m_sim->httpBase() + "/searx/", "--instance", "--name", "Sim Searx"}).exitCode, 0);
        const QString query = RunCliProcess::writeFile(
            *m_dir, "q.json",
            R"({"name": "Mixed", "keywords": ["include:travel"], "engines": ["AltaVista", "Yahoo", "Sim Atom", "Sim Searx"]})");
        RunCliResult r = run({query});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(r.outLines().value(0), QByteArray("Query Retrieval completed!"));
        const int first = scalarText(m_db, "SELECT count(*) FROM [Query Results]").toInt();
        QVERIFY2(first >= 20, qPrintable(QString::number(first)));
        const QString firstLevels = scalarText(m_db, "SELECT SearchEngineLevel FROM [Main Query]");
        for (const char *item : {"#AltaVista#@1@", "#Yahoo#@1@", "#Sim Atom#@1@", "#Sim Searx#@1@"})
            QVERIFY2(firstLevels.contains(QLatin1String(item)), qPrintable(firstLevels));

        r = run({"--qid", "1", "--more"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const int second = scalarText(m_db, "SELECT count(*) FROM [Query Results]").toInt();
        QVERIFY2(second > first, qPrintable(QString::number(second)));
        const QString levels = scalarText(m_db, "SELECT SearchEngineLevel FROM [Main Query]");
        QVERIFY2(levels.contains("#Sim Atom#@2@") || levels.contains("#Sim Atom#@-2@"), qPrintable(levels));

        // Asked until each of today's engines has given its short last page, then no more.
        QString ended = levels;
        for (int i = 0; i < 6 && !(ended.contains("#Sim Atom#@-") && ended.contains("#Sim Searx#@-")); ++i) {
            QCOMPARE(run({"--qid", "1", "--more"}).exitCode, 0);
            ended = scalarText(m_db, "SELECT SearchEngineLevel FROM [Main Query]");
        }
        QVERIFY2(ended.contains("#Sim Atom#@-") && ended.contains("#Sim Searx#@-"), qPrintable(ended));
        const int all = scalarText(m_db, "SELECT count(*) FROM [Query Results]").toInt();
        QCOMPARE(run({"--qid", "1", "--more"}).exitCode, 0);
        QCOMPARE(scalarText(m_db, "SELECT SearchEngineLevel FROM [Main Query]").count("#Sim Atom#@-"), 1);
        QVERIFY(scalarText(m_db, "SELECT count(*) FROM [Query Results]").toInt() >= all);

        r = run({"--qid", "1", "--update"});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        QCOMPARE(scalarText(m_db, "SELECT count(*) FROM [Main Query]"), QStringLiteral("1"));

        // Removal names the query, then takes the engine out of it.
        RunCliResult rm = engine({"remove", "Sim Atom"});
        QCOMPARE(rm.exitCode, 2);
        QVERIFY2(rm.err.contains("\"Mixed\""), rm.err.constData());
        QCOMPARE(engine({"remove", "sim atom", "--from-queries"}).exitCode, 0);
        const RunCliResult show = RunCliProcess::run(*m_dir, {"show", "--db", m_db, scalarText(m_db, "SELECT QID FROM [Main Query]")});
        QCOMPARE(show.exitCode, 0);
        const QJsonObject shown = QJsonDocument::fromJson(show.outLines().value(0)).object();
        QCOMPARE(shown.value("engines").toVariant().toStringList(), (QStringList{"AltaVista", "Yahoo", "Sim Searx"}));
        QVERIFY(!scalarText(m_db, "SELECT SearchEngineLevel FROM [Main Query]").contains("Sim Atom"));
        QCOMPARE(run({"--qid", scalarText(m_db, "SELECT QID FROM [Main Query]"), "--more"}).exitCode, 0);
    }

    // An engine that ignores the user's words (its template asks for "travel" whatever
    // comes): the excluded word and the title filter still hold on the hits kept.
    void queryHoldsOnAnEngineThatIgnoresIt()
    {
        QVERIFY(setUp());
        QCOMPARE(engine({"add", "--template", m_sim->httpBase() + "/feed/rss?q=travel&x={searchTerms}&n=50", "--format",
                         "rss", "--name", "Deaf", "--page-size", "50"})
                     .exitCode,
                 0);
        const QString unfiltered = RunCliProcess::writeFile(
            *m_dir, "a.json", R"({"name": "All", "keywords": ["include:travel"], "engines": ["Deaf"]})");
        RunCliResult r = run({unfiltered});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> all = r.hitLines();
        QVERIFY(all.size() > 10);
        // An excluded word that some of those hits carry.
        QByteArray word = "vacation";
        const qsizetype carrying =
            std::count_if(all.cbegin(), all.cend(), [&](const QByteArray &l) { return l.toLower().contains(word); });
        QVERIFY2(carrying > 0 && carrying < all.size(), "the corpus no longer mixes the word in");

        const QString filtered = RunCliProcess::writeFile(
            *m_dir, "b.json",
            R"({"name": "Filtered", "keywords": ["include:travel", "exclude:vacation"], "filters": ["Title:include:travel"], "engines": ["Deaf"]})");
        r = run({filtered});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!r.hitLines().isEmpty());
        for (const QByteArray &line : r.hitLines()) {
            const QJsonObject hit = QJsonDocument::fromJson(line).object();
            QVERIFY2(!line.toLower().contains(word), line.constData());
            QVERIFY2(hit.value("title").toString().contains("travel", Qt::CaseInsensitive), line.constData());
        }
    }

    // A database made by release 1.12 with stored queries takes today's engines, and its old
    // queries still run.
    void olderDatabaseTakesTodaysEngines()
    {
        QVERIFY(setUp());
        QFile::remove(m_db);
        QVERIFY(QFile::copy(TestPaths::dataDir() + "/legacy/tx-1.12-used.mdb", m_db));
        QFile::setPermissions(m_db, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(engine({"add", m_sim->httpBase() + "/opensearch/atom.xml", "--name", "Sim Atom"}).exitCode, 0);
        QCOMPARE(scalarText(m_db, "PRAGMA user_version"), QString::number(CSchemaMigration::kCurrentVersion));
        QCOMPARE(scalarText(m_db, "SELECT count(*) FROM [Main Query]"), QStringLiteral("2"));
        const RunCliResult list = RunCliProcess::run(*m_dir, {"list", "--db", m_db});
        QCOMPARE(list.exitCode, 0);
        QVERIFY(list.out.contains("Travel guides") && list.out.contains("Orchids"));
        const RunCliResult show = RunCliProcess::run(*m_dir, {"show", "--db", m_db, "1"});
        QCOMPARE(show.exitCode, 0);
        QVERIFY(show.outLines().size() > 10);
        // Nobody knows which engines returned the old hits.
        for (const QByteArray &line : show.outLines().mid(1))
            QVERIFY2(line.endsWith(",\"engines\":[]}"), line.constData());

        // A run on the brought-up file names them.
        const QString query = RunCliProcess::writeFile(
            *m_dir, "new.json", R"({"name": "After", "keywords": ["include:travel"], "engines": ["Sim Atom"]})");
        const RunCliResult r = run({query});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!r.hitLines().isEmpty());
        for (const QByteArray &line : r.hitLines())
            QVERIFY2(line.endsWith(",\"engines\":[\"Sim Atom\"]}"), line.constData());
    }

private:
    bool setUp(const QStringList &simArgs = {})
    {
        m_sim = std::make_unique<RunEngineSim>();
        if (!m_sim->startWithHttps(simArgs))
            return false;
        return RunCliProcess::run(*m_dir, {"initdb", m_db, "--engines-at", m_sim->address()}).exitCode == 0;
    }

    void trust() { qputenv("TRAWLEX_CA_CERTIFICATES", m_sim->certificateFile().toLocal8Bit()); }

    void writeSettings(const QByteArray &values)
    {
        QDir(m_dir->path()).mkpath("config/Quorvel Software");
        RunCliProcess::writeFile(*m_dir, "config/Quorvel Software/Trawlex.conf",
                                 "[Version%201.12]\nTXconn=Direct\n" + values);
    }

    RunCliResult engine(const QStringList &args)
    {
        return RunCliProcess::run(*m_dir, QStringList{"engine"} + args + QStringList{"--db", m_db});
    }

    RunCliResult run(const QStringList &args)
    {
        return RunCliProcess::run(*m_dir, QStringList{"run"} + args + QStringList{"--db", m_db, "--max-delay", "10"});
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<RunEngineSim> m_sim;
    QString m_db;
};

QTEST_GUILESS_MAIN(TestCliEngine)
#include "tst_cli_engine.moc"
