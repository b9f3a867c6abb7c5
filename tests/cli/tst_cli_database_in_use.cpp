// The command line and a tx.mdb that another program holds locked: the database report on
// stderr and exit status 1, as for any database error, so scripts can tell it apart.
#include "DatabaseLock.h"
#include "RunCliProcess.h"
#include "TestDatabase.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestCliDatabaseInUse final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void lockedDatabase_data();
    void lockedDatabase();
};

void TestCliDatabaseInUse::lockedDatabase_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("list") << QStringList{QStringLiteral("list")};
    QTest::newRow("show") << QStringList{QStringLiteral("show"), QStringLiteral("1")};
    QTest::newRow("run") << QStringList{QStringLiteral("run"), QStringLiteral("query.json")};
}

void TestCliDatabaseInUse::lockedDatabase()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    QVERIFY(!path.isEmpty());
    RunCliProcess::writeFile(dir, QStringLiteral("query.json"),
                             R"({"name": "orchids", "keywords": ["include:orchids"], "engines": ["Lycos"]})");
    DatabaseLock lock;
    QVERIFY2(lock.take(path, DatabaseLock::Kind::Exclusive), qPrintable(lock.error()));

    const RunCliResult result = RunCliProcess::run(dir, args << QStringLiteral("--db") << path);
    QCOMPARE(result.exitCode, 1);
    QVERIFY(result.out.isEmpty());
    const QByteArray expected = "DAO error 5, SOURCE = " + path.toUtf8() + ", DESCR = database is locked\n";
    QCOMPARE(result.err, expected);
}

QTEST_GUILESS_MAIN(TestCliDatabaseInUse)
#include "tst_cli_database_in_use.moc"
