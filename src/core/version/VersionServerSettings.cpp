#include "VersionServerSettings.h"

#include "app/CTrawlexSettings.h"

#include <QSettings>

namespace {
const char kServer[] = "VersionServer";
const char kWebHost[] = "WebHost";
} // namespace

VersionServerSettings::VersionServerSettings()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Quorvel Software"), QStringLiteral("Trawlex")))
{
    m_settings->beginGroup(CTrawlexSettings::groupName());
}

VersionServerSettings::VersionServerSettings(const QString &iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
    m_settings->beginGroup(CTrawlexSettings::groupName());
}

VersionServerSettings::~VersionServerSettings() = default;

QString VersionServerSettings::readText(const char *key, const QString &fallback) const
{
    // Blank or of the wrong kind counts as absent: an empty host would ask nobody.
    const QString text = m_settings->value(QLatin1String(key)).toString().trimmed();
    return text.isEmpty() ? fallback : text;
}

QString VersionServerSettings::server() const
{
    return readText(kServer, defaultServer());
}

QString VersionServerSettings::webHost() const
{
    return readText(kWebHost, defaultWebHost());
}

void VersionServerSettings::setServer(const QString &server)
{
    m_settings->setValue(QLatin1String(kServer), server);
    m_settings->sync();
}

void VersionServerSettings::setWebHost(const QString &host)
{
    m_settings->setValue(QLatin1String(kWebHost), host);
    m_settings->sync();
}

QUrl VersionServerSettings::downloadPage() const
{
    return downloadPageOn(webHost());
}

QUrl VersionServerSettings::downloadPageOn(const QString &webHost)
{
    return QUrl(QStringLiteral("http://") + webHost + QStringLiteral("/support/download.htm"));
}
