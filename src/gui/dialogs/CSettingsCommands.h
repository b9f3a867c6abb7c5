#pragma once

#include <QObject>
#include <QPointer>

class CMainFrame;
class CTrawlexSettings;
class CVersionCheckController;
class IUserPrompt;
class QWidget;

// The small commands of the Help and File menus: Preferences, Internet Connection, Check
// Version and About. Lives as a child of the main frame.
class CSettingsCommands final : public QObject
{
    Q_OBJECT
public:
    CSettingsCommands(QWidget *frame, CTrawlexSettings &settings, IUserPrompt &prompt);

    // Asks for the three numbers until they are all in range or the user cancels; stores them
    // on a valid OK. True when they were stored.
    bool OnPreferences();
    void OnInternetConnection();
    void OnCheckVersion();
    void OnAppAbout();

    CVersionCheckController &versionCheck() const { return *m_pVersionCheck; }

    // The range messages for the given values, in the order they are shown.
    static QStringList PreferenceErrors(unsigned maxConns, unsigned maxDelay, unsigned maxDays);

private:
    QPointer<QWidget> m_pFrame;
    CTrawlexSettings &m_settings;
    IUserPrompt &m_prompt;
    CVersionCheckController *m_pVersionCheck;
};

// Connects the frame's Preferences, Internet Connection, Check Version and About commands to
// a CSettingsCommands owned by the frame. The version server and web host come from the
// stored settings.
CSettingsCommands *InstallSettingsCommands(CMainFrame &frame, CTrawlexSettings &settings, IUserPrompt &prompt);
