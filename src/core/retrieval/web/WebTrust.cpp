#include "WebTrust.h"

#include "app/CTrawlexSettings.h"

#include <QDir>
#include <QSettings>

#include <mutex>
#include <optional>

namespace {

QStringList files(const QString &list)
{
    return list.split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

QStringList extraPaths()
{
    QStringList paths = files(qEnvironmentVariable(WebTrust::kEnvironmentVariable));
    QSettings settings(QStringLiteral("Quorvel Software"), QStringLiteral("Trawlex"));
    settings.beginGroup(CTrawlexSettings::groupName());
    paths += files(settings.value(QLatin1String(WebTrust::kSettingName)).toString());
    return paths;
}

QList<QSslCertificate> load(const QStringList &paths)
{
    QList<QSslCertificate> certificates;
    for (const QString &path : paths)
        certificates += QSslCertificate::fromPath(path, QSsl::Pem);
    return certificates;
}

} // namespace

QList<QSslCertificate> WebTrust::extraCertificates()
{
    return load(extraPaths());
}

QSslConfiguration WebTrust::configuration()
{
    // Reading the system's CA list costs milliseconds: every engine of every run would pay it.
    // The configuration is made again only when the list of extra files changes.
    static std::mutex mutex;
    static QStringList cachedPaths;
    static std::optional<QSslConfiguration> cached;
    const QStringList paths = extraPaths();
    std::lock_guard lock(mutex);
    if (!cached || paths != cachedPaths) {
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        const QList<QSslCertificate> extra = load(paths);
        if (!extra.isEmpty())
            config.setCaCertificates(config.caCertificates() + extra);
        config.setPeerVerifyMode(QSslSocket::VerifyPeer);
        cached = config;
        cachedPaths = paths;
    }
    return *cached;
}
