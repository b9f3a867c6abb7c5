#pragma once

#include <QApplication>

#include <memory>

class CMainFrame;
class CMessageBoxPrompt;
class CRunMonitor;
class CTrawlexDoc;
class CTrawlexSettings;

// The desktop program: owns the settings, the document with its query and results set, the
// run monitor and the main window, and carries out the start-up.
class CTrawlexApp final : public QApplication
{
    Q_OBJECT
public:
    CTrawlexApp(int &argc, char **argv);
    ~CTrawlexApp() override;

    static CTrawlexApp *instance();
    // Organisation, name and version, which the settings and --version use; needs no instance.
    static void SetIdentity();

    // The start-up: settings, the session test, the database, the main window, the engine
    // address list. False when the program has to end; ExitCode() then says with what.
    bool InitInstance();
    int ExitCode() const { return m_nExitCode; }

    bool IsInternetSessionActive() const;

    CTrawlexSettings &Settings() const { return *m_settings; }
    CTrawlexDoc &Document() const { return *m_doc; }
    CRunMonitor *Monitor() const { return m_monitor.get(); }
    CMainFrame *MainFrame() const { return m_frame.get(); }
    CMessageBoxPrompt &Prompt() const { return *m_prompt; }

    // A database error that escapes a handler is reported, and the program goes on.
    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::unique_ptr<CTrawlexSettings> m_settings;
    std::unique_ptr<CMessageBoxPrompt> m_prompt;
    std::unique_ptr<CTrawlexDoc> m_doc;
    std::unique_ptr<CRunMonitor> m_monitor;
    std::unique_ptr<CMainFrame> m_frame;
    int m_nExitCode = 0;
};
