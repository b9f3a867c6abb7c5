#include "TestDatabase.h"

#include "store/CDaoException.h"
#include "store/CDefinitionTables.h"
#include "store/CMainQueryTable.h"
#include "store/CPagesTable.h"
#include "store/CResultTables.h"
#include "store/CSearchEngineTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CVisitedLinksTable.h"

#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_store_tables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void textRoundTrip_data();
    void textRoundTrip();
    void nameTestIgnoresCase_data();
    void nameTestIgnoresCase();
    void keysIncreaseAndAreNeverReused();
    void deleteCascadesToDependentRows();
    void defaults();
    void levelsAndDone();
    void keywordListingShowsPlainKeywordsOnly();
    void sitesAndQueriesWithSite();
    void datesForTheTimeView_data();
    void datesForTheTimeView();
    void yahooPathAndPages();
    void visitedLinksKeepOneRowPerAddress();
    void engines();
    void engineAddressList_data();
    void engineAddressList();
    void manyResultsInOneTransaction();

private:
    QString roundTripThroughEveryColumn(const QString &text);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CTrawlexDatabase> m_db;
};

void tst_store_tables::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_store_tables::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString path = TestDatabase::copyPrebuilt(*m_dir);
    QVERIFY(!path.isEmpty());
    m_db = std::make_unique<CTrawlexDatabase>(path);
}

void tst_store_tables::cleanup()
{
    m_db.reset();
    m_dir.reset();
}

void tst_store_tables::textRoundTrip_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("apostrophe") << QStringLiteral("Bob's 'quoted' page");
    QTest::newRow("two apostrophes") << QStringLiteral("''");
    QTest::newRow("bars") << QStringLiteral("a|b||c|");
    QTest::newRow("double quotes") << QStringLiteral("say \"hi\"");
    QTest::newRow("sql") << QStringLiteral("x'); DROP TABLE [Main Query]; --");
    QTest::newRow("control characters") << QStringLiteral("tab\there\r\nline\x01\x1f");
    QTest::newRow("embedded nul") << QString(QStringLiteral("a")) + QChar(0) + QStringLiteral("b");
    QTest::newRow("non-ASCII") << QStringLiteral("Müller – ÆØÅ – 日本語 – 🙂");
    QTest::newRow("percent and underscore") << QStringLiteral("100%_done\\");
    QTest::newRow("blank") << QStringLiteral(" ");
    QTest::newRow("empty") << QString(QLatin1String(""));
    QTest::newRow("null string") << QString();
    QTest::newRow("very long") << QString(200000, QLatin1Char('w')) + QLatin1Char('|') + QLatin1Char('\'');
}

QString tst_store_tables::roundTripThroughEveryColumn(const QString &text)
{
    CMainQueryTable main(*m_db);
    CDefinitionTables defs(*m_db);
    CResultTables results(*m_db);
    CVisitedLinksTable visits(*m_db);

    const int qid = main.insertQuery(text);
    main.setEngineLevels(qid, text);
    const int kid = defs.insertKeyword(qid);
    defs.insertKeywordWord(qid, kid, QStringLiteral("include"), text);
    const int gid = defs.insertGroup(qid, QStringLiteral("optional"), text);
    defs.insertGroupWord(qid, gid, QStringLiteral("exclude"), text);
    const int fid = defs.insertFilter(qid, text);
    defs.insertFilterWord(qid, fid, QStringLiteral("include"), text);
    results.insertResult(qid, text, text, text, true);
    results.insertYahoo(qid, text);
    visits.recordVisit(text);

    QString problems;
    auto check = [&](const char *what, const QString &got) {
        if (got != text)
            problems += QLatin1String(what) + QLatin1Char(' ');
    };
    check("name", main.queryName(qid));
    check("engine levels", main.levelAndEngineLevels(qid)->engineLevels);
    check("keyword", defs.keywordWords(kid).value(0).word);
    check("group name", defs.groups(qid).value(0).name);
    check("group word", defs.groupWords(gid).value(0).word);
    check("filter type", defs.filters(qid).value(0).type);
    check("filter word", defs.filterWords(fid).value(0).word);
    const CResultTables::Result r = results.results(qid).value(0);
    check("title", r.title);
    check("url", r.url);
    check("summary", r.summary);
    check("yahoo", results.yahooPath(qid));
    check("visit", visits.visits().value(0).url);
    if (visits.countVisits(text) != 1)
        problems += QLatin1String("visit-count ");
    if (main.countByName(text) != 1)
        problems += QLatin1String("name-test ");
    return problems;
}

void tst_store_tables::textRoundTrip()
{
    QFETCH(QString, text);
    const QString problems = roundTripThroughEveryColumn(text);
    QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("changed: ") + problems));
    // The tables are all still there.
    QCOMPARE(CSearchEngineTable(*m_db).engines().size(), 8);
}

void tst_store_tables::nameTestIgnoresCase_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("count");

    QTest::newRow("same") << "Apple Pie" << "Apple Pie" << 1;
    QTest::newRow("upper") << "Apple Pie" << "APPLE PIE" << 1;
    QTest::newRow("lower") << "Apple Pie" << "apple pie" << 1;
    QTest::newRow("non-ASCII letters") << "Äpfel Öl" << "äpfel öl" << 1;
    QTest::newRow("other name") << "Apple Pie" << "Apple Pies" << 0;
    QTest::newRow("trailing blank differs") << "Apple" << "Apple " << 0;
    QTest::newRow("pattern characters are not patterns") << "a_c" << "abc" << 0;
}

void tst_store_tables::nameTestIgnoresCase()
{
    QFETCH(QString, stored);
    QFETCH(QString, asked);
    QFETCH(int, count);

    CMainQueryTable main(*m_db);
    const int qid = main.insertQuery(stored);
    main.insertQuery(QStringLiteral("unrelated"));
    QCOMPARE(main.countByName(asked), count);
    QCOMPARE(main.qidsByName(asked), count ? QList<int>{qid} : QList<int>{});
}

void tst_store_tables::keysIncreaseAndAreNeverReused()
{
    CMainQueryTable main(*m_db);
    CDefinitionTables defs(*m_db);
    const int q1 = main.insertQuery(QStringLiteral("same"));
    const int k1 = defs.insertKeyword(q1);
    const int g1 = defs.insertGroup(q1, QStringLiteral("include"), QStringLiteral("g"));
    const int f1 = defs.insertFilter(q1, QStringLiteral("URL"));
    QCOMPARE(main.maxQid(), q1);

    // Deleting the newest rows must not hand their keys out again.
    main.deleteQuery(q1);
    const int q2 = main.insertQuery(QStringLiteral("same"));
    QVERIFY(q2 > q1);
    QVERIFY(defs.insertKeyword(q2) > k1);
    QVERIFY(defs.insertGroup(q2, QStringLiteral("include"), QStringLiteral("g")) > g1);
    QVERIFY(defs.insertFilter(q2, QStringLiteral("URL")) > f1);
    const int q3 = main.insertQuery(QStringLiteral("same"));
    QVERIFY(q3 > q2);
    QCOMPARE(main.maxQid(), q3);
    QCOMPARE(main.qidsByName(QStringLiteral("SAME")), (QList<int>{q2, q3}));

    // The counters survive closing and reopening the file.
    const QString path = m_db->path();
    main.deleteQuery(q3);
    m_db.reset();
    m_db = std::make_unique<CTrawlexDatabase>(path);
    QVERIFY(CMainQueryTable(*m_db).insertQuery(QStringLiteral("after reopen")) > q3);
}

void tst_store_tables::deleteCascadesToDependentRows()
{
    CMainQueryTable main(*m_db);
    CDefinitionTables defs(*m_db);
    CResultTables results(*m_db);
    CSearchEngineTable engines(*m_db);
    CPagesTable pages(*m_db);

    const int keep = main.insertQuery(QStringLiteral("keep"));
    const int gone = main.insertQuery(QStringLiteral("gone"));
    for (int qid : {keep, gone}) {
        const QString tag = QString::number(qid);
        const int kid = defs.insertKeyword(qid);
        defs.insertKeywordWord(qid, kid, QStringLiteral("include"), QStringLiteral("word") + tag);
        const int gid = defs.insertGroup(qid, QStringLiteral("include"), QStringLiteral("g"));
        defs.insertGroupWord(qid, gid, QStringLiteral("include"), QStringLiteral("member"));
        const int fid = defs.insertFilter(qid, QStringLiteral("Title"));
        defs.insertFilterWord(qid, fid, QStringLiteral("exclude"), QStringLiteral("spam"));
        engines.insertQueryEngine(qid, engines.engineSid(QStringLiteral("Yahoo")));
        results.insertResult(qid, QStringLiteral("t"), QStringLiteral("http://site") + tag + QStringLiteral(".com/"),
                             QStringLiteral("s"), false);
        results.insertYahoo(qid, QStringLiteral("/bin/search?p=x&b=21"));
        pages.insertPage(qid, 0, 10);
    }
    CVisitedLinksTable(*m_db).recordVisit(QStringLiteral("http://visited.com/"));

    main.deleteQuery(gone);

    const QString g = QString::number(gone);
    QCOMPARE(defs.keywordsDistinct(), QStringList{QStringLiteral("word") + QString::number(keep)});
    QCOMPARE(results.sitesDistinct(), QStringList{QStringLiteral("http://site") + QString::number(keep) + QStringLiteral(".com/")});
    for (const char *table : {"[Query Engines]", "[Query Filter]", "[Query Keyword]", "[Query Group]",
                              "[Query Content]", "[Query Results]", "[Pages]", "[Yahoo]"}) {
        const QString sql = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE QID = ?").arg(QLatin1String(table));
        QCOMPARE(m_db->scalar(sql, {gone}, QStringLiteral("t")).toInt(), 0);
        QVERIFY2(m_db->scalar(sql, {keep}, QStringLiteral("t")).toInt() > 0, table);
    }
    // Visits belong to no query.
    QCOMPARE(CVisitedLinksTable(*m_db).countVisits(QStringLiteral("http://visited.com/")), 1);
    QVERIFY(main.queryName(gone).isNull());
    QCOMPARE(main.queryName(keep), QStringLiteral("keep"));
}

void tst_store_tables::defaults()
{
    CMainQueryTable main(*m_db);
    CDefinitionTables defs(*m_db);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const int qid = main.insertQuery(QStringLiteral("fresh"));
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    const CMainQueryTable::Row row = main.allQueries().constLast();
    QCOMPARE(row.qid, qid);
    QCOMPARE(row.level, 0);
    QCOMPARE(row.engineLevels, QStringLiteral(" "));
    QVERIFY(!row.done);
    QVERIFY2(row.retrieved >= before && row.retrieved <= after, qPrintable(row.retrieved.toString()));

    const int kid = defs.insertKeyword(qid);
    const int gid = defs.insertGroup(qid, QStringLiteral("include"), QStringLiteral("g"));
    const int fid = defs.insertFilter(qid, QStringLiteral("Link"));
    defs.insertKeywordWord(qid, kid, QStringLiteral("include"), QStringLiteral("k"));
    defs.insertGroupWord(qid, gid, QStringLiteral("include"), QStringLiteral("g"));
    defs.insertFilterWord(qid, fid, QStringLiteral("include"), QStringLiteral("f"));
    QSqlQuery &q = m_db->run(QStringLiteral("SELECT KID, GID, FID, KeyWord FROM [Query Content] WHERE QID = ? ORDER BY rowid"),
                             {qid}, QStringLiteral("t"));
    QList<QList<int>> owners;
    while (q.next())
        owners.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    q.finish();
    QCOMPARE(owners, (QList<QList<int>>{{kid, -1, -1}, {-1, gid, -1}, {-1, -1, fid}}));
    // -1 is "no owner" and never finds words.
    QVERIFY(defs.keywordWords(-1).isEmpty());
    QVERIFY(defs.groupWords(-1).isEmpty());
}

void tst_store_tables::levelsAndDone()
{
    CMainQueryTable main(*m_db);
    const int qid = main.insertQuery(QStringLiteral("q"));
    main.setLevel(qid, 3);
    main.setEngineLevels(qid, QStringLiteral("#AltaVista#@2@#Yahoo#@1@"));
    const auto info = main.levelAndEngineLevels(qid);
    QVERIFY(info.has_value());
    QCOMPARE(info->level, 3);
    QCOMPARE(info->engineLevels, QStringLiteral("#AltaVista#@2@#Yahoo#@1@"));
    QVERIFY(!main.levelAndEngineLevels(qid + 100).has_value());

    QVERIFY(!main.isDone(qid));
    main.setDone(qid);
    QVERIFY(main.isDone(qid));
    QVERIFY(!main.isDone(qid + 100));
}

void tst_store_tables::keywordListingShowsPlainKeywordsOnly()
{
    CMainQueryTable main(*m_db);
    CDefinitionTables defs(*m_db);
    const int a = main.insertQuery(QStringLiteral("Beta"));
    const int b = main.insertQuery(QStringLiteral("alpha"));
    defs.insertKeywordWord(a, defs.insertKeyword(a), QStringLiteral("include"), QStringLiteral("Apple"));
    defs.insertKeywordWord(a, defs.insertKeyword(a), QStringLiteral("include"), QStringLiteral("apple"));
    defs.insertKeywordWord(b, defs.insertKeyword(b), QStringLiteral("exclude"), QStringLiteral("APPLE"));
    defs.insertKeywordWord(b, defs.insertKeyword(b), QStringLiteral("include"), QStringLiteral("Éclair"));
    const int gid = defs.insertGroup(b, QStringLiteral("include"), QStringLiteral("fruit"));
    defs.insertGroupWord(b, gid, QStringLiteral("include"), QStringLiteral("groupword"));
    const int fid = defs.insertFilter(b, QStringLiteral("URL"));
    defs.insertFilterWord(b, fid, QStringLiteral("exclude"), QStringLiteral("filterword"));

    QCOMPARE(defs.keywordsDistinct(), (QStringList{QStringLiteral("apple"), QStringLiteral("éclair")}));
    // Each query once, by name with letter case ignored.
    QCOMPARE(defs.queriesWithKeyword(QStringLiteral("apple")),
             (QList<StoredQueryRef>{{QStringLiteral("alpha"), b}, {QStringLiteral("Beta"), a}}));
    QCOMPARE(defs.queriesWithKeyword(QStringLiteral("éclair")), (QList<StoredQueryRef>{{QStringLiteral("alpha"), b}}));
    QVERIFY(defs.queriesWithKeyword(QStringLiteral("appl")).isEmpty());
}

void tst_store_tables::sitesAndQueriesWithSite()
{
    CMainQueryTable main(*m_db);
    CResultTables results(*m_db);
    const int a = main.insertQuery(QStringLiteral("a"));
    const int b = main.insertQuery(QStringLiteral("b"));
    results.insertResult(a, QStringLiteral("t"), QStringLiteral("http://www.Example.com/x"), QStringLiteral(" "), false);
    results.insertResult(a, QStringLiteral("t"), QStringLiteral("http://www.example.com/x"), QStringLiteral(" "), false);
    results.insertResult(a, QStringLiteral("t"), QStringLiteral("http://other.org/"), QStringLiteral(" "), false);
    results.insertResult(b, QStringLiteral("t"), QStringLiteral("http://myexample.com.au/"), QStringLiteral(" "), false);
    results.insertResult(b, QStringLiteral("t"), QStringLiteral("http://a%b_c.net/"), QStringLiteral(" "), false);

    // Addresses that differ only in letter case count once.
    QCOMPARE(results.sitesDistinct().size(), 4);
    QCOMPARE(results.queriesWithSite(QStringLiteral("example.com")),
             (QList<StoredQueryRef>{{QStringLiteral("a"), a}, {QStringLiteral("b"), b}}));
    QCOMPARE(results.queriesWithSite(QStringLiteral("WWW.EXAMPLE.COM")), (QList<StoredQueryRef>{{QStringLiteral("a"), a}}));
    // Wildcard characters in a host are plain characters.
    QCOMPARE(results.queriesWithSite(QStringLiteral("a%b_c")), (QList<StoredQueryRef>{{QStringLiteral("b"), b}}));
    QVERIFY(results.queriesWithSite(QStringLiteral("a%")).size() == 1);
    QVERIFY(results.queriesWithSite(QStringLiteral("_x")).isEmpty());
}

void tst_store_tables::datesForTheTimeView_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("text");

    QTest::newRow("afternoon") << QDateTime(QDate(1997, 12, 7), QTime(13, 5, 9)) << "12/7/1997 13:05:09";
    QTest::newRow("midnight has no time") << QDateTime(QDate(2026, 1, 2), QTime(0, 0, 0)) << "1/2/2026";
    QTest::newRow("one second past midnight") << QDateTime(QDate(2026, 1, 2), QTime(0, 0, 1)) << "1/2/2026 0:00:01";
}

void tst_store_tables::datesForTheTimeView()
{
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    QCOMPARE(CMainQueryTable::dateText(when), text);

    // Stored as the column default writes it, read back through the tables.
    CMainQueryTable main(*m_db);
    const int qid = main.insertQuery(QStringLiteral("dated"));
    m_db->run(QStringLiteral("UPDATE [Main Query] SET LastRetrievalDate = ? WHERE QID = ?"),
              {when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), qid}, QStringLiteral("t"))
        .finish();
    const int newer = main.insertQuery(QStringLiteral("Aardvark"));
    const QList<StoredQueryDate> byDate = main.namesWithDatesByDate();
    QCOMPARE(byDate.size(), 2);
    QCOMPARE(byDate.first().qid, qid);
    QCOMPARE(byDate.first().dateText, text);
    QCOMPARE(byDate.first().retrieved, when);
    QCOMPARE(main.namesWithDatesByName().first().qid, newer);
    QCOMPARE(main.retrievalDatesOrdered().first(), text);
}

void tst_store_tables::yahooPathAndPages()
{
    CMainQueryTable main(*m_db);
    CResultTables results(*m_db);
    CPagesTable pages(*m_db);
    const int qid = main.insertQuery(QStringLiteral("y"));
    QVERIFY(results.yahooPath(qid).isNull());
    results.insertYahoo(qid, QStringLiteral("/bin/search?p=a'b|c&b=21"));
    QCOMPARE(results.yahooPath(qid), QStringLiteral("/bin/search?p=a'b|c&b=21"));
    results.deleteYahoo(qid);
    QVERIFY(results.yahooPath(qid).isNull());
    results.insertYahoo(qid, QString(QLatin1String("")));
    QVERIFY(!results.yahooPath(qid).isNull()); // a stored empty path is still a row
    QVERIFY(results.yahooPath(qid).isEmpty());

    pages.insertPage(qid, 0, 10);
    pages.insertPage(qid, 1, -1);
    pages.insertPage(qid, 1, -1);
    QCOMPARE(pages.pageLimits(qid, 0), QList<int>{10});
    QCOMPARE(pages.pageLimits(qid, 1), (QList<int>{-1, -1}));
    QVERIFY(pages.pageLimits(qid, 2).isEmpty());
}

void tst_store_tables::visitedLinksKeepOneRowPerAddress()
{
    CVisitedLinksTable visits(*m_db);
    visits.recordVisit(QStringLiteral("http://a.com/Page"));
    // A visit long ago, as if recorded days before.
    m_db->run(QStringLiteral("UPDATE [Query Results Date] SET DateCreated = '1998-03-04 10:00:00.000'"), {},
              QStringLiteral("t"))
        .finish();
    QCOMPARE(visits.visits().value(0).dayText, QStringLiteral("03041998"));
    QCOMPARE(visits.visits().value(0).day, QDate(1998, 3, 4));

    // Opening again (in another letter case) renews the one row, which keeps its first spelling.
    visits.recordVisit(QStringLiteral("HTTP://A.COM/page"));
    const QList<CVisitedLinksTable::Visit> rows = visits.visits();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().url, QStringLiteral("http://a.com/Page"));
    QCOMPARE(rows.first().day, QDate::currentDate());
    QCOMPARE(rows.first().dayText, QDate::currentDate().toString(QStringLiteral("MMddyyyy")));

    visits.recordVisit(QStringLiteral("http://b.com/"));
    visits.deleteVisit(QStringLiteral("HTTP://a.com/page"));
    QCOMPARE(visits.visits().size(), 1);
    QCOMPARE(visits.countVisits(QStringLiteral("http://b.com/")), 1);
}

void tst_store_tables::engines()
{
    CSearchEngineTable engines(*m_db);
    const QStringList expected{"AltaVista", "Excite", "HotBot", "HotBotRepeat", "InfoSeek", "Lycos", "Magellan", "Yahoo"};
    QStringList names;
    for (const CSearchEngineTable::Engine &e : engines.engines()) {
        names << e.name;
        QVERIFY2(e.url.contains(QLatin1Char('/')), qPrintable(e.url));
        QCOMPARE(engines.engineSid(e.name), e.sid);
        QCOMPARE(engines.engineName(e.sid), e.name);
    }
    QCOMPARE(names, expected);
    QCOMPARE(engines.engineSid(QStringLiteral("WebCrawler")), -1);
    QVERIFY(engines.engineName(999).isNull());
    // Engines without a group run or a filter run refuse such words.
    QCOMPARE(engines.enginesWithoutGroups(), (QStringList{"InfoSeek", "Yahoo"}));
    QCOMPARE(engines.enginesWithoutFilters(), (QStringList{"Excite", "Lycos", "Magellan"}));

    const int qid = CMainQueryTable(*m_db).insertQuery(QStringLiteral("e"));
    const int yahoo = engines.engineSid(QStringLiteral("Yahoo"));
    const int altavista = engines.engineSid(QStringLiteral("AltaVista"));
    engines.insertQueryEngine(qid, yahoo);
    engines.insertQueryEngine(qid, altavista);
    QCOMPARE(engines.queryEngineSids(qid), (QList<int>{yahoo, altavista}));
    QVERIFY_THROWS_EXCEPTION(CDaoException, engines.insertQueryEngine(qid, 999));
    QVERIFY_THROWS_EXCEPTION(CDaoException, engines.setEngineAddress(QStringLiteral("Worm"), QStringLiteral("x/")));
}

void tst_store_tables::engineAddressList_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("list");

    QTest::newRow("none") << QStringList{} << QStringList{} << "";
    QTest::newRow("one") << QStringList{"Lycos"} << QStringList{"www.lycos.com/"} << "|Lycos|www.lycos.com/|";
    QTest::newRow("two rows meet with two bars")
        << QStringList{"A", "B"} << QStringList{"a.com/x", "b.com:81/y"} << "|A|a.com/x||B|b.com:81/y|";
    QTest::newRow("empty address") << QStringList{"A"} << QStringList{""} << "|A||";
}

void tst_store_tables::engineAddressList()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, urls);
    QFETCH(QString, list);
    QList<CSearchEngineTable::Engine> engines;
    for (qsizetype i = 0; i < names.size(); ++i)
        engines.append({int(i + 1), names.at(i), urls.at(i), true, true});
    QCOMPARE(CSearchEngineTable::engineAddressList(engines), list);
}

void tst_store_tables::manyResultsInOneTransaction()
{
    CMainQueryTable main(*m_db);
    CResultTables results(*m_db);
    const int qid = main.insertQuery(QStringLiteral("big"));
    QElapsedTimer timer;
    timer.start();
    {
        CDbTransaction t(*m_db);
        for (int i = 0; i < 10000; ++i) {
            results.insertResult(qid, QStringLiteral("Title %1").arg(i), QStringLiteral("http://h%1.com/").arg(i),
                                 QStringLiteral("Summary of hit %1").arg(i), i % 2);
        }
        t.commit();
    }
    const qint64 ms = timer.elapsed();
    const QList<CResultTables::Result> rows = results.results(qid);
    QCOMPARE(rows.size(), 10000);
    QCOMPARE(rows.at(9999).url, QStringLiteral("http://h9999.com/"));
    QVERIFY(rows.at(1).isNew);
    QVERIFY(!rows.at(2).isNew);
    // Generous bound: a fresh prepare per row or a commit per row is several times slower.
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

QTEST_GUILESS_MAIN(tst_store_tables)
#include "tst_store_tables.moc"
