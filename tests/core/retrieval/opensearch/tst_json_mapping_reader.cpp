#include "retrieval/opensearch/JsonMappingReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <vector>

namespace {

struct Outcome
{
    FeedPage page;
    std::vector<EngineHit> hits;
};

Outcome read(const JsonMapping &mapping, const QByteArray &body)
{
    Outcome out;
    out.page = JsonMappingReader(mapping).read(body, QUrl(QStringLiteral("https://api.example/v1/search?q=x")),
                                               [&out](EngineHit &&hit) { out.hits.push_back(std::move(hit)); });
    return out;
}

} // namespace

class TestJsonMappingReader final : public QObject
{
    Q_OBJECT

private slots:
    void mappings_data();
    void mappings();
    void valueAt_data();
    void valueAt();
    void storedForm_data();
    void storedForm();
};

void TestJsonMappingReader::mappings_data()
{
    QTest::addColumn<JsonMapping>("mapping");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("hits"); // title|url|summary per hit
    QTest::addColumn<qint64>("total");     // -1: none
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("nested paths")
        << JsonMapping{"data.items", "name", "links.0.href", "snippet.text", "data.total"}
        << QByteArray("{\"data\": {\"total\": 99, \"items\": ["
                      "{\"name\": \"One &amp; only\", \"links\": [{\"href\": \"https://one.example/\"}], \"snippet\": {\"text\": \"<em>first</em>\"}},"
                      "{\"name\": \"Two\", \"links\": [{\"href\": \"../two\"}], \"snippet\": {}},"
                      "{\"name\": \"Three\", \"links\": []}"
                      "]}}")
        << QStringList{"One & only|https://one.example/|first", "Two|https://api.example/two|"} << qint64(99) << "";
    QTest::newRow("root is the array")
        << JsonMapping{"", "t", "u", "s", ""}
        << QByteArray("[{\"t\": \"a\", \"u\": \"https://a.example/\", \"s\": \"x\"}, 7, null, {\"u\": \"data:x\"}]")
        << QStringList{"a|https://a.example/|x"} << qint64(-1) << "";
    QTest::newRow("non-text fields") << JsonMapping{"r", "t", "u", "s", ""}
                                     << QByteArray("{\"r\": [{\"t\": [\"x\"], \"u\": \"https://a.example/\", \"s\": true}]}")
                                     << QStringList{"https://a.example/|https://a.example/|"} << qint64(-1) << "";
    QTest::newRow("address not a text") << JsonMapping{"r", "t", "u", "s", ""}
                                        << QByteArray("{\"r\": [{\"t\": \"x\", \"u\": {\"href\": \"https://a.example/\"}}]}")
                                        << QStringList{} << qint64(-1) << "";
    QTest::newRow("wrong path") << JsonMapping{"data.items", "t", "u", "s", ""} << QByteArray("{\"data\": {\"list\": []}}")
                                << QStringList{} << qint64(-1) << "no list of results at \"data.items\"";
    QTest::newRow("index past the end") << JsonMapping{"lists.3", "t", "u", "s", ""} << QByteArray("{\"lists\": [[]]}")
                                        << QStringList{} << qint64(-1) << "no list of results";
    QTest::newRow("root object, array wanted") << JsonMapping{"", "t", "u", "s", ""} << QByteArray("{}") << QStringList{}
                                               << qint64(-1) << "not a list of results";
}

void TestJsonMappingReader::mappings()
{
    QFETCH(JsonMapping, mapping);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, hits);
    QFETCH(qint64, total);
    QFETCH(QString, errorPart);
    const Outcome out = read(mapping, body);
    QStringList got;
    for (const EngineHit &hit : out.hits)
        got += hit.title + u'|' + hit.url + u'|' + hit.summary;
    QCOMPARE(got, hits);
    QCOMPARE(out.page.totalResults, total < 0 ? std::optional<qint64>() : std::optional<qint64>(total));
    if (errorPart.isEmpty())
        QVERIFY2(out.page.ok(), qPrintable(out.page.error));
    else
        QVERIFY2(out.page.error.contains(errorPart), qPrintable(out.page.error));
}

void TestJsonMappingReader::valueAt_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("value"); // compact JSON of the value, "undefined" for none

    QTest::newRow("empty path") << "" << "{\"a\":{\"b\":[1,{\"c\":\"x\"}]}}";
    QTest::newRow("key") << "a.b" << "[1,{\"c\":\"x\"}]";
    QTest::newRow("index then key") << "a.b.1.c" << "\"x\"";
    QTest::newRow("missing key") << "a.z" << "undefined";
    QTest::newRow("index into object") << "a.0" << "undefined";
    QTest::newRow("key into array") << "a.b.c" << "undefined";
    QTest::newRow("negative index") << "a.b.-1" << "undefined";
    QTest::newRow("through a number") << "a.b.0.x" << "undefined";
}

void TestJsonMappingReader::valueAt()
{
    QFETCH(QString, path);
    QFETCH(QString, value);
    const QJsonObject root = QJsonDocument::fromJson("{\"a\":{\"b\":[1,{\"c\":\"x\"}]}}").object();
    const QJsonValue found = JsonMapping::valueAt(QJsonValue(root), path);
    QString got;
    if (found.isUndefined())
        got = QStringLiteral("undefined");
    else
        got = QString::fromUtf8(QJsonDocument(QJsonArray{found}).toJson(QJsonDocument::Compact)).chopped(1).sliced(1);
    QCOMPARE(got, value);
}

void TestJsonMappingReader::storedForm_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("valid");

    QTest::newRow("full") << QByteArray("{\"results\":\"items\",\"title\":\"t\",\"address\":\"u\",\"summary\":\"s\",\"total\":\"n\"}") << true;
    QTest::newRow("address only") << QByteArray("{\"address\":\"link\"}") << true;
    QTest::newRow("no address") << QByteArray("{\"results\":\"items\",\"title\":\"t\"}") << false;
    QTest::newRow("not text") << QByteArray("{\"address\":3}") << false;
    QTest::newRow("not an object") << QByteArray("[\"address\"]") << false;
    QTest::newRow("not json") << QByteArray("address=u") << false;
}

void TestJsonMappingReader::storedForm()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, valid);
    QString error;
    const std::optional<JsonMapping> mapping = JsonMapping::fromJson(json, &error);
    QCOMPARE(mapping.has_value(), valid);
    QCOMPARE(error.isEmpty(), valid);
    if (mapping)
        QCOMPARE(JsonMapping::fromJson(mapping->toJson()), mapping);
}

QTEST_GUILESS_MAIN(TestJsonMappingReader)
#include "tst_json_mapping_reader.moc"
