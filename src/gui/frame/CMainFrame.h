#pragma once

#include "export/CResultsExporter.h"

#include <QHash>
#include <QMainWindow>

class CRunMonitor;
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
    QLabel *indicatorPane(int index) const { return m_indicators[index]; }
    IUserPrompt &userPrompt() const { return m_prompt; }
    CRunMonitor &runMonitor() const { return m_monitor; }

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

    // The QID of the query selected in the tree; -1 for a group item or no selection.
    int GetSelectedQueryId() const;

    // The tree's arrangement, as shown by the label and the View menu's check marks.
    int ViewMode() const;
    void SwitchView(int id);
    static QString ViewLabelText(int id);

    // Where Help looks for the help page: the current directory first, as always, then the
    // program's own and installed folders; the page built into the program is the last resort.
    static QString HelpFilePath();

signals:
    // Help opened this address (tests and the status line follow it).
    void helpOpened(const QUrl &url);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addCommand(int id, const QString &text, const QString &statusTip = QString(),
                        const QString &toolTip = QString());
    void createActions();
    void createMenus();
    void createToolBar();
    void createSearchField();
    void createStatusBar();
    void createPanes();
    void connectMonitor();
    void applyLimits();
    // Starts a pass with the settings as they are now; false when it could not start.
    bool StartRun(bool bContinue);
    // Shows the query sheet on the document's query; OK starts a fresh run.
    void RunQuerySheet();
    // Loads the stored query into the document's query; false (reported) on a database error.
    bool LoadSelectedQuery(int qid);

    CTrawlexDoc &m_doc;
    CTrawlexSettings &m_settings;
    CTrawlexQuery &m_query;
    CTrawlexQueryResults &m_results;
    CRunMonitor &m_monitor;
    IUserPrompt &m_prompt;

    CTrawlexToolBar *m_pToolBar = nullptr;
    CTrawlexPropertySheetQuery *m_pSheet = nullptr;
    QSplitter *m_pSplitter = nullptr;
    CTrawlexQueryView *m_pTreeView = nullptr;
    CTrawlexQueryResultsView *m_pResultsView = nullptr;
    QLabel *m_pMessagePane = nullptr;
    QLabel *m_indicators[3] = {};
    QHash<int, QAction *> m_actions;
};
