// trawlex-cli run killed (SIGKILL) at random moments of a run and its save, over and over:
// afterwards the file must pass SQLite's integrity check and hold the database either exactly
// as it was before the run or exactly as a run left to finish leaves it, never a mixture.
//
// The moments come from a seeded generator; TRAWLEX_KILL_SEED repeats a failing series.

#include "RunCliProcess.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

// Four scenarios of 20 kills each; runs that end before their kill count for nothing.
constexpr int kKillsPerScenario = 20;
constexpr int kMaxAttemptsPerScenario = 4 * kKillsPerScenario;

// Every table's rows in key order, as text; retrieval and visit times are left out, since a
// finished run stamps the time it ran.
struct Snapshot
{
    QString integrity;
    QStringList rows;
};

Snapshot readSnapshot(const QString &path)
{
    static int counter = 0;
    const QString connection = QStringLiteral("snapshot-%1").arg(++counter);
    Snapshot s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open()) {
            s.integrity = db.lastError().text();
            return s;
        }
        QSqlQuery q(db);
        // Opening after a kill rolls a left-behind journal back before anything is read.
        s.integrity = q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next() ? q.value(0).toString()
                                                                                 : q.lastError().text();
        QStringList tables;
        if (q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))) {
            while (q.next())
                tables << q.value(0).toString();
        }
        for (const QString &table : std::as_const(tables)) {
            QSqlQuery rows(db);
            if (!rows.exec(QStringLiteral("SELECT * FROM [%1] ORDER BY rowid").arg(table))) {
                s.rows << table + QStringLiteral(": ") + rows.lastError().text();
                continue;
            }
            while (rows.next()) {
                const QSqlRecord record = rows.record();
                QStringList fields;
                for (int i = 0; i < record.count(); ++i) {
                    if (record.fieldName(i).contains(QLatin1String("Date"), Qt::CaseInsensitive))
                        continue;
                    fields << record.fieldName(i) + QLatin1Char('=') + rows.value(i).toString();
                }
                s.rows << table + QStringLiteral(": ") + fields.join(QLatin1Char('|'));
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return s;
}

// The first row where two snapshots part, for the failure message.
QString firstDifference(const QStringList &a, const QStringList &b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString left = a.value(i, QStringLiteral("(none)"));
        const QString right = b.value(i, QStringLiteral("(none)"));
        if (left != right)
            return QStringLiteral("row %1: %2  <>  %3").arg(i).arg(left, right);
    }
    return QStringLiteral("none");
}

} // namespace

class TestKilledSave final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void killedRun_data();
    void killedRun();

private:
    QProcessEnvironment cliEnvironment() const;
    // Runs trawlex-cli to its end on path; its run time in ms, or -1 when it failed.
    qint64 runToEnd(const QString &path, const QStringList &args);

    QTemporaryDir m_dir;
    RunEngineSim m_sim;
    QString m_strEmpty;  // a database with no query
    QString m_strStored; // the same after one finished run of the query
    quint32 m_nSeed = 0;
};

QProcessEnvironment TestKilledSave::cliEnvironment() const
{
    // The user's settings stay out of the test, as RunCliProcess keeps them.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    return env;
}

qint64 TestKilledSave::runToEnd(const QString &path, const QStringList &args)
{
    QProcess process;
    process.setProcessEnvironment(cliEnvironment());
    process.setWorkingDirectory(m_dir.path());
    QElapsedTimer clock;
    clock.start();
    process.start(TestPaths::cliProgram(), args + QStringList{QStringLiteral("--db"), path});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "trawlex-cli" << args << "failed:" << process.readAllStandardError();
        return -1;
    }
    return clock.elapsed();
}

void TestKilledSave::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(TestPaths::cliProgram()), "trawlex-cli is not built");
    QVERIFY2(QFile::exists(TestPaths::engineSimProgram()), "trawlex-enginesim is not built");
    // A little latency spreads the run out, so that kills land in every phase of it.
    QVERIFY(m_sim.start({QStringLiteral("--latency"), QStringLiteral("3")}));

    bool fromEnv = false;
    m_nSeed = qEnvironmentVariable("TRAWLEX_KILL_SEED").toUInt(&fromEnv);
    if (!fromEnv)
        m_nSeed = QRandomGenerator::system()->generate();
    qInfo("kill seed %u (set TRAWLEX_KILL_SEED=%u to repeat)", m_nSeed, m_nSeed);

    m_strEmpty = m_dir.filePath(QStringLiteral("empty.mdb"));
    const RunCliResult init = RunCliProcess::run(
        m_dir, {QStringLiteral("initdb"), m_strEmpty, QStringLiteral("--engines-at"), m_sim.address()});
    QCOMPARE(init.exitCode, 0);
    QVERIFY(!RunCliProcess::writeFile(m_dir, QStringLiteral("query.json"),
                                      R"({"name": "killed", "keywords": ["include:travel", "optional:fishing"],)"
                                      R"( "engines": ["AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos",)"
                                      R"( "Magellan", "Yahoo"]})")
                 .isEmpty());
    m_strStored = m_dir.filePath(QStringLiteral("stored.mdb"));
    QVERIFY(QFile::copy(m_strEmpty, m_strStored));
    QVERIFY(runToEnd(m_strStored, {QStringLiteral("run"), QStringLiteral("query.json")}) >= 0);
}

void TestKilledSave::killedRun_data()
{
    QTest::addColumn<bool>("fromStored");
    QTest::addColumn<QStringList>("args");
    // A new query: its first save writes the whole definition and every hit.
    QTest::newRow("new query") << false << QStringList{QStringLiteral("run"), QStringLiteral("query.json")};
    // More on a stored query: the save rewrites its level, page counters and hits in place.
    QTest::newRow("more") << true << QStringList{QStringLiteral("run"), QStringLiteral("--more"), QStringLiteral("--qid"),
                                                 QStringLiteral("1")};
    // A fresh run over the stored one of the same name: deleted and stored anew in one save.
    QTest::newRow("overwrite") << true << QStringList{QStringLiteral("run"), QStringLiteral("query.json"),
                                                      QStringLiteral("--overwrite")};
    // An update of the stored query: its new form is stored and the old one deleted in one save.
    QTest::newRow("update") << true << QStringList{QStringLiteral("run"), QStringLiteral("--update"), QStringLiteral("--qid"),
                                                   QStringLiteral("1")};
}

void TestKilledSave::killedRun()
{
    QFETCH(bool, fromStored);
    QFETCH(QStringList, args);
    // One engine at a time: the hits then arrive, and are stored, in the same order each run.
    args << QStringLiteral("--max-conns") << QStringLiteral("1");
    const QString start = fromStored ? m_strStored : m_strEmpty;
    const Snapshot before = readSnapshot(start);
    QCOMPARE(before.integrity, QStringLiteral("ok"));

    // The state a finished run leaves, twice, to be sure a finished run always leaves it.
    const QString work = m_dir.filePath(QStringLiteral("work.mdb"));
    Snapshot after;
    qint64 runMs = 0;
    for (int i = 0; i < 2; ++i) {
        QFile::remove(work);
        QVERIFY(QFile::copy(start, work));
        const qint64 ms = runToEnd(work, args);
        QVERIFY(ms >= 0);
        runMs = std::max(runMs, ms);
        const Snapshot finished = readSnapshot(work);
        if (i == 1)
            QVERIFY2(finished.rows == after.rows, qPrintable(firstDifference(after.rows, finished.rows)));
        after = finished;
    }
    QVERIFY2(after.rows != before.rows, "the finished run changed nothing");

    QRandomGenerator random(m_nSeed ^ qHash(QString::fromLatin1(QTest::currentDataTag())));
    int asBefore = 0;
    int asAfter = 0;
    int journals = 0;
    int kills = 0;
    for (int k = 0; kills < kKillsPerScenario; ++k) {
        QVERIFY2(k < kMaxAttemptsPerScenario,
                 qPrintable(QStringLiteral("seed %1: only %2 of %3 runs were still running at their kill")
                                .arg(m_nSeed)
                                .arg(kills)
                                .arg(k)));
        QFile::remove(work);
        QFile::remove(work + QStringLiteral("-journal"));
        QVERIFY(QFile::copy(start, work));
        // Anywhere in the run, and every other kill in its last third, where the save is.
        const qint64 spanUs = runMs * 1000;
        const qint64 delayUs = k % 2 == 0 ? random.bounded(spanUs) : spanUs * 2 / 3 + random.bounded(spanUs / 3 + 1);
        const QString where = QStringLiteral("seed %1, kill %2 after %3 us").arg(m_nSeed).arg(k).arg(delayUs);

        QProcess process;
        process.setProcessEnvironment(cliEnvironment());
        process.setWorkingDirectory(m_dir.path());
        process.start(TestPaths::cliProgram(), args + QStringList{QStringLiteral("--db"), work});
        QVERIFY2(process.waitForStarted(10000), qPrintable(where));
        QThread::usleep(static_cast<unsigned long>(delayUs));
        const bool killed = process.state() == QProcess::Running;
        if (killed) {
            process.kill();
            ++kills;
        }
        QVERIFY2(process.waitForFinished(30000), qPrintable(where));
        if (!killed)
            QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, qPrintable(where));
        if (QFile::exists(work + QStringLiteral("-journal")))
            ++journals;

        const Snapshot now = readSnapshot(work);
        QVERIFY2(now.integrity == QLatin1String("ok"), qPrintable(where + QStringLiteral(": ") + now.integrity));
        if (now.rows == before.rows) {
            QVERIFY2(killed, qPrintable(where + QStringLiteral(": a finished run stored nothing")));
            ++asBefore;
        } else if (now.rows == after.rows) {
            ++asAfter;
        } else {
            QFAIL(qPrintable(where + QStringLiteral(": neither before nor after; against before ")
                             + firstDifference(before.rows, now.rows) + QStringLiteral("; against after ")
                             + firstDifference(after.rows, now.rows)));
        }
    }
    qInfo("%s: %d kills; the database as before %d times, as after %d times (%d with a journal left); run %lld ms",
          QTest::currentDataTag(), kills, asBefore, asAfter, journals, runMs);
    // Kills that all came after the save would prove nothing.
    QVERIFY2(asBefore > 0, qPrintable(QStringLiteral("seed %1: no kill came before the save").arg(m_nSeed)));
}

QTEST_GUILESS_MAIN(TestKilledSave)
#include "tst_killed_save.moc"
