#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class QSettings;

// Where the version check asks and where the download page lives. Kept beside the other
// settings (group "Version 1.12") so an installation can point them elsewhere; the values are
// only read here, the defaults apply while nothing is stored.
class VersionServerSettings final
{
public:
    // The user's own settings.
    VersionServerSettings();
    // Settings kept in an INI file instead (tests, tools).
    explicit VersionServerSettings(const QString &iniFile);
    ~VersionServerSettings();
    VersionServerSettings(const VersionServerSettings &) = delete;
    VersionServerSettings &operator=(const VersionServerSettings &) = delete;

    static QString defaultServer() { return QStringLiteral("www.quorvel.com"); }
    static QString defaultWebHost() { return QStringLiteral("www.quorvel.com"); }

    // "host" or "host:port" of the version server (port 80 without one).
    QString server() const;
    // The maker's web host, "host" or "host:port".
    QString webHost() const;
    void setServer(const QString &server);
    void setWebHost(const QString &host);

    // "http://" + web host + "/support/download.htm".
    QUrl downloadPage() const;
    static QUrl downloadPageOn(const QString &webHost);

private:
    QString readText(const char *key, const QString &fallback) const;

    std::unique_ptr<QSettings> m_settings;
};
