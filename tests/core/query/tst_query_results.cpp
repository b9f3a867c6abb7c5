#include "ResultsTestSupport.h"
#include "query/CTrawlexQueryResults.h"

#include <QStandardPaths>
#include <QTest>

// The results set in memory: duplicate addresses and the engines that returned them, page
// counters, summaries, resets.
class TestQueryResults final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void addResultIgnoresLetterCaseAndCountsEveryHit()
    {
        CTrawlexQueryResults r;
        r.AddResult("One", "http://Example.com/A", "s1", false);
        r.AddResult("Two", "HTTP://EXAMPLE.COM/a", "s2", false);
        r.AddResult("Three", "http://example.com/b", "s3", true);
        r.AddResult("Four", "http://example.com/B", "s4", true);
        QCOMPARE(r.HitsReceived(), 4);
        QCOMPARE(ResultsTestSupport::urls(r), (QStringList{"http://Example.com/A", "http://example.com/b"}));
        QCOMPARE(ResultsTestSupport::titles(r), (QStringList{"One", "Three"}));
        QCOMPARE(ResultsTestSupport::summaries(r), (QStringList{"s1", "s3"}));
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{0, 1}));
        QCOMPARE(r.HitCount(), 2);
    }

    void addResultFoldsBeyondAscii_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("offered");
        QTest::addColumn<bool>("duplicate");
        QTest::newRow("accented") << QStringLiteral("http://café.fr/É") << QStringLiteral("HTTP://CAFÉ.FR/é") << true;
        QTest::newRow("greek") << QStringLiteral("http://x/σοφία") << QStringLiteral("http://x/ΣΟΦΊΑ") << true;
        QTest::newRow("outside the BMP") << QStringLiteral("http://x/𐐨") << QStringLiteral("http://x/𐐀") << true;
        QTest::newRow("different letters") << QStringLiteral("http://x/é") << QStringLiteral("http://x/e") << false;
        QTest::newRow("one more character") << QStringLiteral("http://x/a") << QStringLiteral("http://x/a/") << false;
    }

    void addResultFoldsBeyondAscii()
    {
        QFETCH(QString, stored);
        QFETCH(QString, offered);
        QFETCH(bool, duplicate);
        CTrawlexQueryResults r;
        r.AddResult("a", stored, "", false);
        r.AddResult("b", offered, "", false);
        QCOMPARE(r.HitCount(), duplicate ? 1 : 2);
        QCOMPARE(r.HitsReceived(), 2);
    }

    void addResultManyDistinct()
    {
        CTrawlexQueryResults r;
        for (int i = 0; i < 20000; ++i)
            r.AddResult("t", QStringLiteral("http://h%1/p").arg(i), "", false);
        for (int i = 0; i < 20000; i += 7)
            r.AddResult("t", QStringLiteral("HTTP://H%1/P").arg(i), "", false);
        QCOMPARE(r.HitCount(), 20000);
        QCOMPARE(r.HitsReceived(), 20000 + 2858);
    }

    void addResultMarksNewOnlyDuringAnUpdate()
    {
        CTrawlexQueryResults r;
        r.AddResult("t", "u1", "s", false);
        r.AddResult("t", "u2", "s", true);
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{0, 1}));
    }

    // Hits replaced as a stored query gives them are indexed again.
    void addResultSeesHitsReplaced()
    {
        CTrawlexQueryResults r;
        r.AddResult("a", "http://a/", "", false);
        r.SetHits({});
        r.AddResult("a", "http://A/", "", false);
        QCOMPARE(r.HitCount(), 1);
        r.SetHits(r.Hits() + QList<CTrawlexHit>{{"b", "http://b/", "", false, {}}});
        r.AddResult("b", "HTTP://B/", "", false);
        QCOMPARE(r.HitCount(), 2);
    }

    void addResultKeepsEachEngineThatReturnedTheAddress()
    {
        CTrawlexQueryResults r;
        r.AddResult("One", "http://a.example/x", "first", false, "AltaVista");
        r.AddResult("Two", "http://b.example/", "s", false, "AltaVista");
        r.AddResult("Again", "HTTP://A.EXAMPLE/X", "later", false, "HotBot");
        r.AddResult("Again", "http://a.example/x", "later", false, "HotBot");     // same engine twice
        r.AddResult("Again", "http://a.example/x", "later", false, "hotbot");     // names ignore case too
        r.AddResult("Again", "http://a.example/x", "later", true, QString());     // nobody to add
        r.AddResult("Again", "http://a.example/x", "later", false, "Yahoo");
        r.AddResult("Three", "http://c.example/", "s", true, QString());
        QCOMPARE(r.HitCount(), 3);
        QCOMPARE(r.HitsReceived(), 8);
        QCOMPARE(r.engines(0), (QStringList{"AltaVista", "HotBot", "Yahoo"}));
        QCOMPARE(r.engines(1), QStringList{"AltaVista"});
        QCOMPARE(r.engines(2), QStringList());
        // The first finder's texts and flag stay; a duplicate changes nothing else.
        QCOMPARE(ResultsTestSupport::titles(r).first(), QStringLiteral("One"));
        QCOMPARE(ResultsTestSupport::summaries(r).first(), QStringLiteral("first"));
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{0, 0, 1}));
        QCOMPARE(ResultsTestSupport::engineLists(r).size(), ResultsTestSupport::urls(r).size());
        QCOMPARE(r.engines(-1), QStringList());
        QCOMPARE(r.engines(3), QStringList());

        r.AddResult("Four", "http://d.example/", "s", false, "Lycos");
        r.AddResult("Four", "http://D.example/", "s", false, "Excite");
        QCOMPARE(r.engines(3), (QStringList{"Lycos", "Excite"}));
    }

    // Hits set without engines have none, and each hit keeps its own list.
    void engineListsFollowHitsReplaced()
    {
        CTrawlexQueryResults r;
        r.AddResult("a", "http://a/", "", false, "AltaVista");
        r.SetHits({});
        QCOMPARE(r.engines(0), QStringList());
        r.AddResult("b", "http://b/", "", false, "Lycos");
        QCOMPARE(r.engines(0), QStringList{"Lycos"});
        QCOMPARE(ResultsTestSupport::engineLists(r).size(), 1);
        QCOMPARE(ResultsTestSupport::newFlags(r).size(), 1);

        r.SetHits(r.Hits() + QList<CTrawlexHit>{{"c", "http://c/", "", false, {}}});
        r.AddResult("c", "HTTP://C/", "", false, "Yahoo");
        r.AddResult("d", "http://d/", "", false, "Excite");
        QCOMPARE(r.HitCount(), 3);
        QCOMPARE(r.engines(1), QStringList{"Yahoo"});
        QCOMPARE(r.engines(2), QStringList{"Excite"});
        QCOMPARE(ResultsTestSupport::engineLists(r).size(), 3);
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{0, 0, 0}));
    }

    void moveHitsToFrontCarriesEachHitWhole()
    {
        CTrawlexQueryResults r;
        for (int i = 0; i < 5; ++i)
            r.AddResult(QString::number(i), "http://h/" + QString::number(i), "s" + QString::number(i), false,
                        "E" + QString::number(i));
        r.MoveHitsToFront(3);
        QCOMPARE(ResultsTestSupport::titles(r), (QStringList{"3", "4", "0", "1", "2"}));
        QCOMPARE(ResultsTestSupport::summaries(r), (QStringList{"s3", "s4", "s0", "s1", "s2"}));
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{1, 1, 0, 0, 0}));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(r.engines(i), QStringList{"E" + ResultsTestSupport::titles(r).at(i)});
        // The index follows: a duplicate still finds its hit at the new place.
        r.AddResult("x", "HTTP://H/0", "", false, "Late");
        QCOMPARE(r.HitCount(), 5);
        QCOMPARE(r.engines(2), (QStringList{"E0", "Late"}));

        // Out of range moves nothing or everything.
        r.MoveHitsToFront(99);
        QCOMPARE(ResultsTestSupport::titles(r).first(), QStringLiteral("3"));
        r.MoveHitsToFront(-1);
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{1, 1, 1, 1, 1}));
    }

    // Changes through the set's own members keep every hit whole and findable.
    void hitsStayWholeThroughTheirMembers()
    {
        CTrawlexQueryResults r;
        r.SetHits({{"a", "http://a/", QString(200, QLatin1Char('x')), true, {"AltaVista"}},
                   {"b", "http://B/", "short", true, {}}});
        QCOMPARE(r.StoredSummary(0), QStringLiteral("..."));
        QCOMPARE(r.Hits().at(0).summary, QStringLiteral("..."));
        QCOMPARE(r.StoredSummary(1), QStringLiteral("short"));
        r.ClearNewFlags();
        QCOMPARE(ResultsTestSupport::newFlags(r), (QList<int>{0, 0}));
        r.AddResult("b again", "http://b/", "", false, "Lycos");
        QCOMPARE(r.HitCount(), 2);
        QCOMPARE(r.engines(1), QStringList{"Lycos"});
        QCOMPARE(r.Hits().at(1).title, QStringLiteral("b"));
        QCOMPARE(r.engines(0), QStringList{"AltaVista"});
    }

    void updateEngineLevels_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("failed");
        QTest::addColumn<QString>("after");
        QTest::newRow("first pass, Yahoo failed")
            << "" << QStringList{"AltaVista", "Yahoo"} << QStringList{"Yahoo"} << "#AltaVista#@1@";
        QTest::newRow("second pass") << "#AltaVista#@1@" << QStringList{"AltaVista", "Yahoo"} << QStringList{}
                                     << "#AltaVista#@2@#Yahoo#@1@";
        QTest::newRow("after a blank") << " " << QStringList{"AltaVista", "Yahoo"} << QStringList{"Yahoo"}
                                       << " #AltaVista#@1@";
        QTest::newRow("9 becomes 10, rest unchanged")
            << "#AltaVista#@9@#Yahoo#@3@" << QStringList{"AltaVista"} << QStringList{} << "#AltaVista#@10@#Yahoo#@3@";
        QTest::newRow("order of first completion kept")
            << "#Yahoo#@1@#Lycos#@4@" << QStringList{"Lycos", "Excite", "Yahoo"} << QStringList{"Excite"}
            << "#Yahoo#@2@#Lycos#@5@";
        QTest::newRow("nothing counted gives a blank") << "" << QStringList{"Lycos"} << QStringList{"Lycos"} << " ";
        QTest::newRow("no engines reported") << "" << QStringList{} << QStringList{} << " ";
        QTest::newRow("a name inside a longer name is not its item")
            << "#HotBotRepeat#@2@" << QStringList{"HotBot"} << QStringList{} << "#HotBotRepeat#@2@#HotBot#@1@";
        QTest::newRow("engine names are exact") << "#yahoo#@4@" << QStringList{"Yahoo"} << QStringList{}
                                                << "#yahoo#@4@#Yahoo#@1@";
    }

    void updateEngineLevels()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, reported);
        QFETCH(QStringList, failed);
        QFETCH(QString, after);
        CTrawlexEngineLevels levels{before, reported, failed, {}};
        levels.Update();
        QCOMPARE(levels.text, after);
    }

    void pageCounter_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("levels");
        QTest::addColumn<int>("counter");
        QTest::newRow("no item") << "Lycos" << "#AltaVista#@2@" << 0;
        QTest::newRow("empty text") << "Lycos" << "" << 0;
        QTest::newRow("blank text") << "Lycos" << " " << 0;
        QTest::newRow("first item") << "AltaVista" << "#AltaVista#@2@#Yahoo#@1@" << 2;
        QTest::newRow("later item") << "Yahoo" << " #AltaVista#@2@#Yahoo#@12@" << 12;
        QTest::newRow("longer name not mistaken") << "HotBot" << "#HotBotRepeat#@2@#HotBot#@5@" << 5;
        QTest::newRow("letter case counts") << "yahoo" << "#Yahoo#@3@" << 0;
    }

    void pageCounter()
    {
        QFETCH(QString, engine);
        QFETCH(QString, levels);
        QFETCH(int, counter);
        QCOMPARE(GetPageCounter(engine, levels), counter);
    }

    void shortenSummary_data()
    {
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("stored");
        const QString words = QString("abcd ").repeated(40); // 200 characters, blanks every fifth
        QTest::newRow("empty") << "" << "";
        QTest::newRow("152 unchanged") << words.left(151) + "x" << words.left(151) + "x";
        QTest::newRow("153 cut at last blank") << words.left(152) + "x" << words.left(149) + "...";
        QString blankAt150 = QString(150, QChar('a')) + " " + QString(49, QChar('b'));
        QTest::newRow("200, blank at 150") << blankAt150 << QString(150, QChar('a')) + "...";
        QString blankAt152 = QString(152, QChar('a')) + " " + QString(47, QChar('b'));
        QTest::newRow("blank just past 152 does not count") << blankAt152 << "...";
        QTest::newRow("no blank") << QString(200, QChar('z')) << "...";
        // Characters, not UTF-16 units: 152 emoji are 304 units but fit.
        const QString emoji = QStringLiteral("😀");
        QTest::newRow("152 non-BMP unchanged") << emoji.repeated(152) << emoji.repeated(152);
        QTest::newRow("153 non-BMP cut") << emoji.repeated(10) + " " + emoji.repeated(142)
                                         << emoji.repeated(10) + "...";
    }

    void shortenSummary()
    {
        QFETCH(QString, summary);
        QFETCH(QString, stored);
        QCOMPARE(CTrawlexQueryResults::ShortenSummary(summary), stored);
    }

    void resets()
    {
        bool updating = false;
        CTrawlexQueryResults r;
        auto fill = [&r] {
            r.SetQid(5);
            r.SetLevel(2);
            r.AddResult("t", "u", "s", false);
            r.SetYahooPath("/next");
            r.EngineLevels().text = "#Yahoo#@1@";
            r.EngineLevels().reported = {"Yahoo"};
            r.EngineLevels().failed = {"Yahoo"};
        };

        fill();
        r.ResetForNextPass(updating);
        QCOMPARE(r.Qid(), -1);
        QCOMPARE(r.HitsReceived(), 0);
        QVERIFY(r.EngineLevels().reported.isEmpty() && r.EngineLevels().failed.isEmpty());
        QCOMPARE(r.HitCount(), 1);
        QCOMPARE(r.Level(), 2);
        QCOMPARE(r.EngineLevels().text, QStringLiteral("#Yahoo#@1@"));

        updating = true;
        r.SetQid(5);
        r.ResetForNextPass(updating);
        QCOMPARE(r.Qid(), 5);

        r.ResetForNewRun(updating); // update: the hits stay
        QCOMPARE(r.Qid(), -1);
        QCOMPARE(r.HitCount(), 1);
        QVERIFY(r.YahooPath().isEmpty() && r.EngineLevels().text.isEmpty());

        updating = false;
        fill();
        r.ResetForNewRun(updating);
        QCOMPARE(r.HitCount(), 0);
        QVERIFY(ResultsTestSupport::titles(r).isEmpty() && ResultsTestSupport::summaries(r).isEmpty() && ResultsTestSupport::newFlags(r).isEmpty());
        QVERIFY(ResultsTestSupport::engineLists(r).isEmpty());
        r.AddResult("t", "u", "s", false); // the index was emptied with the arrays
        QCOMPARE(r.HitCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestQueryResults)
#include "tst_query_results.moc"
