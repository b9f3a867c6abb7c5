#include "QueryTestSupport.h"

#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "query/QueryJson.h"

#include <QStandardPaths>
#include <QTest>

Q_DECLARE_METATYPE(CTrawlexQuery)

namespace {

CTrawlexQuery named(const QString &name)
{
    CTrawlexQuery q;
    q.m_strName = name;
    return q;
}

} // namespace

// The query's one text form: every query the sheet can make comes back equal, and the text
// `show` prints reads back to the same text.
class TestQueryJson final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void roundTrip_data()
    {
        QTest::addColumn<CTrawlexQuery>("query");

        QTest::newRow("empty") << CTrawlexQuery();
        QTest::newRow("quotes and backslashes") << named(QStringLiteral("say \"hi\" \\ C:\\dir\\ 'x'"));
        QTest::newRow("non-ASCII") << named(QStringLiteral("Straße\u00a0日本語 😀"));
        QTest::newRow("control characters") << named(QStringLiteral("tab\there\nline\x01"));

        CTrawlexQuery keywords;
        keywords.m_keywords = {{"apple", "include"}, {"green tea", "exclude"}, {"\"pie\"", "optional"},
                               {"a:b", "include"}, {"c:\\x\\", "exclude"}};
        QTest::newRow("keywords of each qualifier, phrases, colons") << keywords;

        CTrawlexQuery groups;
        groups.m_groups = {{"fruit", "include", {{"pear", "include"}, {"plum", "exclude"}, {"fig tree", "optional"}}},
                           {"empty", "exclude", {}},
                           {"Bäume", "optional", {{"ñ:ü", "include"}}}};
        QTest::newRow("groups with and without members") << groups;

        CTrawlexQuery filters;
        filters.m_filters = {{"include", "Title", "apple pie"}, {"exclude", "URL", "spam.com"},
                             {"optional", "Link", "\"q\"\\"}};
        QTest::newRow("filters of each type") << filters;

        CTrawlexQuery engines;
        engines.m_engines = CQuerySheetEntries::EngineOrder();
        QTest::newRow("every engine") << engines;
        engines.m_engines = {"Excite", "Yahoo"};
        QTest::newRow("some engines") << engines;

        QTest::newRow("every part") << QueryTestSupport::awkwardQuery();
    }

    void roundTrip()
    {
        QFETCH(CTrawlexQuery, query);
        const QByteArray json = QueryJson::ToJson(query);
        CTrawlexQuery back;
        QString error;
        QVERIFY2(QueryJson::Parse(json, back, error), qPrintable(error));
        QVERIFY2(back == query, QueryJson::ToJson(back).constData());
        QCOMPARE(QueryJson::ToJson(back), json);
    }

    // Hand-written text comes out in the one form `show` prints, which then stays as it is.
    void textSettles_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("written");

        QTest::newRow("empty object")
            << QByteArray("{}") << QByteArray(R"({"name":"","keywords":[],"groups":[],"members":[],"filters":[],"engines":[]})");
        QTest::newRow("keys in any order, blanks, engine order, trimmed name, empty entries")
            << QByteArray(R"( { "engines" : ["Yahoo", "AltaVista"], "keywords": ["", "include:a"],
                  "name": "  x  ", "filters": ["URL:exclude:spam"], "groups": ["include:g"], "members": ["g:optional:m"] } )")
            << QByteArray(R"({"name":"x","keywords":["include:a"],"groups":["include:g"],"members":["g:optional:m"],)"
                          R"("filters":["URL:exclude:spam"],"engines":["AltaVista","Yahoo"]})");
        QTest::newRow("escapes are written once, UTF-8 as it is")
            << QByteArray("{\"name\": \"\\u00e9\\\"\\\\\\/\\tx\"}")
            << QByteArray("{\"name\":\"\xc3\xa9\\\"\\\\/\\tx\",\"keywords\":[],\"groups\":[],\"members\":[],"
                          "\"filters\":[],\"engines\":[]}");
    }

    void textSettles()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, written);
        CTrawlexQuery query;
        QString error;
        QVERIFY2(QueryJson::Parse(input, query, error), qPrintable(error));
        QCOMPARE(QueryJson::ToJson(query), written);
        CTrawlexQuery again;
        QVERIFY2(QueryJson::Parse(written, again, error), qPrintable(error));
        QVERIFY(again == query);
        QCOMPARE(QueryJson::ToJson(again), written);
    }
};

QTEST_GUILESS_MAIN(TestQueryJson)
#include "tst_query_json.moc"
