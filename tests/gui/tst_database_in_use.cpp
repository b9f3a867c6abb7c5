// The desktop program meets a tx.mdb that another program holds locked: at start-up, in a
// command whose statement fails, and in a statement nobody catches. Each time the user reads
// that the database is in use and what to do, not the bare database report.
#include "DatabaseLock.h"
#include "MessageBoxCloser.h"
#include "TestPaths.h"

#include "app/CTrawlexApp.h"
#include "app/CTrawlexSettings.h"
#include "common/CMessageBoxPrompt.h"
#include "frame/CMainFrame.h"
#include "store/CDaoException.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDatabase.h"
#include "store/CTrawlexDoc.h"
#include "views/CTrawlexQueryView.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestDatabaseInUse final : public QObject
{
    Q_OBJECT

private slots:
    void lockedAtStartUp();
    void lockedWhileTheWindowIsUp();

private:
    // A copy of the pre-built database in dir holding one stored query.
    static QString prepare(const QTemporaryDir &dir);
    static bool queryStored(const QString &path);
    // The program's start-up with dir as the current directory; whether it started.
    static bool startIn(const QTemporaryDir &dir);
};

bool TestDatabaseInUse::startIn(const QTemporaryDir &dir)
{
    const QString previous = QDir::currentPath();
    if (!QDir::setCurrent(dir.path()))
        return false;
    const bool started = CTrawlexApp::instance()->InitInstance();
    QDir::setCurrent(previous);
    return started;
}

QString TestDatabaseInUse::prepare(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(CTrawlexDatabase::fileName());
    if (!QFile::copy(TestPaths::prebuiltDatabase(), path))
        return {};
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    CTrawlexDatabase db(path);
    CMainQueryTable(db).insertQuery(QStringLiteral("orchids"));
    return path;
}

bool TestDatabaseInUse::queryStored(const QString &path)
{
    CTrawlexDatabase db(path);
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM [Main Query]"), {}, QStringLiteral("test")).toInt() == 1;
}

void TestDatabaseInUse::lockedAtStartUp()
{
    QTemporaryDir dir;
    const QString path = prepare(dir);
    QVERIFY(!path.isEmpty());
    DatabaseLock lock;
    QVERIFY2(lock.take(path, DatabaseLock::Kind::Exclusive), qPrintable(lock.error()));

    MessageBoxCloser closer(this);
    QVERIFY(!startIn(dir));
    CTrawlexApp *app = CTrawlexApp::instance();
    QCOMPARE(app->ExitCode(), 1);
    QCOMPARE(closer.texts, QStringList{CMessageBoxPrompt::DatabaseInUseText()});
    QVERIFY(closer.texts.first().contains(QLatin1String("in use by another program")));
    QVERIFY(closer.texts.first().contains(QLatin1String("Close the other program, then try again.")));
    QVERIFY(!app->MainFrame());
}

void TestDatabaseInUse::lockedWhileTheWindowIsUp()
{
    QTemporaryDir dir;
    const QString path = prepare(dir);
    QVERIFY(!path.isEmpty());
    MessageBoxCloser closer(this);
    QVERIFY(startIn(dir));
    CTrawlexApp *app = CTrawlexApp::instance();
    CMainFrame *frame = app->MainFrame();
    QVERIFY(frame);
    // The tree fills itself and selects the stored query.
    QTRY_VERIFY(frame->queryView()->currentItem());
    QVERIFY(closer.texts.isEmpty());

    DatabaseLock lock;
    QVERIFY2(lock.take(path, DatabaseLock::Kind::Exclusive), qPrintable(lock.error()));

    // Delete: the tree catches the failure and reports it.
    QTimer::singleShot(0, frame, &CMainFrame::OnDelete);
    QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 1, 10000);
    QCOMPARE(closer.texts.last(), CMessageBoxPrompt::DatabaseInUseText());

    // A statement whose failure no handler catches reaches the application's report.
    CTrawlexDoc &doc = app->Document();
    QTimer::singleShot(0, frame, [&doc] { doc.MainQueries().insertQuery(QStringLiteral("not stored")); });
    QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 2, 10000);
    QCOMPARE(closer.texts.last(), CMessageBoxPrompt::DatabaseInUseText());

    lock.release();
    QVERIFY(queryStored(path));

    // Other database failures keep their report.
    QTimer::singleShot(0, frame, [&doc] {
        doc.Database().scalar(QStringLiteral("SELECT nothing FROM nowhere"), {}, QStringLiteral("test"));
    });
    QTRY_COMPARE_WITH_TIMEOUT(closer.texts.size(), 3, 10000);
    QVERIFY2(closer.texts.last().startsWith(QLatin1String("DAO error ")), qPrintable(closer.texts.last()));
}

int main(int argc, char *argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    CTrawlexApp app(argc, argv);
    {
        // A user who has answered the connection question and is not due a version check.
        CTrawlexSettings settings;
        settings.setConnection(true);
        QSettings raw(QStringLiteral("Quorvel Software"), QStringLiteral("Trawlex"));
        raw.setValue(CTrawlexSettings::groupName() + QStringLiteral("/VersionCheck"), 4);
    }
    TestDatabaseInUse test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_database_in_use.moc"
