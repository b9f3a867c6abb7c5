#include "retrieval/HttpRequestText.h"
#include "retrieval/engines/EngineParsers.h"
#include "retrieval/engines/EngineRequests.h"

#include <QtTest>

// The request tails each engine is sent, byte for byte.
class TestEngineRequests : public QObject
{
    Q_OBJECT

private slots:
    void firstPage_data();
    void firstPage();
    void nextPage_data();
    void nextPage();
    void escapesInEveryRun_data();
    void escapesInEveryRun();
    void unknownEngineBuildsNothing();
    void yahooContinuation_data();
    void yahooContinuation();
};

namespace {
const QStringList kCatsNotDogs{"and", "cats", "not", "dogs"};
const QStringList kGroup{"and", "pets", "and", "(cats", "or", "dogs", ")"};
}

void TestEngineRequests::firstPage_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("altavista and-not") << "AltaVista" << kCatsNotDogs
        << QByteArray("?pg=aq&text=yes&what=web&kl=XX&q=and+cats+and+not+dogs&r=&d0=21%2FMar%2F86&d1=&act=search");
    QTest::newRow("altavista leading not stands alone") << "AltaVista" << QStringList{"not", "cats", "and", "dogs"}
        << QByteArray("?pg=aq&text=yes&what=web&kl=XX&q=not+cats+and+dogs&r=&d0=21%2FMar%2F86&d1=&act=search");
    QTest::newRow("altavista group and filters") << "AltaVista"
        << QStringList{"and", "pets", "not", "(cats", "or", "dogs", ")", "not", "Title:Fleas", "and", "URL:vet"}
        << QByteArray("?pg=aq&text=yes&what=web&kl=XX&q=and+pets+and+not+%28cats+or+dogs+%29+and+not+title%3AFleas+and+uRL%3Avet"
                      "&r=&d0=21%2FMar%2F86&d1=&act=search");
    QTest::newRow("excite operators") << "Excite" << QStringList{"and", "cats", "or", "dogs"}
        << QByteArray("?look=default&search=AND+cats+OR+dogs&tsug=0&csug=10&Search=Search&collection=web"
                      "&clk=b-b-F1&showSummary=true&sorig=rpage&trace=b");
    QTest::newRow("excite drops filters") << "Excite" << QStringList{"and", "cats", "not", "dogs", "and", "Title:x"}
        << QByteArray("?look=default&search=AND+cats+AND+NOT+dogs+AND&tsug=0&csug=10&Search=Search&collection=web"
                      "&clk=b-b-F1&showSummary=true&sorig=rpage&trace=b");
    QTest::newRow("infoseek and prefixes") << "InfoSeek" << QStringList{"and", "cats", "and", "dogs"}
        << QByteArray("Titles?qt=%2B%2Bcats+%2Bdogs&col=WW&sv=IS&lk=noframes&nh=10");
    QTest::newRow("infoseek filters lowered") << "InfoSeek" << QStringList{"and", "cats", "or", "dogs", "and", "URL:Vet.COM", "and", "Title:Y", "not", "Link:X"}
        << QByteArray("Titles?qt=%2B%2Bcats+dogs+%2Burl%3AVet.COM+%2btitle%3AY+not+link%3AX&col=WW&sv=IS&lk=noframes&nh=10");
    QTest::newRow("infoseek trailing and keeps its last character") << "InfoSeek" << QStringList{"cats", "and"}
        << QByteArray("Titles?qt=%2Bcats+%2B&col=WW&sv=IS&lk=noframes&nh=10");
    QTest::newRow("yahoo prefixes") << "Yahoo" << kCatsNotDogs << QByteArray("bin/search?p=%2B%2Bcats+-dogs");
    QTest::newRow("yahoo filters") << "Yahoo" << QStringList{"and", "cats", "and", "Title:Fleas", "not", "URL:vet", "or", "Link:x"}
        << QByteArray("bin/search?p=%2B%2Bcats+%2Bt%3AFleas+-url%3Avet+Link%3Ax");
    QTest::newRow("hotbot group") << "HotBot" << kGroup
        << QByteArray("?SW=web&SM=B&MT=AND+pets+AND+%28cats+OR+dogs+%29&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3");
    QTest::newRow("hotbot filters first page") << "HotBot"
        << QStringList{"and", "cats", "and", "URL:example", "not", "Title:a:b", "or", "Link:x", "and", "link:y"}
        << QByteArray("?SW=web&SM=B&MT=AND+cats+AND+domain%3Aexample+nOT+title%3Aab+oR+link%3Ax+aND+linkdomain%3Ay"
                      "&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3");
    QTest::newRow("lycos sends filters before groups as plain words") << "Lycos"
        << QStringList{"and", "cats", "and", "Title:x", "and", "(a", "or", "b", ")", "and", "URL:y"}
        << QByteArray("cgi-bin/pursuit?query=AND+cats+AND+Title:x+AND+%28a+OR+b+%29+AND"
                      "&adv=1&mtemp=java&rt=1&rtwm=1000&rttf=50&rtfd=50&rtpn=15&rtpy=50&rtor=10");
    QTest::newRow("magellan not joined") << "Magellan" << QStringList{"not", "cats", "not", "dogs"}
        << QByteArray("search.gw?search=NOT+cats+AND+NOT+dogs&c=web&look=magellan");
    QTest::newRow("no words") << "AltaVista" << QStringList{}
        << QByteArray("?pg=aq&text=yes&what=web&kl=XX&q&r=&d0=21%2FMar%2F86&d1=&act=search");
    QTest::newRow("lone closing parenthesis") << "Lycos" << QStringList{"(a", ")"}
        << QByteArray("cgi-bin/pursuit?query=%28a+%29&adv=1&mtemp=java&rt=1&rtwm=1000&rttf=50&rtfd=50&rtpn=15&rtpy=50&rtor=10");
}

void TestEngineRequests::firstPage()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, words);
    QFETCH(QByteArray, expected);
    QVERIFY(EngineRequests::hasBuilder(engine));
    QCOMPARE(EngineRequests::firstPageQuery(engine, words), expected);
}

void TestEngineRequests::nextPage_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QByteArray>("expected");

    const QStringList cats{"and", "cats"};
    for (int n = 1; n <= 3; ++n) {
        const QByteArray N = QByteArray::number(n);
        QTest::addRow("altavista %d", n) << "AltaVista" << cats << n
            << QByteArray("?pg=aq&text=yes&q=and+cats&stq=" + QByteArray::number(10 * n));
        QTest::addRow("infoseek %d", n) << "InfoSeek" << cats << n
            << QByteArray("Titles?qt=%2B%2Bcats&lk=noframes&st=" + QByteArray::number(10 * n));
        // Excite, Magellan and HotBot count hits from 0: the page after n pages starts at 10n.
        QTest::addRow("excite %d", n) << "Excite" << cats << n
            << QByteArray("?look=default&collection=web&search=AND+cats&start=" + QByteArray::number(10 * n)
                          + "&showSummary=true&perPage=10&next=Next+Results");
        QTest::addRow("lycos %d", n) << "Lycos" << cats << n
            << QByteArray("cgi-bin/pursuit?query=AND+cats&adv=1&mtemp=java&rt=1&rtwm=1000&rttf=50&rtfd=50&rtpn=15"
                          "&rtpy=50&rtor=10&first=" + QByteArray::number(10 * n + 1));
        QTest::addRow("magellan %d", n) << "Magellan" << cats << n
            << QByteArray("search.gw?search=AND+cats&look=magellan&next=Next+Results&start="
                          + QByteArray::number(10 * n) + "&collection=web");
        QTest::addRow("hotbot %d", n) << "HotBot" << cats << n
            << QByteArray("/?MT=AND+cats&base=" + QByteArray::number(10 * n) + "&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9");
    }
    QTest::newRow("hotbot next page maps URL to linkdomain") << "HotBot" << QStringList{"and", "URL:example", "and", "Link:x"} << 1
        << QByteArray("/?MT=AND+linkdomain%3Aexample+aND+link%3Ax&base=10&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9");
    QTest::newRow("excite next page lets filters through run A") << "Excite" << QStringList{"and", "cats", "and", "Title:x"} << 2
        << QByteArray("?look=default&collection=web&search=AND+cats+AND+Title:x&start=20&showSummary=true&perPage=10&next=Next+Results");
}

void TestEngineRequests::nextPage()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, words);
    QFETCH(int, counter);
    QFETCH(QByteArray, expected);
    QCOMPARE(EngineRequests::nextPageQuery(engine, words, counter, QString()), expected);
}

void TestEngineRequests::escapesInEveryRun_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QByteArray>("fragment");

    QTest::newRow("plain run") << "AltaVista" << QStringList{"and", "rock,\"roll\"'s"} << QByteArray("rock%2C%22roll%22%27s");
    QTest::newRow("group run") << "HotBot" << QStringList{"and", "x", "and", "(a,b", "or", "c'd", ")"} << QByteArray("%28a%2Cb+OR+c%27d+%29");
    QTest::newRow("filter run") << "AltaVista" << QStringList{"and", "x", "and", "Title:\"a,b\""} << QByteArray("title%3A%22a%2Cb%22");
    QTest::newRow("query-string characters") << "Lycos" << QStringList{"and", "c++&a=b#c%"} << QByteArray("c%2B%2B%26a%3Db%23c%25");
    QTest::newRow("non-ascii as utf-8") << "Excite" << QStringList{"and", QString::fromUtf8("caf\xc3\xa9")} << QByteArray("caf%C3%A9");
}

void TestEngineRequests::escapesInEveryRun()
{
    QFETCH(QString, engine);
    QFETCH(QStringList, words);
    QFETCH(QByteArray, fragment);
    const QByteArray first = EngineRequests::firstPageQuery(engine, words);
    QVERIFY2(first.contains(fragment), first.constData());
    QVERIFY2(!first.contains(' ') && !first.contains('"') && !first.contains('\''), first.constData());
}

void TestEngineRequests::unknownEngineBuildsNothing()
{
    QVERIFY(!EngineRequests::hasBuilder("HotBotRepeat"));
    QVERIFY(!EngineRequests::hasBuilder("altavista")); // names are exact
    QVERIFY(EngineRequests::firstPageQuery("OpenText", {"cats"}).isEmpty());
    QCOMPARE(EngineRequests::nextPageQuery("Yahoo", {"ignored"}, 2, " /bin/search?p=cats&b=21 "),
             QByteArray("bin/search?p=cats&b=21"));
    QCOMPARE(EngineRequests::nextPageQuery("Yahoo", {}, 1, "bin/search?p=a b"), QByteArray("bin/search?p=a%20b"));
    // Yahoo's own escapes stay as they are.
    QCOMPARE(EngineRequests::nextPageQuery("Yahoo", {}, 1, "/bin/search?p=%2Bapple&b=21"),
             QByteArray("bin/search?p=%2Bapple&b=21"));
}

void TestEngineRequests::yahooContinuation_data()
{
    QTest::addColumn<QByteArray>("link"); // the next-set link's address as the page has it
    QTest::addColumn<QByteArray>("tail"); // what the next request sends after the engine's path

    QTest::newRow("as it is") << QByteArray("/bin/search?p=orchids&b=21&h=s&n=20")
                              << QByteArray("bin/search?p=orchids&b=21&h=s&n=20");
    QTest::newRow("blank") << QByteArray("/bin/search?p=wild orchids&b=21&h=s&n=20")
                           << QByteArray("bin/search?p=wild%20orchids&b=21&h=s&n=20");
    QTest::newRow("Yahoo's own escapes") << QByteArray("/bin/search?p=%2Bwild+orchids&b=21")
                                         << QByteArray("bin/search?p=%2Bwild+orchids&b=21");
    QTest::newRow("control characters") << QByteArray("/bin/search?p=a\tb\x01" "c\x7f&b=21")
                                        << QByteArray("bin/search?p=a%09b%01c%7F&b=21");
    // The page's line ends would otherwise start a header of the page's choosing.
    QTest::newRow("line feed") << QByteArray("/bin/search?p=x\nHost: evil&b=21") << QByteArray("bin/search?p=x%0AHost:%20evil&b=21");
    QTest::newRow("lone CR") << QByteArray("/bin/search?p=x\rHost: evil&b=21") << QByteArray("bin/search?p=x%0DHost:%20evil&b=21");
    QTest::newRow("blank then a version") << QByteArray("/bin/search?p=x HTTP/1.1&b=21")
                                          << QByteArray("bin/search?p=x%20HTTP/1.1&b=21");
    // An undeclared page is Windows-1252; its characters go as UTF-8.
    QTest::newRow("non-ASCII") << QByteArray("/bin/search?p=caf\xe9 \x80&b=21")
                               << QByteArray("bin/search?p=caf%C3%A9%20%E2%82%AC&b=21");
}

void TestEngineRequests::yahooContinuation()
{
    // From the page's link through the parser's Extra to the request line that asks for it.
    QFETCH(QByteArray, link);
    QFETCH(QByteArray, tail);
    const QByteArray page = "<TITLE>Yahoo! Search Results</TITLE>\n<B>Yahoo! Site Matches</B>\n<UL TYPE=disc>\n"
                            "<LI><A HREF=\"http://s.example/\">Site</A> - about it\n</UL>\n<CENTER>[<B><A HREF=\""
        + link + "\">Next 20 Matches</A></B>]</CENTER><P>\n";
    int hits = 0;
    const QString extra = EngineParsers::parse("Yahoo", page, [&hits](EngineHit &&) { ++hits; });
    QCOMPARE(hits, 1);
    QVERIFY(extra != QLatin1String(" "));

    const QByteArray query = EngineRequests::nextPageQuery("Yahoo", {}, 1, extra);
    QCOMPARE(query, tail);
    const QByteArray request = HttpRequestText::build("yahoo/", query);
    QCOMPARE(request, "GET /yahoo/" + tail + " HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n");
    QCOMPARE(request.count('\n'), 3);
    QVERIFY(!request.contains('\r'));
}

QTEST_GUILESS_MAIN(TestEngineRequests)
#include "tst_engine_requests.moc"
