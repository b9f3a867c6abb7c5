#pragma once

#include <QString>

#include <memory>

class QSettings;

// The user's settings: QSettings("Quorvel Software", "Trawlex"), group "Version 1.12", which on
// Windows is the registry key the program always used.
class CTrawlexSettings final
{
public:
    enum class Connection { Unknown, Direct, Dial };

    struct VersionCheckStep
    {
        int counter = 0; // the value to store
        bool ask = false; // offer the version check at this start
    };

    // The user's own settings.
    CTrawlexSettings();
    // Settings kept in an INI file instead (tests, tools).
    explicit CTrawlexSettings(const QString &iniFile);
    ~CTrawlexSettings();
    CTrawlexSettings(const CTrawlexSettings &) = delete;
    CTrawlexSettings &operator=(const CTrawlexSettings &) = delete;

    static QString groupName() { return QStringLiteral("Version 1.12"); }

    // Reads the three numbers (defaults 4, 60, 7, no range check: only the Preferences
    // dialog limits them) and the connection type.
    void load();
    // Writes MaxConns, MaxDelay and MaxURL.
    void savePreferences();

    // "TXconn": exactly "Direct" or "Dial" (letter case matters); anything else is Unknown.
    Connection connection() const;
    static Connection connectionFromText(const QString &text);
    // Stores "Direct" or "Dial" and sets DirectConnection.
    void setConnection(bool direct);

    // The start-up counter: reads "VersionCheck" (default -1), stores the next value and says
    // whether to offer the check: at the first and second start, then every tenth.
    bool advanceVersionCheck();
    static VersionCheckStep nextVersionCheck(int stored);

    bool DirectConnection = false;
    int MaxDelay = 60;
    int MaxConns = 4;
    int MaxURL = 7;

private:
    int readInt(const char *key, int fallback) const;

    std::unique_ptr<QSettings> m_settings;
};
