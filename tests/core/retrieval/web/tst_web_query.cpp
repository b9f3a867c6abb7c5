// The query as today's engines are asked it, and the same query applied to what they answer.
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQuery.h"
#include "retrieval/web/WebHitFilter.h"
#include "retrieval/web/WebQueryText.h"

#include <QTest>

namespace {

// keywords | groups | members | filters, each a comma-separated list of sheet entries.
CTrawlexQuery queryOf(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('|'));
    auto list = [&](int i) {
        return i < parts.size() ? parts.at(i).split(QLatin1Char(','), Qt::SkipEmptyParts) : QStringList();
    };
    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("q");
    entries.m_keywordEntries = list(0);
    entries.m_groupEntries = list(1);
    entries.m_memberEntries = list(2);
    entries.m_filterEntries = list(3);
    CTrawlexQuery query;
    entries.FillQuery(query);
    return query;
}

using Ops = WebQueryText::Operators;
using Op = WebQueryText::Operator;

} // namespace

class TestWebQuery final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("operators");
        QTest::addColumn<QString>("expected");
        const int all = int(Op::InTitle) | int(Op::InUrl) | int(Op::Site);
        QTest::newRow("plain words") << "include:apple,include:pie" << 0 << "apple pie";
        QTest::newRow("phrase") << "include:wild  orchids,include:care" << 0 << "\"wild orchids\" care";
        QTest::newRow("quotes dropped") << "include:say \"hi\"" << 0 << "\"say hi\"";
        QTest::newRow("excluded") << "include:apple,exclude:plastic,exclude:fake fruit" << 0
                                  << "apple -plastic -\"fake fruit\"";
        QTest::newRow("optional") << "include:apple,optional:pie,optional:tart" << 0 << "apple (pie OR tart)";
        QTest::newRow("one optional is asked plainly") << "include:apple,optional:pie" << 0 << "apple pie";
        QTest::newRow("groups by qualifier")
            << "include:fruit|include:red,exclude:sour,optional:soft|red:include:apple,red:include:cherry,"
               "sour:include:lemon,soft:include:peach,soft:include:plum"
            << 0 << "fruit (apple cherry) (peach plum) -(lemon)";
        QTest::newRow("optional members") << "|include:g|g:optional:a,g:optional:b,g:exclude:c" << 0
                                          << "((a OR b) -c)";
        QTest::newRow("filters with operators")
            << "include:orchid|||Title:include:care,URL:include:example.org,URL:exclude:shop,Title:exclude:sale"
            << all << "orchid intitle:care site:example.org -inurl:shop -intitle:sale";
        QTest::newRow("address filter without site") << "include:x|||URL:include:example.org" << int(Op::InUrl)
                                                     << "x inurl:example.org";
        QTest::newRow("filters without operators")
            << "include:orchid|||Title:include:care,URL:exclude:shop,Link:include:foo,Title:optional:maybe" << 0
            << "orchid care";
        QTest::newRow("nothing") << "" << all << "";
    }

    void text()
    {
        QFETCH(QString, query);
        QFETCH(int, operators);
        QFETCH(QString, expected);
        QCOMPARE(WebQueryText::compose(queryOf(query), Ops::fromInt(operators)), expected);
    }

    void operatorNamesRoundTrip()
    {
        const Ops all = Op::InTitle | Op::InUrl | Op::Site;
        QCOMPARE(WebQueryText::operatorNames(all), QStringLiteral("intitle inurl site"));
        QCOMPARE(WebQueryText::operatorsFromNames(QStringLiteral("site, INTITLE: bogus")), Op::Site | Op::InTitle);
        QCOMPARE(WebQueryText::operatorsFromNames(WebQueryText::operatorNames(all)), all);
        QCOMPARE(WebQueryText::operatorsFromNames(QString()), Ops());
    }

    void filter_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<bool>("kept");
        const QString ex = "include:orchid,exclude:plastic,exclude:fake fruit";
        QTest::newRow("clean") << ex << "Orchid care" << "https://a.example/x" << "Water weekly." << true;
        QTest::newRow("excluded in title") << ex << "PLASTIC orchids" << "https://a.example/" << "" << false;
        QTest::newRow("excluded in summary") << ex << "Orchids" << "https://a.example/" << "not plastic at all" << false;
        QTest::newRow("excluded in address") << ex << "Orchids" << "https://plastic.example/" << "" << false;
        QTest::newRow("part of a word is no match") << ex << "Plasticity of orchids" << "https://a.example/" << "" << true;
        QTest::newRow("excluded phrase") << ex << "Orchids" << "https://a.example/" << "no fake\tfruit here" << false;
        QTest::newRow("phrase words apart") << ex << "Orchids" << "https://a.example/" << "fake orchids, real fruit" << true;
        QTest::newRow("excluded member of included group")
            << "include:orchid|include:g|g:include:pot,g:exclude:cheap" << "Cheap pots" << "https://a.example/" << ""
            << false;
        QTest::newRow("excluded group's member stays") << "include:orchid|exclude:g|g:include:cheap" << "Cheap pots"
                                                       << "https://a.example/" << "" << true;
        const QString f = "include:orchid|||Title:include:care,URL:include:example.org,URL:exclude:shop,Title:exclude:sale";
        QTest::newRow("filters pass") << f << "Orchid CARE guide" << "https://www.example.org/care" << "" << true;
        QTest::newRow("title filter fails") << f << "Orchids" << "https://www.example.org/" << "care" << false;
        QTest::newRow("address filter fails") << f << "Care" << "https://other.example/" << "" << false;
        QTest::newRow("excluded address part") << f << "Care" << "https://example.org/shop/1" << "" << false;
        QTest::newRow("excluded title part") << f << "Care on SALE" << "https://example.org/" << "" << false;
        QTest::newRow("link filters are not checked") << "include:x|||Link:include:foo" << "x" << "https://a.example/" << ""
                                                      << true;
    }

    void filter()
    {
        QFETCH(QString, query);
        QFETCH(QString, title);
        QFETCH(QString, url);
        QFETCH(QString, summary);
        QFETCH(bool, kept);
        const WebHitFilter filter(queryOf(query));
        QCOMPARE(filter.accepts(EngineHit{title, url, summary}), kept);
    }
};

QTEST_GUILESS_MAIN(TestWebQuery)
#include "tst_web_query.moc"
