// More, run as a user runs it: a query on the simulator through trawlex-cli, then "run --more"
// twice. Each engine must be asked for the page after the last one it gave, so every More
// brings hits that the query did not have.

#include "RunCliProcess.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The small corpus has 25 pages that say apple, found in corpus order.
QStringList apples(int from, int to)
{
    QStringList urls;
    for (int n = from; n <= to; ++n)
        urls.append(QStringLiteral("http://%1/apple/%2.html").arg(n % 2 ? "orchard.example.com" : "fruit.example.org").arg(n));
    return urls;
}

QStringList urlsOf(const RunCliResult &r)
{
    QStringList urls;
    for (const QByteArray &line : r.hitLines())
        urls.append(QJsonDocument::fromJson(line).object().value(QStringLiteral("url")).toString());
    return urls;
}

// What the last run added to what the query held before, in the results view's order.
QStringList added(const QStringList &before, const QStringList &after)
{
    const QSet<QString> held(before.cbegin(), before.cend());
    QStringList out;
    for (const QString &url : after) {
        if (!held.contains(url))
            out.append(url);
    }
    return out;
}

} // namespace

class TestMorePages final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void moreBringsTheNextPage_data();
    void moreBringsTheNextPage();

private:
    std::unique_ptr<RunEngineSim> m_sim;
};

void TestMorePages::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFile::exists(TestPaths::engineSimProgram()), "trawlex-enginesim is not built");
    m_sim = std::make_unique<RunEngineSim>();
    QVERIFY(m_sim->start({QStringLiteral("--corpus"), TestPaths::dataDir() + QStringLiteral("/corpus/enginesim-small.jsonl")}));
}

void TestMorePages::cleanupTestCase()
{
    m_sim.reset();
}

void TestMorePages::moreBringsTheNextPage_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QByteArray>("keywords");
    QTest::addColumn<QStringList>("second"); // what the first More adds; empty: any new hits
    QTest::addColumn<QStringList>("third");  // what the second More adds; empty: any new hits

    const QByteArray apple = R"("include:apple")";
    // Ten to a page: pages 11-20, then 21-25.
    for (const char *engine : {"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan"})
        QTest::newRow(engine) << QString::fromLatin1(engine) << apple << apples(11, 20) << apples(21, 25);
    // Yahoo's next set follows its own link; categories and sites share its pages. With two
    // words the link holds a blank.
    QTest::newRow("Yahoo") << QStringLiteral("Yahoo") << apple << QStringList() << QStringList();
    QTest::newRow("Yahoo, two words") << QStringLiteral("Yahoo") << QByteArray(R"("include:apple", "optional:pie")")
                                      << QStringList() << QStringList();
}

void TestMorePages::moreBringsTheNextPage()
{
    QFETCH(QString, engine);
    QFETCH(QByteArray, keywords);
    QFETCH(QStringList, second);
    QFETCH(QStringList, third);

    const QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString db = dir.filePath(QStringLiteral("tx.mdb"));
    QCOMPARE(RunCliProcess::run(dir, {QStringLiteral("initdb"), db, QStringLiteral("--engines-at"), m_sim->address()}).exitCode, 0);
    const QString query = RunCliProcess::writeFile(
        dir, QStringLiteral("query.json"),
        R"({"name": "Apples", "keywords": [)" + keywords + R"(], "engines": [")" + engine.toLatin1() + R"("]})");
    const QStringList dbArgs{QStringLiteral("--db"), db};

    const RunCliResult first = RunCliProcess::run(dir, QStringList{QStringLiteral("run"), query} + dbArgs);
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.outLines().value(0), QByteArray("Query Retrieval completed!"));
    const QStringList page1 = urlsOf(first);
    QVERIFY(!page1.isEmpty());
    if (engine != QLatin1String("Yahoo"))
        QCOMPARE(page1, apples(1, 10));

    const RunCliResult list = RunCliProcess::run(dir, QStringList{QStringLiteral("list")} + dbArgs);
    QCOMPARE(list.exitCode, 0);
    const QString qid = QString::fromUtf8(list.outLines().value(0).split('\t').value(0));
    QVERIFY(!qid.isEmpty());
    const QStringList more{QStringLiteral("run"), QStringLiteral("--more"), QStringLiteral("--qid"), qid};

    const RunCliResult next = RunCliProcess::run(dir, more + dbArgs);
    QCOMPARE(next.exitCode, 0);
    QCOMPARE(next.outLines().value(0), QByteArray("Query Retrieval completed!"));
    const QStringList page2 = added(page1, urlsOf(next));
    QVERIFY2(!page2.isEmpty(), "More brought no new hits");
    if (!second.isEmpty())
        QCOMPARE(page2, second);

    if (engine == QLatin1String("Yahoo"))
        return; // its second set was its last: the page had no next-set link for a third
    const RunCliResult after = RunCliProcess::run(dir, more + dbArgs);
    QCOMPARE(after.exitCode, 0);
    const QStringList page3 = added(urlsOf(next), urlsOf(after));
    QVERIFY2(!page3.isEmpty(), "the second More brought no new hits");
    if (!third.isEmpty())
        QCOMPARE(page3, third);
}

QTEST_GUILESS_MAIN(TestMorePages)
#include "tst_more_pages.moc"
