#include "retrieval/opensearch/OpenSearchTemplate.h"

#include <QTest>

namespace {

OpenSearchUrl url(const QString &templateText, qint64 indexOffset = 1, qint64 pageOffset = 1)
{
    OpenSearchUrl u;
    u.type = QStringLiteral("application/rss+xml");
    u.templateText = templateText;
    u.indexOffset = indexOffset;
    u.pageOffset = pageOffset;
    return u;
}

} // namespace

class TestOpenSearchTemplate final : public QObject
{
    Q_OBJECT

private slots:
    void addresses_data();
    void addresses();
    void paging_data();
    void paging();
    void getParams();
    void postBody();
    void inputEncoding();
    void invalidAfterFilling();
};

void TestOpenSearchTemplate::addresses_data()
{
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("terms");
    QTest::addColumn<QByteArray>("encoded");

    const QString q = QStringLiteral("https://h.example/s?q={searchTerms}");
    QTest::newRow("plain") << q << "lighthouse" << QByteArray("https://h.example/s?q=lighthouse");
    // A blank is %20 and a plus %2B, never a bare "+": "a+b c" must not arrive as "a b c".
    QTest::newRow("plus and blank") << q << "a+b c" << QByteArray("https://h.example/s?q=a%2Bb%20c");
    QTest::newRow("query characters") << q << "cats & dogs=#1?" << QByteArray("https://h.example/s?q=cats%20%26%20dogs%3D%231%3F");
    QTest::newRow("quotes and operators") << q << "\"keeper\" -lamp (a OR b)"
                                          << QByteArray("https://h.example/s?q=%22keeper%22%20-lamp%20%28a%20OR%20b%29");
    QTest::newRow("utf-8") << q << QString::fromUtf8("café ☕") << QByteArray("https://h.example/s?q=caf%C3%A9%20%E2%98%95");
    QTest::newRow("percent") << q << "100%" << QByteArray("https://h.example/s?q=100%25");
    QTest::newRow("slash in path") << "https://h.example/find/{searchTerms}/all" << "a/b c"
                                   << QByteArray("https://h.example/find/a%2Fb%20c/all");
    QTest::newRow("optional forms") << "https://h.example/s?q={searchTerms?}&n={count?}&l={language?}&p={startPage?}" << "x"
                                    << QByteArray("https://h.example/s?q=x&n=10&l=&p=1");
    QTest::newRow("required language is any") << "https://h.example/s?q={searchTerms}&l={language}" << "x"
                                              << QByteArray("https://h.example/s?q=x&l=%2A");
    QTest::newRow("encodings") << "https://h.example/s?q={searchTerms}&ie={inputEncoding}&oe={outputEncoding?}" << "x"
                               << QByteArray("https://h.example/s?q=x&ie=UTF-8&oe=UTF-8");
    QTest::newRow("unknown ones are empty") << "https://h.example/s?q={searchTerms}&a={custom}&b={custom?}&c={geo:box?}&d={ref:source}"
                                            << "x" << QByteArray("https://h.example/s?q=x&a=&b=&c=&d=");
    QTest::newRow("stray braces stay") << "https://h.example/s?q={searchTerms}&x={&y=}" << "x"
                                       << QByteArray("https://h.example/s?q=x&x=%7B&y=%7D");
    QTest::newRow("literal encodings kept") << "https://h.example/s?q={searchTerms}&x=a%20b+c" << "y"
                                            << QByteArray("https://h.example/s?q=y&x=a%20b+c");
    QTest::newRow("empty terms") << q << "" << QByteArray("https://h.example/s?q=");
}

void TestOpenSearchTemplate::addresses()
{
    QFETCH(QString, templateText);
    QFETCH(QString, terms);
    QFETCH(QByteArray, encoded);
    OpenSearchTemplate::Values values;
    values.searchTerms = terms;
    QString error;
    const std::optional<SearchRequest> request = OpenSearchTemplate::expand(url(templateText), values, &error);
    QVERIFY2(request, qPrintable(error));
    QCOMPARE(request->method, QByteArray("GET"));
    QCOMPARE(request->url.toEncoded(), encoded);
    QVERIFY(request->body.isEmpty());
    QVERIFY(request->contentType.isEmpty());
}

void TestOpenSearchTemplate::paging_data()
{
    QTest::addColumn<qint64>("indexOffset");
    QTest::addColumn<qint64>("pageOffset");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("query");

    QTest::newRow("first page") << qint64(1) << qint64(1) << 1 << 10 << QByteArray("i=1&p=1&n=10");
    QTest::newRow("third page") << qint64(1) << qint64(1) << 3 << 10 << QByteArray("i=21&p=3&n=10");
    QTest::newRow("zero offsets") << qint64(0) << qint64(0) << 2 << 20 << QByteArray("i=20&p=1&n=20");
    QTest::newRow("page below one is the first") << qint64(1) << qint64(1) << 0 << 10 << QByteArray("i=1&p=1&n=10");
    QTest::newRow("large offset") << qint64(1000000000) << qint64(1000000000) << 1000 << 100
                                  << QByteArray("i=1000099900&p=1000000999&n=100");
}

void TestOpenSearchTemplate::paging()
{
    QFETCH(qint64, indexOffset);
    QFETCH(qint64, pageOffset);
    QFETCH(int, page);
    QFETCH(int, count);
    QFETCH(QByteArray, query);
    OpenSearchTemplate::Values values;
    values.page = page;
    values.count = count;
    const auto request = OpenSearchTemplate::expand(url("http://h.example/?i={startIndex}&p={startPage?}&n={count}", indexOffset, pageOffset), values);
    QVERIFY(request);
    QCOMPARE(request->url.query(QUrl::FullyEncoded).toLatin1(), query);
}

void TestOpenSearchTemplate::getParams()
{
    OpenSearchUrl u = url(QStringLiteral("https://h.example/s?fixed=1#top"));
    u.params = {{"q", "{searchTerms}"}, {"page size", "{count}"}, {"tag", "a+b & c"}};
    OpenSearchTemplate::Values values;
    values.searchTerms = QStringLiteral("x y");
    const auto request = OpenSearchTemplate::expand(u, values);
    QVERIFY(request);
    QCOMPARE(request->url.toEncoded(), QByteArray("https://h.example/s?fixed=1&q=x%20y&page%20size=10&tag=a%2Bb%20%26%20c#top"));
}

void TestOpenSearchTemplate::postBody()
{
    OpenSearchUrl u = url(QStringLiteral("https://h.example/api?v={startPage}"));
    u.method = QStringLiteral("POST");
    u.params = {{"query", "{searchTerms} site:x"}, {"page", "{startPage}"}, {"lang", "{language?}"}};
    OpenSearchTemplate::Values values;
    values.searchTerms = QString::fromUtf8("a+b c&d é");
    values.page = 2;
    const auto request = OpenSearchTemplate::expand(u, values);
    QVERIFY(request);
    QCOMPARE(request->method, QByteArray("POST"));
    QCOMPARE(request->url.toEncoded(), QByteArray("https://h.example/api?v=2"));
    // Form encoding: a blank is "+", so a plus must be %2B.
    QCOMPARE(request->body, QByteArray("query=a%2Bb+c%26d+%C3%A9+site%3Ax&page=2&lang="));
    QCOMPARE(request->contentType, QByteArray("application/x-www-form-urlencoded"));
}

void TestOpenSearchTemplate::inputEncoding()
{
    OpenSearchTemplate::Values values;
    values.searchTerms = QString::fromUtf8("café");
    values.inputEncoding = QStringLiteral("ISO-8859-1");
    auto request = OpenSearchTemplate::expand(url("https://h.example/?q={searchTerms}&ie={inputEncoding}"), values);
    QVERIFY(request);
    QCOMPARE(request->url.toEncoded(), QByteArray("https://h.example/?q=caf%E9&ie=ISO-8859-1"));

    // An encoding Qt does not know falls back to UTF-8, and says so.
    values.inputEncoding = QStringLiteral("x-no-such-encoding");
    request = OpenSearchTemplate::expand(url("https://h.example/?q={searchTerms}&ie={inputEncoding}"), values);
    QVERIFY(request);
    QCOMPARE(request->url.toEncoded(), QByteArray("https://h.example/?q=caf%C3%A9&ie=UTF-8"));
}

void TestOpenSearchTemplate::invalidAfterFilling()
{
    QString error;
    const auto request = OpenSearchTemplate::expand(url("https://{custom}/s?q={searchTerms}"), {}, &error);
    QVERIFY(!request);
    QVERIFY2(error.startsWith(u"The filled-in address is not a valid http or https address"), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestOpenSearchTemplate)
#include "tst_opensearch_template.moc"
