#include "TestPaths.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// trawlex-cli words and request: what an engine is sent, as a user can inspect it.
class TestCliRequest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void words();
    void requestWithAddress();
    void requestFromDatabase_data();
    void requestFromDatabase();
    void refusals_data();
    void refusals();

private:
    struct Result
    {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };
    Result cli(const QStringList &args);
    QString writeQuery(const QByteArray &json);

    QTemporaryDir m_dir;
    QString m_db;
    int m_nFiles = 0;
};

namespace {
const QByteArray kTail(" HTTP/1.0\nAccept: */* User-Agent: ZazuDeveri\n\n");
}

TestCliRequest::Result TestCliRequest::cli(const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(m_dir.path());
    p.start(TestPaths::cliProgram(), args);
    Result r;
    if (!p.waitForFinished(30000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString TestCliRequest::writeQuery(const QByteArray &json)
{
    const QString path = m_dir.filePath(QStringLiteral("q%1.json").arg(++m_nFiles));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(json);
    return path;
}

void TestCliRequest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_db = m_dir.filePath(QStringLiteral("sim.mdb"));
    const Result r = cli({"initdb", m_db, "--engines-at", "127.0.0.1:8081"});
    QVERIFY2(r.status == 0, r.err.constData());
}

void TestCliRequest::words()
{
    const QString q = writeQuery(R"({"keywords": ["exclude:pie", "include:apple", "optional:green tea"],
        "groups": ["include:fruit"], "members": ["fruit:include:pear", "fruit:exclude:plum"],
        "filters": ["URL:exclude:spam"], "engines": ["AltaVista"]})");
    const Result r = cli({"words", q});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("apple\nnot\npie\nor\n\"green\ntea\"\nand\n(\npear\nnot\nplum\n)\nnot\nURL:spam\n"));
}

void TestCliRequest::requestWithAddress()
{
    const QString q = writeQuery(R"({"keywords": ["include:cats", "exclude:dogs"], "engines": ["AltaVista"]})");
    const Result r = cli({"request", "AltaVista", q, "--address", "#http://altavista.digital.com/cgi-bin/query#"});
    QCOMPARE(r.status, 0);
    QCOMPARE(r.out, QByteArray("GET /cgi-bin/query?pg=aq&text=yes&what=web&kl=XX&q=cats+and+not+dogs"
                               "&r=&d0=21%2FMar%2F86&d1=&act=search") + kTail);
}

void TestCliRequest::requestFromDatabase_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("hotbot first") << QStringList{"HotBot"}
        << QByteArray("GET /hotbot?SW=web&SM=B&MT=cats&DC=10&DE=2&RG=NA&_v=2&act.search.x=100&act.search.y=3");
    QTest::newRow("hotbot second page") << QStringList{"HotBot", "--counter", "2"}
        << QByteArray("GET /hotbot/?MT=cats&base=20&RG=NA&SM=B&_v=2&act.next.x=4&act.next.y=9");
    QTest::newRow("lycos next") << QStringList{"Lycos", "--counter", "1"}
        << QByteArray("GET /lycos/cgi-bin/pursuit?query=cats&adv=1&mtemp=java&rt=1&rtwm=1000&rttf=50&rtfd=50&rtpn=15"
                      "&rtpy=50&rtor=10&first=11");
    QTest::newRow("yahoo first") << QStringList{"Yahoo"} << QByteArray("GET /yahoo/bin/search?p=%2Bcats");
    QTest::newRow("yahoo continues") << QStringList{"Yahoo", "--counter", "1", "--yahoo-path", "/bin/search?p=cats&b=21"}
        << QByteArray("GET /yahoo/bin/search?p=cats&b=21");
}

void TestCliRequest::requestFromDatabase()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, line);
    const QString q = writeQuery(R"({"keywords": ["include:cats"]})");
    const QString engine = args.takeFirst();
    const Result r = cli(QStringList{"request", engine, q, "--db", m_db} + args);
    QVERIFY2(r.status == 0, r.err.constData());
    QCOMPARE(r.out, line + kTail);
}

void TestCliRequest::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");

    QTest::newRow("unknown engine") << QStringList{"request", "WebCrawler", "@query"} << 2;
    QTest::newRow("names are exact") << QStringList{"request", "altavista", "@query"} << 2;
    QTest::newRow("bad counter") << QStringList{"request", "Lycos", "@query", "--counter", "x"} << 2;
    QTest::newRow("malformed query") << QStringList{"words", "@broken"} << 2;
    QTest::newRow("missing file") << QStringList{"words", "/nonexistent/q.json"} << 2;
    QTest::newRow("address without a path") << QStringList{"request", "Lycos", "@query", "--address", "lycos.com"} << 1;
    QTest::newRow("no database") << QStringList{"request", "Lycos", "@query", "--db", "/nonexistent/tx.mdb"} << 1;
}

void TestCliRequest::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    const QString query = writeQuery(R"({"keywords": ["include:cats"]})");
    const QString broken = writeQuery(R"({"keywords": ["include:cats")");
    args.replaceInStrings(QStringLiteral("@query"), query);
    args.replaceInStrings(QStringLiteral("@broken"), broken);
    const Result r = cli(args);
    QCOMPARE(r.status, status);
    QVERIFY(r.out.isEmpty());
    QVERIFY(!r.err.trimmed().isEmpty());
}

QTEST_GUILESS_MAIN(TestCliRequest)
#include "tst_cli_request.moc"
