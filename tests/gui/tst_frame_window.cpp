// The main window as a desktop window: a first start sized from the screen, the size, place,
// bars, panel, splitter and tree arrangement it was left with coming back, and what assistive
// tools and the Tab key find on it.
#include "FrameTestSupport.h"

#include "TrawlexIds.h"
#include "frame/CEngineStatusPanel.h"
#include "frame/CMainFrame.h"
#include "frame/CTrawlexToolBar.h"
#include "run/CRunMonitor.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"

#include <QAccessible>
#include <QApplication>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QTest>
#include <QToolButton>

using namespace TrawlexIds;

class TestFrameWindow final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();

    void firstStartSizesToScreen();
    void leftWindowComesBack();
    void damagedStoredStateFallsBack();
    void toolbarButtonsHaveNames();
    void tabOrderFollowsTheScreen();
    void narrowWindowStillReachesSearchField();

private:
    std::unique_ptr<CMainFrame> makeFrame();

    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CRunMonitor> m_monitor;
};

void TestFrameWindow::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    QVERIFY(m_store->open());
    CTrawlexDoc &doc = m_store->doc;
    m_monitor = std::make_unique<CRunMonitor>(doc, doc.Query(), doc.ResultsSet(), m_store->prompt);
}

void TestFrameWindow::cleanup()
{
    m_monitor.reset();
    m_store.reset();
}

std::unique_ptr<CMainFrame> TestFrameWindow::makeFrame()
{
    auto frame = std::make_unique<CMainFrame>(m_store->doc, *m_store->settings, *m_monitor, m_store->prompt);
    frame->show();
    if (!QTest::qWaitForWindowExposed(frame.get()))
        return nullptr;
    // The tree's first filling, and a stored arrangement after it.
    QCoreApplication::sendPostedEvents();
    return frame;
}

void TestFrameWindow::firstStartSizesToScreen()
{
    auto frame = makeFrame();
    QVERIFY(frame);
    const QRect free = frame->screen()->availableGeometry();
    // Four fifths of the screen's free area, and wide enough for the toolbar row where the
    // screen allows, so the search field does not start in the overflow menu.
    QCOMPARE(frame->height(), free.height() * 4 / 5);
    QVERIFY(frame->width() >= free.width() * 4 / 5);
    QVERIFY(frame->width() <= free.width());
    const int topRow = frame->toolBar()->sizeHint().width()
                       + frame->findChild<QToolBar *>(QStringLiteral("searchBar"))->sizeHint().width();
    QVERIFY(frame->width() >= topRow || frame->width() == free.width());
    // Centred on the screen's free area, give or take a border.
    QVERIFY2(qAbs(frame->frameGeometry().center().x() - free.center().x()) <= 4, qPrintable(QString::number(frame->x())));
    QVERIFY2(qAbs(frame->frameGeometry().center().y() - free.center().y()) <= 4, qPrintable(QString::number(frame->y())));
    QCOMPARE(frame->splitter()->sizes().first(), 280);
    // The engine panel waits to be asked for.
    QVERIFY(!frame->engineStatusPanel()->isVisible());
    QVERIFY(!frame->action(ID_VIEW_ENGINE_STATUS)->isChecked());
}

void TestFrameWindow::leftWindowComesBack()
{
    m_store->addQuery(QStringLiteral("fruit"), {QStringLiteral("apple")});
    {
        auto frame = makeFrame();
        QVERIFY(frame);
        frame->resize(720, 530);
        frame->move(40, 30);
        frame->splitter()->setSizes({190, 530});
        frame->action(ID_VIEW_KEYWORD)->trigger();
        frame->action(ID_VIEW_ENGINE_STATUS)->trigger();
        QVERIFY(frame->engineStatusPanel()->isVisible());
        QVERIFY(frame->close());
    }
    // Nothing of the user's own settings was touched: it all went to the test's file.
    QSettings stored(m_store->dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Version 1.12/TreeView")).toInt(), int(ID_VIEW_KEYWORD));
    QVERIFY(!stored.value(QStringLiteral("Version 1.12/WindowGeometry")).toByteArray().isEmpty());

    auto frame = makeFrame();
    QVERIFY(frame);
    QCOMPARE(frame->size(), QSize(720, 530));
    QCOMPARE(frame->pos(), QPoint(40, 30));
    QCOMPARE(frame->splitter()->sizes().first(), 190);
    QCOMPARE(frame->queryView()->m_nViewMode, int(ID_VIEW_KEYWORD));
    QCOMPARE(frame->toolBar()->viewLabel()->text(), QStringLiteral("Current View:  KeyWord"));
    QVERIFY(frame->queryView()->findItems(QStringLiteral("apple"), Qt::MatchExactly).size() == 1);
    QVERIFY(frame->engineStatusPanel()->isVisible());
    QVERIFY(frame->action(ID_VIEW_ENGINE_STATUS)->isChecked());

    // Hidden bars stay hidden, and the Toolbar command knows it.
    frame->action(ID_VIEW_TOOLBAR)->trigger();
    QVERIFY(!frame->toolBar()->isVisible());
    frame->SaveWindowState();
    frame.reset();
    frame = makeFrame();
    QVERIFY(frame);
    QVERIFY(!frame->toolBar()->isVisible());
    QVERIFY(!frame->action(ID_VIEW_TOOLBAR)->isChecked());
}

void TestFrameWindow::damagedStoredStateFallsBack()
{
    CTrawlexSettings::WindowState junk;
    junk.geometry = QByteArray("not a geometry at all");
    junk.layout = QByteArray("\x01\x02\x03", 3);
    junk.splitter = QByteArray("??");
    junk.treeView = 4242;
    m_store->settings->saveWindowState(junk);

    auto frame = makeFrame();
    QVERIFY(frame);
    const QRect free = frame->screen()->availableGeometry();
    // The window manager's frame may add a border's width on each side.
    QVERIFY(free.adjusted(-4, -4, 4, 4).contains(frame->geometry()));
    QVERIFY(frame->width() >= free.width() * 3 / 4);
    QCOMPARE(frame->splitter()->sizes().first(), 280);
    QCOMPARE(frame->queryView()->m_nViewMode, int(ID_VIEW_NAME));
    QVERIFY(frame->toolBar()->isVisible());
}

void TestFrameWindow::toolbarButtonsHaveNames()
{
    auto frame = makeFrame();
    QVERIFY(frame);
    const QList<std::pair<int, QString>> expected = {
        {ID_VIEW_NAME, "Name View"}, {ID_VIEW_SITE, "Site View"}, {ID_VIEW_KEYWORD, "Keyword View"},
        {ID_VIEW_TIME, "Time View"}, {ID_FILE_NEW, "New Query"}, {ID_FILE_OPEN, "Open Query"},
        {ID_FILE_UPDATE, "Update Query"}, {ID_STOP, "Stop"}, {ID_HELP_FAQ, "Help"}};
    for (const auto &[id, name] : expected) {
        QWidget *button = frame->toolBar()->widgetForAction(frame->action(id));
        QVERIFY(button);
        // What a screen reader reads: the name, and the status text as the description.
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(button);
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), name);
        QCOMPARE(face->text(QAccessible::Description), frame->action(id)->statusTip());
    }
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(frame->toolBar()->searchField());
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Search the web"));
    QCOMPARE(QAccessible::queryAccessibleInterface(frame->toolBar()->viewLabel())->text(QAccessible::Name),
             QStringLiteral("Current view"));
    QVERIFY(!frame->engineSummary()->accessibleName().isEmpty());
    QVERIFY(!frame->engineStatusPanel()->table()->accessibleName().isEmpty());
    QCOMPARE(CTrawlexToolBar::accessibleText(frame->action(ID_FILE_NEW)), QStringLiteral("New Query"));
}

void TestFrameWindow::tabOrderFollowsTheScreen()
{
    m_store->addQuery(QStringLiteral("fruit"), {QStringLiteral("apple")});
    auto frame = makeFrame();
    QVERIFY(frame);
    frame->resize(1100, 700);
    frame->action(ID_VIEW_ENGINE_STATUS)->trigger();
    QTRY_VERIFY(frame->toolBar()->searchField()->isVisible());

    // Which part of the window a widget belongs to, in the order a reader meets them.
    const QList<QWidget *> regions = {frame->toolBar()->searchField(), frame->queryView(), frame->resultsView(),
                                      frame->engineStatusPanel()};
    auto regionOf = [&regions](QWidget *w) {
        for (int i = 0; i < regions.size(); ++i) {
            if (w == regions.at(i) || regions.at(i)->isAncestorOf(w))
                return i;
        }
        return -1;
    };
    // The chain as Tab walks it; the engine table takes focus once a run fills it.
    QList<int> visited;
    QWidget *w = frame->toolBar()->searchField();
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            const int region = regionOf(w);
            if (region >= 0 && (visited.isEmpty() || visited.last() != region))
                visited << region;
        }
        w = w->nextInFocusChain();
    } while (w != frame->toolBar()->searchField());
    // Each part once, top row first, then left to right, then the panel below.
    QCOMPARE(visited, (QList<int>{0, 1, 2, 3}));

    // And so Tab goes from the field to the tree.
    QApplication::setActiveWindow(frame.get());
    QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    frame->toolBar()->searchField()->setFocus();
    QTest::keyClick(frame->toolBar()->searchField(), Qt::Key_Tab);
    QTRY_VERIFY(frame->queryView()->hasFocus());
}

void TestFrameWindow::narrowWindowStillReachesSearchField()
{
    auto frame = makeFrame();
    QVERIFY(frame);
    frame->resize(600, 500);
    QApplication::setActiveWindow(frame.get());
    QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    QLineEdit *field = frame->toolBar()->searchField();
    const auto fieldTop = [&] { return field->parentWidget()->mapTo(frame.get(), QPoint(0, 0)).y(); };
    const auto toolBarTop = [&] { return frame->toolBar()->mapTo(frame.get(), QPoint(0, 0)).y(); };
    // Too narrow for the toolbar and the field side by side: the field has a row of its own,
    // in sight and not in the toolbar's overflow, and Ctrl+L reaches it.
    QTRY_VERIFY(field->isVisible());
    QTRY_VERIFY(fieldTop() > toolBarTop());
    QTest::keySequence(frame.get(), QKeySequence(Qt::CTRL | Qt::Key_L));
    QTRY_VERIFY(field->hasFocus());
    // Wide again: back beside the toolbar.
    frame->resize(1600, 500);
    QTRY_COMPARE(fieldTop(), toolBarTop());
    QVERIFY(field->isVisible());
}

QTEST_MAIN(TestFrameWindow)
#include "tst_frame_window.moc"
