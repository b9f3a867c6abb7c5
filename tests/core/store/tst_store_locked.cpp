// A tx.mdb that another program holds locked: every way the program meets it (open, read,
// write, the save's commit) fails with an error that says "in use", told by SQLite's own
// result code, and nothing is half written.
#include "DatabaseLock.h"
#include "StoreRecordingPrompt.h"
#include "TestDatabase.h"

#include "app/IDatabaseErrorPrompt.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDatabase.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A prompt that words database failures itself, as the desktop program's does.
class WordingPrompt final : public IUserPrompt, public IDatabaseErrorPrompt
{
public:
    void showMessage(const QString &text) override { messages << text; }
    bool askYesNo(const QString &) override { return false; }
    void showDatabaseError(const CDaoException &e) override { inUse << e.IsDatabaseInUse(); }
    QStringList messages;
    QList<bool> inUse;
};

int countQueries(CTrawlexDatabase &db)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM [Main Query]"), {}, QStringLiteral("test")).toInt();
}

} // namespace

class tst_store_locked : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void inUseCodes_data();
    void inUseCodes();
    void reportGoesToTheWordingPrompt();
    void lockedFile_data();
    void lockedFile();
    void readsPassAWriterLock();
};

void tst_store_locked::inUseCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("inUse");
    QTest::newRow("busy") << 5 << true;
    QTest::newRow("locked") << 6 << true;
    QTest::newRow("busy recovery") << 261 << true;
    QTest::newRow("busy snapshot") << 517 << true;
    QTest::newRow("busy timeout") << 773 << true;
    QTest::newRow("locked shared cache") << 262 << true;
    QTest::newRow("generic error") << 1 << false;
    QTest::newRow("read-only") << 8 << false;
    QTest::newRow("cannot open") << 14 << false;
    QTest::newRow("not a database") << 26 << false;
    QTest::newRow("no current record") << 3021 << false;
    // 3077 has 5 in its low byte: a mask would take it for busy.
    QTest::newRow("own code with busy low byte") << 3077 << false;
}

void tst_store_locked::inUseCodes()
{
    QFETCH(int, code);
    QTEST(CDaoException(code, QStringLiteral("s"), QStringLiteral("d")).IsDatabaseInUse(), "inUse");
}

void tst_store_locked::reportGoesToTheWordingPrompt()
{
    const CDaoException busy(5, QStringLiteral("tx.mdb"), QStringLiteral("database is locked"));
    WordingPrompt wording;
    ReportDaoError(busy, &wording);
    QCOMPARE(wording.inUse, QList<bool>{true});
    QVERIFY(wording.messages.isEmpty());

    // A plain prompt (the command line's) keeps the bare report.
    StoreRecordingPrompt plain;
    ReportDaoError(busy, &plain);
    QCOMPARE(plain.messages, QStringList{QStringLiteral("DAO error 5, SOURCE = tx.mdb, DESCR = database is locked")});
}

void tst_store_locked::lockedFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("operation");
    QTest::newRow("exclusive, open") << int(DatabaseLock::Kind::Exclusive) << QStringLiteral("open");
    QTest::newRow("exclusive, read") << int(DatabaseLock::Kind::Exclusive) << QStringLiteral("read");
    QTest::newRow("writer, write") << int(DatabaseLock::Kind::Immediate) << QStringLiteral("write");
    QTest::newRow("writer, save") << int(DatabaseLock::Kind::Immediate) << QStringLiteral("save");
    QTest::newRow("reader, save's commit") << int(DatabaseLock::Kind::Shared) << QStringLiteral("save");
}

void tst_store_locked::lockedFile()
{
    QFETCH(int, kind);
    QFETCH(QString, operation);
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    QVERIFY(!path.isEmpty());

    std::unique_ptr<CTrawlexDatabase> db;
    if (operation != QLatin1String("open"))
        db = std::make_unique<CTrawlexDatabase>(path);
    const int before = db ? countQueries(*db) : 0;

    DatabaseLock lock;
    QVERIFY2(lock.take(path, DatabaseLock::Kind(kind)), qPrintable(lock.error()));

    bool threw = false;
    try {
        if (operation == QLatin1String("open")) {
            CTrawlexDatabase opened(path);
        } else if (operation == QLatin1String("read")) {
            countQueries(*db);
        } else if (operation == QLatin1String("write")) {
            CMainQueryTable(*db).insertQuery(QStringLiteral("locked out"));
        } else {
            CDbTransaction transaction(*db);
            CMainQueryTable queries(*db);
            const int qid = queries.insertQuery(QStringLiteral("locked out"));
            queries.setLevel(qid, 1);
            transaction.commit();
        }
    } catch (const CDaoException &e) {
        threw = true;
        QVERIFY2(e.IsDatabaseInUse(), qPrintable(e.ReportText()));
    }
    QVERIFY(threw);

    lock.release();
    // Once the other program lets go, the file is whole and usable, without the failed write.
    if (!db)
        db = std::make_unique<CTrawlexDatabase>(path);
    QVERIFY(!db->inTransaction());
    QCOMPARE(countQueries(*db), before);
    CMainQueryTable(*db).insertQuery(QStringLiteral("after"));
    QCOMPARE(countQueries(*db), before + 1);
    QCOMPARE(db->scalar(QStringLiteral("PRAGMA integrity_check"), {}, QStringLiteral("test")).toString(),
             QStringLiteral("ok"));
}

void tst_store_locked::readsPassAWriterLock()
{
    QTemporaryDir dir;
    const QString path = TestDatabase::copyPrebuilt(dir);
    DatabaseLock lock;
    QVERIFY(lock.take(path, DatabaseLock::Kind::Immediate));
    CTrawlexDatabase db(path);
    QCOMPARE(countQueries(db), 0);
}

QTEST_GUILESS_MAIN(tst_store_locked)
#include "tst_store_locked.moc"
