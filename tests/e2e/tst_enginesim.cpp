// Drives the built trawlex-enginesim over loopback with the client's exact
// request bytes and checks what the client's parsers rely on.

#include "TestPaths.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTest>

#include <memory>

namespace {

const QString kSmallCorpus = QStringLiteral("/corpus/enginesim-small.jsonl");

struct Answer
{
    QByteArray bytes;
    bool closedByServer = false;
    qint64 firstByteMs = -1;
};

// The request as the client writes it: LF only, one odd header line, no Host.
QByteArray clientRequest(const QByteArray &target)
{
    return "GET " + target + " HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n";
}

Answer exchange(quint16 port, const QByteArray &request, int waitMs = 5000)
{
    Answer answer;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(waitMs))
        return answer;
    // Timed from before the write: the server cannot answer a request it has not read.
    QElapsedTimer clock;
    clock.start();
    socket.write(request);
    socket.waitForBytesWritten(waitMs);
    while (clock.elapsed() < waitMs) {
        if (socket.bytesAvailable() || socket.waitForReadyRead(int(std::max<qint64>(1, waitMs - clock.elapsed())))) {
            if (answer.firstByteMs < 0)
                answer.firstByteMs = clock.elapsed();
            answer.bytes += socket.readAll();
            continue;
        }
        if (socket.state() != QAbstractSocket::ConnectedState)
            break;
    }
    answer.bytes += socket.readAll();
    answer.closedByServer = socket.state() != QAbstractSocket::ConnectedState;
    return answer;
}

QByteArray fetch(quint16 port, const QByteArray &target)
{
    return exchange(port, clientRequest(target)).bytes;
}

QStringList captures(const QByteArray &page, const QString &pattern)
{
    QStringList found;
    const QRegularExpression re(pattern);
    auto it = re.globalMatch(QString::fromLatin1(page));
    while (it.hasNext())
        found.append(it.next().captured(1));
    return found;
}

// The hit addresses of a page, found by each engine's per-hit markup.
QStringList hitUrls(const QString &engine, const QByteArray &page)
{
    if (engine == QLatin1String("AltaVista"))
        return captures(page, QStringLiteral("<dt><font size=-1><b>\\d+\\. </b></font><a href=\"([^\"]*)\"><strong>"));
    if (engine == QLatin1String("InfoSeek"))
        return captures(page, QStringLiteral("<b><a href=\"([^\"]*)\">"));
    if (engine == QLatin1String("Excite"))
        return captures(page, QStringLiteral("<FONT COLOR=navy><B>\\d+% </B></FONT>\\s*<B><A HREF=\"([^\"]*)\">"));
    if (engine == QLatin1String("HotBot"))
        return captures(page, QStringLiteral("<B>\\d+\\. </B>\\s*</TD>\\s*<TD ><A HREF=\"([^\"]*)\">"));
    if (engine == QLatin1String("Lycos"))
        return captures(page, QStringLiteral("\\)</FONT></TD><TD><a href=\"([^\"]*)\">"));
    if (engine == QLatin1String("Magellan"))
        return captures(page, QStringLiteral("<HR>\\s*<B><A HREF=\"([^\"]*)\">"));
    if (engine == QLatin1String("YahooSites"))
        return captures(page, QStringLiteral("<UL TYPE=disc><LI><A HREF=\"([^\"]*)\">"));
    return {};
}

QByteArray bodyOf(const QByteArray &response)
{
    const qsizetype end = response.indexOf("\r\n\r\n");
    return end < 0 ? QByteArray() : response.mid(end + 4);
}

QString apple(int n)
{
    return QStringLiteral("http://%1/apple/%2.html").arg(n % 2 ? "orchard.example.com" : "fruit.example.org").arg(n);
}

QStringList apples(int from, int to)
{
    QStringList urls;
    for (int n = from; n <= to; ++n)
        urls.append(apple(n));
    return urls;
}

} // namespace

class TestEngineSim final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void firstPageCarriesMarkers_data();
    void firstPageCarriesMarkers();
    void pagingOffsets_data();
    void pagingOffsets();
    void exclusionsAndFilters_data();
    void exclusionsAndFilters();
    void noResultsPages_data();
    void noResultsPages();
    void hotBotRedirects();
    void yahooSectionsAndNextSet();
    void ordinaryHttpAndUnknownPaths();
    void endTagStaysInOneRead();
    void faults_data();
    void faults();
    void latencyAndGeneratedCorpus();

private:
    std::unique_ptr<QProcess> start(const QStringList &arguments, quint16 *port);

    std::unique_ptr<QProcess> m_sim;
    std::unique_ptr<QProcess> m_faulty;
    quint16 m_port = 0;
    quint16 m_faultyPort = 0;
};

std::unique_ptr<QProcess> TestEngineSim::start(const QStringList &arguments, quint16 *port)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(TestPaths::engineSimProgram(), QStringList{QStringLiteral("--port"), QStringLiteral("0")} + arguments);
    if (!process->waitForStarted(5000))
        return nullptr;
    QByteArray line;
    QElapsedTimer clock;
    clock.start();
    while (!line.contains('\n') && clock.elapsed() < 10000) {
        process->waitForReadyRead(200);
        line += process->readAllStandardOutput();
    }
    const QList<QByteArray> parts = line.trimmed().split(' ');
    if (parts.size() != 2 || parts.at(0) != "port")
        return nullptr;
    *port = quint16(parts.at(1).toUInt());
    return process;
}

void TestEngineSim::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_sim = start({QStringLiteral("--corpus"), TestPaths::dataDir() + kSmallCorpus}, &m_port);
    QVERIFY2(m_sim && m_port > 0, "trawlex-enginesim did not report its port");
    m_faulty = start({QStringLiteral("--corpus"), TestPaths::dataDir() + kSmallCorpus, QStringLiteral("--fault"),
                      QStringLiteral("AltaVista=refuse"), QStringLiteral("--fault"), QStringLiteral("Excite=garbage"),
                      QStringLiteral("--fault"), QStringLiteral("Lycos=no-end"), QStringLiteral("--fault"),
                      QStringLiteral("Magellan=close-early"), QStringLiteral("--fault"), QStringLiteral("InfoSeek=never"),
                      QStringLiteral("--fault"), QStringLiteral("Yahoo=trickle:20")},
                     &m_faultyPort);
    QVERIFY(m_faulty && m_faultyPort > 0);
}

void TestEngineSim::cleanupTestCase()
{
    for (auto *process : {m_sim.get(), m_faulty.get()}) {
        if (!process)
            continue;
        process->terminate();
        QVERIFY(process->waitForFinished(5000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
}

void TestEngineSim::firstPageCarriesMarkers_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArrayList>("markers");

    QTest::newRow("AltaVista") << "AltaVista"
                               << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&what=web&kl=XX&q=apple&r=&d0=21%2FMar%2F86&d1=&act=search")
                               << QByteArrayList{"<dt><font size=-1><b>", "</a><dd>", "<br><cite"};
    QTest::newRow("InfoSeek") << "InfoSeek" << QByteArray("/infoseek/Titles?qt=%2Bapple&col=WW&sv=IS&lk=noframes&nh=10")
                              << QByteArrayList{"<font face=\"Arial,Helvetica\" color=\"FFFFFF\"><b>Search results",
                                                "<font color=\"FFFFFF\" size=0>xxxxxx"};
    QTest::newRow("Excite") << "Excite"
                            << QByteArray("/excite/search.gw?look=default&search=apple&tsug=0&csug=10&Search=Search&collection=web&clk=b-b-F1&showSummary=true&sorig=rpage&trace=b")
                            << QByteArrayList{"<B>List by Web site</B></A>&nbsp;", "<B><I>URL:", "<B><I>Summary:", "<FORM"};
    QTest::newRow("HotBot") << "HotBot" << QByteArray("/hotbot-repeat/?SW=web&SM=B&MT=apple&DC=10&DE=2&RG=NA&_v=2")
                            << QByteArrayList{"%</FONT></TD>", "<BR>\n"};
    QTest::newRow("Lycos") << "Lycos" << QByteArray("/lycos/cgi-bin/pursuit?query=apple&adv=1&mtemp=java&rt=1")
                           << QByteArrayList{"<!--- Formatted results start here --->",
                                             "<TABLE CELLPADDING=4 CELLSPACING=0 BORDER=0>",
                                             "<!--- end formatted results --->"};
    QTest::newRow("Magellan") << "Magellan" << QByteArray("/magellan/search.gw?search=apple&c=web&look=magellan")
                              << QByteArrayList{"<!--search results-->", "</FORM>"};
}

void TestEngineSim::firstPageCarriesMarkers()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, target);
    QFETCH(QByteArrayList, markers);

    const Answer answer = exchange(m_port, clientRequest(target));
    QVERIFY(answer.closedByServer);
    QVERIFY(answer.bytes.startsWith("HTTP/1.0 200 "));
    QVERIFY(answer.bytes.contains("Content-Type: text/html; charset=windows-1252\r\n"));
    QVERIFY(answer.bytes.toUpper().trimmed().endsWith("</HTML>"));
    for (const QByteArray &marker : markers)
        QVERIFY2(answer.bytes.contains(marker), marker.constData());
    // Equal scores keep corpus order, so the first page is pages 1 to 10.
    QCOMPARE(hitUrls(engine, answer.bytes), apples(1, 10));
}

void TestEngineSim::pagingOffsets_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");

    QTest::newRow("AltaVista stq=10") << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&q=apple&stq=10") << 11 << 20;
    QTest::newRow("AltaVista stq=20") << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&q=apple&stq=20") << 21 << 25;
    QTest::newRow("InfoSeek st=10") << "InfoSeek" << QByteArray("/infoseek/Titles?qt=%2Bapple&lk=noframes&st=10") << 11 << 20;
    QTest::newRow("Excite start=10")
        << "Excite" << QByteArray("/excite/search.gw?look=default&collection=web&search=apple&start=10&showSummary=true&perPage=10&next=Next+Results")
        << 11 << 20;
    QTest::newRow("Magellan start=0") << "Magellan"
                                      << QByteArray("/magellan/search.gw?search=apple&look=magellan&next=Next+Results&start=0&collection=web")
                                      << 1 << 10;
    QTest::newRow("Lycos first=11") << "Lycos" << QByteArray("/lycos/cgi-bin/pursuit?query=apple&adv=1&mtemp=java&first=11") << 11 << 20;
    // The base is the first hit shown; without one the list starts again.
    QTest::newRow("HotBot next without base")
        << "HotBot" << QByteArray("/hotbot-repeat/?MT=apple&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9") << 1 << 10;
    QTest::newRow("HotBot base=10")
        << "HotBot" << QByteArray("/hotbot-repeat/?MT=apple&base=10&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9") << 11 << 20;
    QTest::newRow("HotBot base=20")
        << "HotBot" << QByteArray("/hotbot-repeat/?MT=apple&base=20&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9") << 21 << 25;
}

void TestEngineSim::pagingOffsets()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, target);
    QFETCH(int, first);
    QFETCH(int, last);
    QCOMPARE(hitUrls(engine, fetch(m_port, target)), apples(first, last));
}

void TestEngineSim::exclusionsAndFilters_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QStringList>("expected");

    const QStringList withoutPie = apples(6, 15);
    QStringList evenOnly;
    QStringList oddOnly;
    for (int n = 1; n <= 25; ++n)
        (n % 2 ? oddOnly : evenOnly).append(apple(n));

    QTest::newRow("AltaVista and not") << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&q=apple+and+not+pie") << withoutPie;
    QTest::newRow("Excite AND NOT") << "Excite" << QByteArray("/excite/search.gw?look=default&search=apple+AND+NOT+pie") << withoutPie;
    QTest::newRow("Lycos group with NOT")
        << "Lycos" << QByteArray("/lycos/cgi-bin/pursuit?query=apple+AND+%28+NOT+pie+%29") << withoutPie;
    QTest::newRow("InfoSeek plus and minus") << "InfoSeek" << QByteArray("/infoseek/Titles?qt=%2B%2Bapple+-pie&lk=noframes") << withoutPie;
    QTest::newRow("AltaVista url filter excludes a host")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&q=apple+and+not+url%3Aorchard") << evenOnly.mid(0, 10);
    QTest::newRow("HotBot domain filter")
        << "HotBot" << QByteArray("/hotbot-repeat/?MT=apple+aND+domain%3Aorchard.example.com&SW=web") << oddOnly.mid(0, 10);
    QTest::newRow("AltaVista link filter")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&text=yes&q=link%3Acider.example.net") << QStringList{apple(3), apple(6), apple(9)};
    QTest::newRow("HotBot linkdomain filter")
        << "HotBot" << QByteArray("/hotbot-repeat/?MT=apple+aND+linkdomain%3Acider.example.net") << QStringList{apple(3), apple(6), apple(9)};
    QTest::newRow("InfoSeek title filter")
        << "InfoSeek" << QByteArray("/infoseek/Titles?qt=%2Bapple+%2Btitle%3Aseven&lk=noframes") << QStringList{apple(7)};
    QTest::newRow("Yahoo title filter")
        << "YahooSites" << QByteArray("/yahoo/bin/search?p=%2Bt%3Atwentyfive") << QStringList{apple(25)};
    QTest::newRow("trailing star matches a prefix")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&q=twenty*+and+not+twenty") << apples(21, 25);
    QTest::newRow("quoted phrase keeps word order")
        << "Magellan" << QByteArray("/magellan/search.gw?search=%22green+tea%22&c=web") << QStringList{QStringLiteral("http://tea.example.com/green.html")};
    QTest::newRow("OR joins both words")
        << "Excite" << QByteArray("/excite/search.gw?search=sourdough+OR+lake") << QStringList{QStringLiteral("http://www.cafe.example.ch/"), QStringLiteral("http://bakery.example.com/")};
    QTest::newRow("percent-encoded UTF-8")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&q=z%C3%BCrich") << QStringList{QStringLiteral("http://www.cafe.example.ch/")};
    QTest::newRow("Windows-1252 byte")
        << "AltaVista" << QByteArray("/altavista/cgi-bin/query?pg=aq&q=cr%E8me") << QStringList{QStringLiteral("http://www.cafe.example.ch/")};
    // Cut at the "&", the NOT would drop "Green Tea Garden"; kept whole it names no page.
    QTest::newRow("unescaped ampersand stays in the word")
        << "Excite" << QByteArray("/excite/search.gw?search=tea+AND+NOT+garden&notes&tsug=0")
        << QStringList{QStringLiteral("http://tea.example.com/green.html"), QStringLiteral("http://tea.example.com/notes.html")};
}

void TestEngineSim::exclusionsAndFilters()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, target);
    QFETCH(QStringList, expected);
    QCOMPARE(hitUrls(engine, fetch(m_port, target)), expected);
}

void TestEngineSim::noResultsPages_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<QByteArrayList>("absent");

    QTest::newRow("AltaVista") << QByteArray("/altavista/cgi-bin/query?pg=aq&q=nosuchword") << QByteArray("No documents match")
                               << QByteArrayList{"<dt><font size=-1><b>"};
    QTest::newRow("InfoSeek") << QByteArray("/infoseek/Titles?qt=%2Bnosuchword") << QByteArray("<h2>No Results Found</h2>")
                              << QByteArrayList{"<b><a href="};
    QTest::newRow("Excite") << QByteArray("/excite/search.gw?search=nosuchword") << QByteArray("No documents found")
                            << QByteArrayList{"<B>List by Web site</B></A>&nbsp;"};
    QTest::newRow("HotBot") << QByteArray("/hotbot-repeat/?MT=nosuchword") << QByteArray("yielded no results")
                            << QByteArrayList{"%</FONT>"};
    QTest::newRow("Lycos") << QByteArray("/lycos/cgi-bin/pursuit?query=nosuchword") << QByteArray("<!--- end formatted results --->")
                           << QByteArrayList{"<a href="};
    QTest::newRow("Magellan") << QByteArray("/magellan/search.gw?search=nosuchword") << QByteArray("No results")
                              << QByteArrayList{"<!--search results-->"};
    QTest::newRow("Yahoo") << QByteArray("/yahoo/bin/search?p=%2Bnosuchword") << QByteArray("<TITLE>Yahoo! Search Results")
                           << QByteArrayList{"<B>Yahoo! Category Matches", "<B>Yahoo! Site Matches", "Matches</A></B>]"};
    QTest::newRow("only exclusions") << QByteArray("/yahoo/bin/search?p=-apple") << QByteArray("no matches")
                                     << QByteArrayList{"<B>Yahoo! Site Matches"};
}

void TestEngineSim::noResultsPages()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArrayList, absent);
    const QByteArray page = fetch(m_port, target);
    QVERIFY(page.startsWith("HTTP/1.0 200 "));
    QVERIFY2(page.contains(shown), shown.constData());
    for (const QByteArray &marker : absent)
        QVERIFY2(!page.contains(marker), marker.constData());
    QVERIFY(page.toUpper().trimmed().endsWith("</HTML>"));
}

void TestEngineSim::hotBotRedirects()
{
    const QByteArray first = "/hotbot?SW=web&SM=B&MT=apple+AND+NOT+pie&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3";
    const QByteArray answer = fetch(m_port, first);
    QVERIFY(answer.startsWith("HTTP/1.0 302 Moved\r\n"));
    QVERIFY(!answer.toUpper().contains("</HTML>"));
    // The client follows the first "http://" of the answer up to a blank or line end.
    const qsizetype at = answer.indexOf("http://");
    QVERIFY(at > 0);
    QVERIFY(answer.mid(0, at).endsWith("\r\nLocation: "));
    QByteArray location = answer.mid(at);
    location.truncate(location.indexOf("\r"));
    const QByteArray host = "http://127.0.0.1:" + QByteArray::number(m_port) + '/';
    QCOMPARE(location, host + "hotbot-repeat/?SW=web&SM=B&MT=apple+AND+NOT+pie&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3");

    const QByteArray page = fetch(m_port, '/' + location.mid(host.size()));
    QCOMPARE(hitUrls(QStringLiteral("HotBot"), page), apples(6, 15));

    // Later pages go through the same door.
    const QByteArray next = fetch(m_port, "/hotbot/?MT=apple&base=20&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9");
    QVERIFY(next.startsWith("HTTP/1.0 302 Moved"));
    QVERIFY(next.contains(QByteArray("Location: " + host + "hotbot-repeat/?MT=apple&base=20&")));
}

void TestEngineSim::yahooSectionsAndNextSet()
{
    const QByteArray page = fetch(m_port, "/yahoo/bin/search?p=%2Bapple");
    QVERIFY(page.contains("<TITLE>Yahoo! Search Results"));
    QVERIFY(page.contains("<B>Yahoo! Category Matches"));
    QVERIFY(page.contains("<B>Yahoo! Site Matches"));
    QVERIFY(page.indexOf("<B>Yahoo! Category Matches") < page.indexOf("<B>Yahoo! Site Matches"));
    // Twenty to a page: the one category, then the first nineteen sites.
    QCOMPARE(hitUrls(QStringLiteral("YahooSites"), page), apples(1, 19));
    QVERIFY(page.contains("/yahoo/Food/Apple_Orchards/\">Food: <b>Apple</b> Orchards</A>"));

    const QByteArray link = "<A HREF=\"/bin/search?p=%2Bapple&b=21\">Next 20 Matches</A></B>]</CENTER><P>";
    QVERIFY2(page.contains(link), page.constData());
    const qsizetype linkAt = page.indexOf(link);
    QVERIFY(page.lastIndexOf("<CENTER", linkAt) > page.lastIndexOf("</UL>", linkAt));

    // The category's address is the simulator's own directory page.
    const QByteArray directory = fetch(m_port, "/yahoo/Food/Apple_Orchards/");
    QVERIFY(directory.startsWith("HTTP/1.0 200 "));
    QCOMPARE(directory.count("<LI><A HREF="), 25);

    const QByteArray second = fetch(m_port, "/yahoo/bin/search?p=%2Bapple&b=21");
    QCOMPARE(hitUrls(QStringLiteral("YahooSites"), second), apples(20, 25));
    QVERIFY(!second.contains("<B>Yahoo! Category Matches"));
    QVERIFY(!second.contains("Matches</A></B>]</CENTER><P>"));
}

void TestEngineSim::ordinaryHttpAndUnknownPaths()
{
    const Answer browser = exchange(m_port, "GET /lycos/cgi-bin/pursuit?query=apple HTTP/1.0\r\nHost: localhost\r\n"
                                            "User-Agent: Mozilla/3.0\r\n\r\n");
    QCOMPARE(hitUrls(QStringLiteral("Lycos"), browser.bytes).size(), 10);

    // Pages are Windows-1252 as declared; what that charset lacks becomes a character reference.
    const QByteArray cafe = fetch(m_port, "/lycos/cgi-bin/pursuit?query=z%C3%BCrich");
    QVERIFY(cafe.contains(">Caf\xE9 Z\xFCrich</a><br>Cr\xE8me and coffee by the lake.\n"));
    const QByteArray escaped = fetch(m_port, "/lycos/cgi-bin/pursuit?query=sourdough");
    QVERIFY(escaped.contains(">Bread &amp; Butter</a><br>Bread &lt;fresh&gt; daily, &quot;sourdough&quot; too.\n"));

    const Answer missing = exchange(m_port, clientRequest("/webcrawler/cgi-bin/WebQuery?text=apple"));
    QVERIFY(missing.bytes.startsWith("HTTP/1.0 404 "));
    QVERIFY(missing.closedByServer);
    const Answer wrongProgram = exchange(m_port, clientRequest("/altavista/cgi-bin/other?q=apple"));
    QVERIFY(wrongProgram.bytes.startsWith("HTTP/1.0 404 "));
}

void TestEngineSim::endTagStaysInOneRead()
{
    // The client reads 8191 bytes at a time and looks for "</HTML>" in each read
    // alone. Lengthen the query one letter at a time so the page end walks over
    // the first read boundary.
    auto page = [this](int letters) {
        return fetch(m_port, "/altavista/cgi-bin/query?pg=aq&q=apple+or+" + QByteArray(letters, 'z'));
    };
    const qsizetype shortest = page(1).size();
    const double perLetter = double(page(101).size() - shortest) / 100.0;
    QVERIFY(perLetter >= 1.0);
    const int crossing = int((8191 - shortest) / perLetter);
    QVERIFY(crossing > 10);
    for (int letters = crossing - 10; letters <= crossing + 10; ++letters) {
        const QByteArray answer = page(letters);
        const qsizetype at = answer.toUpper().lastIndexOf("</HTML>");
        QVERIFY(at > 0);
        QVERIFY2(at / 8191 == (at + 6) / 8191, QByteArray::number(letters).constData());
        QCOMPARE(bodyOf(answer).size(), answer.mid(answer.indexOf("Content-Length: ") + 16).split('\r').first().toInt());
    }
}

void TestEngineSim::faults_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("waitMs");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("endTag");

    QTest::newRow("refuse") << QByteArray("/altavista/cgi-bin/query?q=apple") << 3000 << true << true << false;
    QTest::newRow("garbage") << QByteArray("/excite/search.gw?search=apple") << 3000 << true << false << true;
    QTest::newRow("no-end") << QByteArray("/lycos/cgi-bin/pursuit?query=apple") << 500 << false << false << false;
    QTest::newRow("close-early") << QByteArray("/magellan/search.gw?search=apple") << 3000 << true << false << false;
    QTest::newRow("never") << QByteArray("/infoseek/Titles?qt=%2Bapple") << 500 << false << true << false;
    QTest::newRow("trickle") << QByteArray("/yahoo/bin/search?p=%2Bapple") << 300 << false << false << false;
    QTest::newRow("other engines answer") << QByteArray("/hotbot-repeat/?MT=apple") << 3000 << true << false << true;
}

void TestEngineSim::faults()
{
    QFETCH(QByteArray, target);
    QFETCH(int, waitMs);
    QFETCH(bool, closed);
    QFETCH(bool, empty);
    QFETCH(bool, endTag);

    const Answer answer = exchange(m_faultyPort, clientRequest(target), waitMs);
    QCOMPARE(answer.closedByServer, closed);
    QCOMPARE(answer.bytes.isEmpty(), empty);
    QCOMPARE(answer.bytes.toUpper().contains("</HTML>"), endTag);
    if (QByteArray(QTest::currentDataTag()) == "garbage") {
        for (const char *marker : {"<B>List by Web site", "<FONT COLOR=navy>", "HREF=\"", "%</FONT>", "302 Moved"})
            QVERIFY2(!answer.bytes.contains(marker), marker);
    }
    if (QByteArray(QTest::currentDataTag()) == "trickle")
        QVERIFY(answer.bytes.size() < 100);
}

void TestEngineSim::latencyAndGeneratedCorpus()
{
    quint16 port = 0;
    std::unique_ptr<QProcess> slow = start({QStringLiteral("--latency"), QStringLiteral("150")}, &port);
    QVERIFY(slow);
    const Answer answer = exchange(port, clientRequest("/altavista/cgi-bin/query?pg=aq&q=trout"));
    QVERIFY2(answer.firstByteMs >= 150, QByteArray::number(answer.firstByteMs).constData());
    QVERIFY2(answer.firstByteMs < 1500, QByteArray::number(answer.firstByteMs).constData());
    QCOMPARE(hitUrls(QStringLiteral("AltaVista"), answer.bytes).size(), 10);

    // Everything after the page is the generated corpus's: same seed, same answer.
    const QByteArray again = fetch(port, "/altavista/cgi-bin/query?pg=aq&q=trout");
    QCOMPARE(bodyOf(again), bodyOf(answer.bytes));
    const QRegularExpression about(QStringLiteral("About <b>(\\d+)</b> documents"));
    const auto everything = about.match(QString::fromLatin1(fetch(port, "/altavista/cgi-bin/query?pg=aq&q=updated")));
    QVERIFY(everything.hasMatch());
    QVERIFY(everything.captured(1).toInt() >= 2000);

    slow->terminate();
    QVERIFY(slow->waitForFinished(5000));
    QCOMPARE(slow->exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestEngineSim)
#include "tst_enginesim.moc"
