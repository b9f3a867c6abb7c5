// Databases made by release 1.12 are brought up to date in place without losing a row; a
// failed step leaves the file as it was; a newer file is refused untouched.
#include "TestDatabase.h"
#include "TestPaths.h"

#include "store/CDaoException.h"
#include "store/CSchemaMigration.h"
#include "store/CTrawlexDatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kOldTables{"Main Query", "Search Engine", "Query Engines", "Query Filter", "Query Keyword",
                             "Query Group", "Query Content", "Query Results", "Query Results Date", "Pages",
                             "Yahoo"};

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

// Every row of every table of release 1.12, in key order.
QStringList dump(const QString &path)
{
    return onConnection(path, [](QSqlDatabase &db) {
        QStringList all;
        for (const QString &table : kOldTables)
            all << table << rows(db, QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table));
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
        QTest::addColumn<int>("queries");
        QTest::newRow("pre-built") << "tx-1.12-prebuilt.mdb" << 0;
        QTest::newRow("used") << "tx-1.12-used.mdb" << 2;
    }

    void legacyFilesComeUpToDate()
    {
        QFETCH(QString, file);
        QFETCH(int, queries);
        QTemporaryDir dir;
        const QString path = copyLegacy(dir, file);
        QVERIFY(!path.isEmpty());
        QCOMPARE(userVersion(path), 0);
        const QStringList before = dump(path);
        QCOMPARE(before.count(QStringLiteral("error: ")), 0);

        {
            CTrawlexDatabase db(path);
            QCOMPARE(CSchemaMigration::version(db), CSchemaMigration::kCurrentVersion);
            QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM [Main Query]"), {}, {}).toInt(), queries);
        }
        QCOMPARE(userVersion(path), CSchemaMigration::kCurrentVersion);
        QCOMPARE(dump(path), before);
        QCOMPARE(onConnection(path, [](QSqlDatabase &db) { return rows(db, "PRAGMA integrity_check"); }),
                 QStringList{"ok"});

        // The new table is exactly the one a fresh file gets.
        QTemporaryDir fresh;
        const QString prebuilt = TestDatabase::copyPrebuilt(fresh);
        QCOMPARE(userVersion(prebuilt), CSchemaMigration::kCurrentVersion);
        QCOMPARE(columns(path, "Engine Definition"), columns(prebuilt, "Engine Definition"));
        QVERIFY(!columns(path, "Engine Definition").isEmpty());

        // A second open finds nothing to do and leaves the file alone.
        const QByteArray hash = fileHash(path);
        { CTrawlexDatabase again(path); }
        QCOMPARE(fileHash(path), hash);
    }

    void failedStepLeavesTheFileAsItWas()
    {
        QTemporaryDir dir;
        const QString path = copyLegacy(dir, "tx-1.12-used.mdb");
        // A table of that name already there makes the step fail half-way through.
        execute(path, "CREATE TABLE [Engine Definition] (x)");
        const QByteArray hash = fileHash(path);
        bool thrown = false;
        try {
            CTrawlexDatabase db(path);
        } catch (const CDaoException &e) {
            thrown = true;
            QVERIFY2(e.ReportText().contains("already exists"), qPrintable(e.ReportText()));
        }
        QVERIFY(thrown);
        QCOMPARE(fileHash(path), hash);
        QCOMPARE(userVersion(path), 0);
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
};

QTEST_GUILESS_MAIN(TestSchemaMigration)
#include "tst_schema_migration.moc"
