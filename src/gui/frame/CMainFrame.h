#pragma once

#include "export/CResultsExporter.h"
#include "run/CRunMonitor.h"

#include <QHash>
#include <QMainWindow>

#include <memory>

class CEngineRunStatus;
class CEngineStatusPanel;
class CQueryCommands;
class CQueryTreeModel;
class CResultsPageModel;
class CTrawlexDoc;
class CTrawlexPropertySheetQuery;
class CTrawlexQuery;
class CTrawlexQueryResults;
class CTrawlexQueryResultsView;
class CTrawlexQueryView;
class CTrawlexSettings;
class CTrawlexToolBar;
class IUserPrompt;
class QAction;
class QLabel;
class QSplitter;
class QToolButton;

// The program's one top-level window: menus, toolbar with the current-view label, status bar
// and the splitter with the query tree and the results view. It owns the query sheet, carries
// out the commands and shows what the run monitor reports.
class CMainFrame final : public QMainWindow
{
    Q_OBJECT
public:
    // The objects are the application's and outlive the frame.
    // The query and results set shown are the document's.
    CMainFrame(CTrawlexDoc &doc, CTrawlexSettings &settings, CRunMonitor &monitor,
               IUserPrompt &prompt, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // The command of that identifier (menu item, toolbar button and accelerator share it).
    QAction *action(int id) const;
    QList<int> commandIds() const;

    CTrawlexToolBar *toolBar() const { return m_pToolBar; }
    CTrawlexPropertySheetQuery &querySheet() const { return *m_pSheet; }
    QSplitter *splitter() const { return m_pSplitter; }
    CTrawlexQueryView *queryView() const { return m_pTreeView; }
    CTrawlexQueryResultsView *resultsView() const { return m_pResultsView; }
    QLabel *messagePane() const { return m_pMessagePane; }
    // Each engine of the run on show; the panel lists it, the status bar sums it up.
    CEngineRunStatus &engineStatus() const { return *m_pEngineStatus; }
    CEngineStatusPanel *engineStatusPanel() const { return m_pStatusPanel; }
    QToolButton *engineSummary() const { return m_pEngineSummary; }
    IUserPrompt &userPrompt() const { return m_prompt; }
    CRunMonitor &runMonitor() const { return m_monitor; }
    // What the commands carry out; the views and the sheet go through it too.
    CQueryCommands &commands() const { return *m_commands; }

    // Pane 0 of the status bar.
    void SetMessageText(const QString &text);
    QString MessageText() const;

    // The enabling and check marks of every command, from the run state and the tree's
    // arrangement; runs whenever the event loop goes idle.
    void OnUpdateCommandUI();

    // Commands.
    void OnFileNew();
    void OnFileOpen();
    void OnUpdateQuery();
    // Asks for a file and a format, then writes the hits of the query on show.
    void OnFileExport();
    // Writes the hits of the stored query on show to path; a failure is reported through the
    // prompt and gives false.
    bool ExportToFile(const QString &path, CResultsExporter::Format format);
    void OnDelete();
    void OnStop();
    void OnHelp();
    void OnEngines();
    void OnViewSwitch(int id);
    void OnNextPane(bool forward);
    // Enter in the search field: its text as a query over the search field's engines.
    void OnSearchField();
    // Ctrl+L and Ctrl+K: into the search field, its text selected.
    void OnFocusSearchField();

    // Writes the window's size, place, bars, panels, splitter and tree arrangement to the
    // settings (closing does it too); the next frame made on these settings comes back so.
    void SaveWindowState();

    // The QID of the query selected in the tree; -1 for a group item or no selection.
    int GetSelectedQueryId() const;

    // The tree's arrangement, as shown by the label and the View menu's check marks.
    int ViewMode() const;
    void SwitchView(int id);
    static QString ViewLabelText(int id);

    // Where Help looks for the help page: the current directory first, as always, then the
    // program's own and installed folders; the page built into the program is the last resort.
    static QString HelpFilePath();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addCommand(int id, const QString &text, const QString &statusTip = QString(),
                        const QString &toolTip = QString());
    void createActions();
    void createMenus();
    void createToolBar();
    void createSearchField();
    void createStatusBar();
    // The search field's bar beside the toolbar, or on a row of its own when they do not fit.
    void FitSearchBar();
    void createStatusPanel();
    void createPanes();
    void arrangeTabOrder();
    // The stored window, or a first start's size from the screen.
    void RestoreWindowState();
    void SizeToScreen();
    // The engine list follows the query on show.
    void FollowQueryOnShow();
    void OnEngineSummaryChanged();
    void connectMonitor();
    // The run settings as they are now.
    CRunMonitor::Limits RunLimits() const;
    // Shows the query sheet on the document's query; OK starts a fresh run.
    void RunQuerySheet();

    CTrawlexDoc &m_doc;
    CTrawlexSettings &m_settings;
    CTrawlexQuery &m_query;
    CTrawlexQueryResults &m_results;
    CRunMonitor &m_monitor;
    IUserPrompt &m_prompt;
    std::unique_ptr<CQueryCommands> m_commands;
    // What the panes show, over the document; nothing of a pane's ending reads them.
    std::unique_ptr<CResultsPageModel> m_pPageModel;
    std::unique_ptr<CQueryTreeModel> m_pTreeModel;

    CTrawlexToolBar *m_pToolBar = nullptr;
    CTrawlexPropertySheetQuery *m_pSheet = nullptr;
    QSplitter *m_pSplitter = nullptr;
    CTrawlexQueryView *m_pTreeView = nullptr;
    CTrawlexQueryResultsView *m_pResultsView = nullptr;
    QLabel *m_pMessagePane = nullptr;
    CEngineRunStatus *m_pEngineStatus = nullptr;
    CEngineStatusPanel *m_pStatusPanel = nullptr;
    QToolButton *m_pEngineSummary = nullptr;
    QHash<int, QAction *> m_actions;
};
