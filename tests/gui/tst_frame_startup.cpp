// The program's start-up as the user meets it: a damaged tx.mdb is reported once and the
// start ends; a good one gives the main window with the stored queries, at once usable.
#include "MessageBoxCloser.h"
#include "TestPaths.h"

#include "app/CTrawlexApp.h"
#include "app/CTrawlexSettings.h"
#include "common/CMessageBoxPrompt.h"
#include "frame/CMainFrame.h"
#include "store/CTrawlexDoc.h"
#include "views/CTrawlexQueryView.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestFrameStartup final : public QObject
{
    Q_OBJECT

private slots:
    void damagedDatabaseEndsStartOnce();
    void goodDatabaseShowsWindow();

private:
    QTemporaryDir m_dir;
};

void TestFrameStartup::damagedDatabaseEndsStartOnce()
{
    const QString previous = QDir::currentPath();
    QTemporaryDir dir;
    QFile bad(dir.filePath(QStringLiteral("tx.mdb")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("this is not a database at all, just text in a file called tx.mdb\n");
    bad.close();
    QVERIFY(QDir::setCurrent(dir.path()));

    MessageBoxCloser closer(this);
    CTrawlexApp *app = CTrawlexApp::instance();
    QVERIFY(app);
    const bool started = app->InitInstance();
    QDir::setCurrent(previous);
    QVERIFY(!started);
    QCOMPARE(app->ExitCode(), 1);
    QCOMPARE(closer.texts.size(), 1);
    QVERIFY2(closer.texts.first().startsWith(QLatin1String("DAO error ")), qPrintable(closer.texts.first()));
    QVERIFY(!app->MainFrame());
}

void TestFrameStartup::goodDatabaseShowsWindow()
{
    const QString previous = QDir::currentPath();
    QTemporaryDir dir;
    QVERIFY(QFile::copy(TestPaths::prebuiltDatabase(), dir.filePath(QStringLiteral("tx.mdb"))));
    QVERIFY(QDir::setCurrent(dir.path()));

    MessageBoxCloser closer(this);
    CTrawlexApp *app = CTrawlexApp::instance();
    const bool started = app->InitInstance();
    QDir::setCurrent(previous);
    QVERIFY(started);
    QVERIFY(closer.texts.isEmpty());
    CMainFrame *frame = app->MainFrame();
    QVERIFY(frame);
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->windowTitle(), QStringLiteral("Trawlex"));
    QCOMPARE(GetActiveTrawlexDoc(), &app->Document());
    // The engine address list is built from the engine table: bars around every name.
    QVERIFY(app->Document().EngineAddressList().startsWith(QLatin1String("|AltaVista|")));
    // The tree initialises itself once the event loop runs.
    QTRY_COMPARE(frame->queryView()->m_nViewMode, 32831);
    QCOMPARE(frame->MessageText(), QStringLiteral("Ready"));
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
    TestFrameStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frame_startup.moc"
