#include "retrieval/opensearch/RssReader.h"

#include "TestPaths.h"

#include <QFile>
#include <QTest>

#include <vector>

namespace {

struct Outcome
{
    FeedPage page;
    std::vector<EngineHit> hits;
};

Outcome read(const QByteArray &body, const QUrl &address = QUrl(QStringLiteral("https://harbour.example/rss?q=x")))
{
    Outcome out;
    out.page = RssReader::read(body, address, [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

QByteArray feed(const QByteArray &items)
{
    return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>t</title>" + items + "</channel></rss>";
}

QByteArray items(int n)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += "<item><title>Item " + QByteArray::number(i) + "</title><link>https://h.example/" + QByteArray::number(i)
            + "</link></item>";
    return out;
}

} // namespace

class TestRssReader final : public QObject
{
    Q_OBJECT

private slots:
    void savedFeed();
    void fields_data();
    void fields();
    void brokenDocuments_data();
    void brokenDocuments();
    void billionLaughsIsRefused();
    void oldFeedWithExternalDtd();
    void rss10Items();
    void atomServedAsRss();
};

void TestRssReader::savedFeed()
{
    QFile file(TestPaths::dataDir() + QStringLiteral("/opensearch/rss.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Outcome out = read(file.readAll());
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(out.page.totalResults, std::optional<qint64>(4230));
    QCOMPARE(out.page.startIndex, std::optional<qint64>(21));
    QCOMPARE(out.page.itemsPerPage, std::optional<qint64>(10));
    QCOMPARE(out.page.items, qsizetype(6));
    QCOMPARE(out.page.delivered, qsizetype(4));
    QCOMPARE(qsizetype(out.hits.size()), 4);

    QCOMPARE(out.hits[0].title, QStringLiteral("Keeping the light & the lens"));
    QCOMPARE(out.hits[0].url, QStringLiteral("https://harbour.example/light"));
    QCOMPARE(out.hits[0].summary, QString::fromUtf8("The lighthouse keeper's log, day by day. Café 'open'"));
    // The declared ISO-8859-1 is honoured, and a relative link resolves against the page.
    QCOMPARE(out.hits[1].title, QString::fromUtf8("Relative address in Sète"));
    QCOMPARE(out.hits[1].url, QStringLiteral("https://harbour.example/tides?day=1"));
    QCOMPARE(out.hits[1].summary, QString::fromUtf8("Tide tables for Sète"));
    QCOMPARE(out.hits[2].url, QStringLiteral("https://harbour.example/guid-link"));
    // No title: the address stands in.
    QCOMPARE(out.hits[3].title, QStringLiteral("https://harbour.example/untitled"));
    QCOMPARE(out.hits[3].summary, QStringLiteral("No title at all"));
}

void TestRssReader::fields_data()
{
    QTest::addColumn<QByteArray>("item");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("summary");

    QTest::newRow("link before guid") << QByteArray("<title>a</title><guid>https://g.example/</guid><link>https://l.example/</link>")
                                      << "a" << "https://l.example/" << "";
    QTest::newRow("guid when link unusable")
        << QByteArray("<title>a</title><link>javascript:x</link><guid isPermaLink=\"true\">https://g.example/</guid>") << "a"
        << "https://g.example/" << "";
    QTest::newRow("content encoded without description")
        << QByteArray("<title>a</title><link>https://l.example/</link>"
                      "<content:encoded xmlns:content=\"http://purl.org/rss/1.0/modules/content/\">&lt;p&gt;body&lt;/p&gt;</content:encoded>")
        << "a" << "https://l.example/" << "body";
    QTest::newRow("description wins over content")
        << QByteArray("<link>https://l.example/</link><description>short</description>"
                      "<c:encoded xmlns:c=\"http://purl.org/rss/1.0/modules/content/\">long</c:encoded><title>t</title>")
        << "t" << "https://l.example/" << "short";
    QTest::newRow("unescaped xhtml in description")
        << QByteArray("<title>a</title><link>https://l.example/</link><description><p>one</p><p>two &amp; three</p></description>")
        << "a" << "https://l.example/" << "one two & three";
    QTest::newRow("cdata title") << QByteArray("<title><![CDATA[Tom &amp; <i>Jerry</i>]]></title><link>https://l.example/</link>")
                                 << "Tom & Jerry" << "https://l.example/" << "";
    QTest::newRow("xml base") << QByteArray("<title>a</title><link xml:base=\"https://b.example/x/\">y</link>") << "a"
                              << "https://b.example/x/y" << "";
    QTest::newRow("foreign title ignored")
        << QByteArray("<dc:title xmlns:dc=\"http://purl.org/dc/elements/1.1/\">dc</dc:title><title>rss</title><link>https://l.example/</link>")
        << "rss" << "https://l.example/" << "";
}

void TestRssReader::fields()
{
    QFETCH(QByteArray, item);
    QFETCH(QString, title);
    QFETCH(QString, url);
    QFETCH(QString, summary);
    const Outcome out = read(feed("<item>" + item + "</item>"));
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), 1);
    QCOMPARE(out.hits[0].title, title);
    QCOMPARE(out.hits[0].url, url);
    QCOMPARE(out.hits[0].summary, summary);
}

void TestRssReader::brokenDocuments_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("hits");
    QTest::addColumn<QString>("errorPart");

    const QByteArray two = feed(items(2));
    QTest::newRow("cut off in the third item") << two.left(two.indexOf("</channel>")) + "<item><title>cut" << 2 << "not well-formed";
    QTest::newRow("bad nesting after two") << two.left(two.indexOf("</channel>")) + "<item></title></item>" << 2 << "not well-formed";
    QTest::newRow("garbage after two") << two.left(two.indexOf("</channel>")) + "<<<" << 2 << "line 1";
    QTest::newRow("html page") << QByteArray("<html><body>Too many requests</body></html>") << 0 << "<html>";
    QTest::newRow("not xml") << QByteArray("{\"results\": []}") << 0 << "not well-formed";
    QTest::newRow("empty") << QByteArray() << 0 << "no root element";
    QTest::newRow("sound") << two << 2 << "";
}

void TestRssReader::brokenDocuments()
{
    QFETCH(QByteArray, body);
    QFETCH(int, hits);
    QFETCH(QString, errorPart);
    const Outcome out = read(body);
    QCOMPARE(int(out.hits.size()), hits);
    QCOMPARE(out.page.delivered, qsizetype(hits));
    if (errorPart.isEmpty())
        QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    else
        QVERIFY2(out.page.error.contains(errorPart), qPrintable(out.page.error));
}

void TestRssReader::billionLaughsIsRefused()
{
    QByteArray dtd = "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY l0 \"laugh\">";
    for (int i = 1; i <= 9; ++i)
        dtd += "<!ENTITY l" + QByteArray::number(i) + " \"" + QByteArray("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    dtd += "]>";
    const Outcome out = read(dtd + "<rss><channel><item><title>&l9;</title><link>https://x.example/</link></item></channel></rss>");
    QVERIFY(out.hits.empty());
    QVERIFY2(out.page.error.contains(u"declares its own entities"), qPrintable(out.page.error));
}

void TestRssReader::oldFeedWithExternalDtd()
{
    // RSS 0.91 feeds name Netscape's DTD and use HTML entity names it defines.
    const QByteArray body = "<?xml version=\"1.0\"?>\n<!DOCTYPE rss PUBLIC \"-//Netscape Communications//DTD RSS 0.91//EN\" "
                            "\"http://my.netscape.com/publish/formats/rss-0.91.dtd\">\n<rss version=\"0.91\"><channel>"
                            "<item><title>Caf&eacute;&nbsp;life</title><link>http://old.example/</link>"
                            "<description>&copy; 1999</description></item></channel></rss>";
    const Outcome out = read(body);
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), 1);
    QCOMPARE(out.hits[0].title, QString::fromUtf8("Café life"));
    QCOMPARE(out.hits[0].summary, QString::fromUtf8("© 1999"));
}

void TestRssReader::rss10Items()
{
    const QByteArray body = "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" xmlns=\"http://purl.org/rss/1.0/\">"
                            "<channel rdf:about=\"https://r.example/\"><title>c</title><items><rdf:Seq>"
                            "<rdf:li resource=\"https://r.example/1\"/></rdf:Seq></items></channel>"
                            "<item rdf:about=\"https://r.example/1\"><title>One</title><link>https://r.example/1</link></item>"
                            "</rdf:RDF>";
    const Outcome out = read(body);
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), 1);
    QCOMPARE(out.hits[0].title, QStringLiteral("One"));
}

void TestRssReader::atomServedAsRss()
{
    const Outcome out = read("<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>A</title>"
                             "<link href=\"https://a.example/\"/></entry></feed>");
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), 1);
    QCOMPARE(out.hits[0].url, QStringLiteral("https://a.example/"));
}

QTEST_GUILESS_MAIN(TestRssReader)
#include "tst_rss_reader.moc"
