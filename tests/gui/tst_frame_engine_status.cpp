// The engine status in the main window: the status bar summary and the panel during a run and
// after it, the list following the query on show, and the completion message as before.
#include "FrameTestSupport.h"
#include "ScriptedRetrieval.h"

#include "TrawlexIds.h"
#include "frame/CEngineStatusPanel.h"
#include "frame/CMainFrame.h"
#include "query/CQuerySheetEntries.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CEngineRunStatus.h"
#include "run/CRunMonitor.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"
#include "views/CTrawlexResultText.h"

#include <QAction>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace TrawlexIds;

using FrameTest::idle;

class TestFrameEngineStatus final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void duringAndAfterRun();
    void listFollowsQueryOnShow();
    void summaryButtonTogglesPanel();

private:
    void startRun(const QStringList &engines);
    QTreeWidgetItem *treeItem(const QString &text) const;

    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CRunMonitor> m_monitor;
    std::unique_ptr<CMainFrame> m_frame;
    ScriptedRetrieval *m_retrieval = nullptr;
};

void TestFrameEngineStatus::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    m_store->doc.LoadEngineAddressList();
    CTrawlexDoc &doc = m_store->doc;
    m_monitor = std::make_unique<CRunMonitor>(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
    auto scripted = std::make_unique<ScriptedRetrieval>();
    m_retrieval = scripted.get();
    m_monitor->SetRetrieval(std::move(scripted));
    m_store->settings->MaxConns = 2;
    m_frame = std::make_unique<CMainFrame>(doc, *m_store->settings, *m_monitor, m_store->prompt);
    m_frame->resize(1000, 700);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    QCoreApplication::sendPostedEvents();
}

void TestFrameEngineStatus::cleanup()
{
    m_frame.reset();
    m_monitor.reset();
    m_store.reset();
}

QTreeWidgetItem *TestFrameEngineStatus::treeItem(const QString &text) const
{
    const auto items = m_frame->queryView()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

void TestFrameEngineStatus::startRun(const QStringList &engines)
{
    CQuerySheetEntries entries;
    entries.m_strName = QStringLiteral("Apples");
    entries.m_keywordEntries = {QStringLiteral("include:apple")};
    entries.m_engines = engines;
    QVERIFY(m_monitor->CommitQuerySheet(entries));
    // The frame gave the monitor the settings' limits: the pass asks two engines at a time.
    QSignalSpy passes(m_monitor.get(), &CRunMonitor::passStarted);
    QVERIFY(m_monitor->StartRun(false));
    QCOMPARE(passes.size(), 1);
    QCOMPARE(passes.first().at(0).toStringList(), engines);
    QCOMPARE(passes.first().at(1).toInt(), 2);
}

void TestFrameEngineStatus::duringAndAfterRun()
{
    CEngineStatusPanel *panel = m_frame->engineStatusPanel();
    QToolButton *summary = m_frame->engineSummary();
    QVERIFY(!panel->isVisible());
    QVERIFY(!summary->isVisible());
    QCOMPARE(&m_frame->engineStatus(), qobject_cast<CEngineRunStatus *>(panel->table()->model()));

    startRun({QStringLiteral("AltaVista"), QStringLiteral("Excite"), QStringLiteral("Lycos")});
    idle();
    // The summary shows without the panel; the panel's toggle works during the run.
    QVERIFY(summary->isVisible());
    QCOMPARE(summary->text(), QStringLiteral("Engines: 0 of 3 done"));
    QAction *toggle = m_frame->action(ID_VIEW_ENGINE_STATUS);
    QVERIFY(toggle->isEnabled());
    toggle->trigger();
    QVERIFY(panel->isVisible());
    QVERIFY(panel->table()->isVisible());
    QCOMPARE(panel->heading()->text(), QStringLiteral("Asking the engines"));
    QCOMPARE(panel->table()->model()->rowCount(), 3);
    auto cell = [panel](int row, int column) { return panel->table()->model()->index(row, column).data().toString(); };
    QCOMPARE(cell(0, CEngineRunStatus::StateColumn), QStringLiteral("asking"));
    QCOMPARE(cell(2, CEngineRunStatus::StateColumn), QStringLiteral("waiting"));

    m_retrieval->hit(QStringLiteral("http://a.example/1"));
    m_retrieval->end(QStringLiteral("AltaVista"), 1);
    m_retrieval->end(QStringLiteral("Excite"), -1, QStringLiteral("connection refused"));
    QCOMPARE(summary->text(), QStringLiteral("Engines: 2 of 3 done, 1 failed"));
    QCOMPARE(cell(2, CEngineRunStatus::StateColumn), QStringLiteral("asking"));
    QCOMPARE(cell(1, CEngineRunStatus::ReasonColumn), QStringLiteral("connection refused"));
    QVERIFY(m_store->prompt.messages.isEmpty());

    m_retrieval->end(QStringLiteral("Lycos"), 0);
    // The completion message is as it was; the list stays for the query now on show.
    QCOMPARE(m_store->prompt.messages, QStringList{QStringLiteral("Query Retrieval completed!  Excite timed out.")});
    idle();
    QVERIFY(!m_monitor->IsRunning());
    QVERIFY(panel->heading()->text().startsWith(QLatin1String("Run completed at ")));
    QCOMPARE(summary->text(), QStringLiteral("3 engines: 2 answered, 1 failed"));
    QCOMPARE(m_frame->engineStatus().shownQueryId(), m_store->doc.ResultsSet().Qid());
    QCOMPARE(m_frame->engineStatus().engineCount(), 3);
    QCOMPARE(m_frame->engineStatus().failedEngines(), QStringList{QStringLiteral("Excite")});
    QCOMPARE(cell(0, CEngineRunStatus::StateColumn), QStringLiteral("1 hit"));
    QCOMPARE(cell(2, CEngineRunStatus::StateColumn), QStringLiteral("no hits"));
    // The results' hit-count line tells the same run.
    CTrawlexResultText *line = m_frame->resultsView()->summaryLine();
    QVERIFY(line);
    QCOMPARE(line->text(), QStringLiteral("Hit 1 of 1 from 3 engines; failed: Excite"));
}

void TestFrameEngineStatus::listFollowsQueryOnShow()
{
    const int older = m_store->addQuery(QStringLiteral("Older query"), {QStringLiteral("pear")});
    m_store->addResult(older, QStringLiteral("http://www.pears.example/"), QStringLiteral("Pears"));
    m_frame->SwitchView(ID_VIEW_NAME);
    m_frame->action(ID_VIEW_ENGINE_STATUS)->trigger();

    startRun({QStringLiteral("Excite")});
    m_retrieval->end(QStringLiteral("Excite"), 0);
    idle();
    const int ran = m_store->doc.ResultsSet().Qid();
    QVERIFY(ran != -1 && ran != older);
    CEngineStatusPanel *panel = m_frame->engineStatusPanel();
    QVERIFY(panel->table()->isVisible());

    // A query not run this session: the panel says so, the summary goes.
    QTreeWidgetItem *item = treeItem(QStringLiteral("Older query"));
    QVERIFY(item);
    m_frame->queryView()->setCurrentItem(item);
    idle();
    QCOMPARE(m_store->doc.ResultsSet().Qid(), older);
    QCOMPARE(panel->heading()->text(), QStringLiteral("No run of this query this session."));
    QVERIFY(!panel->table()->isVisible());
    QVERIFY(!m_frame->engineSummary()->isVisible());
    QCOMPARE(m_frame->engineStatus().engineCount(), 0);
    // Its hit-count line counts the engines the query asks (none stored here), and names no
    // failures it cannot know.
    QCOMPARE(m_frame->resultsView()->summaryLine()->text(), QStringLiteral("Hit 1 of 1"));

    // Back to the query that ran: its list again.
    item = treeItem(QStringLiteral("Apples"));
    QVERIFY(item);
    m_frame->queryView()->setCurrentItem(item);
    idle();
    QCOMPARE(m_frame->engineStatus().shownQueryId(), ran);
    QVERIFY(panel->table()->isVisible());
    QCOMPARE(panel->table()->model()->rowCount(), 1);
    QCOMPARE(m_frame->engineSummary()->text(), QStringLiteral("1 engine: 1 answered"));
    QCOMPARE(m_frame->resultsView()->summaryLine()->text(), QStringLiteral("No hits from 1 engine"));
}

void TestFrameEngineStatus::summaryButtonTogglesPanel()
{
    startRun({QStringLiteral("Excite")});
    idle();
    QToolButton *summary = m_frame->engineSummary();
    QVERIFY(summary->isVisible());
    // Sized by its text, as every button.
    QVERIFY(summary->width() >= summary->sizeHint().width());
    QTest::mouseClick(summary, Qt::LeftButton);
    QVERIFY(m_frame->engineStatusPanel()->isVisible());
    QVERIFY(m_frame->action(ID_VIEW_ENGINE_STATUS)->isChecked());
    QTest::mouseClick(summary, Qt::LeftButton);
    QVERIFY(!m_frame->engineStatusPanel()->isVisible());
    m_frame->OnStop();
    QVERIFY(!m_monitor->IsRunning());
    QCOMPARE(m_frame->engineStatus().row(0).state, CEngineRunStatus::State::Stopped);
}

QTEST_MAIN(TestFrameEngineStatus)
#include "tst_frame_engine_status.moc"
