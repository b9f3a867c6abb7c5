#include "retrieval/opensearch/SearxJsonReader.h"

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
    out.page = SearxJsonReader::read(body, QUrl(QStringLiteral("https://meta.example/search?q=lighthouse&format=json")),
                                     [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

} // namespace

class TestSearxJsonReader final : public QObject
{
    Q_OBJECT

private slots:
    void savedAnswer();
    void totals_data();
    void totals();
    void brokenDocuments_data();
    void brokenDocuments();
};

void TestSearxJsonReader::savedAnswer()
{
    QFile file(TestPaths::dataDir() + QStringLiteral("/opensearch/searx.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Outcome out = read(file.readAll());
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(out.page.totalResults, std::nullopt); // 0 means the instance does not know
    QCOMPARE(out.page.items, qsizetype(5));
    QCOMPARE(qsizetype(out.hits.size()), qsizetype(3));
    QCOMPARE(out.hits[0].title, QStringLiteral("Lighthouse & lamp"));
    QCOMPARE(out.hits[0].url, QStringLiteral("https://lights.example/one"));
    QCOMPARE(out.hits[0].summary, QStringLiteral("The lamp room"));
    QCOMPARE(out.hits[1].url, QStringLiteral("https://meta.example/relative/two"));
    // An empty title shows the address; a number is a text too.
    QCOMPARE(out.hits[2].title, QStringLiteral("http://lights.example/five"));
    QCOMPARE(out.hits[2].summary, QStringLiteral("42"));
}

void TestSearxJsonReader::totals_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<std::optional<qint64>>("total");

    QTest::newRow("known") << QByteArray("{\"number_of_results\": 1234, \"results\": []}") << std::optional<qint64>(1234);
    QTest::newRow("zero") << QByteArray("{\"number_of_results\": 0, \"results\": []}") << std::optional<qint64>();
    QTest::newRow("text") << QByteArray("{\"number_of_results\": \"12\", \"results\": []}") << std::optional<qint64>();
    QTest::newRow("negative") << QByteArray("{\"number_of_results\": -5, \"results\": []}") << std::optional<qint64>();
    QTest::newRow("huge") << QByteArray("{\"number_of_results\": 1e300, \"results\": []}") << std::optional<qint64>();
    QTest::newRow("missing") << QByteArray("{\"results\": []}") << std::optional<qint64>();
}

void TestSearxJsonReader::totals()
{
    QFETCH(QByteArray, body);
    QFETCH(std::optional<qint64>, total);
    const Outcome out = read(body);
    QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    QCOMPARE(out.page.totalResults, total);
}

void TestSearxJsonReader::brokenDocuments_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("cut off") << QByteArray("{\"results\": [{\"url\": \"https://a.example/\", \"title\": \"a\"}, {\"url\": \"ht")
                             << "not valid JSON";
    QTest::newRow("html error page") << QByteArray("<html>Rate limited</html>") << "not valid JSON";
    QTest::newRow("no results") << QByteArray("{\"error\": \"too many requests\"}") << "no list of results at \"results\"";
    QTest::newRow("results not a list") << QByteArray("{\"results\": {\"url\": \"https://a.example/\"}}") << "no list of results";
    QTest::newRow("deep nesting") << QByteArray(5000, '[') << "not valid JSON";
    QTest::newRow("empty") << QByteArray() << "not valid JSON";
}

void TestSearxJsonReader::brokenDocuments()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, errorPart);
    const Outcome out = read(body);
    QVERIFY(out.hits.empty());
    QVERIFY2(out.page.error.contains(errorPart), qPrintable(out.page.error));
}

QTEST_GUILESS_MAIN(TestSearxJsonReader)
#include "tst_searx_json_reader.moc"
