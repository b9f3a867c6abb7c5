#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

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
    // Writes MaxConns, MaxDelay, MaxURL and the search field's engines.
    void savePreferences();

    // The engines the search field asks: SearchEngines without the names that cannot be
    // asked (an engine since removed); every askable engine when none is left.
    QStringList searchFieldEngines() const;
    // A run started from the sheet or the search field: until the user has chosen in
    // Preferences, its engines become the search field's.
    void rememberRunEngines(const QStringList &engines);
    // The engines a query can ask, in the engine page's order: the search field's choices.
    static QStringList askableEngines();

    // "TXconn": exactly "Direct" or "Dial" (letter case matters); anything else is Unknown.
    Connection connection() const;
    static Connection connectionFromText(const QString &text);
    // Stores "Direct" or "Dial" and sets DirectConnection.
    void setConnection(bool direct);

    // The start-up counter: reads "VersionCheck" (default -1), stores the next value and says
    // whether to offer the check: at the first and second start, then every tenth.
    bool advanceVersionCheck();
    static VersionCheckStep nextVersionCheck(int stored);

    // The main window as it was left: its place and size, its bars and panels, the splitter
    // between tree and results, the tree's arrangement. Empty and 0 when never stored.
    struct WindowState
    {
        QByteArray geometry;
        QByteArray layout;
        QByteArray splitter;
        int treeView = 0;
    };
    WindowState windowState() const;
    void saveWindowState(const WindowState &state);

    bool DirectConnection = false;
    int MaxDelay = 60;
    int MaxConns = 4;
    int MaxURL = 7;
    // "SearchEngines" and "SearchEnginesChosen": the search field's engines, and whether they
    // are the user's choice (true) or follow the last query run (false).
    QStringList SearchEngines;
    bool SearchEnginesChosen = false;

private:
    int readInt(const char *key, int fallback) const;
    void writeSearchEngines();

    std::unique_ptr<QSettings> m_settings;
};
