#include "TestDatabase.h"
#include "TestPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

CliRun runCli(const QStringList &args, const QString &workDir = QString())
{
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    // The command line must not touch the user's own data folder either.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), workDir.isEmpty() ? QDir::tempPath() : workDir);
    p.setProcessEnvironment(env);
    p.start(TestPaths::cliProgram(), args);
    CliRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// Runs statements on a database file directly, as another tool would.
void sql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("direct"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString &s : statements)
            QVERIFY2(q.exec(s), qPrintable(s));
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("direct"));
}

QStringList engineRows(const QString &path)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("read"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("SELECT SName, URL FROM [Search Engine] ORDER BY SID"));
            while (q.next())
                rows << q.value(0).toString() + QLatin1Char('=') + q.value(1).toString();
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("read"));
    return rows;
}

} // namespace

class tst_cli_store : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initdbWritesSchema();
    void initdbEnginesAt();
    void initdbRefusals_data();
    void initdbRefusals();
    void listQueries();
    void listUsesCurrentDirectoryByDefault();
    void badDatabase_data();
    void badDatabase();
    void help_data();
    void help();
};

void tst_cli_store::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY2(QFileInfo::exists(TestPaths::cliProgram()), qPrintable(TestPaths::cliProgram()));
}

void tst_cli_store::initdbWritesSchema()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.mdb"));
    const CliRun r = runCli({QStringLiteral("initdb"), path});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty());
    const QStringList rows = engineRows(path);
    QCOMPARE(rows.size(), 8);
    QVERIFY(rows.contains(QStringLiteral("AltaVista=altavista.digital.com/cgi-bin/query")));
    // The fresh file is usable by the other commands.
    const CliRun list = runCli({QStringLiteral("list"), QStringLiteral("--db"), path});
    QCOMPARE(list.status, 0);
    QVERIFY(list.out.isEmpty());
}

void tst_cli_store::initdbEnginesAt()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.mdb"));
    const CliRun r = runCli({QStringLiteral("initdb"), path, QStringLiteral("--engines-at"), QStringLiteral("127.0.0.1:8081")});
    QCOMPARE(r.status, 0);
    QCOMPARE(engineRows(path), (QStringList{
                                   "AltaVista=127.0.0.1:8081/altavista/cgi-bin/query",
                                   "Excite=127.0.0.1:8081/excite/search.gw",
                                   "HotBot=127.0.0.1:8081/hotbot",
                                   "HotBotRepeat=127.0.0.1:8081/hotbot-repeat",
                                   "InfoSeek=127.0.0.1:8081/infoseek/",
                                   "Lycos=127.0.0.1:8081/lycos/",
                                   "Magellan=127.0.0.1:8081/magellan/",
                                   "Yahoo=127.0.0.1:8081/yahoo/",
                               }));
    const QString other = dir.filePath(QStringLiteral("named.mdb"));
    QCOMPARE(runCli({QStringLiteral("initdb"), QStringLiteral("--engines-at=localhost:65535"), other}).status, 0);
    QCOMPARE(engineRows(other).last(), QStringLiteral("Yahoo=localhost:65535/yahoo/"));
}

void tst_cli_store::initdbRefusals_data()
{
    QTest::addColumn<QStringList>("args"); // "@" stands for a path in the test folder
    QTest::addColumn<bool>("existing");

    QTest::newRow("existing file") << QStringList{"initdb", "@"} << true;
    QTest::newRow("no path") << QStringList{"initdb"} << false;
    QTest::newRow("two paths") << QStringList{"initdb", "@", "@2"} << false;
    QTest::newRow("no port") << QStringList{"initdb", "@", "--engines-at", "127.0.0.1"} << false;
    QTest::newRow("port zero") << QStringList{"initdb", "@", "--engines-at", "127.0.0.1:0"} << false;
    QTest::newRow("port too big") << QStringList{"initdb", "@", "--engines-at", "127.0.0.1:70000"} << false;
    QTest::newRow("no host") << QStringList{"initdb", "@", "--engines-at", ":8080"} << false;
    QTest::newRow("path in host") << QStringList{"initdb", "@", "--engines-at", "a/b:8080"} << false;
    QTest::newRow("missing value") << QStringList{"initdb", "@", "--engines-at"} << false;
    QTest::newRow("unknown option") << QStringList{"initdb", "@", "--force"} << false;
}

void tst_cli_store::initdbRefusals()
{
    QFETCH(QStringList, args);
    QFETCH(bool, existing);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.mdb"));
    QByteArray before;
    if (existing) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        before = "keep me";
    }
    for (QString &a : args) {
        if (a == QLatin1String("@"))
            a = path;
        else if (a == QLatin1String("@2"))
            a = dir.filePath(QStringLiteral("y.mdb"));
    }
    const CliRun r = runCli(args);
    QCOMPARE(r.status, 2);
    QVERIFY(!r.err.isEmpty());
    if (existing) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), before);
    } else {
        QVERIFY(!QFileInfo::exists(path));
    }
}

void tst_cli_store::listQueries()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    sql(path, {
                  QStringLiteral("INSERT INTO [Main Query] (QName, Level, LastRetrievalDate) VALUES ('apple pie', 2, '1997-12-07 13:05:09.120')"),
                  QStringLiteral("INSERT INTO [Main Query] (QName) VALUES ('gone')"),
                  QStringLiteral("INSERT INTO [Main Query] (QName, Level, LastRetrievalDate) VALUES ('Bob''s | \"tabs\"' || char(9) || 'and' || char(10) || 'lines \\ Müller', 1, '2026-01-02 00:00:00.000')"),
                  QStringLiteral("DELETE FROM [Main Query] WHERE QName = 'gone'"),
              });
    const CliRun r = runCli({QStringLiteral("list"), QStringLiteral("--db"), path});
    QCOMPARE(r.status, 0);
    QVERIFY(r.err.isEmpty());
    QCOMPARE(QString::fromUtf8(r.out),
             QStringLiteral("1\tapple pie\t2\t1997-12-07 13:05:09\n"
                            "3\tBob's | \"tabs\"\\tand\\nlines \\\\ Müller\t1\t2026-01-02 00:00:00\n"));
}

void tst_cli_store::listUsesCurrentDirectoryByDefault()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    sql(path, {QStringLiteral("INSERT INTO [Main Query] (QName) VALUES ('here')")});
    const CliRun r = runCli({QStringLiteral("list")}, dir.path());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.startsWith("1\there\t0\t"));
}

void tst_cli_store::badDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("report");

    QTest::newRow("missing") << "missing" << "DAO error 14, SOURCE = ";
    QTest::newRow("corrupt") << "corrupt" << "DAO error 26, SOURCE = ";
    QTest::newRow("missing table") << "table" << "DESCR = no such table: Yahoo";
    QTest::newRow("read-only") << "readonly" << "DAO error 8, SOURCE = ";
    QTest::newRow("locked") << "locked" << "DESCR = database is locked";
}

void tst_cli_store::badDatabase()
{
    QFETCH(QString, kind);
    QFETCH(QString, report);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("tx.mdb"));
    QSqlDatabase locker;
    if (kind == QLatin1String("corrupt")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, '\xff'));
    } else if (kind == QLatin1String("table")) {
        path = TestDatabase::copyPrebuilt(dir);
        sql(path, {QStringLiteral("DROP TABLE [Yahoo]")});
    } else if (kind == QLatin1String("readonly")) {
        path = TestDatabase::copyPrebuilt(dir);
        QFile::setPermissions(path, QFile::ReadOwner);
        if (QFileInfo(path).isWritable())
            QSKIP("the file stays writable for this user (running as root)");
    } else if (kind == QLatin1String("locked")) {
        path = TestDatabase::copyPrebuilt(dir);
        locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(path);
        QVERIFY(locker.open());
        QSqlQuery q(locker);
        // An exclusive lock held by another program for the whole run.
        QVERIFY(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
    }
    const CliRun r = runCli({QStringLiteral("list"), QStringLiteral("--db"), path});
    if (locker.isValid()) {
        QSqlQuery(locker).exec(QStringLiteral("ROLLBACK"));
        locker.close();
        locker = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    QCOMPARE(r.status, 1);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(QString::fromUtf8(r.err).contains(report), r.err.constData());
    QCOMPARE(QString::fromUtf8(r.err).count(QStringLiteral("DAO error")), 1);
    if (kind == QLatin1String("missing"))
        QVERIFY(!QFileInfo::exists(path));
}

void tst_cli_store::help_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("initdb") << "initdb";
    QTest::newRow("list") << "list";
}

void tst_cli_store::help()
{
    QFETCH(QString, command);
    const CliRun r = runCli({command, QStringLiteral("--help")});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.contains(QByteArray(QByteArray("Usage: trawlex-cli ") + command.toUtf8())));
    const CliRun bad = runCli({command, QStringLiteral("--db")});
    QCOMPARE(bad.status, 2);
}

QTEST_GUILESS_MAIN(tst_cli_store)
#include "tst_cli_store.moc"
