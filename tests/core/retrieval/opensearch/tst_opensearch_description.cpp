#include "retrieval/opensearch/OpenSearchDescription.h"
#include "retrieval/opensearch/OpenSearchDescriptionReader.h"

#include "TestPaths.h"

#include <QFile>
#include <QTest>

namespace {

// "type method rel" per Url, e.g. "application/rss+xml POST results".
OpenSearchDescription made(const QStringList &urls)
{
    OpenSearchDescription d;
    d.shortName = QStringLiteral("s");
    for (qsizetype i = 0; i < urls.size(); ++i) {
        const QStringList parts = urls[i].split(u' ');
        OpenSearchUrl url;
        url.type = parts.value(0);
        url.method = parts.value(1, QStringLiteral("GET"));
        url.rel = parts.size() > 2 ? parts.sliced(2).join(u' ') : QStringLiteral("results");
        url.templateText = QStringLiteral("https://h.example/%1?q={searchTerms}").arg(i);
        d.urls += url;
    }
    return d;
}

} // namespace

class TestOpenSearchDescription final : public QObject
{
    Q_OBJECT

private slots:
    void resultsUrl_data();
    void resultsUrl();
    void htmlOnlyFile();
    void formats_data();
    void formats();
};

void TestOpenSearchDescription::resultsUrl_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<int>("chosen"); // index, -1 for none
    QTest::addColumn<QString>("error");

    QTest::newRow("atom over rss and json") << QStringList{"application/json", "application/rss+xml", "application/atom+xml"} << 2 << "";
    QTest::newRow("rss over json") << QStringList{"application/json", "text/html", "application/rss+xml"} << 2 << "";
    QTest::newRow("json alone") << QStringList{"text/html", "application/json"} << 1 << "";
    QTest::newRow("get before post") << QStringList{"application/rss+xml POST", "application/rss+xml GET"} << 1 << "";
    QTest::newRow("post when nothing else") << QStringList{"application/rss+xml POST"} << 0 << "";
    QTest::newRow("post atom over get rss") << QStringList{"application/rss+xml GET", "application/atom+xml POST"} << 1 << "";
    QTest::newRow("type with parameters") << QStringList{"Application/RSS+XML;charset=utf-8"} << 0 << "";
    QTest::newRow("rel among others") << QStringList{"application/atom+xml GET self", "application/atom+xml GET self results"} << 1 << "";
    QTest::newRow("suggestions are not results")
        << QStringList{"application/x-suggestions+json", "text/html"} << -1
        << "This search offers its results only as application/x-suggestions+json and text/html, which Trawlex cannot read.";
    QTest::newRow("suggestions rel is not results")
        << QStringList{"application/json GET suggestions", "text/html"} << -1
        << "This search offers its results only as text/html, which Trawlex cannot read.";
    QTest::newRow("html only") << QStringList{"text/html"} << -1
                               << "This search offers its results only as text/html, which Trawlex cannot read.";
    QTest::newRow("html types listed once") << QStringList{"text/html", "application/xhtml+xml", "text/html POST"} << -1
                                            << "This search offers its results only as text/html and application/xhtml+xml, which Trawlex cannot read.";
    QTest::newRow("no results rel") << QStringList{"application/atom+xml GET self", "application/json GET suggestions"} << -1
                                    << "This search offers no address for results, only for self and suggestions.";
}

void TestOpenSearchDescription::resultsUrl()
{
    QFETCH(QStringList, urls);
    QFETCH(int, chosen);
    QFETCH(QString, error);
    const OpenSearchDescription d = made(urls);
    QString why = QStringLiteral("stale");
    const std::optional<OpenSearchUrl> url = d.resultsUrl(&why);
    if (chosen < 0) {
        QVERIFY(!url);
        QCOMPARE(why, error);
    } else {
        QVERIFY(url);
        QCOMPARE(*url, d.urls[chosen]);
    }
}

void TestOpenSearchDescription::htmlOnlyFile()
{
    QFile file(TestPaths::dataDir() + QStringLiteral("/opensearch/description-html-only.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto d = OpenSearchDescriptionReader::read(file.readAll(), QUrl(QStringLiteral("https://pages.example/os.xml")), nullptr);
    QVERIFY(d);
    QString why;
    QVERIFY(!d->resultsUrl(&why));
    QCOMPARE(why, QStringLiteral("This search offers its results only as text/html and application/xhtml+xml, which Trawlex cannot read."));
}

void TestOpenSearchDescription::formats_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("format"); // name, empty for none

    QTest::newRow("atom") << "application/atom+xml" << "atom";
    QTest::newRow("rss with charset") << " application/rss+xml ; charset=UTF-8" << "rss";
    QTest::newRow("json upper case") << "APPLICATION/JSON" << "json";
    QTest::newRow("suggestions") << "application/x-suggestions+json" << "";
    QTest::newRow("plain xml") << "text/xml" << "";
    QTest::newRow("html") << "text/html" << "";
}

void TestOpenSearchDescription::formats()
{
    QFETCH(QString, type);
    QFETCH(QString, format);
    const std::optional<FeedFormat> found = FeedFormats::forMediaType(type);
    QCOMPARE(found ? FeedFormats::name(*found) : QString(), format);
    if (found) {
        QCOMPARE(FeedFormats::fromName(format.toUpper()), found);
        QCOMPARE(FeedFormats::forMediaType(FeedFormats::mediaType(*found)), found);
    }
}

QTEST_GUILESS_MAIN(TestOpenSearchDescription)
#include "tst_opensearch_description.moc"
