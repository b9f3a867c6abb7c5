#include "retrieval/opensearch/AtomReader.h"
#include "retrieval/opensearch/HitAddress.h"

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

Outcome read(const QByteArray &body)
{
    Outcome out;
    out.page = AtomReader::read(body, QUrl(QStringLiteral("https://coast.example/atom?q=gulls")),
                                [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

QByteArray feed(const QByteArray &entries)
{
    return "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>f</title>" + entries + "</feed>";
}

} // namespace

class TestAtomReader final : public QObject
{
    Q_OBJECT

private slots:
    void savedFeed();
    void fields_data();
    void fields();
    void brokenDocuments_data();
    void brokenDocuments();
    void billionLaughsIsRefused();
    void rssServedAsAtom();
    void overlongBaseIsIgnored();
};

void TestAtomReader::savedFeed()
{
    QFile file(TestPaths::dataDir() + QStringLiteral("/opensearch/atom.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Outcome out = read(file.readAll());
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(out.page.totalResults, std::optional<qint64>(57));
    QCOMPARE(out.page.startIndex, std::optional<qint64>(1));
    QCOMPARE(out.page.itemsPerPage, std::optional<qint64>(20));
    QCOMPARE(out.page.items, qsizetype(5));
    QCOMPARE(qsizetype(out.hits.size()), qsizetype(4));

    // type="html": markup removed; the alternate link, relative to the feed's xml:base.
    QCOMPARE(out.hits[0].title, QStringLiteral("Gulls & terns"));
    QCOMPARE(out.hits[0].url, QStringLiteral("https://coast.example/results/birds/gulls"));
    // type="text": the angle brackets are the text.
    QCOMPARE(out.hits[0].summary, QStringLiteral("Where <gulls> nest"));
    // xhtml title and content; the entry's own xml:base; a link without rel.
    QCOMPARE(out.hits[1].title, QStringLiteral("Cliff paths"));
    QCOMPARE(out.hits[1].url, QStringLiteral("https://other.example/dir/paths.html"));
    QCOMPARE(out.hits[1].summary, QStringLiteral("Walks along & above"));
    // A mailto alternate gives way to the next; content stands in for summary; the
    // source element's title and link are not the entry's.
    QCOMPARE(out.hits[2].title, QStringLiteral("Plain title with <b>"));
    QCOMPARE(out.hits[2].url, QStringLiteral("https://coast.example/second"));
    QCOMPARE(out.hits[2].summary, QStringLiteral("Content only"));
    // Out-of-line content gives no summary.
    QCOMPARE(out.hits[3].title, QStringLiteral("Out of line"));
    QCOMPARE(out.hits[3].summary, QString());
}

void TestAtomReader::fields_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("summary");

    QTest::newRow("summary before content")
        << QByteArray("<content>long</content><summary>short</summary><title>t</title><link href=\"https://a.example/\"/>") << "t"
        << "https://a.example/" << "short";
    QTest::newRow("first alternate wins")
        << QByteArray("<title>t</title><link href=\"https://a.example/1\"/><link rel=\"alternate\" href=\"https://a.example/2\"/>")
        << "t" << "https://a.example/1" << "";
    QTest::newRow("iana alternate")
        << QByteArray("<title>t</title><link rel=\"enclosure\" href=\"https://a.example/e\"/>"
                      "<link rel=\"http://www.iana.org/assignments/relation/alternate\" href=\"https://a.example/i\"/>")
        << "t" << "https://a.example/i" << "";
    QTest::newRow("relative to page") << QByteArray("<title>t</title><link href=\"/x\"/>") << "t" << "https://coast.example/x" << "";
    QTest::newRow("html with entities")
        << QByteArray("<title type=\"html\">it&amp;#39;s &amp;lt;3</title><link href=\"https://a.example/\"/>") << "it's <3"
        << "https://a.example/" << "";
    QTest::newRow("text/html media type content")
        << QByteArray("<title>t</title><link href=\"https://a.example/\"/><content type=\"text/html\">&lt;b&gt;x&lt;/b&gt;</content>")
        << "t" << "https://a.example/" << "x";
    QTest::newRow("text/plain content") << QByteArray("<title>t</title><link href=\"https://a.example/\"/><content type=\"text/plain\">a&lt;b</content>")
                                        << "t" << "https://a.example/" << "a<b";
    QTest::newRow("binary content skipped")
        << QByteArray("<title>t</title><link href=\"https://a.example/\"/><content type=\"image/png\">iVBORw0KGgo=</content>") << "t"
        << "https://a.example/" << "";
    QTest::newRow("xhtml script dropped")
        << QByteArray("<title type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\">a<script>b()</script>c &lt;d&gt;</div></title>"
                      "<link href=\"https://a.example/\"/>")
        << "a c <d>" << "https://a.example/" << "";
}

void TestAtomReader::fields()
{
    QFETCH(QByteArray, entry);
    QFETCH(QString, title);
    QFETCH(QString, url);
    QFETCH(QString, summary);
    const Outcome out = read(feed("<entry>" + entry + "</entry>"));
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), qsizetype(1));
    QCOMPARE(out.hits[0].title, title);
    QCOMPARE(out.hits[0].url, url);
    QCOMPARE(out.hits[0].summary, summary);
}

void TestAtomReader::brokenDocuments_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("hits");
    QTest::addColumn<QString>("errorPart");

    const QByteArray entry = "<entry><title>e</title><link href=\"https://a.example/\"/></entry>";
    QTest::newRow("cut off in an entry") << QByteArray("<feed xmlns=\"http://www.w3.org/2005/Atom\">" + entry + entry + "<entry><title>x")
                                         << 2 << "not well-formed";
    QTest::newRow("mismatched tag") << QByteArray("<feed xmlns=\"http://www.w3.org/2005/Atom\">" + entry + "<entry></link></entry></feed>")
                                    << 1 << "not well-formed";
    QTest::newRow("atom 0.3") << QByteArray("<feed xmlns=\"http://purl.org/atom/ns#\">" + entry + "</feed>") << 0 << "not an Atom feed";
    QTest::newRow("entries of another namespace")
        << QByteArray("<feed xmlns=\"http://www.w3.org/2005/Atom\"><x:entry xmlns:x=\"urn:x\"><x:link href=\"https://a.example/\"/></x:entry></feed>")
        << 0 << "";
}

void TestAtomReader::brokenDocuments()
{
    QFETCH(QByteArray, body);
    QFETCH(int, hits);
    QFETCH(QString, errorPart);
    const Outcome out = read(body);
    QCOMPARE(int(out.hits.size()), hits);
    if (errorPart.isEmpty())
        QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    else
        QVERIFY2(out.page.error.contains(errorPart), qPrintable(out.page.error));
}

void TestAtomReader::billionLaughsIsRefused()
{
    const QByteArray body = "<!DOCTYPE feed [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]>"
                            "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry><title>&d;&d;&d;&d;</title>"
                            "<link href=\"https://a.example/\"/></entry></feed>";
    const Outcome out = read(body);
    QVERIFY(out.hits.empty());
    QVERIFY2(out.page.error.contains(u"declares its own entities"), qPrintable(out.page.error));
}

void TestAtomReader::rssServedAsAtom()
{
    const Outcome out = read("<rss><channel><item><title>R</title><link>https://r.example/</link></item></channel></rss>");
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), qsizetype(1));
    QCOMPARE(out.hits[0].title, QStringLiteral("R"));
}

void TestAtomReader::overlongBaseIsIgnored()
{
    // One long xml:base shared by many tiny entries must not make every hit that long.
    const QByteArray base = "https://b.example/" + QByteArray(HitAddress::kLongest, 'x') + "/";
    const Outcome out = read("<feed xmlns=\"http://www.w3.org/2005/Atom\" xml:base=\"" + base + "\">"
                             + QByteArray("<entry><link href=\"e\"/></entry>").repeated(1000) + "</feed>");
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(qsizetype(out.hits.size()), qsizetype(1000));
    QCOMPARE(out.hits[999].url, QStringLiteral("https://coast.example/e"));
}

QTEST_GUILESS_MAIN(TestAtomReader)
#include "tst_atom_reader.moc"
