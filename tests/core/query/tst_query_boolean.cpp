#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"

#include <QStandardPaths>
#include <QTest>

// The boolean text is what every engine request is rebuilt from, so it is checked to the byte.
class TestQueryBoolean final : public QObject
{
    Q_OBJECT

private:
    static CTrawlexQuery fromEntries(const QStringList &keywords, const QStringList &groups,
                                     const QStringList &members, const QStringList &filters)
    {
        CQuerySheetEntries e;
        e.m_keywordEntries = keywords;
        e.m_groupEntries = groups;
        e.m_memberEntries = members;
        e.m_filterEntries = filters;
        CTrawlexQuery q;
        e.FillQuery(q);
        return q;
    }

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void booleanText_data()
    {
        QTest::addColumn<QStringList>("keywords");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QString>("expected");

        const QStringList none;
        QTest::newRow("worked example")
            << QStringList{"exclude:pie", "include:apple", "optional:green tea"} << QStringList{"include:fruit"}
            << QStringList{"fruit:include:pear", "fruit:exclude:plum", "fruit:optional:fig"}
            << QStringList{"URL:exclude:spam"}
            << QStringLiteral("apple not pie or \"green tea\" \r\nand  ( pear not plum or fig  )\r\nnot URL:spam\r\n");
        QTest::newRow("first keyword excluded") << QStringList{"exclude:a", "include:b"} << none << none << none
                                                << QStringLiteral("b not a \r\n");
        QTest::newRow("single keyword") << QStringList{"include:apple"} << none << none << none
                                        << QStringLiteral("apple \r\n");
        QTest::newRow("no included keyword: first leads")
            << QStringList{"exclude:a", "optional:b"} << none << none << none << QStringLiteral("a or b \r\n");
        QTest::newRow("group without keywords starts at 0")
            << none << QStringList{"include:g"} << QStringList{"g:include:x"} << none
            << QStringLiteral("and  ( x  )\r\n");
        QTest::newRow("first member optional, later optional")
            << QStringList{"include:k"} << QStringList{"optional:g"} << QStringList{"g:optional:y", "g:optional:z"}
            << none << QStringLiteral("k \r\nor  ( y or z  )\r\n");
        QTest::newRow("first member excluded") << none << QStringList{"exclude:g"} << QStringList{"g:exclude:x"}
                                               << none << QStringLiteral("not  ( not x  )\r\n");
        QTest::newRow("empty group") << QStringList{"include:k"} << QStringList{"include:g"} << none << none
                                     << QStringLiteral("k \r\nand  ( )\r\n");
        QTest::newRow("two groups keep their order")
            << none << QStringList{"include:b", "optional:a"} << QStringList{"a:include:x", "b:include:y"} << none
            << QStringLiteral("and  ( y  )\r\nor  ( x  )\r\n");
        QTest::newRow("group with an unknown qualifier")
            << none << QStringList{"maybe:g"} << QStringList{"g:include:x"} << none << QStringLiteral(" ( x  )\r\n");
        QTest::newRow("first member with an unknown qualifier")
            << none << QStringList{"include:g"} << QStringList{"g:sometimes:x"} << none
            << QStringLiteral("and  ( error x  )\r\n");
        QTest::newRow("quoted only with a blank")
            << QStringList{"include:c++", "include:new york", "exclude:a\"b"} << none << none << none
            << QStringLiteral("c++ and \"new york\" not a\"b \r\n");
        QTest::newRow("only a filter") << none << none << none << QStringList{"Title:include:apple"}
                                       << QStringLiteral("and Title:apple\r\n");
        QTest::newRow("filter with a phrase") << none << none << none << QStringList{"Link:exclude:a b"}
                                              << QStringLiteral("not Link:\"a b\"\r\n");
        QTest::newRow("filter keyword keeps text after its last colon")
            << none << none << none << QStringList{"URL:optional:http://x"} << QStringLiteral("or URL://x\r\n");
        QTest::newRow("keyword entry without colon is passed over")
            << QStringList{"apple", "include:b"} << none << none << none << QStringLiteral("b \r\n");
        QTest::newRow("member of an unknown group is dropped")
            << none << QStringList{"include:a:b"} << QStringList{"a:b:include:x"} << none
            << QStringLiteral("and  ( )\r\n");
        QTest::newRow("empty entries skipped") << QStringList{"", "include:a", ""} << QStringList{""}
                                               << QStringList{""} << QStringList{""} << QStringLiteral("a \r\n");
        QTest::newRow("empty query") << none << none << none << none << QString();
    }

    void booleanText()
    {
        QFETCH(QStringList, keywords);
        QFETCH(QStringList, groups);
        QFETCH(QStringList, members);
        QFETCH(QStringList, filters);
        QFETCH(QString, expected);
        const CTrawlexQuery q = fromEntries(keywords, groups, members, filters);
        QCOMPARE(q.GetBooleanText(), expected);
        QCOMPARE(q.HasGroups(), expected.contains(QLatin1Char('(')));
    }

    void colonInKeywordCountsAsFilter()
    {
        const CTrawlexQuery q = fromEntries({"include:a:b"}, {}, {}, {});
        QCOMPARE(q.m_keywords.first().m_strKeyword, QStringLiteral("a:b"));
        QVERIFY(q.m_filters.isEmpty());
        QVERIFY(q.HasFilters());
        QVERIFY(!q.HasGroups());
        QVERIFY(!fromEntries({"include:a"}, {}, {}, {}).HasFilters());
    }

    void qualifierToOperator_data()
    {
        QTest::addColumn<QString>("qualifier");
        QTest::addColumn<QString>("op");
        QTest::newRow("include") << "include" << "and";
        QTest::newRow("exclude") << "exclude" << "not";
        QTest::newRow("optional") << "optional" << "or";
        QTest::newRow("letter case counts") << "Include" << "error";
        QTest::newRow("empty") << "" << "error";
    }

    void qualifierToOperator()
    {
        QFETCH(QString, qualifier);
        QFETCH(QString, op);
        QCOMPARE(QualifierToOperator(qualifier), op);
    }

    void findGroupIsExact()
    {
        const CTrawlexQuery q = fromEntries({}, {"include:Fruit", "include:fruit", "include:fruit"}, {}, {});
        QCOMPARE(q.FindGroup("fruit"), 1);
        QCOMPARE(q.FindGroup("Fruit"), 0);
        QCOMPARE(q.FindGroup("FRUIT"), -1);
    }

    void fillQueryNameAndEngines()
    {
        CQuerySheetEntries e;
        e.m_strName = QStringLiteral(" \t my query \n");
        e.m_engines = {"Yahoo", "AltaVista", "Lycos", "yahoo", "Nowhere"};
        e.m_memberEntries = {"fruit:include:pear"}; // group listed after its members in no list
        e.m_groupEntries = {"exclude:fruit"};
        CTrawlexQuery q;
        q.m_keywords.append(CTrawlexKeyword{"stale", "include"});
        e.FillQuery(q);
        QCOMPARE(q.m_strName, QStringLiteral("my query"));
        QCOMPARE(q.m_engines, (QStringList{"AltaVista", "Lycos", "Yahoo"}));
        QVERIFY(q.m_keywords.isEmpty());
        QCOMPARE(q.m_groups.size(), 1);
        QCOMPARE(q.m_groups.first().m_members, (QList<CTrawlexKeyword>{{"pear", "include"}}));
        QStringList engines{"left over"};
        q.GetEngines(engines);
        QCOMPARE(engines, q.m_engines);
    }

    void filterAndMemberSplitting()
    {
        const CTrawlexQuery q =
            fromEntries({"optional:x:y"}, {"include:g"}, {"g:exclude:a:b"}, {"Title:include:x:y", "Link"});
        QCOMPARE(q.m_keywords.first(), (CTrawlexKeyword{"x:y", "optional"}));
        QCOMPARE(q.m_groups.first().m_members.first(), (CTrawlexKeyword{"a:b", "exclude"}));
        QCOMPARE(q.m_filters.at(0), (CTrawlexFilter{"include", "Title", "y"}));
        // No colon at all: only a keyword, with no type and no qualifier.
        QCOMPARE(q.m_filters.at(1), (CTrawlexFilter{"", "", "Link"}));
    }

    void entriesRoundTrip()
    {
        const CTrawlexQuery original = fromEntries({"exclude:pie", "include:apple"}, {"include:b", "optional:a"},
                                                   {"b:include:y", "a:exclude:x", "a:optional:z"},
                                                   {"URL:exclude:spam", "Link:include:a b"});
        const CQuerySheetEntries entries = CQuerySheetEntries::FromQuery(original);
        QCOMPARE(entries.m_memberEntries, (QStringList{"b:include:y", "a:exclude:x", "a:optional:z"}));
        QCOMPARE(entries.m_filterEntries, (QStringList{"URL:exclude:spam", "Link:include:a b"}));
        CTrawlexQuery again;
        entries.FillQuery(again);
        QCOMPARE(again, original);
    }

    void clearEmptiesEverything()
    {
        CTrawlexQuery q = fromEntries({"include:a"}, {"include:g"}, {"g:include:x"}, {"URL:include:u"});
        q.m_strName = "n";
        q.m_engines = {"Yahoo"};
        q.Clear();
        QCOMPARE(q, CTrawlexQuery());
        QCOMPARE(q.GetBooleanText(), QString());
    }
};

QTEST_GUILESS_MAIN(TestQueryBoolean)
#include "tst_query_boolean.moc"
