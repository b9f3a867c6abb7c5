// Databases made by release 1.12 and by later programs are brought up to date in place
// without losing a row, and a run afterwards keeps the engines of its hits; a failed step
// leaves the file as it was; a newer file is refused untouched.
#include "ResultsTestSupport.h"
#include "StoreRecordingPrompt.h"
#include "TestDatabase.h"
#include "TestPaths.h"

#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CResultTables.h"
#include "store/CSchemaMigration.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryDefinition.h"
#include "store/CStoredQueryResults.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSet>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs f on a plain connection of its own, apart from the program's code.
template<class F>
auto onConnection(const QString &path, F f)
{
    const QString name = QStringLiteral("migration-test");
    decltype(f(std::declval<QSqlDatabase &>())) result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            result = f(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

QStringList rows(QSqlDatabase &db, const QString &sql)
{
    QStringList out;
    QSqlQuery q(db);
    if (!q.exec(sql))
        return {QStringLiteral("error: ") + sql};
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        out << fields.join(QLatin1Char('\x1f'));
    }
    return out;
}

QStringList columnNames(QSqlDatabase &db, const QString &table)
{
    QStringList names;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT name FROM pragma_table_info('%1') ORDER BY cid").arg(table))) {
        while (q.next())
            names << q.value(0).toString();
    }
    return names;
}

// Each table of the file, with the columns it has.
using Layout = QList<QPair<QString, QStringList>>;

Layout layout(const QString &path)
{
    return onConnection(path, [](QSqlDatabase &db) {
        Layout tables;
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
            return tables;
        QStringList names;
        while (q.next())
            names << q.value(0).toString();
        for (const QString &name : names)
            tables.append({name, columnNames(db, name)});
        return tables;
    });
}

// Every row of the given tables, in key order, as far as the given columns go: what the file
// held before a migration, looked at the same way after it.
QStringList dump(const QString &path, const Layout &tables)
{
    return onConnection(path, [&](QSqlDatabase &db) {
        QStringList all;
        for (const auto &[table, names] : tables) {
            QStringList quoted;
            for (const QString &c : names)
                quoted << QLatin1Char('[') + c + QLatin1Char(']');
            all << table
                << rows(db, QStringLiteral("SELECT %1 FROM [%2] ORDER BY rowid").arg(quoted.join(QLatin1Char(',')), table));
        }
        return all;
    });
}

QStringList columns(const QString &path, const QString &table)
{
    return onConnection(path, [&](QSqlDatabase &db) {
        return rows(db, QStringLiteral("PRAGMA table_info([%1])").arg(table))
            + rows(db, QStringLiteral("PRAGMA foreign_key_list([%1])").arg(table));
    });
}

int userVersion(const QString &path)
{
    return onConnection(path, [](QSqlDatabase &db) {
        const QStringList v = rows(db, QStringLiteral("PRAGMA user_version"));
        return v.isEmpty() ? -1 : v.first().toInt();
    });
}

void execute(const QString &path, const QString &sql)
{
    const bool ok = onConnection(path, [&](QSqlDatabase &db) { return QSqlQuery(db).exec(sql); });
    QVERIFY2(ok, qPrintable(sql));
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QString copyLegacy(const QTemporaryDir &dir, const QString &name)
{
    const QString target = dir.filePath(QStringLiteral("tx.mdb"));
    QFile::remove(target);
    if (!QFile::copy(TestPaths::dataDir() + QStringLiteral("/legacy/") + name, target))
        return {};
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
}

} // namespace

class TestSchemaMigration final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void legacyFilesComeUpToDate_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("queries");
        QTest::addColumn<int>("hits");
        QTest::newRow("1.12 pre-built") << "tx-1.12-prebuilt.mdb" << 0 << 0 << 0;
        QTest::newRow("1.12 used") << "tx-1.12-used.mdb" << 0 << 2 << -1;
        QTest::newRow("v1 pre-built") << "tx-v1-prebuilt.mdb" << 1 << 0 << 0;
        QTest::newRow("v1 used") << "tx-v1-used.mdb" << 1 << 3 << 75;
    }

    void legacyFilesComeUpToDate()
    {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(int, queries);
        QFETCH(int, hits);
        QTemporaryDir dir;
        const QString path = copyLegacy(dir, file);
        QVERIFY(!path.isEmpty());
        QCOMPARE(userVersion(path), version);
        const Layout tables = layout(path);
        QVERIFY(tables.size() >= 11);
        const QStringList before = dump(path, tables);
        QCOMPARE(before.count(QStringLiteral("error: ")), 0);
        const int storedHits = onConnection(path, [](QSqlDatabase &db) {
            return rows(db, "SELECT count(*) FROM [Query Results]").value(0).toInt();
        });
        if (hits >= 0)
            QCOMPARE(storedHits, hits);
        QVERIFY(queries == 0 || storedHits > 0);

        {
            CTrawlexDatabase db(path);
            QCOMPARE(CSchemaMigration::version(db), CSchemaMigration::kCurrentVersion);
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM [Main Query]"), {}, {}).toInt(), queries);
        }
        QCOMPARE(userVersion(path), CSchemaMigration::kCurrentVersion);
        // Every row and every value the file held is there as it was, counters included.
        QCOMPARE(dump(path, tables), before);
        QCOMPARE(onConnection(path, [](QSqlDatabase &db) { return rows(db, "PRAGMA integrity_check"); }),
                 QStringList{"ok"});
        QCOMPARE(onConnection(path, [](QSqlDatabase &db) { return rows(db, "PRAGMA foreign_key_check"); }),
                 QStringList());
        // The stored hits have no known engines.
        QCOMPARE(onConnection(path, [](QSqlDatabase &db) {
                     return rows(db, "SELECT count(*) FROM [Query Results] WHERE Engines = ''");
                 }),
                 QStringList{QString::number(storedHits)});

        // What was added is exactly what a fresh file gets, and no table more or less.
        QTemporaryDir fresh;
        const QString prebuilt = TestDatabase::copyPrebuilt(fresh);
        QCOMPARE(userVersion(prebuilt), CSchemaMigration::kCurrentVersion);
        QCOMPARE(columns(path, "Engine Definition"), columns(prebuilt, "Engine Definition"));
        QVERIFY(!columns(path, "Engine Definition").isEmpty());
        QCOMPARE(columns(path, "Query Results"), columns(prebuilt, "Query Results"));
        QVERIFY(columns(path, "Query Results").join(' ').contains("Engines"));
        QStringList tableNames, freshNames;
        for (const auto &t : layout(path))
            tableNames << t.first;
        for (const auto &t : layout(prebuilt))
            freshNames << t.first;
        QCOMPARE(tableNames, freshNames);

        // A second open finds nothing to do and leaves the file alone.
        const QByteArray hash = fileHash(path);
        { CTrawlexDatabase again(path); }
        QCOMPARE(fileHash(path), hash);
    }

    // The file is read as the program read it before, and written by a run of today.
    void runAfterMigrationKeepsOldHitsAndStoresEngines_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("1.12 used") << "tx-1.12-used.mdb";
        QTest::newRow("v1 used") << "tx-v1-used.mdb";
    }

    void runAfterMigrationKeepsOldHitsAndStoresEngines()
    {
        QFETCH(QString, file);
        QTemporaryDir dir;
        const QString path = copyLegacy(dir, file);
        QVERIFY(!path.isEmpty());
        const QStringList oldUrls = onConnection(path, [](QSqlDatabase &db) {
            return rows(db, "SELECT URL FROM [Query Results] WHERE QID = 1 ORDER BY rowid");
        });
        QVERIFY(oldUrls.size() > 10);

        CTrawlexDoc doc;
        QVERIFY(doc.OpenDatabase(path, nullptr));
        StoreRecordingPrompt prompt;
        CTrawlexQuery query;
        CStoredQueryDefinition(doc.Database()).load(1, query);
        QVERIFY(query.m_engines.size() >= 2);
        CTrawlexQueryResults results;
        CStoredQueryResults(doc).load(results, 1);
        results.SetQid(1);
        const QStringList loadedUrls = ResultsTestSupport::urls(results);
        QCOMPARE(QSet<QString>(loadedUrls.cbegin(), loadedUrls.cend()),
                 QSet<QString>(oldUrls.cbegin(), oldUrls.cend()));
        for (int i = 0; i < results.HitCount(); ++i)
            QCOMPARE(results.engines(i), QStringList());

        // More of query 1: an old hit is returned again by two engines, and a new one by one.
        const QString again = ResultsTestSupport::urls(results).at(3);
        const QString first = query.m_engines.at(0);
        const QString second = query.m_engines.at(1);
        results.ResetForNextPass(doc.UpdateQID != -1);
        results.SetQid(1);
        results.AddResult("again", again.toUpper(), "s", doc.UpdateQID != -1, first);
        results.AddResult("again", again, "s", doc.UpdateQID != -1, second);
        results.AddResult("new", "http://new.example/after-migration", "s", doc.UpdateQID != -1, second);
        results.SetLevel(results.Level() + 1);
        QVERIFY(CStoredQueryResults(doc).save(results, query, prompt));

        CTrawlexQueryResults loaded;
        CStoredQueryResults(doc).load(loaded, 1);
        QCOMPARE(loaded.HitCount(), oldUrls.size() + 1);
        for (int i = 0; i < loaded.HitCount(); ++i) {
            const QString &url = loaded.Hits().at(i).url;
            if (url == again)
                QCOMPARE(loaded.engines(i), (QStringList{first, second}));
            else if (url == QLatin1String("http://new.example/after-migration"))
                QCOMPARE(loaded.engines(i), QStringList{second});
            else
                QCOMPARE(loaded.engines(i), QStringList());
        }
        QCOMPARE(ResultsTestSupport::urls(loaded).mid(0, oldUrls.size()), ResultsTestSupport::urls(results).mid(0, oldUrls.size()));
    }

    void failedStepLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("message");
        // Something of that name already there makes a step fail half-way through.
        QTest::newRow("1.12, first step") << "tx-1.12-used.mdb" << 0 << "CREATE TABLE [Engine Definition] (x)"
                                          << "already exists";
        // From 1.12 the first step succeeds and the second fails: the first is undone too.
        QTest::newRow("1.12, second step") << "tx-1.12-used.mdb" << 0
                                           << "ALTER TABLE [Query Results] ADD COLUMN Engines TEXT"
                                           << "duplicate column name";
        QTest::newRow("v1") << "tx-v1-used.mdb" << 1 << "ALTER TABLE [Query Results] ADD COLUMN Engines TEXT"
                            << "duplicate column name";
    }

    void failedStepLeavesTheFileAsItWas()
    {
        QFETCH(QString, file);
        QFETCH(int, version);
        QFETCH(QString, obstacle);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = copyLegacy(dir, file);
        execute(path, obstacle);
        const QByteArray hash = fileHash(path);
        bool thrown = false;
        try {
            CTrawlexDatabase db(path);
        } catch (const CDaoException &e) {
            thrown = true;
            QVERIFY2(e.ReportText().contains(message), qPrintable(e.ReportText()));
        }
        QVERIFY(thrown);
        QCOMPARE(fileHash(path), hash);
        QCOMPARE(userVersion(path), version);
        const bool definitions = onConnection(path, [](QSqlDatabase &db) {
            return !columnNames(db, QStringLiteral("Engine Definition")).isEmpty();
        });
        QCOMPARE(definitions, version >= 1 || obstacle.contains("Engine Definition"));
    }

    void newerFileIsRefusedUntouched()
    {
        QTemporaryDir dir;
        const QString path = TestDatabase::copyPrebuilt(dir);
        execute(path, QStringLiteral("PRAGMA user_version = %1").arg(CSchemaMigration::kCurrentVersion + 1));
        const QByteArray hash = fileHash(path);
        bool thrown = false;
        try {
            CTrawlexDatabase db(path);
        } catch (const CDaoException &e) {
            thrown = true;
            QVERIFY2(e.ReportText().contains("made by a newer Trawlex"), qPrintable(e.ReportText()));
        }
        QVERIFY(thrown);
        QCOMPARE(fileHash(path), hash);
    }

    // A file that claims the current version but lacks its table is damaged, not repaired.
    void currentFileWithoutTheNewTableIsReported()
    {
        QTemporaryDir dir;
        const QString path = TestDatabase::copyPrebuilt(dir);
        execute(path, "DROP TABLE [Engine Definition]");
        try {
            CTrawlexDatabase db(path);
            QFAIL("opened");
        } catch (const CDaoException &e) {
            QVERIFY2(e.ReportText().contains("no such table: Engine Definition"), qPrintable(e.ReportText()));
        }
    }

    // Nor is one whose hits have no place for their engines.
    void currentFileWithoutTheEnginesColumnIsReported()
    {
        QTemporaryDir dir;
        const QString path = TestDatabase::copyPrebuilt(dir);
        execute(path, "ALTER TABLE [Query Results] DROP COLUMN Engines");
        const QByteArray hash = fileHash(path);
        try {
            CTrawlexDatabase db(path);
            QFAIL("opened");
        } catch (const CDaoException &e) {
            QVERIFY2(e.ReportText().contains("no such column: [Query Results].Engines"), qPrintable(e.ReportText()));
        }
        QCOMPARE(fileHash(path), hash);
    }
};

QTEST_GUILESS_MAIN(TestSchemaMigration)
#include "tst_schema_migration.moc"
