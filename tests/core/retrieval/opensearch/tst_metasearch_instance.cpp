#include "retrieval/opensearch/MetasearchInstance.h"
#include "retrieval/opensearch/OpenSearchTemplate.h"

#include <QTest>

class TestMetasearchInstance final : public QObject
{
    Q_OBJECT

private slots:
    void bases_data();
    void bases();
    void refused_data();
    void refused();
    void firstAndSecondPage();
};

void TestMetasearchInstance::bases_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("shortName");

    QTest::newRow("with slash") << "https://meta.example/" << "json"
                                << "https://meta.example/search?q={searchTerms}&format=json&pageno={startPage}" << "meta.example";
    QTest::newRow("no slash") << "https://meta.example" << "json"
                              << "https://meta.example/search?q={searchTerms}&format=json&pageno={startPage}" << "meta.example";
    QTest::newRow("sub path, rss") << "  http://host.example:8888/searx/  " << "rss"
                                   << "http://host.example:8888/searx/search?q={searchTerms}&format=rss&pageno={startPage}"
                                   << "host.example";
    QTest::newRow("sub path without slash") << "https://host.example/searx" << "json"
                                            << "https://host.example/searx/search?q={searchTerms}&format=json&pageno={startPage}"
                                            << "host.example";
    QTest::newRow("a search address pasted") << "https://meta.example/search?q=cats&format=html#x" << "json"
                                             << "https://meta.example/search?q={searchTerms}&format=json&pageno={startPage}"
                                             << "meta.example";
}

void TestMetasearchInstance::bases()
{
    QFETCH(QString, base);
    QFETCH(QString, format);
    QFETCH(QString, templateText);
    QFETCH(QString, shortName);
    QString error;
    const auto d = MetasearchInstance::description(base, *FeedFormats::fromName(format), &error);
    QVERIFY2(d, qPrintable(error));
    QCOMPARE(d->shortName, shortName);
    const std::optional<OpenSearchUrl> url = d->resultsUrl();
    QVERIFY(url);
    QCOMPARE(url->templateText, templateText);
    QCOMPARE(url->format(), FeedFormats::fromName(format));
}

void TestMetasearchInstance::refused_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("ftp") << "ftp://meta.example/" << "json" << "must be an http or https address";
    QTest::newRow("file") << "file:///srv/searx/" << "json" << "must be an http or https address";
    QTest::newRow("no scheme") << "meta.example" << "json" << "must be an http or https address";
    QTest::newRow("empty") << "" << "json" << "must be an http or https address";
    QTest::newRow("atom") << "https://meta.example/" << "atom" << "not in Atom";
}

void TestMetasearchInstance::refused()
{
    QFETCH(QString, base);
    QFETCH(QString, format);
    QFETCH(QString, errorPart);
    QString error;
    QVERIFY(!MetasearchInstance::description(base, *FeedFormats::fromName(format), &error));
    QVERIFY2(error.contains(errorPart), qPrintable(error));
}

void TestMetasearchInstance::firstAndSecondPage()
{
    const auto d = MetasearchInstance::description(u"https://meta.example/", FeedFormat::Json);
    QVERIFY(d);
    OpenSearchTemplate::Values values;
    values.searchTerms = QStringLiteral("light house");
    values.page = 2;
    const auto request = OpenSearchTemplate::expand(*d->resultsUrl(), values);
    QVERIFY(request);
    QCOMPARE(request->url.toEncoded(), QByteArray("https://meta.example/search?q=light%20house&format=json&pageno=2"));
}

QTEST_GUILESS_MAIN(TestMetasearchInstance)
#include "tst_metasearch_instance.moc"
