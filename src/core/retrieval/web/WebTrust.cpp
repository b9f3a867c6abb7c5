#include "WebTrust.h"

#include "app/CTrawlexSettings.h"

#include <QDir>
#include <QSettings>

namespace {

QStringList files(const QString &list)
{
    return list.split(QDir::listSeparator(), Qt::SkipEmptyParts);
}

} // namespace

QList<QSslCertificate> WebTrust::extraCertificates()
{
    QStringList paths = files(qEnvironmentVariable(kEnvironmentVariable));
    QSettings settings(QStringLiteral("Quorvel Software"), QStringLiteral("Trawlex"));
    settings.beginGroup(CTrawlexSettings::groupName());
    paths += files(settings.value(QLatin1String(kSettingName)).toString());
    QList<QSslCertificate> certificates;
    for (const QString &path : std::as_const(paths))
        certificates += QSslCertificate::fromPath(path, QSsl::Pem);
    return certificates;
}

QSslConfiguration WebTrust::configuration()
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    const QList<QSslCertificate> extra = extraCertificates();
    if (!extra.isEmpty())
        config.setCaCertificates(config.caCertificates() + extra);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return config;
}
