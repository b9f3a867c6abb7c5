#include "startup/CStartupChecks.h"

#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "app/InternetSession.h"
#include "dialogs/CConnectionDlg.h"
#include "dialogs/CSettingsCommands.h"
#include "frame/CMainFrame.h"
#include "version/CVersionCheckController.h"
#include "version/VersionServerSettings.h"

CStartupChecks::CStartupChecks(CTrawlexSettings &settings, IUserPrompt &prompt, QWidget *frame)
    : m_settings(settings)
    , m_prompt(prompt)
    , m_pFrame(frame)
{
}

bool CStartupChecks::SettleConnection()
{
    switch (m_settings.connection()) {
    case CTrawlexSettings::Connection::Direct:
        m_settings.DirectConnection = true;
        break;
    case CTrawlexSettings::Connection::Dial:
        m_settings.DirectConnection = false;
        break;
    case CTrawlexSettings::Connection::Unknown:
        // Letter case matters: "direct" is asked about again and overwritten.
        CConnectionDlg::AskAndStore(m_settings, m_pFrame);
        break;
    }
    const bool direct = m_settings.DirectConnection;
    const bool active = m_sessionTest ? m_sessionTest(direct) : IsInternetSessionActive(direct);
    if (!active) {
        m_prompt.showMessage(QStringLiteral("Error!  Internet session must be active to load Trawlex."));
        return false;
    }
    return true;
}

bool CStartupChecks::OfferVersionCheck(CVersionCheckController &versionCheck)
{
    if (!m_settings.advanceVersionCheck())
        return false;
    // Start-up has just found a session, so the check starts without testing again.
    if (m_prompt.askYesNo(QStringLiteral("Would you like to search the Internet to see if a newer version of "
                                         "Trawlex is available?")))
        versionCheck.StartVersionCheck();
    return true;
}

bool CStartupChecks::Run(CVersionCheckController *versionCheck)
{
    if (!SettleConnection())
        return false;
    if (versionCheck) {
        OfferVersionCheck(*versionCheck);
    } else {
        CVersionCheckController own(m_settings, m_prompt, m_pFrame);
        const VersionServerSettings server;
        own.setServer(server.server());
        own.setWebHost(server.webHost());
        OfferVersionCheck(own);
    }
    return true;
}

bool RunStartupChecks(CMainFrame &frame, CTrawlexSettings &settings, IUserPrompt &prompt)
{
    CSettingsCommands *commands = frame.findChild<CSettingsCommands *>(QString(), Qt::FindDirectChildrenOnly);
    CStartupChecks checks(settings, prompt, &frame);
    return checks.Run(commands ? &commands->versionCheck() : nullptr);
}
