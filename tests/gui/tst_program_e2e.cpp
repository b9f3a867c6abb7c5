// The whole desktop program against the engine simulator: New Query, the sheet filled in,
// OK, the run, the results page and the tree showing the new query selected.
#include "ResultsTestSupport.h"
#include "FrameTestSupport.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "frame/CMainFrame.h"
#include "frame/CTrawlexToolBar.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "sheet/CTrawlexPropertyPageKeywords.h"
#include "sheet/CTrawlexPropertyPageName.h"
#include "sheet/CTrawlexPropertyPageWhere.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "store/CMainQueryTable.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"
#include "views/CTrawlexResultText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace TrawlexIds;

class TestProgramE2E final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newQueryRunsAndShows();
    void closingDuringRunStopsIt();

private:
    QProcess m_sim;
    int m_nPort = 0;
};

void TestProgramE2E::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_sim.start(TestPaths::engineSimProgram(), {QStringLiteral("--port"), QStringLiteral("0")});
    QVERIFY2(m_sim.waitForStarted(10000), qPrintable(m_sim.errorString()));
    QByteArray line;
    QTRY_VERIFY_WITH_TIMEOUT(m_sim.canReadLine() || m_sim.state() != QProcess::Running, 10000);
    line = m_sim.readLine().trimmed();
    QVERIFY2(line.startsWith("port "), line.constData());
    m_nPort = line.mid(5).toInt();
    QVERIFY(m_nPort > 0);
}

void TestProgramE2E::cleanupTestCase()
{
    m_sim.terminate();
    if (!m_sim.waitForFinished(5000))
        m_sim.kill();
}

void TestProgramE2E::newQueryRunsAndShows()
{
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("tx.mdb"));
    QProcess cli;
    cli.start(TestPaths::cliProgram(), {QStringLiteral("initdb"), dbPath, QStringLiteral("--engines-at"),
                                        QStringLiteral("127.0.0.1:%1").arg(m_nPort)});
    QVERIFY(cli.waitForFinished(20000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());

    FrameTest::Store store;
    QVERIFY(store.open(dbPath));
    // A query stored earlier, so the new one has to be found among others.
    store.addQuery(QStringLiteral("an older query"), {QStringLiteral("older")});
    CTrawlexDoc &doc = store.doc;
    doc.LoadEngineAddressList();
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), store.prompt);
    CMainFrame frame(doc, *store.settings, monitor, store.prompt);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCoreApplication::sendPostedEvents();

    // A name with every awkward character the statements must survive, pasted in.
    const QString name = QStringLiteral("Trawl's \"travel\" (1997) – ") + QString::fromUtf8("Æble");
    bool sheetSeen = false;
    QTimer::singleShot(0, this, [&] {
        CTrawlexPropertySheetQuery &sheet = frame.querySheet();
        sheetSeen = sheet.isVisible();
        sheet.namePage().nameEdit()->setText(name);
        sheet.keywordsPage().keywordEdit()->setText(QStringLiteral("travel"));
        sheet.keywordsPage().addButton()->click();
        for (const char *engine : {"AltaVista", "Excite", "Lycos", "Yahoo"})
            sheet.wherePage().checkBox(QLatin1String(engine))->setChecked(true);
        sheet.buttons()->button(QDialogButtonBox::Ok)->click();
    });
    QSignalSpy finished(&monitor, &CRunMonitor::runFinished);
    frame.action(ID_FILE_NEW)->trigger();
    QVERIFY(sheetSeen);
    QVERIFY2(store.prompt.messages.isEmpty(), qPrintable(store.prompt.messages.join(QLatin1Char('|'))));

    // While it runs: only Stop works.
    QVERIFY(doc.ResultsSet().IsRunning());
    QTRY_VERIFY(frame.action(ID_STOP)->isEnabled());
    QVERIFY(!frame.action(ID_FILE_NEW)->isEnabled());

    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().value<CRunMonitor::Outcome>(), CRunMonitor::Outcome::Completed);
    QCOMPARE(store.prompt.messages, QStringList{"Query Retrieval completed!"});
    QCOMPARE(frame.MessageText(), QStringLiteral("Ready"));
    QTRY_VERIFY(frame.action(ID_FILE_NEW)->isEnabled());
    QVERIFY(!frame.action(ID_STOP)->isEnabled());

    // Stored under its name, level 1, with its hits.
    const CTrawlexQueryResults &results = doc.ResultsSet();
    QVERIFY(results.HitCount() > 0);
    const int qid = doc.MainQueries().maxQid();
    QCOMPARE(doc.MainQueries().queryName(qid), name);
    QCOMPARE(results.Qid(), qid);

    // The tree shows the new query selected, in the name arrangement.
    QCOMPARE(frame.queryView()->m_nViewMode, int(ID_VIEW_NAME));
    QCOMPARE(frame.GetSelectedQueryId(), qid);
    QVERIFY(frame.queryView()->currentItem());
    QCOMPARE(frame.queryView()->currentItem()->text(0), name);
    QCOMPARE(frame.toolBar()->viewLabel()->text(), QStringLiteral("Current View:  Name"));

    // The results page: the header and the first hit's controls.
    CTrawlexQueryResultsView *view = frame.resultsView();
    QVERIFY(view->headerText());
    QVERIFY(view->pageChildren().size() >= 4);
    bool firstTitleShown = false;
    for (QWidget *child : view->pageChildren()) {
        if (auto *text = qobject_cast<QLabel *>(child); text && child->objectName() == QStringLiteral("0")) {
            firstTitleShown = text->text().contains(ResultsTestSupport::titles(results).first().left(20));
            break;
        }
    }
    QVERIFY2(firstTitleShown, qPrintable(ResultsTestSupport::titles(results).first()));
}

void TestProgramE2E::closingDuringRunStopsIt()
{
    QTemporaryDir dir;
    const QString dbPath = dir.filePath(QStringLiteral("tx.mdb"));
    QProcess cli;
    cli.start(TestPaths::cliProgram(), {QStringLiteral("initdb"), dbPath, QStringLiteral("--engines-at"),
                                        QStringLiteral("127.0.0.1:%1").arg(m_nPort)});
    QVERIFY(cli.waitForFinished(20000));
    QCOMPARE(cli.exitCode(), 0);

    FrameTest::Store store;
    QVERIFY(store.open(dbPath));
    CTrawlexDoc &doc = store.doc;
    doc.LoadEngineAddressList();
    CRunMonitor monitor(doc, doc.Query(), doc.ResultsSet(), store.prompt);
    auto frame = std::make_unique<CMainFrame>(doc, *store.settings, monitor, store.prompt);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    QCoreApplication::sendPostedEvents();
    QTimer::singleShot(0, this, [&] {
        CTrawlexPropertySheetQuery &sheet = frame->querySheet();
        sheet.namePage().nameEdit()->setText(QStringLiteral("closed early"));
        sheet.keywordsPage().keywordEdit()->setText(QStringLiteral("travel"));
        sheet.keywordsPage().addButton()->click();
        for (const char *engine : {"AltaVista", "HotBot", "Magellan"})
            sheet.wherePage().checkBox(QLatin1String(engine))->setChecked(true);
        sheet.buttons()->button(QDialogButtonBox::Ok)->click();
    });
    frame->action(ID_FILE_NEW)->trigger();
    QVERIFY(monitor.IsRunning());
    QVERIFY(frame->close());
    // Stopped on the way out: nothing runs on, no message, and the window can go.
    QVERIFY(!monitor.IsRunning());
    QVERIFY(!doc.ResultsSet().IsRunning());
    QVERIFY(store.prompt.messages.isEmpty());
    frame.reset();
    QTest::qWait(50);
}

QTEST_MAIN(TestProgramE2E)
#include "tst_program_e2e.moc"
