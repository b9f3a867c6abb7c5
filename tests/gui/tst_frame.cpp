// The main frame: its menus, accelerators, toolbar and status bar, the command states during
// a run, the view switch, Delete, Help, and what happens when a run cannot start.
#include "FrameTestSupport.h"

#include "TrawlexIds.h"
#include "app/InternetSession.h"
#include "frame/CMainFrame.h"
#include "frame/CTrawlexToolBar.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CRunMonitor.h"
#include "sheet/CTrawlexPropertyPageName.h"
#include "sheet/CTrawlexPropertyPageWhere.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "store/CMainQueryTable.h"
#include "store/CTrawlexDatabase.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace TrawlexIds;

using FrameTest::idle;

// Catches what Help hands to the desktop.
class UrlCatcher final : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestFrame final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void menus_data();
    void menus();
    void accelerators_data();
    void accelerators();
    void toolbarSlots();
    void statusBarPanes();
    void commandsDuringRun_data();
    void commandsDuringRun();
    void viewSwitch_data();
    void viewSwitch();
    void sameViewKeepsTree();
    void deleteQuery();
    void deleteRefusedOnGroupItem();
    void helpOpensPage();
    void runThatCannotStartLeavesCommandsUsable();
    void databaseErrorReportedOnce();
    void nextPaneMovesFocus();

private:
    void buildFrame();
    QTreeWidgetItem *treeItem(const QString &text) const;

    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CRunMonitor> m_monitor;
    std::unique_ptr<CMainFrame> m_frame;
};

void TestFrame::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
}

void TestFrame::buildFrame()
{
    CTrawlexDoc &doc = m_store->doc;
    m_monitor = std::make_unique<CRunMonitor>(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
    m_frame = std::make_unique<CMainFrame>(doc, *m_store->settings, *m_monitor, m_store->prompt);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    // The tree's initialise event.
    QCoreApplication::sendPostedEvents();
}

void TestFrame::cleanup()
{
    m_frame.reset();
    m_monitor.reset();
    m_store.reset();
}

QTreeWidgetItem *TestFrame::treeItem(const QString &text) const
{
    const auto items = m_frame->queryView()->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return items.isEmpty() ? nullptr : items.first();
}

void TestFrame::menus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("File") << "&File" << QList<int>{57600, 57601, 57610, 32850, 114, 57665}
                          << QStringList{"&New Query\tCtrl+N", "&Open Query\tCtrl+O", "&Update Query", "&Export...",
                                         "&Preferences", "E&xit"};
    QTest::newRow("Edit") << "&Edit" << QList<int>{110} << QStringList{"D&elete\tDel"};
    QTest::newRow("View") << "&View" << QList<int>{59392, 59400, 32831, 32829, 32833, 32832}
                          << QStringList{"&Toolbar", "&Engine Status", "&Name View", "&Site View", "&Keyword View",
                                         "&Time View"};
    QTest::newRow("Help") << "&Help" << QList<int>{32844, 57664, 32845, 32846}
                          << QStringList{"&Help", "&About Trawlex...", "&Internet Connection", "&Check Version"};
}

void TestFrame::menus()
{
    QFETCH(QString, menu);
    QFETCH(QList<int>, ids);
    QFETCH(QStringList, texts);

    buildFrame();
    QMenu *found = nullptr;
    for (QAction *top : m_frame->menuBar()->actions()) {
        if (top->text() == menu)
            found = top->menu();
    }
    QVERIFY(found);
    QList<int> shownIds;
    QStringList shownTexts;
    for (QAction *a : found->actions()) {
        if (a->isSeparator())
            continue;
        shownIds << a->objectName().toInt();
        shownTexts << a->text();
        QCOMPARE(a, m_frame->action(a->objectName().toInt()));
    }
    QCOMPARE(shownIds, ids);
    QCOMPARE(shownTexts, texts);
}

void TestFrame::accelerators_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<QKeySequence>>("keys");

    QTest::newRow("New") << 57600 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_N)};
    QTest::newRow("Open") << 57601 << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_O)};
    QTest::newRow("Delete") << 110 << QList<QKeySequence>{QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_D)};
    QTest::newRow("Next pane") << int(ID_NEXT_PANE) << QList<QKeySequence>{QKeySequence(Qt::Key_F6)};
    QTest::newRow("Previous pane") << int(ID_PREV_PANE) << QList<QKeySequence>{QKeySequence(Qt::SHIFT | Qt::Key_F6)};
    QTest::newRow("Update has none") << 57610 << QList<QKeySequence>{};
}

void TestFrame::accelerators()
{
    QFETCH(int, id);
    QFETCH(QList<QKeySequence>, keys);

    buildFrame();
    QAction *a = m_frame->action(id);
    QVERIFY(a);
    QCOMPARE(a->shortcuts(), keys);
    // Accelerators work from anywhere in the window.
    if (!keys.isEmpty())
        QVERIFY(a->shortcutContext() == Qt::WindowShortcut);
}

void TestFrame::toolbarSlots()
{
    buildFrame();
    CTrawlexToolBar *bar = m_frame->toolBar();
    const QList<QAction *> actions = bar->actions();
    QCOMPARE(actions.size(), 12);
    QCOMPARE(bar->widgetForAction(actions.at(0)), static_cast<QWidget *>(bar->viewLabel()));
    QList<int> ids;
    for (int i = 1; i < actions.size(); ++i)
        ids << (actions.at(i)->isSeparator() ? 0 : actions.at(i)->objectName().toInt());
    QCOMPARE(ids, (QList<int>{32831, 32829, 32833, 32832, 57600, 57601, 57610, 0, 112, 0, 32844}));
    for (int id : {32831, 32829, 32833, 32832, 57600, 57601, 57610, 112, 32844}) {
        QWidget *button = bar->widgetForAction(m_frame->action(id));
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(44, 35));
        QVERIFY2(!m_frame->action(id)->icon().pixmap(36, 28).isNull(), qPrintable(QString::number(id)));
        QVERIFY(!m_frame->action(id)->toolTip().isEmpty());
    }
    QCOMPARE(m_frame->action(112)->statusTip(), QStringLiteral("Stop the Query in progress"));
    QCOMPARE(m_frame->action(112)->toolTip(), QStringLiteral("Stop"));
    QCOMPARE(bar->viewLabel()->text(), QStringLiteral("Current View:  Name"));
    QCOMPARE(bar->viewLabel()->objectName(), QStringLiteral("109"));
    QCOMPARE(bar->viewLabel()->font().family(), QStringLiteral("Times New Roman"));
    QCOMPARE(bar->viewLabel()->width(), 28 * QFontMetrics(bar->viewLabel()->font()).averageCharWidth());
    // Stop is off until a run starts.
    QVERIFY(!m_frame->action(112)->isEnabled());
    // The tree pane starts 280 pixels wide and the results view takes the rest.
    QCOMPARE(m_frame->splitter()->count(), 2);
    QCOMPARE(m_frame->splitter()->sizes().first(), 280);
    QCOMPARE(m_frame->splitter()->widget(0), static_cast<QWidget *>(m_frame->queryView()));
}

void TestFrame::statusBarPanes()
{
    buildFrame();
    QCOMPARE(m_frame->messagePane()->text(), QStringLiteral("Ready"));
    // No keyboard lock panes: they could not show the real states. Before any run the
    // engine summary has nothing to say and stays out of sight.
    for (QLabel *label : m_frame->statusBar()->findChildren<QLabel *>()) {
        for (const char *lock : {"CAP", "NUM", "SCRL"})
            QVERIFY2(label->text() != QLatin1String(lock), lock);
    }
    QVERIFY(m_frame->engineSummary());
    QVERIFY(!m_frame->engineSummary()->isVisible());

    // Fly-by texts reach pane 0 only while no run shows its progress there.
    QStatusTipEvent tip(QStringLiteral("fly-by"));
    QCoreApplication::sendEvent(m_frame.get(), &tip);
    QCOMPARE(m_frame->statusBar()->currentMessage(), QStringLiteral("fly-by"));
    m_frame->statusBar()->clearMessage();
    m_frame->toolBar()->setFlyBy(false);
    QCoreApplication::sendEvent(m_frame.get(), &tip);
    QVERIFY(m_frame->statusBar()->currentMessage().isEmpty());
}

void TestFrame::commandsDuringRun_data()
{
    QTest::addColumn<bool>("running");
    QTest::newRow("idle") << false;
    QTest::newRow("running") << true;
}

void TestFrame::commandsDuringRun()
{
    QFETCH(bool, running);

    buildFrame();
    m_store->doc.ResultsSet().SetRunning(running);
    // The states follow by themselves once the event loop is idle.
    idle();
    for (int id : m_frame->commandIds()) {
        QAction *a = m_frame->action(id);
        // The engine list is most wanted during a run, so its toggle stays usable then.
        const bool outside = id == ID_APP_ABOUT || id == ID_APP_EXIT || id == ID_VIEW_TOOLBAR
                             || id == ID_NEXT_PANE || id == ID_PREV_PANE || id == ID_VIEW_ENGINE_STATUS;
        // Export also needs a stored query on show, and this database holds none.
        const bool expected = outside ? true : (id == ID_STOP ? running : (id == ID_FILE_EXPORT ? false : !running));
        QVERIFY2(a->isEnabled() == expected, qPrintable(QStringLiteral("%1 %2").arg(id).arg(a->text())));
    }
    for (int id : {32831, 32829, 32833, 32832}) {
        QVERIFY(m_frame->action(id)->isCheckable());
        QCOMPARE(m_frame->action(id)->isChecked(), id == 32831);
    }
    // A disabled command does nothing even when its key is pressed.
    if (running) {
        m_frame->action(ID_EDIT_DELETE)->trigger();
        QVERIFY(m_store->prompt.messages.isEmpty());
    }
}

void TestFrame::viewSwitch_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("label");
    QTest::newRow("site") << 32829 << "Current View:  Site";
    QTest::newRow("keyword") << 32833 << "Current View:  KeyWord";
    QTest::newRow("time") << 32832 << "Current View:  Time";
    QTest::newRow("name") << 32831 << "Current View:  Name";
}

void TestFrame::viewSwitch()
{
    QFETCH(int, id);
    QFETCH(QString, label);

    const int qid = m_store->addQuery(QStringLiteral("fruit"), {QStringLiteral("Apple")});
    m_store->addResult(qid, QStringLiteral("http://www.orchard.com/apples.html"), QStringLiteral("Apples"));
    buildFrame();
    if (id == ID_VIEW_NAME)
        m_frame->action(ID_VIEW_SITE)->trigger();
    m_frame->action(id)->trigger();
    QCOMPARE(m_frame->toolBar()->viewLabel()->text(), label);
    QCOMPARE(m_frame->queryView()->m_nViewMode, id);
    idle();
    for (int view : {32831, 32829, 32833, 32832})
        QCOMPARE(m_frame->action(view)->isChecked(), view == id);
    const QString topText = id == ID_VIEW_SITE ? QStringLiteral("www.orchard.com")
                            : id == ID_VIEW_KEYWORD ? QStringLiteral("apple")
                            : id == ID_VIEW_NAME ? QStringLiteral("fruit") : QString();
    if (!topText.isEmpty())
        QVERIFY2(treeItem(topText), qPrintable(topText));
}

void TestFrame::sameViewKeepsTree()
{
    m_store->addQuery(QStringLiteral("alpha"));
    m_store->addQuery(QStringLiteral("beta"));
    buildFrame();
    QTreeWidgetItem *beta = treeItem(QStringLiteral("beta"));
    QVERIFY(beta);
    m_frame->queryView()->setCurrentItem(beta);
    m_frame->action(ID_VIEW_NAME)->trigger();
    // Not rebuilt: the very same item is still there and still selected.
    QCOMPARE(m_frame->queryView()->currentItem(), beta);
    QVERIFY(m_frame->action(ID_VIEW_NAME)->isChecked());
}

void TestFrame::deleteQuery()
{
    const int keep = m_store->addQuery(QStringLiteral("keep"));
    const int gone = m_store->addQuery(QStringLiteral("gone"), {QStringLiteral("word")});
    buildFrame();
    m_frame->queryView()->setCurrentItem(treeItem(QStringLiteral("gone")));
    QCOMPARE(m_frame->GetSelectedQueryId(), gone);
    m_frame->action(ID_EDIT_DELETE)->trigger();
    // No question, no message; the row is gone and the tree rebuilt in the same view.
    QVERIFY(m_store->prompt.questions.isEmpty());
    QVERIFY(m_store->prompt.messages.isEmpty());
    QVERIFY(m_store->doc.MainQueries().queryName(gone).isNull());
    QCOMPARE(m_store->doc.MainQueries().queryName(keep), QStringLiteral("keep"));
    QVERIFY(!treeItem(QStringLiteral("gone")));
    QVERIFY(treeItem(QStringLiteral("keep")));
    QCOMPARE(m_frame->toolBar()->viewLabel()->text(), QStringLiteral("Current View:  Name"));
}

void TestFrame::deleteRefusedOnGroupItem()
{
    const int qid = m_store->addQuery(QStringLiteral("fruit"), {QStringLiteral("apple")});
    buildFrame();
    m_frame->action(ID_VIEW_KEYWORD)->trigger();
    QTreeWidgetItem *keyword = treeItem(QStringLiteral("apple"));
    QVERIFY(keyword);
    m_frame->queryView()->setCurrentItem(keyword);
    m_frame->action(ID_EDIT_DELETE)->trigger();
    QCOMPARE(m_store->prompt.messages, QStringList{"Error!  Delete only valid on query names!"});
    QCOMPARE(m_store->doc.MainQueries().queryName(qid), QStringLiteral("fruit"));

    // Without a selection nothing happens at all.
    m_store->prompt.clear();
    m_frame->queryView()->setCurrentItem(nullptr);
    m_frame->queryView()->clearSelection();
    m_frame->action(ID_EDIT_DELETE)->trigger();
    QVERIFY(m_store->prompt.messages.isEmpty());
}

void TestFrame::helpOpensPage()
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    buildFrame();

    // The page in the current directory comes first.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_store->dir.path()));
    QFile page(m_store->dir.filePath(QStringLiteral("faqtrawlex.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<HTML>local help</HTML>");
    page.close();
    m_frame->action(ID_HELP_FAQ)->trigger();
    QCOMPARE(catcher.urls.size(), 1);
    QCOMPARE(QFileInfo(catcher.urls.first().toLocalFile()).canonicalFilePath(), QFileInfo(page).canonicalFilePath());

    // Without one, the help page still opens, and it is the program's own.
    page.remove();
    m_frame->action(ID_HELP_FAQ)->trigger();
    QCOMPARE(catcher.urls.size(), 2);
    QFile shown(catcher.urls.last().toLocalFile());
    QVERIFY(shown.open(QIODevice::ReadOnly));
    QVERIFY(shown.readAll().contains("Trawlex Help"));
    QDir::setCurrent(previous);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    m_frame.reset();
}

void TestFrame::runThatCannotStartLeavesCommandsUsable()
{
    if (IsDialUpLinkUp())
        QSKIP("this machine has a dial-up link up");
    buildFrame();
    // Dial-up chosen and no link: the run is refused after the sheet closes.
    m_store->settings->DirectConnection = false;
    QTimer::singleShot(0, this, [this] {
        CTrawlexPropertySheetQuery &sheet = m_frame->querySheet();
        sheet.namePage().nameEdit()->setText(QStringLiteral("dial"));
        sheet.wherePage().checkBox(QStringLiteral("Excite"))->setChecked(true);
        sheet.buttons()->button(QDialogButtonBox::Ok)->click();
    });
    m_frame->action(ID_FILE_NEW)->trigger();
    QCOMPARE(m_store->prompt.messages, QStringList{"Error!  Internet session must be active to do query."});
    QVERIFY(!m_store->doc.ResultsSet().IsRunning());
    idle();
    QVERIFY(m_frame->action(ID_FILE_NEW)->isEnabled());
    QVERIFY(!m_frame->action(ID_STOP)->isEnabled());

    // An update that cannot start puts the stored query back on show.
    const int qid = m_store->addQuery(QStringLiteral("stored"), {QStringLiteral("word")});
    m_frame->SwitchView(ID_VIEW_NAME);
    m_frame->queryView()->setCurrentItem(treeItem(QStringLiteral("stored")));
    QCOMPARE(m_store->doc.ResultsSet().Qid(), qid);
    m_store->prompt.clear();
    m_frame->action(ID_FILE_UPDATE)->trigger();
    QCOMPARE(m_store->prompt.messages, QStringList{"Error!  Internet session must be active to do query."});
    QCOMPARE(m_store->doc.ResultsSet().Qid(), qid);
    QCOMPARE(m_store->doc.UpdateQID, -1);
    QVERIFY(!m_store->doc.ResultsSet().IsRunning());
}

void TestFrame::databaseErrorReportedOnce()
{
    const int qid = m_store->addQuery(QStringLiteral("stored"), {QStringLiteral("word")});
    buildFrame();
    m_frame->queryView()->setCurrentItem(treeItem(QStringLiteral("stored")));
    QCOMPARE(m_frame->GetSelectedQueryId(), qid);
    m_store->prompt.clear();
    // Open Query on a database that lost a table.
    m_store->doc.Database().run(QStringLiteral("DROP TABLE [Query Content]"), {}, QStringLiteral("test"));
    m_frame->action(ID_FILE_OPEN)->trigger();
    QCOMPARE(m_store->prompt.messages.size(), 1);
    QVERIFY(m_store->prompt.messages.first().startsWith(QLatin1String("DAO error ")));
    QVERIFY(!m_frame->querySheet().isVisible());
    idle();
    QVERIFY(m_frame->action(ID_FILE_NEW)->isEnabled());
    QVERIFY(m_frame->isVisible());
}

void TestFrame::nextPaneMovesFocus()
{
    buildFrame();
    QApplication::setActiveWindow(m_frame.get());
    QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    m_frame->queryView()->setFocus();
    QVERIFY(m_frame->queryView()->hasFocus());
    m_frame->action(ID_NEXT_PANE)->trigger();
    QTRY_VERIFY(m_frame->resultsView()->isAncestorOf(QApplication::focusWidget())
                || m_frame->resultsView() == QApplication::focusWidget());
    m_frame->action(ID_PREV_PANE)->trigger();
    QTRY_VERIFY(m_frame->queryView()->hasFocus());
    // Both ways round: F6 from the results comes back to the tree.
    m_frame->action(ID_NEXT_PANE)->trigger();
    m_frame->action(ID_NEXT_PANE)->trigger();
    QTRY_VERIFY(m_frame->queryView()->hasFocus());
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
