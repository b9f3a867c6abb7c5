#include "HitAddress.h"

bool HitAddress::isWebAddress(const QUrl &url)
{
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme();
    return scheme == u"http" || scheme == u"https";
}

QString HitAddress::resolve(QStringView href, const QUrl &base)
{
    const QString trimmed = href.trimmed().toString();
    if (trimmed.isEmpty() || trimmed.size() > kLongest)
        return {};
    QUrl url(trimmed, QUrl::TolerantMode);
    if (!url.isValid())
        return {};
    if (url.isRelative()) {
        if (!isWebAddress(base))
            return {};
        url = base.resolved(url);
    }
    if (!isWebAddress(url))
        return {};
    QString address = url.toString(QUrl::FullyEncoded);
    if (address.size() > kLongest)
        return {};
    return address;
}
