#include "retrieval/opensearch/HitAddress.h"

#include <QTest>

class TestHitAddress final : public QObject
{
    Q_OBJECT

private slots:
    void resolve_data();
    void resolve();
};

void TestHitAddress::resolve_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("address");

    const QString base = QStringLiteral("https://search.example/dir/results?q=x");
    QTest::newRow("absolute") << "http://site.example/a" << base << "http://site.example/a";
    QTest::newRow("upper-case scheme") << "HTTPS://Site.Example/A" << base << "https://site.example/A";
    QTest::newRow("relative path") << "page.html" << base << "https://search.example/dir/page.html";
    QTest::newRow("absolute path") << "/top?x=1" << base << "https://search.example/top?x=1";
    QTest::newRow("protocol relative") << "//cdn.example/f" << base << "https://cdn.example/f";
    QTest::newRow("parent") << "../up" << base << "https://search.example/up";
    QTest::newRow("trimmed") << "  \n http://site.example/t \t" << base << "http://site.example/t";
    QTest::newRow("space encoded") << "http://site.example/a b" << base << "http://site.example/a%20b";
    QTest::newRow("non-ascii path encoded") << QString::fromUtf8("http://site.example/café") << base
                                            << "http://site.example/caf%C3%A9";
    QTest::newRow("javascript") << "javascript:alert(1)" << base << "";
    QTest::newRow("javascript with blanks") << " JavaScript:alert(1)" << base << "";
    QTest::newRow("data") << "data:text/html,<b>x</b>" << base << "";
    QTest::newRow("mailto") << "mailto:a@b.example" << base << "";
    QTest::newRow("ftp") << "ftp://files.example/x" << base << "";
    QTest::newRow("file") << "file:///etc/passwd" << base << "";
    QTest::newRow("no host") << "http:///path" << base << "";
    QTest::newRow("empty") << "" << base << "";
    QTest::newRow("relative without base") << "page.html" << "" << "";
    QTest::newRow("relative against non-web base") << "page.html" << "file:///tmp/feed.xml" << "";
    const QString longPath = QStringLiteral("a").repeated(HitAddress::kLongest);
    QTest::newRow("overlong") << "http://site.example/" + longPath << base << "";
    QTest::newRow("overlong once resolved") << longPath.left(HitAddress::kLongest - 10) << base << "";
    QTest::newRow("long but within") << longPath.left(100) << base << "https://search.example/dir/" + longPath.left(100);
}

void TestHitAddress::resolve()
{
    QFETCH(QString, href);
    QFETCH(QString, base);
    QFETCH(QString, address);
    QCOMPARE(HitAddress::resolve(href, QUrl(base)), address);
}

QTEST_GUILESS_MAIN(TestHitAddress)
#include "tst_hit_address.moc"
