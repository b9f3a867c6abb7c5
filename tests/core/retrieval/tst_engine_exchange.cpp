// One engine's exchange with a loopback server: the request bytes, reading the page, the end of
// the page, failures, HotBot's redirect and Yahoo's early parse.
#include "LoopbackEngineServer.h"
#include "LoopbackPacketReceiver.h"
#include "LoopbackPages.h"
#include "LoopbackRun.h"
#include "ManualClock.h"
#include "retrieval/CRetrievalRun.h"
#include "retrieval/CTrawlexEngineSocket.h"
#include "retrieval/ResultPacketRef.h"
#include "retrieval/RetrievalParams.h"

#include <QStandardPaths>
#include <QTest>

using LoopbackPages::Hit;
using Script = LoopbackEngineServer::Script;

namespace {
const QByteArray kTail = " HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n";
}

class TestEngineExchange final : public QObject
{
    Q_OBJECT

private:
    long long m_releasedBefore = 0;
    int m_packetsBefore = 0;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void requestBytes_data();
    void requestBytes();
    void pageSplitAcrossReads();
    void pageEnd_data();
    void pageEnd();
    void failuresEndAtOnce_data();
    void failuresEndAtOnce();
    void pageTooLargeEndsAsFailed();
    void hotBotRedirect_data();
    void hotBotRedirect();
    void hotBotRepeatFailures_data();
    void hotBotRepeatFailures();
    void yahooEarlyParse();
    void yahooPageAndTimeout();
    void yahooPageOverSeveralReads_data();
    void yahooPageOverSeveralReads();
};

void TestEngineExchange::requestBytes_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("storedPath"); // after host:port
    QTest::addColumn<bool>("hashMarks");
    QTest::addColumn<QString>("booleanText");
    QTest::addColumn<QString>("levels");
    QTest::addColumn<QString>("yahooPath");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("AltaVista first page")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query") << false << "and cats not dogs " << ""
        << "" << QByteArray("GET /altavista/cgi-bin/query?pg=aq&text=yes&what=web&kl=XX&q=and+cats+and+not+dogs"
                            "&r=&d0=21%2FMar%2F86&d1=&act=search") + kTail;
    QTest::newRow("# marks, http:// and a path")
        << "AltaVista" << QByteArray("/cgi-bin/x") << true << "and cats not dogs " << "" << ""
        << QByteArray("GET /cgi-bin/x?pg=aq&text=yes&what=web&kl=XX&q=and+cats+and+not+dogs"
                      "&r=&d0=21%2FMar%2F86&d1=&act=search") + kTail;
    QTest::newRow("AltaVista third page")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query") << false << "and cats not dogs "
        << "#Excite#@1@#AltaVista#@3@" << ""
        << QByteArray("GET /altavista/cgi-bin/query?pg=aq&text=yes&q=and+cats+and+not+dogs&stq=30") + kTail;
    QTest::newRow("Yahoo first page") << "Yahoo" << QByteArray("/yahoo/") << false << "and cats not dogs "
                                      << " " << "" << QByteArray("GET /yahoo/bin/search?p=%2B%2Bcats+-dogs") + kTail;
    QTest::newRow("Yahoo next set") << "Yahoo" << QByteArray("/yahoo/") << false << "and cats not dogs "
                                    << "#Yahoo#@1@" << "/bin/search?p=cats&b=21"
                                    << QByteArray("GET /yahoo/bin/search?p=cats&b=21") + kTail;
    // Yahoo wrote the query's blanks into its next-set link; the request line stays one line.
    QTest::newRow("Yahoo next set with blanks") << "Yahoo" << QByteArray("/yahoo/") << false << "and wild orchids "
                                                << "#Yahoo#@1@" << "/bin/search?p=wild orchids&b=21&h=s&n=20"
                                                << QByteArray("GET /yahoo/bin/search?p=wild%20orchids&b=21&h=s&n=20") + kTail;
}

void TestEngineExchange::requestBytes()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, storedPath);
    QFETCH(bool, hashMarks);
    QFETCH(QString, booleanText);
    QFETCH(QString, levels);
    QFETCH(QString, yahooPath);
    QFETCH(QByteArray, expected);

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/", LoopbackEngineServer::page(LoopbackPages::noResults()));
    QByteArray address = server.hostPort() + storedPath;
    if (hashMarks)
        address = "#http://" + address + '#';
    LoopbackPacketReceiver rx;
    auto params = LoopbackRun::params({engine}, LoopbackRun::addressList({{engine, address}}), &rx, 4, 5, booleanText);
    params->engineLevels = levels;
    params->yahooPath = yahooPath;
    params->bMoreResults = !yahooPath.isEmpty();
    CRetrievalRun run;
    LoopbackRun::runToEnd(run, std::move(params));

    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(server.requests().first().bytes, expected);
    QVERIFY(!server.requests().first().bytes.contains('\r'));
    const auto *done = rx.completionOf(engine);
    QVERIFY(done);
    QCOMPARE(done->count, 0);
}

void TestEngineExchange::pageSplitAcrossReads()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    const QList<Hit> hits = LoopbackPages::sampleHits(3, "split");
    const QByteArray page = LoopbackPages::altaVista(hits);
    // Cut inside the hits, so fields straddle reads; the end tag arrives whole in the last part.
    const qsizetype a = page.indexOf("<strong>") + 4;
    const qsizetype b = page.lastIndexOf("<dd>") + 2;
    server.setScript("/altavista", LoopbackEngineServer::split({page.left(a), page.mid(a, b - a), page.mid(b)}, 60));
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(
        run, LoopbackRun::params({"AltaVista"}, LoopbackRun::addressList({{"AltaVista", server.hostPort() + "/altavista/q"}}), &rx, 4, 5));

    const auto got = rx.hits();
    QCOMPARE(got.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(got.at(i).title, QString::fromLatin1(hits.at(i).title));
        QCOMPARE(got.at(i).url, QString::fromLatin1(hits.at(i).url));
        QCOMPARE(got.at(i).summary, QString::fromLatin1(hits.at(i).summary));
    }
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().engine, QStringLiteral("AltaVista"));
    QCOMPARE(rx.completions().first().count, 3);
    QCOMPARE(rx.records().last().kind, LoopbackPacketReceiver::Kind::Done);
    QVERIFY2(ms < 3000, "ended by the page, not by the time limit");
}

void TestEngineExchange::pageEnd_data()
{
    QTest::addColumn<QList<QByteArray>>("parts");
    QTest::addColumn<int>("expectedCount"); // -1: ended by the time limit

    const QByteArray page = LoopbackPages::altaVista(LoopbackPages::sampleHits(2));
    const qsizetype end = page.indexOf("</HTML>");
    QTest::newRow("end tag in the last read") << QList<QByteArray>{page.left(end), page.mid(end)} << 2;
    QByteArray lower = page;
    lower.replace("</HTML>", "</html>");
    QTest::newRow("end tag in lower case") << QList<QByteArray>{lower} << 2;
    QTest::newRow("end tag split over two reads")
        << QList<QByteArray>{page.left(end + 4), page.mid(end + 4)} << -1;
    QByteArray moved = page;
    moved.replace("HTTP/1.0 200 OK", "HTTP/1.0 302 Moved");
    QTest::newRow("redirect status in the same read") << QList<QByteArray>{moved} << -1;
    QTest::newRow("redirect status, end tag in a later read") << QList<QByteArray>{moved.left(40), moved.mid(40)} << -1;
    QTest::newRow("closed before the end") << QList<QByteArray>{page.left(end)} << -1;
    QTest::newRow("closed without a byte") << QList<QByteArray>{} << -1;
    QTest::newRow("headers only, then closed") << QList<QByteArray>{QByteArray("HTTP/1.0 500 Oops\r\n\r\n")} << -1;
}

void TestEngineExchange::pageEnd()
{
    QFETCH(QList<QByteArray>, parts);
    QFETCH(int, expectedCount);

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/altavista", LoopbackEngineServer::split(parts, 80));
    LoopbackPacketReceiver rx;
    ManualClock clock;
    CRetrievalRun run;
    auto params = LoopbackRun::params({"AltaVista"}, LoopbackRun::addressList({{"AltaVista", server.hostPort() + "/altavista/q"}}), &rx, 4, 1);
    if (expectedCount < 0) {
        // Only once the server has said all and closed may the limit pass.
        QVERIFY(LoopbackRun::runOnClock(run, std::move(params), clock, std::chrono::seconds(1), [&server] {
            return !server.requests().isEmpty() && server.requests().first().closedAtMs >= 0;
        }));
        QVERIFY(rx.hits().isEmpty());
        QCOMPARE(rx.completions().first().reason, QStringLiteral("no answer within 1 seconds"));
    } else {
        // The clock stands still: only the page can end the engine.
        params->clock = &clock;
        LoopbackRun::runToEnd(run, std::move(params));
    }
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().count, expectedCount);
}

void TestEngineExchange::failuresEndAtOnce_data()
{
    QTest::addColumn<QString>("addressList");
    const QByteArray refused = "127.0.0.1:" + QByteArray::number(LoopbackRun::closedPort());
    QTest::newRow("refused port") << LoopbackRun::addressList({{"Excite", refused + "/excite/search.gw"}});
    QTest::newRow("no entry for the engine") << LoopbackRun::addressList({{"Lycos", refused + "/lycos/"}});
    QTest::newRow("address without a path") << LoopbackRun::addressList({{"Excite", "127.0.0.1:80"}});
    QTest::newRow("invalid port") << LoopbackRun::addressList({{"Excite", "127.0.0.1:99999/x"}});
    QTest::newRow("empty list") << QString();
}

void TestEngineExchange::failuresEndAtOnce()
{
    QFETCH(QString, addressList);
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(run, LoopbackRun::params({"Excite"}, addressList, &rx, 4, 10));
    QCOMPARE(rx.records().size(), 1);
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().engine, QStringLiteral("Excite"));
    QCOMPARE(rx.completions().first().count, -1);
    QVERIFY2(ms < 2000, qPrintable(QStringLiteral("%1 ms; the time limit was 10 s").arg(ms)));
}

void TestEngineExchange::pageTooLargeEndsAsFailed()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    QByteArray huge = LoopbackPages::httpOk("<HTML><BODY>");
    huge += QByteArray(CTrawlexEngineSocket::kMaxPageBytes + 1024, 'x');
    Script s;
    s.kind = Script::KeepOpen;
    s.parts = {huge};
    server.setScript("/magellan", s);
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(
        run, LoopbackRun::params({"Magellan"}, LoopbackRun::addressList({{"Magellan", server.hostPort() + "/magellan/"}}), &rx, 4, 30));
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().count, -1);
    QVERIFY2(ms < 20000, qPrintable(QString::number(ms)));
}

void TestEngineExchange::hotBotRedirect_data()
{
    QTest::addColumn<bool>("splitLocation");
    QTest::addColumn<bool>("twice");
    QTest::newRow("one answer") << false << false;
    QTest::newRow("Location line split over two reads") << true << false;
    QTest::newRow("redirected twice") << false << true;
}

void TestEngineExchange::hotBotRedirect()
{
    QFETCH(bool, splitLocation);
    QFETCH(bool, twice);

    LoopbackEngineServer first;
    LoopbackEngineServer repeat;
    QVERIFY(first.listen());
    QVERIFY(repeat.listen());
    // The Location names another host: the repeat must go to the HotBotRepeat address.
    const QByteArray moved = LoopbackPages::hotBotMoved("http://search.hotbot.example/hotbot-repeat/?MT=cats&SM=B x");
    if (splitLocation) {
        const qsizetype cut = moved.indexOf("repeat/?MT");
        first.setScript("/hotbot", LoopbackEngineServer::split({moved.left(cut), moved.mid(cut)}, 100));
    } else {
        first.setScript("/hotbot", LoopbackEngineServer::page(moved));
    }
    if (twice)
        repeat.setScript("/hotbot-repeat/?MT=cats", LoopbackEngineServer::page(LoopbackPages::hotBotMoved("http://elsewhere/final?x=1")));
    const QList<Hit> hits = LoopbackPages::sampleHits(2, "hot");
    repeat.setScript("/", LoopbackEngineServer::page(LoopbackPages::hotBot(hits)));

    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    LoopbackRun::runToEnd(run, LoopbackRun::params({"HotBot"},
                                                   LoopbackRun::addressList({{"HotBot", first.hostPort() + "/hotbot"},
                                                                             {"HotBotRepeat", repeat.hostPort() + "/hotbot-repeat"}}),
                                                   &rx, 4, 5));

    QCOMPARE(first.requests().size(), 1);
    QVERIFY(first.requests().first().bytes.startsWith("GET /hotbot?SW=web&SM=B&MT="));
    QCOMPARE(repeat.requests().size(), twice ? 2 : 1);
    QCOMPARE(repeat.requests().first().bytes, QByteArray("GET /hotbot-repeat/?MT=cats&SM=B") + kTail);
    if (twice)
        QCOMPARE(repeat.requests().last().bytes, QByteArray("GET /final?x=1") + kTail);
    QCOMPARE(rx.hits().size(), 2);
    QCOMPARE(rx.hits().first().url, QStringLiteral("http://hot.example/1.html"));
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().engine, QStringLiteral("HotBot"));
    QCOMPARE(rx.completions().first().count, 2);
}

void TestEngineExchange::hotBotRepeatFailures_data()
{
    QTest::addColumn<bool>("repeatRefused");
    QTest::addColumn<QString>("engine");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    // A failed repeat names the repeat; its time limit is still the first request's (HotBot).
    QTest::newRow("repeat refused") << true << "HotBotRepeat" << 0 << 800;
    QTest::newRow("repeat never answers") << false << "HotBot" << 900 << 3000;
}

void TestEngineExchange::hotBotRepeatFailures()
{
    QFETCH(bool, repeatRefused);
    QFETCH(QString, engine);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    LoopbackEngineServer first;
    LoopbackEngineServer repeat;
    QVERIFY(first.listen());
    QVERIFY(repeat.listen());
    first.setScript("/hotbot", LoopbackEngineServer::page(LoopbackPages::hotBotMoved("http://h.example/hotbot-repeat/?MT=x")));
    Script silent;
    silent.kind = Script::NeverAnswer;
    repeat.setScript("/", silent);
    const QByteArray repeatAddress = repeatRefused ? "127.0.0.1:" + QByteArray::number(LoopbackRun::closedPort())
                                                   : repeat.hostPort();
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(
        run, LoopbackRun::params({"HotBot"},
                                 LoopbackRun::addressList({{"HotBot", first.hostPort() + "/hotbot"},
                                                           {"HotBotRepeat", repeatAddress + "/hotbot-repeat"}}),
                                 &rx, 4, 1));
    QCOMPARE(rx.records().size(), 1);
    QCOMPARE(rx.completions().first().engine, engine);
    QCOMPARE(rx.completions().first().count, -1);
    QVERIFY2(ms >= minMs && ms < maxMs, qPrintable(QString::number(ms)));
}

void TestEngineExchange::yahooEarlyParse()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    // Not Yahoo's result page and never finished: parsed after the first read, not timed out.
    Script s;
    s.kind = Script::KeepOpen;
    s.parts = {LoopbackPages::httpOk("<HTML><HEAD><TITLE>Yahoo! - Error</TITLE></HEAD><BODY>Try again")};
    server.setScript("/yahoo", s);
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(
        run, LoopbackRun::params({"Yahoo"}, LoopbackRun::addressList({{"Yahoo", server.hostPort() + "/yahoo/"}}), &rx, 4, 5));
    QCOMPARE(rx.records().size(), 1);
    QCOMPARE(rx.completions().first().engine, QStringLiteral("Yahoo"));
    QCOMPARE(rx.completions().first().count, 0);
    QCOMPARE(rx.completions().first().extra, QStringLiteral(" "));
    QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
}

void TestEngineExchange::yahooPageAndTimeout()
{
    LoopbackEngineServer server;
    QVERIFY(server.listen());
    const QList<Hit> categories = {{"Recreation:Pets:<b>Cats</b>", "http://dir.example/cats/", ""}};
    const QList<Hit> sites = {{"Cat Fanciers", "http://fanciers.example/", "breeds and shows"},
                              {"Feline News", "http://felinenews.example/", "weekly news"}};
    server.setScript("/yahoo/bin", LoopbackEngineServer::page(LoopbackPages::yahoo(categories, sites, "/bin/search?p=cats&b=21")));
    Script silent;
    silent.kind = Script::NeverAnswer;
    server.setScript("/never", silent);

    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    LoopbackRun::runToEnd(run, LoopbackRun::params({"Yahoo"}, LoopbackRun::addressList({{"Yahoo", server.hostPort() + "/yahoo/"}}), &rx, 4, 5));
    QCOMPARE(rx.hits().size(), 3);
    QCOMPARE(rx.hits().at(0).summary, QStringLiteral("Yahoo Category"));
    QVERIFY(rx.hits().at(1).summary.startsWith(QStringLiteral("Yahoo Site.  B")));
    QCOMPARE(rx.completions().first().count, 3);
    QCOMPARE(rx.completions().first().extra, QStringLiteral("/bin/search?p=cats&b=21"));

    // Out of time: the completion still carries Extra " ".
    LoopbackPacketReceiver late;
    ManualClock clock;
    CRetrievalRun run2;
    QVERIFY(LoopbackRun::runOnClock(run2, LoopbackRun::params({"Yahoo"}, LoopbackRun::addressList({{"Yahoo", server.hostPort() + "/never/"}}), &late, 4, 1),
                                    clock, std::chrono::seconds(1), [&server] { return !server.requestsFor("/never").isEmpty(); }));
    QCOMPARE(late.records().size(), 1);
    QCOMPARE(late.completions().first().count, -1);
    QCOMPARE(late.completions().first().extra, QStringLiteral(" "));
}

void TestEngineExchange::yahooPageOverSeveralReads_data()
{
    QTest::addColumn<QList<QByteArray>>("parts"); // written 300 ms apart, then the server closes
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("extra");

    const QList<Hit> categories = {{"Recreation:Pets:Cats", "http://dir.example/cats/", ""}};
    const QList<Hit> sites = {{"Cat Fanciers", "http://fanciers.example/", "breeds and shows"},
                              {"Feline News", "http://felinenews.example/", "weekly news"}};
    const QByteArray answer = LoopbackPages::yahoo(categories, sites, "/bin/search?p=cats&b=21");
    const qsizetype bodyAt = answer.indexOf("\r\n\r\n") + 4;
    const QByteArray headers = answer.left(bodyAt);
    const QByteArray body = answer.mid(bodyAt);
    const QString next = QStringLiteral("/bin/search?p=cats&b=21");

    QTest::newRow("headers, then the page") << QList<QByteArray>{headers, body} << 3 << next;
    const qsizetype title = body.indexOf("Search Results");
    QTest::newRow("title split over two reads") << QList<QByteArray>{headers + body.left(title), body.mid(title)} << 3 << next;
    QTest::newRow("headers, half the page, the rest")
        << QList<QByteArray>{headers, body.left(body.size() / 2), body.mid(body.size() / 2)} << 3 << next;
    // No end tag: the server's close ends the page.
    QByteArray unended = body;
    unended.chop(unended.size() - unended.toUpper().lastIndexOf("</HTML>"));
    QTest::newRow("page without its end tag") << QList<QByteArray>{headers, unended} << 3 << next;
    QByteArray lower = body;
    lower.replace("<TITLE>Yahoo! Search Results</TITLE>", "<title>Yahoo! Search Results</title>");
    QTest::newRow("title in lower case") << QList<QByteArray>{headers, lower.left(lower.size() / 2), lower.mid(lower.size() / 2)}
                                         << 3 << next;
    QTest::newRow("error page after the headers")
        << QList<QByteArray>{headers, "<HTML><HEAD><TITLE>Yahoo! - Error</TITLE></HEAD><BODY>Try again"} << 0 << " ";
    QTest::newRow("headers alone") << QList<QByteArray>{headers} << 0 << " ";
}

void TestEngineExchange::yahooPageOverSeveralReads()
{
    // A first read that holds only part of the answer decides nothing: the page is parsed when
    // it is complete, by its end tag or by the server's close, and no hit is lost.
    QFETCH(QList<QByteArray>, parts);
    QFETCH(int, count);
    QFETCH(QString, extra);

    LoopbackEngineServer server;
    QVERIFY(server.listen());
    server.setScript("/yahoo", LoopbackEngineServer::split(parts, 300));
    LoopbackPacketReceiver rx;
    CRetrievalRun run;
    const qint64 ms = LoopbackRun::runToEnd(
        run, LoopbackRun::params({"Yahoo"}, LoopbackRun::addressList({{"Yahoo", server.hostPort() + "/yahoo/"}}), &rx, 4, 5));
    QCOMPARE(rx.completions().size(), 1);
    QCOMPARE(rx.completions().first().count, count);
    QCOMPARE(int(rx.hits().size()), count);
    QCOMPARE(rx.completions().first().extra, extra);
    if (count > 0)
        QCOMPARE(rx.hits().last().url, QStringLiteral("http://felinenews.example/"));
    // Well inside the five-second limit: the engine did not end by time-out.
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

QTEST_GUILESS_MAIN(TestEngineExchange)
#include "tst_engine_exchange.moc"
