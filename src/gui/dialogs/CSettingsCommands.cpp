#include "dialogs/CSettingsCommands.h"

#include "TrawlexIds.h"
#include "app/CTrawlexSettings.h"
#include "app/IUserPrompt.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CConnectionDlg.h"
#include "dialogs/CPreferencesDlg.h"
#include "frame/CMainFrame.h"
#include "version/CVersionCheckController.h"
#include "version/VersionServerSettings.h"

#include <QAction>
#include <QStringList>

using namespace TrawlexIds;

CSettingsCommands::CSettingsCommands(QWidget *frame, CTrawlexSettings &settings, IUserPrompt &prompt)
    : QObject(frame)
    , m_pFrame(frame)
    , m_settings(settings)
    , m_prompt(prompt)
    , m_pVersionCheck(new CVersionCheckController(settings, prompt, frame, this))
{
    const VersionServerSettings server;
    m_pVersionCheck->setServer(server.server());
    m_pVersionCheck->setWebHost(server.webHost());
}

QStringList CSettingsCommands::PreferenceErrors(unsigned maxConns, unsigned maxDelay, unsigned maxDays)
{
    QStringList errors;
    if (maxConns < 1 || maxConns > 4)
        errors << QStringLiteral("Error!  Maximum connections must be between 1 and 4.");
    if (maxDelay < 45 || maxDelay > 360)
        errors << QStringLiteral("Error!  Maximum delay must be between 45 and 360.");
    if (maxDays < 1 || maxDays > 60)
        errors << QStringLiteral("Error!  Maximum number of days before dead links expire must be between 1 and 60.");
    return errors;
}

namespace {
// Stored values outside the unsigned range (the settings are read without a check) show as 0
// rather than wrapping round to a huge number.
unsigned shown(int value)
{
    return value < 0 ? 0u : static_cast<unsigned>(value);
}
} // namespace

bool CSettingsCommands::OnPreferences()
{
    CPreferencesDlg dlg(m_prompt, m_pFrame);
    for (;;) {
        // Every showing starts from the stored settings, not from a refused entry.
        dlg.m_nMaxConns = shown(m_settings.MaxConns);
        dlg.m_nMaxDelay = shown(m_settings.MaxDelay);
        dlg.m_nMaxDays = shown(m_settings.MaxURL);
        dlg.m_searchEngines = m_settings.searchFieldEngines();
        dlg.m_bSearchEnginesChosen = m_settings.SearchEnginesChosen;
        if (dlg.exec() != QDialog::Accepted)
            return false;
        const QStringList errors = PreferenceErrors(dlg.m_nMaxConns, dlg.m_nMaxDelay, dlg.m_nMaxDays);
        for (const QString &error : errors)
            m_prompt.showMessage(error);
        if (errors.isEmpty())
            break;
    }
    // A running retrieval keeps its own copies; these apply from the next run.
    m_settings.MaxConns = static_cast<int>(dlg.m_nMaxConns);
    m_settings.MaxDelay = static_cast<int>(dlg.m_nMaxDelay);
    m_settings.MaxURL = static_cast<int>(dlg.m_nMaxDays);
    m_settings.SearchEngines = dlg.m_searchEngines;
    m_settings.SearchEnginesChosen = dlg.m_bSearchEnginesChosen;
    m_settings.savePreferences();
    return true;
}

void CSettingsCommands::OnInternetConnection()
{
    CConnectionDlg::AskAndStore(m_settings, m_pFrame);
}

void CSettingsCommands::OnCheckVersion()
{
    m_pVersionCheck->OnCheckVersion();
}

void CSettingsCommands::OnAppAbout()
{
    CAboutDlg dlg(m_pFrame);
    dlg.exec();
}

CSettingsCommands *InstallSettingsCommands(CMainFrame &frame, CTrawlexSettings &settings, IUserPrompt &prompt)
{
    auto *commands = new CSettingsCommands(&frame, settings, prompt);
    QObject::connect(frame.action(ID_PREFERENCES), &QAction::triggered, commands, &CSettingsCommands::OnPreferences);
    QObject::connect(frame.action(ID_INTERNET_CONNECTION), &QAction::triggered, commands,
                     &CSettingsCommands::OnInternetConnection);
    QObject::connect(frame.action(ID_CHECK_VERSION), &QAction::triggered, commands, &CSettingsCommands::OnCheckVersion);
    QObject::connect(frame.action(ID_APP_ABOUT), &QAction::triggered, commands, &CSettingsCommands::OnAppAbout);
    return commands;
}
