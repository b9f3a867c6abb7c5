#pragma once

#include <functional>

class CMainFrame;
class CTrawlexSettings;
class CVersionCheckController;
class IUserPrompt;
class QWidget;

// The start-up's questions once the main window exists: the connection type when none is
// stored, the Internet session test, and the offer of a version check at the first, second
// and every tenth start.
class CStartupChecks final
{
public:
    CStartupChecks(CTrawlexSettings &settings, IUserPrompt &prompt, QWidget *frame);

    // Replaces the session test (by default the one for the stored connection type).
    void setSessionTest(std::function<bool(bool direct)> test) { m_sessionTest = std::move(test); }

    // Connection dialog when "TXconn" is not exactly "Direct" or "Dial", then the session
    // test. False, after its message, when the program has to end.
    bool SettleConnection();
    // Counts the start and, when it is time, offers the check; runs it on Yes. True when
    // the question was asked.
    bool OfferVersionCheck(CVersionCheckController &versionCheck);

    // Both in order; false when the program has to end. The check is the one the frame's
    // commands use (InstallSettingsCommands), or one made for the occasion.
    bool Run(CVersionCheckController *versionCheck);

private:
    CTrawlexSettings &m_settings;
    IUserPrompt &m_prompt;
    QWidget *m_pFrame;
    std::function<bool(bool direct)> m_sessionTest;
};

// The one call the application makes after the main frame exists (and after
// InstallSettingsCommands). False when the program has to end.
bool RunStartupChecks(CMainFrame &frame, CTrawlexSettings &settings, IUserPrompt &prompt);
