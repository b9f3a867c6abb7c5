#include "StoreRecordingPrompt.h"
#include "TestDatabase.h"
#include "TestPaths.h"

#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class tst_store_database : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportText();
    void openFailures_data();
    void openFailures();
    void readOnlyFile();
    void failedOpenReportsOnce();
    void locateFindsCurrentDirectoryFirst();
    void locateCopiesPrebuiltIntoDataFolder();
    void schemaMatchesPrebuilt();
    void createRefusesExistingFile();
    void splitScript_data();
    void splitScript();
    void transactionRollsBackOnThrow();
    void failedStatementThrows();
};

void tst_store_database::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_store_database::reportText()
{
    const CDaoException e(3024, QStringLiteral("DAO.Database"), QStringLiteral("Couldn't find file"));
    QCOMPARE(e.ReportText(), QStringLiteral("DAO error 3024, SOURCE = DAO.Database, DESCR = Couldn't find file"));
    // A description far beyond the original's fixed buffer comes through whole.
    const QString longText(5000, QLatin1Char('x'));
    const CDaoException big(1, QStringLiteral("s"), longText);
    QVERIFY(big.ReportText().endsWith(longText));
    QCOMPARE(QString::fromUtf8(big.what()), big.ReportText());

    StoreRecordingPrompt prompt;
    ReportDaoError(e, &prompt);
    QCOMPARE(prompt.messages, QStringList{e.ReportText()});
}

void tst_store_database::openFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expected"); // part of the description

    QTest::newRow("missing file") << "missing" << "Could not find file";
    QTest::newRow("not a database") << "garbage" << "not a database";
    QTest::newRow("empty file without tables") << "empty" << "no such table";
    QTest::newRow("table dropped") << "dropped" << "no such table: Query Results";
    QTest::newRow("directory") << "directory" << "Could not find file";
}

void tst_store_database::openFailures()
{
    QFETCH(QString, kind);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString path = dir.filePath(QStringLiteral("tx.mdb"));
    if (kind == QLatin1String("garbage")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'Z'));
    } else if (kind == QLatin1String("empty")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("dropped")) {
        path = TestDatabase::copyPrebuilt(dir);
        QVERIFY(!path.isEmpty());
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("drop"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(QStringLiteral("DROP TABLE [Query Results]")));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("drop"));
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("tx.mdb")));
    }
    const qint64 sizeBefore = QFileInfo(path).size();

    try {
        CTrawlexDatabase db(path);
        QFAIL("opening should have failed");
    } catch (const CDaoException &e) {
        QVERIFY2(e.description().contains(expected), qPrintable(e.ReportText()));
        QVERIFY(e.code() != 0);
    }
    // Nothing is created or repaired.
    if (kind == QLatin1String("missing"))
        QVERIFY(!QFileInfo::exists(path));
    else if (kind != QLatin1String("directory"))
        QCOMPARE(QFileInfo(path).size(), sizeBefore);
}

void tst_store_database::readOnlyFile()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (QFileInfo(path).isWritable())
        QSKIP("the file stays writable for this user (running as root)");
    QVERIFY_THROWS_EXCEPTION(CDaoException, CTrawlexDatabase db(path));
}

void tst_store_database::failedOpenReportsOnce()
{
    QTemporaryDir dir;
    StoreRecordingPrompt prompt;
    CTrawlexDoc doc;
    QVERIFY(!doc.OpenDatabase(dir.filePath(QStringLiteral("tx.mdb")), &prompt));
    QVERIFY(!doc.HasDatabase());
    QCOMPARE(prompt.messages.size(), 1);
    QVERIFY(prompt.messages.first().startsWith(QStringLiteral("DAO error 14, SOURCE = ")));
    // Without a database every statement is a reported error, not a crash.
    QVERIFY_THROWS_EXCEPTION(CDaoException, doc.MainQueries());
}

void tst_store_database::locateFindsCurrentDirectoryFirst()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const QString found = CTrawlexDatabase::locate();
    QDir::setCurrent(before);
    QCOMPARE(QFileInfo(found).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
}

void tst_store_database::locateCopiesPrebuiltIntoDataFolder()
{
    // Beside the executable is the first place a pre-built file is looked for.
    QCOMPARE(CTrawlexDatabase::prebuiltCandidates().first(),
             QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/tx.mdb")));

    // Stand in for the installed data folder (test mode keeps it out of the user's home).
    const QString installed = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/trawlex/tx.mdb");
    QVERIFY(CTrawlexDatabase::prebuiltCandidates().contains(QDir::cleanPath(installed)));
    QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
    QFile::remove(installed);
    QVERIFY(QFile::copy(TestPaths::prebuiltDatabase(), installed));
    QFile::setPermissions(installed, QFile::ReadOwner);

    const QString target = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
        + QStringLiteral("/tx.mdb");
    QFile::remove(target);
    QTemporaryDir empty;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(empty.path()));
    QString found;
    QString second;
    try {
        found = CTrawlexDatabase::locate();
        second = CTrawlexDatabase::locate(); // the copy is found again, not made twice
    } catch (const CDaoException &e) {
        QDir::setCurrent(before);
        QFAIL(qPrintable(e.ReportText()));
    }
    QDir::setCurrent(before);
    QCOMPARE(found, target);
    QCOMPARE(second, target);
    QVERIFY(QFileInfo(found).permissions().testFlag(QFile::WriteOwner));
    { CTrawlexDatabase db(found); }

    QFile::remove(target);
    QFile::setPermissions(installed, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(installed);
}

void tst_store_database::schemaMatchesPrebuilt()
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.mdb"));
    CTrawlexDatabase::createFromSchema(fresh);
    CTrawlexDatabase db(fresh);
    QCOMPARE(CMainQueryTable(db).maxQid(), -1);
    const QVariant engines = db.scalar(QStringLiteral("SELECT COUNT(*) FROM [Search Engine]"), {}, QStringLiteral("t"));
    QCOMPARE(engines.toInt(), 8);
}

void tst_store_database::createRefusesExistingFile()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    const qint64 size = QFileInfo(path).size();
    QVERIFY_THROWS_EXCEPTION(CDaoException, CTrawlexDatabase::createFromSchema(path));
    QCOMPARE(QFileInfo(path).size(), size);
}

void tst_store_database::splitScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("two") << "CREATE TABLE a (x);\nCREATE TABLE b (y);" << QStringList{"CREATE TABLE a (x)", "CREATE TABLE b (y)"};
    QTest::newRow("semicolon in literal") << "INSERT INTO t VALUES ('a;b');" << QStringList{"INSERT INTO t VALUES ('a;b')"};
    QTest::newRow("doubled quote") << "INSERT INTO t VALUES ('it''s;');x" << QStringList{"INSERT INTO t VALUES ('it''s;')", "x"};
    QTest::newRow("bracket name") << "CREATE TABLE [a;b] (x);" << QStringList{"CREATE TABLE [a;b] (x)"};
    QTest::newRow("line comment") << "-- one; two\nSELECT 1;" << QStringList{"SELECT 1"};
    QTest::newRow("block comment") << "/* a; b */ SELECT 2; ;" << QStringList{"SELECT 2"};
    QTest::newRow("comment marks in literal") << "SELECT '--x', '/*';" << QStringList{"SELECT '--x', '/*'"};
}

void tst_store_database::splitScript()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(CTrawlexDatabase::splitScript(script), statements);
}

void tst_store_database::transactionRollsBackOnThrow()
{
    QTemporaryDir dir;
    CTrawlexDatabase db(TestDatabase::copyPrebuilt(dir));
    CMainQueryTable table(db);
    try {
        CDbTransaction t(db);
        table.insertQuery(QStringLiteral("lost"));
        throw CDaoException(1, QStringLiteral("test"), QStringLiteral("abort"));
    } catch (const CDaoException &) {
    }
    QVERIFY(!db.inTransaction());
    QCOMPARE(table.countByName(QStringLiteral("lost")), 0);

    {
        CDbTransaction t(db);
        table.insertQuery(QStringLiteral("kept"));
        t.commit();
    }
    QCOMPARE(table.countByName(QStringLiteral("kept")), 1);
}

void tst_store_database::failedStatementThrows()
{
    QTemporaryDir dir;
    CTrawlexDatabase db(TestDatabase::copyPrebuilt(dir));
    try {
        db.run(QStringLiteral("SELECT nothing FROM [Main Query]"), {}, QStringLiteral("probe"));
        QFAIL("a bad statement must throw");
    } catch (const CDaoException &e) {
        QCOMPARE(e.code(), 1);
        QVERIFY(e.description().contains(QStringLiteral("nothing")));
    }
    // A [Query Engines] row must name a real engine and a real query.
    QVERIFY_THROWS_EXCEPTION(CDaoException,
                             db.run(QStringLiteral("INSERT INTO [Query Engines] (QID, SID) VALUES (?, ?)"),
                                    {12345, 1}, QStringLiteral("probe")));
}

QTEST_GUILESS_MAIN(tst_store_database)
#include "tst_store_database.moc"
