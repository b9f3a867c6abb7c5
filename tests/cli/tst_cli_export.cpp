#include "QueryTestSupport.h"
#include "TestDatabase.h"
#include "TestPaths.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CStoredQueryResults.h"
#include "store/CTrawlexDoc.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// trawlex-cli export, run as the user runs it.
class TestCliExport final : public QObject
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
    QString m_db;
    int m_qid = -1;

    Result run(const QStringList &args)
    {
        QProcess p;
        p.setWorkingDirectory(m_dir.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.path());
        p.setProcessEnvironment(env);
        p.start(TestPaths::cliProgram(), args);
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return {};
        }
        Result r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    // The database option goes right after the command, so an option left without its value
    // at the end stays without one.
    QStringList withDb(QStringList args) const
    {
        args.insert(1, QStringLiteral("--db"));
        args.insert(2, m_db);
        return args;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        m_db = TestDatabase::copyPrebuilt(m_dir);
        CTrawlexDoc doc;
        QueryRecordingPrompt prompt;
        QVERIFY(doc.OpenDatabase(m_db, &prompt));
        CTrawlexQueryResults r;
        r.ResetForNewRun(doc.UpdateQID != -1);
        r.AddResult("Older, \"quoted\"", "http://a.example/1", "first\r\nsecond", false, "AltaVista");
        r.AddResult("Older, \"quoted\"", "HTTP://A.EXAMPLE/1", "first\r\nsecond", false, "HotBot");
        r.AddResult("<i>Ünï</i> & 𝄞", "http://a.example/2?a=1&b=2", "=1+1", true);
        r.SetLevel(1);
        doc.UpdateQID = 1;
        doc.UpdateFirstNew = 1;
        QVERIFY(CStoredQueryResults(doc).save(r, QueryTestSupport::awkwardQuery(), prompt));
        m_qid = r.Qid();
        QVERIFY(m_qid != -1);
    }

    void csvToStandardOutput()
    {
        const Result r = run(withDb({"export", QString::number(m_qid), "--format", "csv"}));
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QByteArray());
        // The view's order: the new hit first.
        QCOMPARE(r.out, QByteArray("\xEF\xBB\xBFtitle,url,summary,new,engines\r\n"
                                   "<i>Ünï</i> & 𝄞,http://a.example/2?a=1&b=2,'=1+1,1,\r\n"
                                   "\"Older, \"\"quoted\"\"\",http://a.example/1,\"first\r\nsecond\",0,AltaVista; HotBot\r\n"));
    }

    void jsonNamesTheQuery()
    {
        const Result r = run(withDb({"export", QString::number(m_qid), "--format=json"}));
        QCOMPARE(r.status, 0);
        const QJsonObject root = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(root.value("query").toString(), QueryTestSupport::awkwardQuery().m_strName);
        const QDateTime retrieved = QDateTime::fromString(root.value("retrieved").toString(), Qt::ISODate);
        QVERIFY(retrieved.isValid());
        QVERIFY(qAbs(retrieved.secsTo(QDateTime::currentDateTime())) < 600);
        const QJsonArray hits = root.value("hits").toArray();
        QCOMPARE(hits.size(), 2);
        QCOMPARE(hits.at(0).toObject().value("title").toString(), QStringLiteral("<i>Ünï</i> & 𝄞"));
        QCOMPARE(hits.at(0).toObject().value("new").toBool(), true);
        QCOMPARE(hits.at(1).toObject().value("summary").toString(), QStringLiteral("first\r\nsecond"));
        QCOMPARE(hits.at(1).toObject().value("new").toBool(), false);
        QCOMPARE(hits.at(0).toObject().value("engines").toArray(), QJsonArray());
        QCOMPARE(hits.at(1).toObject().value("engines").toArray(), (QJsonArray{"AltaVista", "HotBot"}));
    }

    void fileMatchesStandardOutput()
    {
        const QString file = m_dir.filePath("hits.html");
        const Result toFile = run(withDb({"export", QString::number(m_qid), "--format", "bookmarks", "-o", file}));
        QCOMPARE(toFile.status, 0);
        QCOMPARE(toFile.out, QByteArray());
        const Result toOut = run(withDb({"export", QString::number(m_qid), "--format", "bookmarks"}));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), toOut.out);
        QVERIFY(toOut.out.contains("&lt;i&gt;Ünï&lt;/i&gt; &amp; 𝄞</A>"));
        // Bookmarks carry no engines.
        QVERIFY(!toOut.out.contains("AltaVista") && !toOut.out.contains("HotBot"));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no QID") << QStringList{"export", "--format", "csv"} << 2 << QByteArray("expected one QID");
        QTest::newRow("QID not a number") << QStringList{"export", "x1", "--format", "csv"} << 2 << QByteArray("expected one QID");
        QTest::newRow("two QIDs") << QStringList{"export", "1", "2", "--format", "csv"} << 2 << QByteArray("expected one QID");
        QTest::newRow("no format") << QStringList{"export", "1"} << 2 << QByteArray("--format is needed");
        QTest::newRow("unknown format") << QStringList{"export", "1", "--format", "xml"} << 2 << QByteArray("--format must be");
        QTest::newRow("format without value") << QStringList{"export", "1", "--format"} << 2 << QByteArray("format");
        QTest::newRow("unknown option") << QStringList{"export", "1", "--format", "csv", "--bogus"} << 2 << QByteArray("bogus");
        QTest::newRow("empty output name") << QStringList{"export", "1", "--format", "csv", "-o", ""} << 2 << QByteArray("-o needs");
        // As `show` answers a missing QID.
        QTest::newRow("no such query") << QStringList{"export", "987654", "--format", "csv"} << 1
                                       << QByteArray("no stored query has QID 987654");
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, message);
        const Result r = run(withDb(args));
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QCOMPARE(r.out, QByteArray());
    }

    void unwritableFileKeepsNothing()
    {
        const QString file = m_dir.filePath("no-such-folder/hits.csv");
        const Result r = run(withDb({"export", QString::number(m_qid), "--format", "csv", "-o", file}));
        QCOMPARE(r.status, 1);
        const QByteArray expected = "Error!  Could not write \"" + QDir::toNativeSeparators(file).toUtf8() + "\"";
        QVERIFY2(r.err.contains(expected), r.err.constData());
        QVERIFY(!QFileInfo::exists(m_dir.filePath("no-such-folder")));
    }

    void missingDatabase()
    {
        const Result r = run({"export", "1", "--format", "csv", "--db", m_dir.filePath("absent.mdb")});
        QCOMPARE(r.status, 1);
        QVERIFY(!r.err.isEmpty());
    }

    void help()
    {
        const Result r = run({"export", "--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.contains("bookmarks"));
        QVERIFY(run({"--help"}).out.contains("export"));
    }
};

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cli_export.moc"
