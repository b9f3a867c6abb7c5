#include "frame/CMainFrame.h"

#include "TrawlexIds.h"
#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "engines/CEnginesDlg.h"
#include "frame/CEngineStatusPanel.h"
#include "frame/CTrawlexToolBar.h"
#include "query/CTrawlexQuery.h"
#include "query/CTrawlexQueryResults.h"
#include "run/CEngineRunStatus.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "run/RunTexts.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "views/CTrawlexQueryResultsView.h"
#include "views/CTrawlexQueryView.h"
#include "views/CQueryTreeModel.h"
#include "views/CResultsPageModel.h"
#include "store/CTrawlexDoc.h"
#include "store/CStoredQueryDefinition.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using namespace TrawlexIds;

// The images and the help page live in the library; a static library's resources must be
// pulled in by name or the linker leaves them out.
static void initFrameResources()
{
    Q_INIT_RESOURCE(trawlex_gui);
}

namespace {
bool isViewCommand(int id)
{
    return id == ID_VIEW_NAME || id == ID_VIEW_SITE || id == ID_VIEW_KEYWORD || id == ID_VIEW_TIME;
}

// Stored window layouts carry this; a later change of the bars can refuse older ones.
constexpr int kWindowLayoutVersion = 1;
// A first start takes this share of the screen's free area.
constexpr int kFirstStartPercent = 80;
} // namespace

CMainFrame::CMainFrame(CTrawlexDoc &doc, CTrawlexSettings &settings, CRunMonitor &monitor,
                       IUserPrompt &prompt, QWidget *parent)
    : QMainWindow(parent)
    , m_doc(doc)
    , m_settings(settings)
    , m_query(doc.Query())
    , m_results(doc.ResultsSet())
    , m_monitor(monitor)
    , m_prompt(prompt)
    , m_commands(std::make_unique<CQueryCommands>(doc, m_query, m_results, prompt))
{
    m_commands->setRunMonitor(&m_monitor);
    // Settings changed since the last run take effect with the next one.
    m_commands->setLimits([this] { return RunLimits(); });
    initFrameResources();
    setObjectName(QString::number(IDR_MAINFRAME));
    // The title is the application's alone: there is no document file name to add.
    setWindowTitle(QStringLiteral("Trawlex"));
    setWindowIcon(QIcon(QStringLiteral(":/trawlex/trawlex.png")));

    createActions();
    createStatusPanel();
    createMenus();
    createToolBar();
    createStatusBar();

    createPanes();
    arrangeTabOrder();

    m_pSheet = new CTrawlexPropertySheetQuery(this);
    m_pSheet->setUserPrompt(&m_prompt);
    m_pSheet->setCommands(m_commands.get());
    connectMonitor();
    m_monitor.SetLimits(RunLimits());

    // The command states follow the run as the event loop goes idle, wherever the change came from.
    // So does the engine list, which follows the query on show however it came to be shown.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread())) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMainFrame::OnUpdateCommandUI);
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CMainFrame::FollowQueryOnShow);
    }
    OnUpdateCommandUI();

    // The tree fills itself by name and selects the first query once the window exists.
    QCoreApplication::postEvent(m_pTreeView, new QEvent(CTrawlexQueryView::kInitialiseEvent));
    RestoreWindowState();
}

void CMainFrame::createStatusPanel()
{
    m_pEngineStatus = new CEngineRunStatus(this);
    m_pEngineStatus->watch(m_monitor, m_results);
    m_pStatusPanel = new CEngineStatusPanel(*m_pEngineStatus, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_pStatusPanel);
    // Out of the way until asked for; the status bar sums it up meanwhile.
    m_pStatusPanel->hide();

    QAction *toggle = m_pStatusPanel->toggleViewAction();
    toggle->setText(QStringLiteral("&Engine Status"));
    toggle->setObjectName(QString::number(ID_VIEW_ENGINE_STATUS));
    toggle->setData(int(ID_VIEW_ENGINE_STATUS));
    toggle->setStatusTip(QStringLiteral("Show or hide how each engine of the run on show did"));
    m_actions.insert(ID_VIEW_ENGINE_STATUS, toggle);
}

void CMainFrame::arrangeTabOrder()
{
    // As the window reads: the search field on the top row, then the tree, then the results,
    // then the engine list below them.
    QWidget::setTabOrder(m_pToolBar->searchField(), m_pTreeView);
    QWidget::setTabOrder(m_pTreeView, m_pResultsView);
    QWidget::setTabOrder(m_pResultsView, m_pStatusPanel->table());
}

void CMainFrame::SizeToScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    QSize size(free.width() * kFirstStartPercent / 100, free.height() * kFirstStartPercent / 100);
    // Wide enough for the toolbar and the search field side by side, where the screen allows:
    // otherwise the field starts hidden behind the toolbar's overflow button.
    int topRow = m_pToolBar->sizeHint().width();
    if (const auto *searchBar = findChild<QToolBar *>(QStringLiteral("searchBar")))
        topRow += searchBar->sizeHint().width();
    size.setWidth(std::max(size.width(), topRow));
    size = size.expandedTo(minimumSizeHint()).boundedTo(free.size());
    resize(size);
    move(free.x() + (free.width() - size.width()) / 2, free.y() + (free.height() - size.height()) / 2);
}

void CMainFrame::RestoreWindowState()
{
    const CTrawlexSettings::WindowState state = m_settings.windowState();
    if (state.geometry.isEmpty() || !restoreGeometry(state.geometry))
        SizeToScreen();
    if (!state.layout.isEmpty() && restoreState(state.layout, kWindowLayoutVersion)) {
        // Bars hidden before the window is first shown send no visibility change.
        action(ID_VIEW_TOOLBAR)->setChecked(!m_pToolBar->isHidden());
    }
    if (state.splitter.isEmpty() || !m_pSplitter->restoreState(state.splitter))
        m_pSplitter->setSizes({280, std::max(1, width() - 280)});
    // After the tree's own first filling, which is by name.
    if (isViewCommand(state.treeView) && state.treeView != ID_VIEW_NAME) {
        const int id = state.treeView;
        QMetaObject::invokeMethod(this, [this, id] { SwitchView(id); }, Qt::QueuedConnection);
    }
}

void CMainFrame::SaveWindowState()
{
    CTrawlexSettings::WindowState state;
    state.geometry = saveGeometry();
    state.layout = saveState(kWindowLayoutVersion);
    state.splitter = m_pSplitter->saveState();
    state.treeView = ViewMode();
    m_settings.saveWindowState(state);
}

void CMainFrame::FollowQueryOnShow()
{
    // Cheap when nothing changed; the list ignores it during a run.
    m_pEngineStatus->showQuery(m_commands->shownQueryId());
}

void CMainFrame::createPanes()
{
    m_pSplitter = new QSplitter(Qt::Horizontal, this);
    m_pSplitter->setObjectName(QString::number(AFX_IDW_PANE_FIRST));
    m_pSplitter->setChildrenCollapsible(false);
    setCentralWidget(m_pSplitter);

    m_pTreeView = new CTrawlexQueryView(m_pSplitter);
    m_pTreeView->setObjectName(QString::number(IDC_QUERY_TREE));
    m_pResultsView = new CTrawlexQueryResultsView(m_pSplitter);
    m_pResultsView->setObjectName(QString::number(IDC_RESULTS_VIEW));
    m_pSplitter->addWidget(m_pTreeView);
    m_pSplitter->addWidget(m_pResultsView);
    m_pSplitter->setStretchFactor(0, 0);
    m_pSplitter->setStretchFactor(1, 1);
    m_pTreeView->resize(280, 280);

    m_pPageModel = std::make_unique<CResultsPageModel>(m_doc, &m_settings, &m_prompt);
    m_pTreeModel = std::make_unique<CQueryTreeModel>(&m_doc, &m_prompt);
    m_pTreeView->setTreeModel(m_pTreeModel.get());
    m_pTreeView->setCommands(m_commands.get());
    m_pTreeView->setResultsView(m_pResultsView);
    m_pResultsView->setPageModel(m_pPageModel.get());
    m_pResultsView->setPrompt(&m_prompt);
    m_pResultsView->setCommands(m_commands.get());
    m_monitor.SetPageState(m_pResultsView);
    connect(m_pTreeView, &CTrawlexQueryView::switchViewRequested, this, &CMainFrame::SwitchView);
}

CMainFrame::~CMainFrame()
{
    // The monitor outlives the window; it must not keep the page index of a view that is gone.
    m_monitor.SetPageState(nullptr);
}

QAction *CMainFrame::action(int id) const
{
    return m_actions.value(id, nullptr);
}

QList<int> CMainFrame::commandIds() const
{
    QList<int> ids = m_actions.keys();
    std::sort(ids.begin(), ids.end());
    return ids;
}

QAction *CMainFrame::addCommand(int id, const QString &text, const QString &statusTip, const QString &toolTip)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QString::number(id));
    action->setData(id);
    if (!statusTip.isEmpty())
        action->setStatusTip(statusTip);
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::createActions()
{
    QAction *a = addCommand(ID_FILE_NEW, QStringLiteral("&New Query\tCtrl+N"),
                            QStringLiteral("Set up a new query and run it"), QStringLiteral("New Query"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/newquery.png")));
    connect(a, &QAction::triggered, this, &CMainFrame::OnFileNew);

    a = addCommand(ID_FILE_OPEN, QStringLiteral("&Open Query\tCtrl+O"),
                   QStringLiteral("Open the selected query to change it and run it again"), QStringLiteral("Open Query"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/openquery.png")));
    connect(a, &QAction::triggered, this, &CMainFrame::OnFileOpen);

    a = addCommand(ID_FILE_UPDATE, QStringLiteral("&Update Query"),
                   QStringLiteral("Run the selected query again and mark the new results"), QStringLiteral("Update Query"));
    a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/updatequery.png")));
    connect(a, &QAction::triggered, this, &CMainFrame::OnUpdateQuery);

    a = addCommand(ID_FILE_EXPORT, QStringLiteral("&Export..."),
                   QStringLiteral("Save the results on show as CSV, JSON or bookmarks for a browser"));
    connect(a, &QAction::triggered, this, &CMainFrame::OnFileExport);

    addCommand(ID_PREFERENCES, QStringLiteral("&Preferences"),
               QStringLiteral("Set the time limit, the connections and the days visited links are marked"));

    a = addCommand(ID_APP_EXIT, QStringLiteral("E&xit"), QStringLiteral("Quit Trawlex"));
    connect(a, &QAction::triggered, this, &QWidget::close);

    // Del and the D key both delete.
    a = addCommand(ID_EDIT_DELETE, QStringLiteral("D&elete\tDel"), QStringLiteral("Delete the selected query"));
    a->setShortcuts({QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_D)});
    connect(a, &QAction::triggered, this, &CMainFrame::OnDelete);

    a = addCommand(ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar"), QStringLiteral("Show or hide the toolbar"));
    a->setCheckable(true);
    a->setChecked(true);

    struct ViewCommand { int id; const char *text; const char *tip; const char *image; };
    const ViewCommand views[] = {
        {ID_VIEW_NAME, "&Name View", "List the queries by name\nName View", "nameview"},
        {ID_VIEW_SITE, "&Site View", "List the sites found and the queries that found them\nSite View", "siteview"},
        {ID_VIEW_KEYWORD, "&Keyword View", "List the keywords used and the queries that use them\nKeyword View", "keywordview"},
        {ID_VIEW_TIME, "&Time View", "List the queries by the day they were run\nTime View", "timeview"},
    };
    for (const ViewCommand &v : views) {
        const QStringList tip = QString::fromLatin1(v.tip).split(QLatin1Char('\n'));
        a = addCommand(v.id, QLatin1String(v.text), tip.at(0), tip.at(1));
        a->setCheckable(true);
        a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/%1.png").arg(QLatin1String(v.image))));
        const int id = v.id;
        connect(a, &QAction::triggered, this, [this, id] { OnViewSwitch(id); });
    }

    a = addCommand(ID_HELP_FAQ, QStringLiteral("&Help"), QStringLiteral("Open the Trawlex help page"), QStringLiteral("Help"));
    a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/help.png")));
    connect(a, &QAction::triggered, this, &CMainFrame::OnHelp);

    addCommand(ID_APP_ABOUT, QStringLiteral("&About Trawlex..."), QStringLiteral("Show the program's version"));
    addCommand(ID_INTERNET_CONNECTION, QStringLiteral("&Internet Connection"),
               QStringLiteral("Say whether you connect directly or by dial-up"));
    addCommand(ID_CHECK_VERSION, QStringLiteral("&Check Version"),
               QStringLiteral("Ask Quorvel Software whether a newer Trawlex exists"));

    a = addCommand(ID_TOOLS_ENGINES, QStringLiteral("&Engines..."),
                   QStringLiteral("Add, change, remove or try the search engines a query can ask"));
    connect(a, &QAction::triggered, this, &CMainFrame::OnEngines);

    // On the toolbar only.
    a = addCommand(ID_STOP, QStringLiteral("Stop"), QStringLiteral("Stop the Query in progress"), QStringLiteral("Stop"));
    a->setIcon(QIcon(QStringLiteral(":/trawlex/toolbar/stop.png")));
    connect(a, &QAction::triggered, this, &CMainFrame::OnStop);

    // F6 and Shift+F6 move between the tree and the results.
    a = addCommand(ID_NEXT_PANE, QStringLiteral("Next Pane"));
    a->setShortcut(QKeySequence(Qt::Key_F6));
    connect(a, &QAction::triggered, this, [this] { OnNextPane(true); });
    addAction(a);
    a = addCommand(ID_PREV_PANE, QStringLiteral("Previous Pane"));
    a->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(a, &QAction::triggered, this, [this] { OnNextPane(false); });
    addAction(a);
}

void CMainFrame::createMenus()
{
    QMenuBar *bar = menuBar();
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(action(ID_FILE_NEW));
    file->addAction(action(ID_FILE_OPEN));
    file->addAction(action(ID_FILE_UPDATE));
    file->addSeparator();
    file->addAction(action(ID_FILE_EXPORT));
    file->addSeparator();
    file->addAction(action(ID_PREFERENCES));
    file->addSeparator();
    file->addAction(action(ID_APP_EXIT));

    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addAction(action(ID_EDIT_DELETE));

    QMenu *view = bar->addMenu(QStringLiteral("&View"));
    view->addAction(action(ID_VIEW_TOOLBAR));
    view->addAction(action(ID_VIEW_ENGINE_STATUS));
    view->addSeparator();
    view->addAction(action(ID_VIEW_NAME));
    view->addAction(action(ID_VIEW_SITE));
    view->addAction(action(ID_VIEW_KEYWORD));
    view->addAction(action(ID_VIEW_TIME));

    QMenu *tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->addAction(action(ID_TOOLS_ENGINES));

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(action(ID_HELP_FAQ));
    help->addAction(action(ID_APP_ABOUT));
    help->addSeparator();
    help->addAction(action(ID_INTERNET_CONNECTION));
    help->addAction(action(ID_CHECK_VERSION));

    // Menus being opened get their states at once, not at the next idle moment.
    for (QMenu *menu : {file, edit, view, tools, help})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::OnUpdateCommandUI);
}

void CMainFrame::createToolBar()
{
    m_pToolBar = new CTrawlexToolBar(this);
    for (int id : {ID_VIEW_NAME, ID_VIEW_SITE, ID_VIEW_KEYWORD, ID_VIEW_TIME, ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_UPDATE})
        m_pToolBar->addCommand(action(id));
    m_pToolBar->addSeparator();
    m_pToolBar->addCommand(action(ID_STOP));
    m_pToolBar->addSeparator();
    m_pToolBar->addCommand(action(ID_HELP_FAQ));
    addToolBar(Qt::TopToolBarArea, m_pToolBar);
    createSearchField();

    QAction *toggle = action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, m_pToolBar, &QWidget::setVisible);
    connect(m_pToolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::createSearchField()
{
    QToolBar *searchBar = m_pToolBar->createSearchBar(this);
    addToolBar(Qt::TopToolBarArea, searchBar);
    // The Toolbar command shows and hides both bars of the top row.
    connect(action(ID_VIEW_TOOLBAR), &QAction::toggled, searchBar, &QWidget::setVisible);
    connect(m_pToolBar->searchField(), &QLineEdit::returnPressed, this, &CMainFrame::OnSearchField);
    // Ctrl+L as browsers have it, Ctrl+K as their search box had it; no menu or page takes them.
    auto *focus = new QAction(QStringLiteral("Search the web"), this);
    focus->setObjectName(QStringLiteral("focusSearchField"));
    focus->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::CTRL | Qt::Key_K)});
    connect(focus, &QAction::triggered, this, &CMainFrame::OnFocusSearchField);
    addAction(focus);
}

void CMainFrame::OnFocusSearchField()
{
    QLineEdit *field = m_pToolBar->searchField();
    if (!field->isEnabled())
        return;
    if (!field->isVisible()) {
        action(ID_VIEW_TOOLBAR)->setChecked(true);
        field->parentWidget()->show();
    }
    field->setFocus(Qt::ShortcutFocusReason);
    field->selectAll();
}

void CMainFrame::OnSearchField()
{
    if (m_commands->isRunning())
        return;
    QStringList notes;
    const bool started = m_commands->searchFor(m_pToolBar->searchField()->text(), m_settings.searchFieldEngines(), notes);
    m_pToolBar->setSearchNotes(notes);
    if (started)
        m_settings.rememberRunEngines(m_query.m_engines);
    OnUpdateCommandUI();
}

void CMainFrame::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QString::number(AFX_IDW_STATUS_BAR));
    m_pMessagePane = new QLabel(QStringLiteral("Ready"), bar);
    m_pMessagePane->setObjectName(QStringLiteral("pane0"));
    m_pMessagePane->setTextFormat(Qt::PlainText);
    m_pMessagePane->setMinimumWidth(1);
    bar->addWidget(m_pMessagePane, 1);
    // No lock-state panes: no portable way to read the keyboard's lights exists, and panes
    // that never light mislead. The engines of the run on show are summed up instead; a click
    // shows or hides their list.
    m_pEngineSummary = new QToolButton(bar);
    m_pEngineSummary->setObjectName(QStringLiteral("engineSummary"));
    m_pEngineSummary->setAutoRaise(true);
    m_pEngineSummary->setFocusPolicy(Qt::NoFocus);
    m_pEngineSummary->setAccessibleName(QStringLiteral("Engine status"));
    m_pEngineSummary->setToolTip(QStringLiteral("Show or hide the engine status"));
    connect(m_pEngineSummary, &QToolButton::clicked, m_pStatusPanel->toggleViewAction(), &QAction::trigger);
    bar->addPermanentWidget(m_pEngineSummary);
    connect(m_pEngineStatus, &CEngineRunStatus::summaryChanged, this, &CMainFrame::OnEngineSummaryChanged);
    OnEngineSummaryChanged();
}

void CMainFrame::OnEngineSummaryChanged()
{
    const QString text = m_pEngineStatus->summaryText();
    m_pEngineSummary->setText(text);
    m_pEngineSummary->setAccessibleDescription(text);
    m_pEngineSummary->setVisible(!text.isEmpty());
    // The results' hit-count line names the engines of the query's run this session; during a
    // run the page on show keeps the line of the run before.
    if (!m_pResultsView || m_pEngineStatus->isRunning())
        return;
    if (m_pEngineStatus->hasRun())
        m_pResultsView->setRunSummary(m_pEngineStatus->engineCount(), m_pEngineStatus->failedEngines());
    else
        m_pResultsView->clearRunSummary();
}

void CMainFrame::SetMessageText(const QString &text)
{
    m_pMessagePane->setText(text);
}

QString CMainFrame::MessageText() const
{
    return m_pMessagePane->text();
}

void CMainFrame::OnUpdateCommandUI()
{
    const bool running = m_commands->isRunning();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        const int id = it.key();
        if (id < ID_UPDATE_UI_FIRST || id > ID_UPDATE_UI_LAST)
            continue;
        QAction *a = it.value();
        if (id == ID_STOP) {
            a->setEnabled(running);
            continue;
        }
        // Export needs a stored query on show.
        a->setEnabled(!running && (id != ID_FILE_EXPORT || m_commands->shownQueryId() != -1));
        if (!running && isViewCommand(id))
            a->setChecked(id == ViewMode());
    }
    // As New Query is: one query at a time.
    m_pToolBar->searchField()->setEnabled(!running);
    // A view button clicked during a run must not keep a check it was never given.
    if (running) {
        for (int id : {ID_VIEW_NAME, ID_VIEW_SITE, ID_VIEW_KEYWORD, ID_VIEW_TIME})
            action(id)->setChecked(id == ViewMode());
    }
}

QString CMainFrame::ViewLabelText(int id)
{
    switch (id) {
    case ID_VIEW_SITE: return QStringLiteral("Current View:  Site");
    case ID_VIEW_TIME: return QStringLiteral("Current View:  Time");
    case ID_VIEW_KEYWORD: return QStringLiteral("Current View:  KeyWord");
    default: return QStringLiteral("Current View:  Name");
    }
}

void CMainFrame::OnViewSwitch(int id)
{
    if (id != ViewMode())
        SwitchView(id);
    OnUpdateCommandUI();
}

void CMainFrame::OnNextPane(bool forward)
{
    if (!m_pSplitter || m_pSplitter->count() == 0)
        return;
    int current = -1;
    for (int i = 0; i < m_pSplitter->count(); ++i) {
        QWidget *pane = m_pSplitter->widget(i);
        if (pane->isAncestorOf(QApplication::focusWidget()) || pane == QApplication::focusWidget())
            current = i;
    }
    const int n = m_pSplitter->count();
    const int next = current < 0 ? 0 : (current + (forward ? 1 : n - 1)) % n;
    m_pSplitter->widget(next)->setFocus(Qt::ShortcutFocusReason);
}

QString CMainFrame::HelpFilePath()
{
    const QString name = QStringLiteral("faqtrawlex.htm");
    QStringList candidates{QDir::current().absoluteFilePath(name),
                           QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(name),
                           QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../share/trawlex/") + name)};
    for (const QString &dir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates.append(dir + QStringLiteral("/trawlex/") + name);
    for (const QString &path : std::as_const(candidates)) {
        if (QFileInfo::exists(path))
            return QFileInfo(path).absoluteFilePath();
    }
    // No copy anywhere: write out the one built into the program.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString target = dir + QLatin1Char('/') + name;
    if (QDir().mkpath(dir)) {
        QFile::remove(target);
        if (QFile::copy(QStringLiteral(":/trawlex/faqtrawlex.htm"), target)) {
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            return target;
        }
    }
    return QString();
}

void CMainFrame::OnEngines()
{
    // Modal, and greyed during a run: no engine changes under a running query.
    CEnginesDlg dialog(m_doc, *m_commands, m_prompt, this);
    dialog.exec();
}

void CMainFrame::OnHelp()
{
    // A failure to open is not reported, as it never was.
    const QString path = HelpFilePath();
    if (path.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    // Leaving during a run stops it first, so no engine thread outlives the window and an
    // update's stored query is put back.
    if (m_monitor.IsRunning())
        m_monitor.Stop();
    SaveWindowState();
    QMainWindow::closeEvent(event);
}

void CMainFrame::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FitSearchBar();
}

void CMainFrame::FitSearchBar()
{
    // A row too narrow for the toolbar and the search field would squeeze the field into the
    // toolbar's overflow menu, out of sight and out of reach of the keys: it gets a row of its
    // own then, and comes back beside the toolbar when the window is wide enough again.
    auto *bar = findChild<QToolBar *>(QStringLiteral("searchBar"));
    if (!bar || !m_pToolBar || toolBarArea(bar) != Qt::TopToolBarArea || toolBarArea(m_pToolBar) != Qt::TopToolBarArea)
        return;
    const bool fits = width() >= m_pToolBar->sizeHint().width() + bar->sizeHint().width();
    if (fits != toolBarBreak(bar))
        return;
    if (fits)
        removeToolBarBreak(bar);
    else
        insertToolBarBreak(bar);
}

bool CMainFrame::event(QEvent *event)
{
    // Fly-by texts stay off while a query shows its progress there.
    if (event->type() == QEvent::StatusTip && m_pToolBar && !m_pToolBar->flyBy())
        return true;
    return QMainWindow::event(event);
}

void CMainFrame::connectMonitor()
{
    connect(&m_monitor, &CRunMonitor::statusText, this, &CMainFrame::SetMessageText);
    connect(&m_monitor, &CRunMonitor::runStarted, this, [this] {
        m_pResultsView->setPageButtonsEnabled(false);
        m_pToolBar->setFlyBy(false);
        statusBar()->clearMessage();
        OnUpdateCommandUI();
    });
    connect(&m_monitor, &CRunMonitor::runEnded, this, [this] {
        m_pToolBar->setFlyBy(true);
        OnUpdateCommandUI();
    });
    connect(&m_monitor, &CRunMonitor::completionMessage, this, [this](const QString &text) { m_prompt.showMessage(text); });
    connect(&m_monitor, &CRunMonitor::timeoutMessage, this, [this](const QString &text) { m_prompt.showMessage(text); });
    connect(&m_monitor, &CRunMonitor::pageButtonsEnabled, this, [this] { m_pResultsView->setPageButtonsEnabled(true); });
    connect(&m_monitor, &CRunMonitor::showNewestQuery, this, [this] {
        m_pTreeView->showNewestQuery();
        // The tree may have switched to the name arrangement by itself.
        m_pToolBar->setViewLabelText(ViewLabelText(ViewMode()));
    });
    connect(&m_monitor, &CRunMonitor::showPage, this, [this] { m_pResultsView->ShowPage(); });
}

CRunMonitor::Limits CMainFrame::RunLimits() const
{
    CRunMonitor::Limits limits;
    limits.directConnection = m_settings.DirectConnection;
    limits.maxConns = m_settings.MaxConns;
    limits.maxDelay = m_settings.MaxDelay;
    return limits;
}

void CMainFrame::OnFileNew()
{
    m_query.Clear();
    m_pSheet->ResetPages();
    RunQuerySheet();
}

void CMainFrame::RunQuerySheet()
{
    if (m_pSheet->DoModal(m_query) != QDialog::Accepted) {
        SetMessageText(RunTexts::ready());
        return;
    }
    if (m_commands->runCommitted())
        m_settings.rememberRunEngines(m_query.m_engines);
    OnUpdateCommandUI();
}

void CMainFrame::OnFileOpen()
{
    m_pSheet->ResetPages();
    const int qid = GetSelectedQueryId();
    if (qid == -1 || !m_commands->loadQuery(qid))
        return;
    RunQuerySheet();
}

void CMainFrame::OnUpdateQuery()
{
    m_pSheet->ResetPages();
    m_commands->updateQuery(GetSelectedQueryId());
    OnUpdateCommandUI();
}

void CMainFrame::OnStop()
{
    m_commands->stop();
    OnUpdateCommandUI();
}

int CMainFrame::ViewMode() const
{
    return m_pTreeView ? m_pTreeView->m_nViewMode : int(ID_VIEW_NAME);
}

int CMainFrame::GetSelectedQueryId() const
{
    return m_pTreeView->selectedQueryId();
}

void CMainFrame::SwitchView(int id)
{
    m_pTreeView->SwitchArrangement(id);
    m_pToolBar->setViewLabelText(ViewLabelText(id));
    OnUpdateCommandUI();
}

void CMainFrame::OnDelete()
{
    switch (m_pTreeView->deleteSelectedQuery()) {
    case CTrawlexQueryView::DeleteOutcome::NotAQuery:
        m_prompt.showMessage(QStringLiteral("Error!  Delete only valid on query names!"));
        break;
    case CTrawlexQueryView::DeleteOutcome::NothingSelected:
    case CTrawlexQueryView::DeleteOutcome::Deleted:
    case CTrawlexQueryView::DeleteOutcome::Failed: // reported by the tree
        break;
    }
}

namespace {
struct ExportChoice
{
    CResultsExporter::Format format;
    const char *filter;
};
const ExportChoice kExportChoices[] = {
    {CResultsExporter::Format::Csv, "CSV table (*.csv)"},
    {CResultsExporter::Format::Json, "JSON (*.json)"},
    {CResultsExporter::Format::Bookmarks, "Bookmarks for a browser (*.html *.htm)"},
};

// The query's name as a file name the usual file systems accept.
QString exportFileName(const QString &queryName)
{
    QString name = queryName.trimmed();
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return name.isEmpty() ? QStringLiteral("results") : name;
}
} // namespace

void CMainFrame::OnFileExport()
{
    if (m_commands->isRunning() || m_commands->shownQueryId() == -1)
        return;
    QStringList filters;
    for (const ExportChoice &c : kExportChoices)
        filters << QLatin1String(c.filter);
    QFileDialog dialog(this, QStringLiteral("Export Results"));
    dialog.setObjectName(QString::number(ID_FILE_EXPORT));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // The dialog adds the extension itself, before it asks about replacing a file.
    dialog.setDefaultSuffix(CResultsExporter::FileSuffix(kExportChoices[0].format));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters](const QString &filter) {
        const qsizetype i = filters.indexOf(filter);
        if (i >= 0)
            dialog.setDefaultSuffix(CResultsExporter::FileSuffix(kExportChoices[i].format));
    });
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        dialog.setDirectory(documents);
    dialog.selectFile(exportFileName(m_query.m_strName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const qsizetype i = std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()));
    const CResultsExporter::Format format = kExportChoices[i].format;
    ExportToFile(CResultsExporter::WithSuffix(dialog.selectedFiles().first(), format), format);
}

bool CMainFrame::ExportToFile(const QString &path, CResultsExporter::Format format)
{
    const std::optional<qsizetype> n = m_commands->exportResults(path, format);
    if (!n)
        return false;
    SetMessageText(QStringLiteral("%1 %2 exported to %3")
                       .arg(*n)
                       .arg(*n == 1 ? QStringLiteral("hit") : QStringLiteral("hits"), QDir::toNativeSeparators(path)));
    return true;
}
