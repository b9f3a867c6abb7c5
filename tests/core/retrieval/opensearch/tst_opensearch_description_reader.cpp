#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "retrieval/opensearch/OpenSearchDescriptionReader.h"

#include "TestPaths.h"

#include <QFile>
#include <QTest>

namespace {

const QUrl kBase(QStringLiteral("https://harbour.example/about/opensearch.xml"));

QByteArray file(const QString &name)
{
    QFile f(TestPaths::dataDir() + QStringLiteral("/opensearch/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray description(const QByteArray &inside)
{
    return "<OpenSearchDescription xmlns=\"" TRAWLEX_OPENSEARCH_NS "\">" + inside + "</OpenSearchDescription>";
}

} // namespace

class TestOpenSearchDescriptionReader final : public QObject
{
    Q_OBJECT

private slots:
    void fullDescription();
    void urlAttributes_data();
    void urlAttributes();
    void otherRoots_data();
    void otherRoots();
    void errors_data();
    void errors();
};

void TestOpenSearchDescriptionReader::fullDescription()
{
    QString error;
    const std::optional<OpenSearchDescription> d = OpenSearchDescriptionReader::read(file("description-full.xml"), kBase, &error);
    QVERIFY2(d, qPrintable(error));
    QVERIFY(error.isEmpty());
    QCOMPARE(d->shortName, QStringLiteral("Harbour Search"));
    QCOMPARE(d->description, QStringLiteral("Searches the harbour archive."));
    QCOMPARE(d->inputEncoding, QStringLiteral("UTF-8")); // the first of two
    QCOMPARE(d->language, QStringLiteral("en-gb"));
    QCOMPARE(d->urls.size(), 5);

    const OpenSearchUrl &html = d->urls[0];
    QCOMPARE(html.type, QStringLiteral("text/html"));
    QCOMPARE(html.method, QStringLiteral("GET"));
    QCOMPARE(html.rel, QStringLiteral("results"));
    QCOMPARE(html.indexOffset, 1);
    QCOMPARE(html.pageOffset, 1);

    QCOMPARE(d->urls[1].pageOffset, 0);
    QCOMPARE(d->urls[1].templateText, QStringLiteral("https://harbour.example/rss?q={searchTerms}&p={startPage?}"));

    const OpenSearchUrl &atom = d->urls[2];
    QCOMPARE(atom.indexOffset, 0);
    QCOMPARE(atom.templateText,
             QStringLiteral("https://harbour.example/atom?q={searchTerms}&start={startIndex}&n={count}&ref={harbour:source?}"));
    QCOMPARE(d->urls[3].rel, QStringLiteral("suggestions"));

    // The parameter extension's method and Parameter elements beside a plain Param; the
    // relative template resolved against the description's address.
    const OpenSearchUrl &json = d->urls[4];
    QCOMPARE(json.method, QStringLiteral("POST"));
    QCOMPARE(json.templateText, QStringLiteral("https://harbour.example/api"));
    const QList<OpenSearchUrl::Param> params{{"query", "{searchTerms}"}, {"page", "{startPage}"}, {"fmt", "json"}};
    QCOMPARE(json.params, params);
}

void TestOpenSearchDescriptionReader::urlAttributes_data()
{
    QTest::addColumn<QByteArray>("url");
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("rel");

    QTest::newRow("relative path")
        << QByteArray("<Url type=\"application/rss+xml\" template=\"find?q={searchTerms}&amp;n={count?}\"/>")
        << "https://harbour.example/about/find?q={searchTerms}&n={count?}" << "GET" << "results";
    QTest::newRow("protocol relative") << QByteArray("<Url type=\"application/rss+xml\" template=\"//cdn.example/s?q={searchTerms}\"/>")
                                       << "https://cdn.example/s?q={searchTerms}" << "GET" << "results";
    QTest::newRow("absolute path with namespaced parameter")
        << QByteArray("<Url type=\"application/rss+xml\" template=\"/s/{searchTerms}?x={a:b?}\"/>")
        << "https://harbour.example/s/{searchTerms}?x={a:b?}" << "GET" << "results";
    QTest::newRow("plain method attribute, lower case")
        << QByteArray("<Url type=\"application/atom+xml\" method=\"post\" template=\"https://h.example/s\"/>")
        << "https://h.example/s" << "POST" << "results";
    QTest::newRow("rel list") << QByteArray("<Url type=\"application/atom+xml\" rel=\"  results   self \" template=\"http://h.example/\"/>")
                              << "http://h.example/" << "GET" << "results self";
    QTest::newRow("absolute template kept as written")
        << QByteArray("<Url type=\"application/atom+xml\" template=\"https://h.example/s?q={searchTerms}&amp;x=a%20b+c\"/>")
        << "https://h.example/s?q={searchTerms}&x=a%20b+c" << "GET" << "results";
    QTest::newRow("parameter in host") << QByteArray("<Url type=\"application/atom+xml\" template=\"https://{language}.h.example/s\"/>")
                                       << "https://{language}.h.example/s" << "GET" << "results";
}

void TestOpenSearchDescriptionReader::urlAttributes()
{
    QFETCH(QByteArray, url);
    QFETCH(QString, templateText);
    QFETCH(QString, method);
    QFETCH(QString, rel);
    QString error;
    const auto d = OpenSearchDescriptionReader::read(description("<ShortName>s</ShortName>" + url), kBase, &error);
    QVERIFY2(d, qPrintable(error));
    QCOMPARE(d->urls.size(), 1);
    QCOMPARE(d->urls[0].templateText, templateText);
    QCOMPARE(d->urls[0].method, method);
    QCOMPARE(d->urls[0].rel, rel);
}

void TestOpenSearchDescriptionReader::otherRoots_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("shortName");

    const QByteArray inside = "<ShortName>Old</ShortName><Url type=\"application/rss+xml\" template=\"https://o.example/?q={searchTerms}\"/>";
    QTest::newRow("1.0 namespace") << QByteArray("<OpenSearchDescription xmlns=\"" TRAWLEX_OPENSEARCH_DESCRIPTION_1_0_NS "\">"
                                                 + inside + "</OpenSearchDescription>")
                                   << "Old";
    QTest::newRow("no namespace") << QByteArray("<OpenSearchDescription>" + inside + "</OpenSearchDescription>") << "Old";
    QTest::newRow("prefixed") << QByteArray("<os:OpenSearchDescription xmlns:os=\"" TRAWLEX_OPENSEARCH_NS "\">"
                                            "<os:ShortName>Old</os:ShortName><os:Url type=\"application/rss+xml\" "
                                            "template=\"https://o.example/?q={searchTerms}\"/></os:OpenSearchDescription>")
                              << "Old";
    QTest::newRow("search plugin") << QByteArray("<SearchPlugin xmlns=\"http://www.mozilla.org/2006/browser/search/\">" + inside
                                                 + "</SearchPlugin>")
                                   << "Old";
}

void TestOpenSearchDescriptionReader::otherRoots()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, shortName);
    QString error;
    const auto d = OpenSearchDescriptionReader::read(document, kBase, &error);
    QVERIFY2(d, qPrintable(error));
    QCOMPARE(d->shortName, shortName);
    QCOMPARE(d->urls.size(), 1);
}

void TestOpenSearchDescriptionReader::errors_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("message");

    const QString base = kBase.toString();
    const QByteArray name = "<ShortName>s</ShortName>";
    QTest::newRow("not xml") << QByteArray("ShortName=s") << base << "The description is not well-formed XML";
    QTest::newRow("empty") << QByteArray() << base << "The description is empty";
    QTest::newRow("cut off") << description(name).chopped(10) << base << "The description is not well-formed XML";
    QTest::newRow("html root") << QByteArray("<html><body/></html>") << base
                               << "This is not an OpenSearch description: its root element is <html>.";
    QTest::newRow("foreign namespace") << QByteArray("<OpenSearchDescription xmlns=\"urn:other\"/>") << base
                                       << "This is not an OpenSearch description";
    QTest::newRow("no short name")
        << description("<Url type=\"application/rss+xml\" template=\"https://h.example/\"/>") << base
        << "The description has no ShortName.";
    QTest::newRow("blank short name")
        << description("<ShortName> </ShortName><Url type=\"application/rss+xml\" template=\"https://h.example/\"/>") << base
        << "The description has no ShortName.";
    QTest::newRow("no url") << description(name) << base << "The description has no Url.";
    QTest::newRow("no template") << description(name + "<Url type=\"application/rss+xml\"/>") << base << "Url 1 has no template.";
    QTest::newRow("no type") << description(name + "<Url template=\"https://h.example/\"/>") << base
                             << "Url 1 (https://h.example/) has no type.";
    QTest::newRow("ftp template")
        << description(name + "<Url type=\"text/html\" template=\"https://h.example/\"/><Url type=\"application/rss+xml\" template=\"ftp://h.example/{searchTerms}\"/>")
        << base << "Url 2 has a template that is not an http or https address: ftp://h.example/{searchTerms}";
    QTest::newRow("javascript template") << description(name + "<Url type=\"application/rss+xml\" template=\"javascript:alert(1)\"/>")
                                         << base << "Url 1 has a template that is not an http or https address";
    QTest::newRow("no host") << description(name + "<Url type=\"application/rss+xml\" template=\"https:///s\"/>") << base
                             << "Url 1 has a template that is not an http or https address";
    QTest::newRow("relative without web base") << description(name + "<Url type=\"application/rss+xml\" template=\"/s?q={searchTerms}\"/>")
                                               << "file:///home/user/search.xml"
                                               << "Url 1 has a template that is not an http or https address: /s?q={searchTerms}";
    QTest::newRow("put method") << description(name + "<Url type=\"application/rss+xml\" method=\"PUT\" template=\"https://h.example/\"/>")
                                << base << "Url 1 has the method \"PUT\"; only GET and POST are possible.";
    QTest::newRow("offset not a number")
        << description(name + "<Url type=\"application/rss+xml\" indexOffset=\"one\" template=\"https://h.example/\"/>") << base
        << "Url 1: its indexOffset is not a whole number from 0 to 1000000000: \"one\".";
    QTest::newRow("negative page offset")
        << description(name + "<Url type=\"application/rss+xml\" pageOffset=\"-1\" template=\"https://h.example/\"/>") << base
        << "Url 1: its pageOffset is not a whole number";
    QTest::newRow("param without name")
        << description(name + "<Url type=\"application/rss+xml\" template=\"https://h.example/\"><Param value=\"x\"/></Url>") << base
        << "Url 1 has a Param without a name.";
    QTest::newRow("entities declared")
        << QByteArray("<!DOCTYPE OpenSearchDescription [<!ENTITY big \"xxxxxxxxxxxxxxxx\">]>" + description("<ShortName>&big;</ShortName>"))
        << base << "declares its own entities";
}

void TestOpenSearchDescriptionReader::errors()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, base);
    QFETCH(QString, message);
    QString error;
    const auto d = OpenSearchDescriptionReader::read(document, QUrl(base), &error);
    QVERIFY(!d);
    QVERIFY2(error.contains(message), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestOpenSearchDescriptionReader)
#include "tst_opensearch_description_reader.moc"
