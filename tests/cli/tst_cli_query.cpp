#include "QueryTestSupport.h"
#include "TestDatabase.h"
#include "TestPaths.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CStoredQueryResults.h"
#include "store/CTrawlexDoc.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// trawlex-cli boolean and show, run as the user runs them.
class TestCliQuery final : public QObject
{
    Q_OBJECT

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    QTemporaryDir m_dir;

    Result run(const QStringList &args, const QByteArray &input = {})
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        p.start(TestPaths::cliProgram(), args);
        if (!p.waitForStarted())
            return {};
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(30000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(content);
        return f.fileName();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::exists(TestPaths::cliProgram()));
    }

    void booleanPrintsExactBytes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("worked example")
            << QByteArray(R"({"name": "x", "keywords": ["exclude:pie", "include:apple", "optional:green tea"],
                "groups": ["include:fruit"], "members": ["fruit:include:pear", "fruit:exclude:plum", "fruit:optional:fig"],
                "filters": ["URL:exclude:spam"], "engines": ["Yahoo", "AltaVista"]})")
            << QByteArray("apple not pie or \"green tea\" \r\nand  ( pear not plum or fig  )\r\nnot URL:spam\r\n");
        QTest::newRow("empty object prints nothing") << QByteArray("{}") << QByteArray();
        QTest::newRow("only a filter") << QByteArray(R"({"filters": ["Link:include:a:b"]})")
                                       << QByteArray("and Link:b\r\n");
        QTest::newRow("non-ASCII in UTF-8") << QByteArray(R"({"keywords": ["include:café über"]})")
                                            << QByteArray("\"caf\xc3\xa9 \xc3\xbc" "ber\" \r\n");
    }

    void booleanPrintsExactBytes()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, expected);
        const Result fromFile = run({"boolean", writeFile("q.json", json)});
        QCOMPARE(fromFile.status, 0);
        QCOMPARE(fromFile.out, expected);
        QCOMPARE(fromFile.err, QByteArray());
        const Result fromStdin = run({"boolean", "-"}, json);
        QCOMPARE(fromStdin.status, 0);
        QCOMPARE(fromStdin.out, expected);
    }

    void booleanRefusesBadInput_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QByteArray>("mentions");
        QTest::newRow("malformed") << QByteArray(R"({"keywords": [)") << QByteArray("malformed JSON");
        QTest::newRow("not an object") << QByteArray(R"(["include:a"])") << QByteArray("object");
        QTest::newRow("name not a string") << QByteArray(R"({"name": 3})") << QByteArray("\"name\"");
        QTest::newRow("list not an array") << QByteArray(R"({"keywords": "include:a"})") << QByteArray("\"keywords\"");
        QTest::newRow("entry not a string") << QByteArray(R"({"filters": ["URL:include:a", 1]})")
                                            << QByteArray("\"filters\"[1]");
        QTest::newRow("unknown engine") << QByteArray(R"({"engines": ["AltaVista", "Google"]})")
                                        << QByteArray("Google");
        QTest::newRow("engine letter case") << QByteArray(R"({"engines": ["yahoo"]})") << QByteArray("yahoo");
        QTest::newRow("unknown key") << QByteArray(R"({"keyword": ["include:a"]})") << QByteArray("keyword");
        QTest::newRow("bad qualifier") << QByteArray(R"({"keywords": ["maybe:a"]})") << QByteArray("maybe:a");
        QTest::newRow("member of no group") << QByteArray(R"({"groups": ["include:g"], "members": ["h:include:x"]})")
                                            << QByteArray("h:include:x");
        QTest::newRow("bad filter type") << QByteArray(R"({"filters": ["Body:include:x"]})")
                                         << QByteArray("Body:include:x");
    }

    void booleanRefusesBadInput()
    {
        QFETCH(QByteArray, json);
        QFETCH(QByteArray, mentions);
        const Result r = run({"boolean", writeFile("bad.json", json)});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.out, QByteArray());
        QVERIFY2(r.err.contains(mentions), r.err.constData());
    }

    void booleanUsage()
    {
        QCOMPARE(run({"boolean"}).status, 2);
        QCOMPARE(run({"boolean", "a.json", "b.json"}).status, 2);
        const Result missing = run({"boolean", m_dir.filePath("missing.json")});
        QCOMPARE(missing.status, 2);
        QVERIFY(missing.err.contains("missing.json"));
        const Result help = run({"boolean", "--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("Usage: trawlex-cli boolean"));
    }

    void showPrintsQueryAndHits()
    {
        QTemporaryDir dbDir;
        const QString db = TestDatabase::copyPrebuilt(dbDir);
        const CTrawlexQuery query = QueryTestSupport::awkwardQuery();
        int qid = -1;
        {
            CTrawlexDoc doc;
            QueryRecordingPrompt prompt;
            QVERIFY(doc.OpenDatabase(db, &prompt));
            CTrawlexQueryResults r;
            r.ResetForNewRun(doc.UpdateQID != -1);
            r.AddResult("It's \"quoted\"", "http://a/1", "", false, "My \"Wiki\"");
            r.AddResult("It's \"quoted\"", "HTTP://A/1", "", false, "Yahoo");
            r.AddResult("Ünï\tcode", "http://a/2", "line\nbreak", true);
            r.SetLevel(1);
            doc.UpdateQID = 1;
            doc.UpdateFirstNew = 1;
            QVERIFY(CStoredQueryResults(doc).save(r, query, prompt));
            qid = r.Qid();
        }

        const Result r = run({"show", QString::number(qid), "--db", db});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QByteArray());
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 4); // query, two hits, and the end of the last line
        QVERIFY(lines.last().isEmpty());

        // The first line is a query file `boolean` reads back to the same query.
        const Result again = run({"boolean", "-"}, lines.at(0));
        QCOMPARE(again.status, 0);
        QCOMPARE(QString::fromUtf8(again.out), query.GetBooleanText());
        const QJsonObject q = QJsonDocument::fromJson(lines.at(0)).object();
        QCOMPARE(q.value("name").toString(), query.m_strName);
        QCOMPARE(q.value("engines").toArray(), QJsonArray::fromStringList(query.m_engines));
        QCOMPARE(q.value("members").toArray().size(), 3);

        // New hits first; an empty summary was stored as a blank.
        const QJsonObject first = QJsonDocument::fromJson(lines.at(1)).object();
        QCOMPARE(first.value("title").toString(), QStringLiteral("Ünï\tcode"));
        QCOMPARE(first.value("summary").toString(), QStringLiteral("line\nbreak"));
        QCOMPARE(first.value("new"), QJsonValue(true));
        QCOMPARE(first.value("engines"), QJsonValue(QJsonArray()));
        const QJsonObject second = QJsonDocument::fromJson(lines.at(2)).object();
        QCOMPARE(second.keys(), (QStringList{"engines", "new", "summary", "title", "url"}));
        QCOMPARE(second.value("engines").toArray(), (QJsonArray{"My \"Wiki\"", "Yahoo"}));
        QCOMPARE(second.value("title").toString(), QStringLiteral("It's \"quoted\""));
        QCOMPARE(second.value("url").toString(), QStringLiteral("http://a/1"));
        QCOMPARE(second.value("summary").toString(), QStringLiteral(" "));
        QCOMPARE(second.value("new"), QJsonValue(false));
        QVERIFY(lines.at(2).startsWith("{\"title\":"));
        QVERIFY2(lines.at(2).endsWith(",\"new\":false,\"engines\":[\"My \\\"Wiki\\\"\",\"Yahoo\"]}"),
                 lines.at(2).constData());
    }

    void showErrors()
    {
        QTemporaryDir dbDir;
        const QString db = TestDatabase::copyPrebuilt(dbDir);
        const Result none = run({"show", "12345", "--db", db});
        QCOMPARE(none.status, 1);
        QCOMPARE(none.out, QByteArray());
        QVERIFY(none.err.contains("12345"));
        QCOMPARE(run({"show", "abc", "--db", db}).status, 2);
        QCOMPARE(run({"show", "--db", db}).status, 2);
        const Result noDb = run({"show", "1", "--db", m_dir.filePath("nowhere.mdb")});
        QCOMPARE(noDb.status, 1);
        QVERIFY(noDb.err.contains("DAO error"));
        QCOMPARE(run({"show", "--help"}).status, 0);
    }
};

QTEST_GUILESS_MAIN(TestCliQuery)
#include "tst_cli_query.moc"
