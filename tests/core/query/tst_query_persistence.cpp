#include "ResultsTestSupport.h"
#include "QueryTestSupport.h"
#include "TestDatabase.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CDaoException.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

// Saving and loading queries and their hits through a real tx.mdb.
class TestQueryPersistence final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_strPath;
    std::unique_ptr<CTrawlexDoc> m_doc;
    QueryRecordingPrompt m_prompt;

    CTrawlexDatabase &db() { return m_doc->Database(); }

    // Runs one statement on the file through a connection of the test's own (set-up only).
    void runOnFile(const QString &sql)
    {
        {
            QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test-setup"));
            c.setDatabaseName(m_strPath);
            QVERIFY(c.open());
            QSqlQuery q(c);
            QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("test-setup"));
    }

    void openDoc()
    {
        m_doc = std::make_unique<CTrawlexDoc>();
        QVERIFY(m_doc->OpenDatabase(m_strPath, &m_prompt));
    }

    // A first pass of query with the given hits, saved.
    bool firstSave(CTrawlexQueryResults &r, const CTrawlexQuery &query, const QList<QStringList> &hits)
    {
        r.ResetForNewRun(m_doc->UpdateQID != -1);
        for (const QStringList &h : hits)
            r.AddResult(h.at(0), h.at(1), h.at(2), m_doc->UpdateQID != -1);
        r.EngineLevels().reported = query.m_engines;
        r.SetLevel(1);
        return CStoredQueryResults(*m_doc).save(r, query, m_prompt);
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_strPath = TestDatabase::copyPrebuilt(*m_dir);
        QVERIFY(!m_strPath.isEmpty());
        m_prompt = QueryRecordingPrompt();
        openDoc();
    }

    void cleanup()
    {
        m_doc.reset();
        m_dir.reset();
    }

    void definitionRoundTrip()
    {
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults r;
        QVERIFY(firstSave(r, query, {}));
        QVERIFY(r.Qid() > 0);
        QVERIFY(m_prompt.m_messages.isEmpty());

        CTrawlexQuery loaded;
        loaded.m_keywords.append(CTrawlexKeyword{"stale", "include"});
        CStoredQueryDefinition(db()).load(r.Qid(), loaded);
        QCOMPARE(loaded, query);
        QCOMPARE(loaded.GetBooleanText(), query.GetBooleanText());
    }

    void hitsRoundTrip()
    {
        const QString words = QString("wxyz ").repeated(40);
        const QString control = QStringLiteral("tab\there\r\nline 'q' \"dq\" |bar| \\ \x01 end");
        const QList<QStringList> hits{
            {"O'Reilly | Books", "http://example.com/it's|here", words.left(152)},
            {"Ünïcødé 😀", "http://例え.jp/パス", words.left(153)},
            {"two hundred", "http://x/200", QString(150, 'a') + " " + QString(49, 'b')},
            {control, "http://x/control", control},
            {"", "http://x/empty", ""},
        };
        CTrawlexQueryResults r;
        QVERIFY(firstSave(r, QueryTestSupport::awkwardQuery(), hits));
        // Shortened in memory as well.
        QCOMPARE(ResultsTestSupport::summaries(r).at(1), words.left(149) + "...");

        CTrawlexQueryResults loaded;
        CStoredQueryResults(*m_doc).load(loaded, r.Qid());
        QCOMPARE(ResultsTestSupport::titles(loaded), (QStringList{hits[0][0], hits[1][0], hits[2][0], control, ""}));
        QCOMPARE(ResultsTestSupport::urls(loaded), (QStringList{hits[0][1], hits[1][1], hits[2][1], hits[3][1], hits[4][1]}));
        QCOMPARE(ResultsTestSupport::summaries(loaded), (QStringList{words.left(152), words.left(149) + "...",
                                                  QString(150, 'a') + "...", control, " "}));
        QCOMPARE(ResultsTestSupport::newFlags(loaded), (QList<int>{0, 0, 0, 0, 0}));
        QCOMPARE(loaded.Level(), 1);
        QCOMPARE(loaded.EngineLevels().text, QStringLiteral("#AltaVista#@1@#HotBot#@1@#Yahoo#@1@"));
        QCOMPARE(loaded.Qid(), -1); // the caller's to set
        // The index knows the loaded addresses.
        loaded.AddResult("dup", "HTTP://EXAMPLE.COM/IT'S|HERE", "", false);
        QCOMPARE(loaded.HitCount(), 5);
    }

    // Names of added engines are the user's free text: none of it may split or join a list.
    void enginesRoundTrip()
    {
        const QStringList awkward{"Wiki; \"Search\"", "a, b", "[x]", "back\\slash", "Ünï 😀", "it's|bar"};
        CTrawlexQueryResults r;
        r.ResetForNewRun(m_doc->UpdateQID != -1);
        r.AddResult("one", "http://h/1", "s", false, "AltaVista");
        r.AddResult("one", "HTTP://H/1", "s", false, "HotBot");
        for (const QString &name : awkward)
            r.AddResult("two", "http://h/2", "s", false, name);
        r.AddResult("three", "http://h/3", "s", false);
        r.AddResult("four", "http://h/4", "s", false, "Yahoo");
        r.SetLevel(1);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, QueryTestSupport::awkwardQuery(), m_prompt));

        CTrawlexQueryResults loaded;
        CStoredQueryResults(*m_doc).load(loaded, r.Qid());
        QCOMPARE(loaded.HitCount(), 4);
        QCOMPARE(loaded.engines(0), (QStringList{"AltaVista", "HotBot"}));
        QCOMPARE(loaded.engines(1), awkward);
        QCOMPARE(loaded.engines(2), QStringList());
        QCOMPARE(loaded.engines(3), QStringList{"Yahoo"});
        QCOMPARE(ResultsTestSupport::engineLists(loaded).size(), ResultsTestSupport::urls(loaded).size());
        // A hit without engines is stored as none known, not as a list of one blank name.
        QCOMPARE(db().scalar("SELECT Engines FROM [Query Results] WHERE URL = 'http://h/3'", {}, {}).toString(),
                 QString(""));

        // A later pass keeps the lists and adds to them.
        loaded.SetQid(r.Qid());
        loaded.ResetForNextPass(m_doc->UpdateQID != -1);
        loaded.SetQid(r.Qid());
        loaded.AddResult("three", "http://h/3", "s", m_doc->UpdateQID != -1, "Lycos");
        loaded.AddResult("four", "http://h/4", "s", m_doc->UpdateQID != -1, "Excite");
        loaded.SetLevel(2);
        QVERIFY(CStoredQueryResults(*m_doc).save(loaded, QueryTestSupport::awkwardQuery(), m_prompt));
        CTrawlexQueryResults again;
        CStoredQueryResults(*m_doc).load(again, r.Qid());
        QCOMPARE(again.engines(2), QStringList{"Lycos"});
        QCOMPARE(again.engines(3), (QStringList{"Yahoo", "Excite"}));
        QCOMPARE(again.engines(1), awkward);
    }

    // A cell another program damaged loses the origins of its hit, never the hit.
    void damagedEnginesCellReadsAsNone_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QStringList>("engines");
        QTest::newRow("not JSON") << "AltaVista, HotBot" << QStringList();
        QTest::newRow("cut short") << "[\"AltaVista\", \"Hot" << QStringList();
        QTest::newRow("an object") << "{\"engines\": [\"AltaVista\"]}" << QStringList();
        QTest::newRow("not all names") << "[\"AltaVista\", 3, null, \"\", \"Yahoo\"]" << QStringList{"AltaVista", "Yahoo"};
        QTest::newRow("empty array") << "[]" << QStringList();
        QTest::newRow("one blank name") << "[\"\"]" << QStringList();
        QTest::newRow("a blank name between") << "[\"Lycos\",\"\",\"Yahoo\"]" << QStringList{"Lycos", "Yahoo"};
        QTest::newRow("spaced as other writers do") << "[ \"Lycos\" , \"Yahoo\" ]" << QStringList{"Lycos", "Yahoo"};
        QTest::newRow("escaped quote") << "[\"My \\\"Wiki\\\"\",\"Yahoo\"]" << QStringList{"My \"Wiki\"", "Yahoo"};
    }

    void damagedEnginesCellReadsAsNone()
    {
        QFETCH(QString, cell);
        QFETCH(QStringList, engines);
        CTrawlexQueryResults r;
        QVERIFY(firstSave(r, QueryTestSupport::awkwardQuery(), {{"t", "http://d/", "s"}}));
        db().run("UPDATE [Query Results] SET Engines = ? WHERE QID = ?", {cell, r.Qid()}, {}).finish();
        CTrawlexQueryResults loaded;
        CStoredQueryResults(*m_doc).load(loaded, r.Qid());
        QCOMPARE(ResultsTestSupport::urls(loaded), QStringList{"http://d/"});
        QCOMPARE(loaded.engines(0), engines);
    }

    void keysFoundAgainAfterTwoSaves()
    {
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults r;
        QVERIFY(firstSave(r, query, {{"t1", "http://a/1", "s1"}}));
        const int qid = r.Qid();
        const QList<int> keywordIds = CDefinitionTables(db()).keywordIds(qid);

        // A further pass: Yahoo failed, one more hit.
        r.ResetForNextPass(m_doc->UpdateQID != -1);
        r.SetQid(qid);
        r.AddResult("t2", "http://a/2", "s2", m_doc->UpdateQID != -1);
        r.EngineLevels().reported = query.m_engines;
        r.EngineLevels().failed = {"Yahoo"};
        r.SetYahooPath("/should/not/count");
        r.SetLevel(2);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        QCOMPARE(r.Qid(), qid);

        CMainQueryTable mainQueries(db());
        QCOMPARE(mainQueries.allQueries().size(), 1);
        QCOMPARE(CDefinitionTables(db()).keywordIds(qid), keywordIds);
        CTrawlexQuery loaded;
        CStoredQueryDefinition(db()).load(qid, loaded);
        QCOMPARE(loaded, query);
        CTrawlexQueryResults again;
        CStoredQueryResults(*m_doc).load(again, qid);
        QCOMPARE(ResultsTestSupport::urls(again), (QStringList{"http://a/1", "http://a/2"}));
        QCOMPARE(again.Level(), 2);
        QCOMPARE(again.EngineLevels().text, QStringLiteral("#AltaVista#@2@#HotBot#@2@#Yahoo#@1@"));
        // A failed Yahoo still reported, so its path is the one it gave.
        QCOMPARE(again.YahooPath(), QStringLiteral("/should/not/count"));

        // Reopening the file finds the same keys.
        m_doc.reset();
        openDoc();
        CStoredQueryDefinition(db()).load(qid, loaded);
        QCOMPARE(loaded, query);
    }

    void yahooPathStoredOnlyWhenYahooReported()
    {
        CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults r;
        r.ResetForNewRun(m_doc->UpdateQID != -1);
        r.EngineLevels().reported = {"AltaVista", "HotBot"};
        r.SetYahooPath("/nope");
        r.SetLevel(1);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        CTrawlexQueryResults loaded;
        CStoredQueryResults(*m_doc).load(loaded, r.Qid());
        QCOMPARE(loaded.YahooPath(), QString());

        const QString path = QStringLiteral("/search?p=it's|\"x\"&b=21");
        r.EngineLevels().reported = {"Yahoo"};
        r.SetYahooPath(path);
        r.SetLevel(2);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        r.SetLevel(3);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt)); // replaces, never adds a row
        CStoredQueryResults(*m_doc).load(loaded, r.Qid());
        QCOMPARE(loaded.YahooPath(), path);

        // Without Yahoo among the query's engines the path is not looked at.
        query.m_engines = {"AltaVista"};
        CTrawlexQueryResults other;
        other.ResetForNewRun(m_doc->UpdateQID != -1);
        other.EngineLevels().reported = {"AltaVista", "Yahoo"};
        other.SetYahooPath("/kept");
        other.SetLevel(1);
        QVERIFY(CStoredQueryResults(*m_doc).save(other, query, m_prompt));
        CStoredQueryResults(*m_doc).load(loaded, other.Qid());
        QCOMPARE(loaded.YahooPath(), QString());
    }

    void updateFlagsAndLoadOrder()
    {
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        m_doc->UpdateQID = 99;
        m_doc->UpdateFirstNew = 2;
        CTrawlexQueryResults r;
        r.SetLevel(1);
        for (int i = 0; i < 4; ++i)
            r.AddResult(QString::number(i), "http://u/" + QString::number(i), "s", false);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        m_doc->UpdateQID = -1;

        const QList<CResultTables::Result> rows = CResultTables(db()).results(r.Qid());
        QCOMPARE(rows.size(), 4);
        QCOMPARE((QList<bool>{rows[0].isNew, rows[1].isNew, rows[2].isNew, rows[3].isNew}),
                 (QList<bool>{false, false, true, true}));

        // Stored False, True, False, True loads as second, fourth, first, third.
        CTrawlexQueryResults mixed;
        QVERIFY(firstSave(mixed, query, {}));
        CResultTables results(db());
        for (int i = 0; i < 4; ++i)
            results.insertResult(mixed.Qid(), QString::number(i), "http://m/" + QString::number(i), "s", i % 2 == 1);

        CTrawlexQueryResults loaded;
        CStoredQueryResults(*m_doc).load(loaded, mixed.Qid());
        QCOMPARE(ResultsTestSupport::titles(loaded), (QStringList{"1", "3", "0", "2"}));
        QCOMPARE(ResultsTestSupport::newFlags(loaded), (QList<int>{1, 1, 0, 0}));

        // The engines travel with their hits when the new ones are brought forward.
        CTrawlexQueryResults withEngines;
        QVERIFY(firstSave(withEngines, query, {}));
        for (int i = 0; i < 4; ++i)
            results.insertResult(withEngines.Qid(), QString::number(i), "http://e/" + QString::number(i), "s",
                                 i % 2 == 1, {"E" + QString::number(i)});
        CStoredQueryResults(*m_doc).load(loaded, withEngines.Qid());
        QCOMPARE(ResultsTestSupport::titles(loaded), (QStringList{"1", "3", "0", "2"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(loaded.engines(i), QStringList{"E" + ResultsTestSupport::titles(loaded).at(i)});
    }

    void loadDuringUpdateKeepsHitsAndPutsNewFirst()
    {
        CTrawlexQueryResults stored;
        QVERIFY(firstSave(stored, QueryTestSupport::awkwardQuery(), {{"old", "http://old/", "s"}}));
        CTrawlexQueryResults r;
        r.AddResult("kept new", "http://kept/", "s", true, "Lycos");
        r.AddResult("kept old", "http://kept-old/", "s", false, "Yahoo");
        m_doc->UpdateQID = stored.Qid();
        CStoredQueryResults(*m_doc).load(r, stored.Qid());
        m_doc->UpdateQID = -1;
        QCOMPARE(ResultsTestSupport::titles(r), (QStringList{"kept new", "kept old", "old"}));
        QCOMPARE(r.engines(0), QStringList{"Lycos"});
        QCOMPARE(r.engines(1), QStringList{"Yahoo"});
        QCOMPARE(r.engines(2), QStringList());
    }

    void overwriteReplacesTheOldQuery()
    {
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults first;
        QVERIFY(firstSave(first, query, {{"t", "http://a/", "s"}}));
        m_doc->OverwriteQID = first.Qid();
        CTrawlexQueryResults second;
        QVERIFY(firstSave(second, query, {{"t2", "http://b/", "s"}}));
        QCOMPARE(m_doc->OverwriteQID, -1);
        QVERIFY(second.Qid() > first.Qid());
        const QList<CMainQueryTable::Row> rows = CMainQueryTable(db()).allQueries();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().qid, second.Qid());
        QVERIFY(CResultTables(db()).results(first.Qid()).isEmpty());
    }

    // The save that completes an update deletes the query it replaces in its own transaction:
    // either the new form is stored and the old one gone, or the file is as it was.
    void updateSaveReplacesTheStoredQuery_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("refused");
        QTest::newRow("first pass, stored") << 1 << false;
        QTest::newRow("first pass, a hit refused") << 1 << true;
        QTest::newRow("later pass, stored") << 2 << false;
        QTest::newRow("later pass, a hit refused") << 2 << true;
    }

    void updateSaveReplacesTheStoredQuery()
    {
        QFETCH(int, level);
        QFETCH(bool, refused);
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults old;
        QVERIFY(firstSave(old, query, {{"old", "http://old/", "s"}}));
        // An earlier pass of the same update, stored under its own QID.
        CTrawlexQueryResults pass;
        QVERIFY(firstSave(pass, query, {{"old", "http://old/", "s"}}));
        if (refused) {
            m_doc.reset();
            runOnFile("CREATE TRIGGER refuse BEFORE INSERT ON [Query Results] WHEN NEW.Title = 'boom' "
                      "BEGIN SELECT RAISE(ABORT, 'refused by test'); END");
            openDoc();
        }

        m_doc->UpdateQID = old.Qid();
        m_doc->UpdateFirstNew = 1;
        CTrawlexQueryResults r;
        CStoredQueryResults(*m_doc).load(r, old.Qid());
        r.SetQid(level == 1 ? -1 : pass.Qid());
        r.SetLevel(level);
        r.AddResult(refused ? "boom" : "new", "http://new/", "s", m_doc->UpdateQID != -1);
        r.EngineLevels().reported = query.m_engines;
        const bool saved = CStoredQueryResults(*m_doc).save(r, query, m_prompt, old.Qid());
        m_doc->UpdateQID = -1;
        QCOMPARE(saved, !refused);
        QVERIFY(!db().inTransaction());

        QList<int> qids;
        for (const CMainQueryTable::Row &row : CMainQueryTable(db()).allQueries())
            qids << row.qid;
        std::sort(qids.begin(), qids.end());
        if (refused) {
            QCOMPARE(qids, (QList<int>{old.Qid(), pass.Qid()}));
            QCOMPARE(CResultTables(db()).results(old.Qid()).size(), 1);
            return;
        }
        QVERIFY(r.Qid() != old.Qid());
        QList<int> expected{r.Qid()};
        if (level == 1)
            expected.prepend(pass.Qid()); // not this update's pass: left alone
        QCOMPARE(qids, expected);
        QVERIFY(CResultTables(db()).results(old.Qid()).isEmpty());
        QCOMPARE(CResultTables(db()).results(r.Qid()).size(), 2);
    }

    // A statement failing part-way stores nothing of the pass and says so.
    void failedSaveStoresNothing_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("failingTable");
        QTest::newRow("first pass, a hit refused") << 1 << "Query Results";
        QTest::newRow("first pass, a group refused") << 1 << "Query Group";
        QTest::newRow("later pass, a hit refused") << 2 << "Query Results";
    }

    void failedSaveStoresNothing()
    {
        QFETCH(int, level);
        QFETCH(QString, failingTable);
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();

        // Something stored before, which the failing pass must leave alone.
        CTrawlexQueryResults before;
        QVERIFY(firstSave(before, query, {{"keep", "http://keep/", "s"}}));
        const int oldQid = before.Qid();

        m_doc.reset();
        const QString column = failingTable == "Query Results" ? "NEW.Title = 'boom'" : "NEW.GName = 'apple'";
        runOnFile(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON [%1] WHEN %2 "
                                 "BEGIN SELECT RAISE(ABORT, 'refused by test'); END")
                      .arg(failingTable, column));
        openDoc();

        CTrawlexQueryResults r;
        if (level == 1) {
            r.ResetForNewRun(m_doc->UpdateQID != -1);
            m_doc->OverwriteQID = oldQid;
        } else {
            CStoredQueryResults(*m_doc).load(r, oldQid);
            r.SetQid(oldQid);
        }
        r.SetLevel(level);
        r.AddResult("fine", "http://fine/", "s", false);
        r.AddResult("boom", "http://boom/", "s", false);
        r.AddResult("after", "http://after/", "s", false);
        r.EngineLevels().reported = {"AltaVista", "Yahoo"};
        r.SetYahooPath("/p");
        const QString levelsBefore = r.EngineLevels().text;
        const int qidBefore = r.Qid();

        QVERIFY(!CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        QCOMPARE(m_prompt.m_messages, QStringList{"Error!  Failed to insert Query Results"});
        QCOMPARE(r.Qid(), qidBefore);
        QCOMPARE(r.EngineLevels().text, levelsBefore);
        QCOMPARE(m_doc->OverwriteQID, level == 1 ? oldQid : -1);
        QVERIFY(!db().inTransaction());

        const QList<CMainQueryTable::Row> rows = CMainQueryTable(db()).allQueries();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().qid, oldQid);
        QCOMPARE(rows.first().level, 1);
        QCOMPARE(rows.first().engineLevels, QStringLiteral("#AltaVista#@1@#HotBot#@1@#Yahoo#@1@"));
        CTrawlexQueryResults stored;
        CStoredQueryResults(*m_doc).load(stored, oldQid);
        QCOMPARE(ResultsTestSupport::urls(stored), QStringList{"http://keep/"});
        QCOMPARE(stored.YahooPath(), QString());
        QCOMPARE(CDefinitionTables(db()).keywordIds(oldQid).size(), query.m_keywords.size());

        // Nothing left half-done: the next save of the same pass goes through.
        m_doc.reset();
        runOnFile("DROP TRIGGER refuse");
        openDoc();
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        CTrawlexQueryResults after;
        CStoredQueryResults(*m_doc).load(after, r.Qid());
        QCOMPARE(after.HitCount(), level == 1 ? 3 : 4);
    }

    void laterPassAfterAFailedFirstSaveStoresTheQuery()
    {
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        CTrawlexQueryResults r;
        r.SetLevel(2); // the first pass's save failed, so nothing is stored yet
        r.AddResult("t", "http://a/", "s", false);
        QVERIFY(CStoredQueryResults(*m_doc).save(r, query, m_prompt));
        QVERIFY(r.Qid() > 0);
        CTrawlexQuery loaded;
        CStoredQueryDefinition(db()).load(r.Qid(), loaded);
        QCOMPARE(loaded, query);
    }

    void unknownEngineFailsTheSave()
    {
        CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        query.m_engines.append("Worm"); // a name with no [Search Engine] row
        CTrawlexQueryResults r;
        QVERIFY(!firstSave(r, query, {}));
        QCOMPARE(r.Qid(), -1);
        QVERIFY(CMainQueryTable(db()).allQueries().isEmpty());
    }

    void loadingAMissingQueryThrows()
    {
        CTrawlexQuery q;
        QVERIFY_THROWS_EXCEPTION(CDaoException, CStoredQueryDefinition(db()).load(4242, q));
        CTrawlexQueryResults r;
        QVERIFY_THROWS_EXCEPTION(CDaoException, CStoredQueryResults(*m_doc).load(r, 4242));
    }
};

QTEST_GUILESS_MAIN(TestQueryPersistence)
#include "tst_query_persistence.moc"
