#include "TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// trawlex-cli parse: a saved page read by an engine's parser, as JSON lines.
class TestCliParse final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void yahooPageExactly();
    void everyLineIsJson();
    void pageFromStandardInput();
    void hotBotRepeatCompletesAsHotBot();
    void refusals_data();
    void refusals();
    void help();

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };
    static Result cli(const QStringList &args, const QByteArray &input = {});
    static QString page(const char *relative) { return TestPaths::dataDir() + QStringLiteral("/pages/") + QLatin1String(relative); }
};

TestCliParse::Result TestCliParse::cli(const QStringList &args, const QByteArray &input)
{
    QProcess process;
    process.start(TestPaths::cliProgram(), QStringList{QStringLiteral("parse")} + args);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

void TestCliParse::yahooPageExactly()
{
    const Result r = cli({QStringLiteral("Yahoo"), page("yahoo/cats-and-sites.html")});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.err, QByteArray());
    const QByteArray expected =
        "{\"title\":\"Science: Biology: Entomology: Insects and Arthropods: Bees\",\"url\":\"http://www.yahoo.com/Science/Biology/Entomology/Insects_and_Arthropods/Bees/\",\"summary\":\"Yahoo Category\"}\n"
        "{\"title\":\"Business and Economy: Companies: Agriculture: Beekeeping\",\"url\":\"http://www.yahoo.com/Business_and_Economy/Companies/Agriculture/Beekeeping/\",\"summary\":\"Yahoo Category\"}\n"
        "{\"title\":\"Recreation: Hobbies: Beekeeping\",\"url\":\"http://www.yahoo.com/Recreation/Hobbies/Beekeeping/\",\"summary\":\"Yahoo Category\"}\n"
        "{\"title\":\"Bee Culture Magazine\",\"url\":\"http://www.beeculture.com/\",\"summary\":\"Yahoo Site.  Monthly magazine for beekeepers since 1873.\\n\"}\n"
        "{\"title\":\"Africanized Bees in Texas\",\"url\":\"http://www.killerbees.org/\",\"summary\":\"Yahoo Site.  Where they have been found, and what to do if you meet a swarm.\\n\"}\n"
        "{\"engine\":\"Yahoo\",\"count\":5,\"extra\":\"/bin/search?p=bees&b=21&h=s\"}\n";
    QCOMPARE(r.out, expected);
}

void TestCliParse::everyLineIsJson()
{
    // Line feeds inside fields are escaped, text leaves as UTF-8.
    const Result r = cli({QStringLiteral("Excite"), page("excite/full.html")});
    QCOMPARE(r.status, 0);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 11);
    for (const QByteArray &line : lines) {
        QJsonParseError error;
        QJsonDocument::fromJson(line, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
    }
    QCOMPARE(QJsonDocument::fromJson(lines.at(7)).object().value(QStringLiteral("title")).toString(),
             QStringLiteral("Grandpa's Years on Split Rock\n"));
    const QJsonObject done = QJsonDocument::fromJson(lines.last()).object();
    QCOMPARE(done.value(QStringLiteral("engine")).toString(), QStringLiteral("Excite"));
    QCOMPARE(done.value(QStringLiteral("count")).toInt(), 10);
    QCOMPARE(done.value(QStringLiteral("extra")).toString(), QString());

    const Result utf = cli({QStringLiteral("AltaVista"), page("altavista/cp1252.html")});
    QCOMPARE(QJsonDocument::fromJson(utf.out.split('\n').first()).object().value(QStringLiteral("title")).toString(),
             QStringLiteral("Café Müller – Köln"));
}

void TestCliParse::pageFromStandardInput()
{
    QFile file(page("lycos/few.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const Result r = cli({QStringLiteral("Lycos"), QStringLiteral("-")}, file.readAll());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.endsWith("{\"engine\":\"Lycos\",\"count\":3,\"extra\":\"\"}\n"));
}

void TestCliParse::hotBotRepeatCompletesAsHotBot()
{
    const Result r = cli({QStringLiteral("HotBotRepeat"), page("hotbot/multiline.html")});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.endsWith("{\"engine\":\"HotBot\",\"count\":3,\"extra\":\"\"}\n"));
}

void TestCliParse::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("unknown engine") << QStringList{QStringLiteral("WebCrawler"), page("altavista/full.html")};
    QTest::newRow("engine in the wrong case") << QStringList{QStringLiteral("yahoo"), page("yahoo/full.html")};
    QTest::newRow("missing page") << QStringList{QStringLiteral("Lycos"), page("lycos/no-such-page.html")};
    QTest::newRow("folder for a page") << QStringList{QStringLiteral("Lycos"), page("lycos")};
    QTest::newRow("no page") << QStringList{QStringLiteral("Lycos")};
    QTest::newRow("too many") << QStringList{QStringLiteral("Lycos"), page("lycos/few.html"), QStringLiteral("x")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast"), QStringLiteral("Lycos"), page("lycos/few.html")};
}

void TestCliParse::refusals()
{
    QFETCH(QStringList, args);
    const Result r = cli(args);
    QCOMPARE(r.status, 2);
    QCOMPARE(r.out, QByteArray());
    QVERIFY(r.err.startsWith("trawlex-cli parse: "));
}

void TestCliParse::help()
{
    const Result r = cli({QStringLiteral("--help")});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains("PAGE.html"));
    QVERIFY(r.out.contains("\"extra\""));
}

QTEST_GUILESS_MAIN(TestCliParse)
#include "tst_cli_parse.moc"
